#include "translator/StyleNames.h"

#include <algorithm>
#include <cmath>

#include "common/Strings.h"
#include "common/TextFile.h"

namespace translator {
namespace {

using namespace pcb;

struct TShapeWords {
    std::string_view Letter;
    std::string_view TypeName;
};

constexpr TShapeWords ShapeWords[] = {
    {"N", "MtHole"}, {"E", "Oval"},    {"S", "Rect"}, {"P", "Polygon"}, {"E", "Ellipse"},
    {"E", "Ellipse"}, {"D", "Direct"}, {"R", "RndRect"}, {"R", "Rect"}, {"RR", "RndRect"},
};
constexpr TShapeWords UnknownShapeWords = {"E", "Ellipse"};

const TShapeWords& WordsOf(uint8_t shape) {
    const unsigned code = shape & 0x7Fu;
    return code < std::size(ShapeWords) ? ShapeWords[code] : UnknownShapeWords;
}

std::string SideOfSurfacePad(TLayerId layer) {
    if (layer == TopLayer) return "TOP";
    if (layer == BottomLayer) return "BOT";
    return "MID";
}

}  // namespace

std::string RoundedMils(TCoord length) {
    return std::to_string(static_cast<long long>(std::nearbyint(length / 10000.0)));
}

std::string_view PadShapeLetter(uint8_t shape) { return WordsOf(shape).Letter; }
std::string_view PadShapeTypeName(uint8_t shape) { return WordsOf(shape).TypeName; }

std::string PadStyleBaseName(const TPcbPad& pad) {
    if (pad.Layer() != MultiLayer)
        return "EF" + RoundedMils(pad.TopXSize()) + "X" + RoundedMils(pad.TopYSize()) + SideOfSurfacePad(pad.Layer());
    uint8_t shape = 0;
    TCoord x = 0, y = 0;
    switch (pad.StackMode()) {
        case 0:
        case 1:
            shape = pad.TopShape();
            x = pad.TopXSize();
            y = pad.TopYSize();
            break;
        case 2:
            shape = pad.ShapeOnLayer(TopLayer);
            x = pad.XSizeOnLayer(TopLayer);
            y = pad.YSizeOnLayer(TopLayer);
            break;
        default:
            return "P:";
    }
    return "P:" + std::string(PadShapeLetter(shape)) + "X" + RoundedMils(x) + "Y" + RoundedMils(y) + "D" +
           RoundedMils(pad.HoleSize());
}

std::string ViaStyleBaseName(const TPcbVia& via) {
    const std::string size = RoundedMils(via.Size());
    return "V:EX" + size + "Y" + size + "D" + RoundedMils(via.HoleSize());
}

std::string ViaSpanSuffix(const TPcbVia& via) {
    const TLayerId lo = std::min(via.StartLayer(), via.EndLayer());
    const TLayerId hi = std::max(via.StartLayer(), via.EndLayer());
    const bool fromTop = lo == TopLayer, toBottom = hi == BottomLayer;
    if (fromTop && toBottom) return "";
    return fromTop || toBottom ? "_Blind" : "_Buried";
}

bool IsThroughVia(const TPcbVia& via) {
    return std::min(via.StartLayer(), via.EndLayer()) == TopLayer &&
           std::max(via.StartLayer(), via.EndLayer()) == BottomLayer;
}

std::string TextStyleBaseName(const TPcbText& text) {
    return "T:H" + RoundedMils(text.Size()) + "W" + RoundedMils(text.Width());
}

std::string_view FontFamilyName(int32_t fontId) {
    if (fontId == 2) return "Sanserif";
    if (fontId == 3) return "Serif";
    return "Modern";
}

std::string_view ThermalTypeName(const TPadCache& cache) {
    if (cache.ConnectionStyle == 0) return "NoConnect";
    if (cache.ConnectionStyle == 2) return "Direct";
    return cache.SpokeCount == 2 ? "Thrm2" : "Thrm4_45";
}

TStyleSearch SearchStyles(const std::vector<TStyleEntry>& styles, const TStyleIndex& index,
                          const std::function<std::string(int)>& candidate,
                          const std::function<bool(THandle)>& matches) {
    for (int n = 0;; ++n) {
        std::string name = candidate(n);
        const auto found = index.find(common::UpperCase(name));
        if (found == index.end()) return {false, std::move(name)};
        if (matches(styles[found->second].Handle)) return {true, std::move(name)};
    }
}

bool NoOutputErrorPending() {
    if (!common::IOResult()) return true;
    common::SetIOError();
    return false;
}

void AppendStyle(std::vector<TStyleEntry>& styles, TStyleIndex& index, const std::string& name,
                 THandle representative) {
    index.emplace(common::UpperCase(name), styles.size());
    styles.push_back({name, representative});
}

}  // namespace translator
