// The words and names of pad, via and text styles, and the look-up of a
// style in its list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "board/Pcbclass.h"
#include "translator/Save.h"

namespace translator {

// The host length in whole mils (halves to even), as decimal text.
std::string RoundedMils(pcbapi::TCoord length);

// Only the low seven bits of a host shape code name the shape. Codes above 9
// name no shape of the host; they read as the plain round shape, "E" and
// "Ellipse", which every target reader accepts.
std::string_view PadShapeLetter(uint8_t shape);
std::string_view PadShapeTypeName(uint8_t shape);

// "P:EX60Y60D35" for a through-hole pad, "EF60X30TOP" for a surface pad.
std::string PadStyleBaseName(const pcb::TPcbPad& pad);

// "V:EX28Y28D12": the diameter twice, then the hole.
std::string ViaStyleBaseName(const pcb::TPcbVia& via);
// "_Blind" when one end of the span is a copper side, "_Buried" when
// neither is, empty for a through via. The span's ends are taken in order of
// the layers, as the host reports them in either order.
std::string ViaSpanSuffix(const pcb::TPcbVia& via);
bool IsThroughVia(const pcb::TPcbVia& via);

// "T:H60W10": height and stroke width.
std::string TextStyleBaseName(const pcb::TPcbText& text);
// The stroke font's family word: "Sanserif", "Serif" or "Modern".
std::string_view FontFamilyName(int32_t fontId);

// The plane line's shape word of the cached connection.
std::string_view ThermalTypeName(const TPadCache& cache);

// The outcome of walking a stem's candidate names.
struct TStyleSearch {
    // A representative matched; `Name` is its style.
    bool Matched = false;
    // The matched style, or the first candidate the list does not hold.
    std::string Name;
};

// Walks the candidates candidate(0), candidate(1), ... while the list holds
// them, testing each style's representative, until one matches.
TStyleSearch SearchStyles(const std::vector<TStyleEntry>& styles, const TStyleIndex& index,
                          const std::function<std::string(int)>& candidate,
                          const std::function<bool(pcbapi::THandle)>& matches);

// True when no output error is pending. The style writers leave the error
// pending: they write parts of the library section, whose writer reports it.
bool NoOutputErrorPending();

void AppendStyle(std::vector<TStyleEntry>& styles, TStyleIndex& index, const std::string& name,
                 pcbapi::THandle representative);

}  // namespace translator
