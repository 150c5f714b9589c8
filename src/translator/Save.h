// The translator of one export run: it reads the board from the host, runs
// the analysis passes and writes the output file section by section.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "board/PcbApi.h"
#include "board/Pcbclass.h"
#include "common/TextFile.h"
#include "platform/Platform.h"

namespace translator {

// One style: its name and the handle of its representative object.
struct TStyleEntry {
    std::string Name;
    pcbapi::THandle Handle = 0;
};

// Upper-case style names with their positions in a style list: the list's
// look-up without regard to case.
using TStyleIndex = std::unordered_map<std::string, size_t>;

// The plane connection of the pad or via whose style is being written.
struct TPadCache {
    // 0 no connection, 2 direct, anything else a thermal relief.
    uint8_t ConnectionStyle = 0;
    pcbapi::TCoord SpokeWidth = 0;
    uint16_t SpokeCount = 0;
    // The radial width of the relief ring.
    pcbapi::TCoord AirGap = 0;
    // From the hole's edge to the inside of the relief ring.
    pcbapi::TCoord ReliefExpansion = 0;
    // Bit n: the object connects to internal plane n + 1.
    uint16_t ConnectedPlanes = 0;
};

class TOrvexExporter {
public:
    TOrvexExporter();
    TOrvexExporter(const TOrvexExporter&) = delete;
    TOrvexExporter& operator=(const TOrvexExporter&) = delete;
    virtual ~TOrvexExporter() = default;

    // Runs the whole export into the target; always true. The output is
    // written to a temporary file and moved onto the target at the end.
    bool ExportBoard(const std::string& targetFileName);

    bool WriteHeader();
    bool WriteLibrarySection();

    // The number of objects of one kind on the board (kind 0: all kinds),
    // counting the primitives inside components; the total of a progress
    // display.
    int32_t CountObjects(uint8_t kind) const;

    // Board pre-passes (SavePrePasses.cpp).
    void AnalyzePrimitives();
    // True when the object is to be exported; `minX` and `minY` receive the
    // smallest coordinates found (both at most 0) when the test runs.
    bool NegativeCoordsFilter(pcbapi::THandle handle, pcbapi::TCoord& minX, pcbapi::TCoord& minY);
    bool NegativeCoordsFilter(pcbapi::THandle handle);
    void ShiftPrimitives();
    void RenameComponents();
    void MoveComponentsToTop();
    void ReturnComponents();

    // Styles (SaveStyles.cpp, SaveViaStyles.cpp, SaveTextStyles.cpp). The
    // analysis builds the layer list and classifies pads, vias and texts;
    // pads first the free ones, then those of each component, which decides
    // the representatives and the counters of the names.
    void AnalyzeStyles();
    void AnalyzePads();
    void RegisterPadStyle(const pcb::TPcbPad& pad);
    // "(Default)" when no style of the pad's stem matches it.
    std::string FindPadStyle(pcbapi::THandle pad) const;
    static bool PadsMatch(const pcb::TPcbPad& a, const pcb::TPcbPad& b);
    void LoadPadCache(pcbapi::THandle padOrVia);
    bool WritePadStyles();
    bool WritePadStyleDef(const std::string& name, const pcb::TPcbPad& pad);
    // `line` holds the start of a padShape line; the outline's lines are
    // written, and `line` is left holding the indentation of the closing
    // parenthesis, which the caller adds.
    void WriteOctagonShape(std::string& line, pcbapi::TCoord width, pcbapi::TCoord height);
    void AnalyzeVias();
    void RegisterViaStyle(const pcb::TPcbVia& via);
    std::string FindViaStyle(pcbapi::THandle via) const;
    static bool ViasMatch(const pcb::TPcbVia& a, const pcb::TPcbVia& b);
    bool WriteViaStyles();
    bool WriteViaStyleDef(const std::string& name, const pcb::TPcbVia& via);
    void AnalyzeTexts();
    void RegisterTextStyle(const pcb::TPcbText& text);
    std::string FindTextStyle(pcbapi::THandle text) const;
    bool WriteTextStyles();
    bool WriteTextStyleDef(const std::string& name, const pcb::TPcbText& text);

    // The board of the run, read from the host when the exporter is created.
    std::unique_ptr<pcb::TPcbBoard> Board;
    common::TTextFile OutFile;
    std::vector<uint8_t> LayerList;
    std::vector<TStyleEntry> PadStyles;
    std::vector<TStyleEntry> ViaStyles;
    std::vector<TStyleEntry> TextStyles;
    TStyleIndex PadStyleIndex, ViaStyleIndex, TextStyleIndex;
    TPadCache PadCache;
    // Components moved from the bottom to the top layer for the library
    // section; none outside that time.
    std::unique_ptr<std::vector<pcbapi::THandle>> MovedComponents;
    bool InDesignSection = false;
    std::string TargetFileName;
    pcbapi::TCoord ShiftX = 0;
    pcbapi::TCoord ShiftY = 0;
    // 0 leave as is, 1 skip, 2 shift (the negative-coordinates dialog's modes).
    uint8_t NegativeCoordsMode = 0;
    bool AnalysingPrimitives = false;
};

// The designator made unique against the used ones (given in upper case;
// compared without regard to case) by counting up its trailing number: R1
// gives R2, U09 U10, C C2.
std::string UniqueDesignator(std::string name, const std::set<std::string>& usedUpper);

// The first five objects a dimension draws with on its layer: its texts, then
// its tracks; the first becomes `text`, the next four `tracks`. True when all
// five were found.
bool FindDimensionParts(const pcb::TPcbDimension& dimension, pcb::TPcbText& text, pcb::TPcbTrack (&tracks)[4]);

// The direction from the second point to the first, in degrees 0 to 360.
double DirectionAngle(double x1, double y1, double x2, double y2);

// The header's time stamp line for a local date and time.
std::string TimeStampRecord(const platform::LocalDateTime& t);

// Writes the progress display's caption, cut to 255 characters.
void PercentInit(const std::string& caption, int32_t total);

}  // namespace translator
