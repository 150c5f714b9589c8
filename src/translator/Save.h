// The translator of one export run: it reads the board from the host, runs
// the analysis passes and writes the output file section by section.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board/PcbApi.h"
#include "board/Pcbclass.h"
#include "common/TextFile.h"

namespace translator {

// One style: its name and the handle of its representative object.
struct TStyleEntry {
    std::string Name;
    pcbapi::THandle Handle = 0;
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

    // The board of the run, read from the host when the exporter is created.
    std::unique_ptr<pcb::TPcbBoard> Board;
    common::TTextFile OutFile;
    std::vector<TStyleEntry> PadStyles;
    std::vector<TStyleEntry> ViaStyles;
    std::vector<TStyleEntry> TextStyles;
    bool InDesignSection = false;
    std::string TargetFileName;
};

// Writes the progress display's caption, cut to 255 characters.
void PercentInit(const std::string& caption, int32_t total);

}  // namespace translator
