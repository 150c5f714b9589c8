#include "Layers.h"

#include <array>
#include <cctype>
#include <charconv>

namespace hostpcb {
namespace {

using namespace pcbapi;

// Names of the ids that are not numbered families.
struct FixedLayer {
    THostLayer layer;
    const char* name;
};
constexpr std::array<FixedLayer, 23> FixedLayers{{
    {1, "TopLayer"},          {32, "BottomLayer"},     {33, "TopOverlay"},    {34, "BottomOverlay"},
    {35, "TopPaste"},         {36, "BottomPaste"},     {37, "TopSolder"},     {38, "BottomSolder"},
    {55, "DrillGuide"},       {56, "KeepOutLayer"},    {73, "DrillDrawing"},  {74, "MultiLayer"},
    {75, "ConnectLayer"},     {76, "BackGroundLayer"}, {77, "DRCErrorLayer"}, {78, "HighlightLayer"},
    {79, "GridColor1"},       {80, "GridColor10"},     {81, "PadHoleLayer"},  {82, "ViaHoleLayer"},
    {HostTopPadMaster, "TopPadMaster"}, {HostBottomPadMaster, "BottomPadMaster"}, {HostDRCDetails, "DRCDetails"},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The number after a family prefix ("MidLayer12" -> 12), none when the name
// does not start with the prefix or the rest is no plain number.
std::optional<int> FamilyNumber(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || !EqualNoCase(name.substr(0, prefix.size()), prefix)) return std::nullopt;
    std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 3 || digits[0] == '0') return std::nullopt;
    int n = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return n;
}

}  // namespace

std::string LayerName(THostLayer layer) {
    for (const auto& f : FixedLayers)
        if (f.layer == layer) return f.name;
    if (layer >= 2 && layer <= 31) return "MidLayer" + std::to_string(layer - 1);
    if (layer >= 39 && layer <= 54) return "InternalPlane" + std::to_string(layer - 38);
    if (layer >= 57 && layer <= 72) return "Mechanical" + std::to_string(layer - 56);
    int n = layer & 0xFFFF;
    switch (layer & ~0xFFFF) {
    case HostMidLayerBase:
        if (n >= 32 && n <= HostMaxSignalPosition - 1) return "MidLayer" + std::to_string(n - 1);
        break;
    case HostInternalPlaneBase:
        if (n >= 17 && n <= HostMaxInternalPlane) return "InternalPlane" + std::to_string(n);
        break;
    case HostMechanicalLayerBase:
        if (n >= 17 && n <= HostMaxMechanicalLayer) return "Mechanical" + std::to_string(n);
        break;
    default:
        break;
    }
    return "";
}

std::optional<THostLayer> LayerFromName(std::string_view name) {
    for (const auto& f : FixedLayers)
        if (EqualNoCase(name, f.name)) return f.layer;
    if (auto n = FamilyNumber(name, "MidLayer")) {
        if (*n <= 30) return *n + 1;
        if (*n <= HostMaxSignalPosition - 2) return HostMidLayerBase + *n + 1;
    }
    if (auto n = FamilyNumber(name, "InternalPlane")) {
        if (*n <= 16) return *n + 38;
        if (*n <= HostMaxInternalPlane) return HostInternalPlaneBase + *n;
    }
    if (auto n = FamilyNumber(name, "Mechanical")) {
        if (*n <= 16) return *n + 56;
        if (*n <= HostMaxMechanicalLayer) return HostMechanicalLayerBase + *n;
    }
    return std::nullopt;
}

bool IsSignalLayer(THostLayer layer) {
    return (layer >= 1 && layer <= 32) || (layer & ~0xFFFF) == HostMidLayerBase;
}

bool IsInternalPlane(THostLayer layer) {
    return (layer >= FirstPlaneId && layer <= LastPlaneId) || (layer & ~0xFFFF) == HostInternalPlaneBase;
}

bool IsElectricalLayer(THostLayer layer) { return IsSignalLayer(layer) || IsInternalPlane(layer); }

bool IsCopperOrMulti(THostLayer layer) { return IsElectricalLayer(layer) || layer == MultiLayer; }

static bool IsMechanical(THostLayer layer) {
    return (layer >= 57 && layer <= 72) || (layer & ~0xFFFF) == HostMechanicalLayerBase;
}

bool LayerMatches(THostLayer filter, THostLayer layer) {
    switch (filter) {
    case 0:
    case HostAllLayers:
        return true;
    case HostMidLayers:
        return IsSignalLayer(layer) && layer != TopLayer && layer != BottomLayer;
    case HostSignalLayers:
        return IsSignalLayer(layer);
    case HostInternalPlaneLayers:
        return IsInternalPlane(layer);
    case HostElectricalLayers:
        return IsElectricalLayer(layer);
    case HostMechanicalLayers:
        return IsMechanical(layer);
    default:
        return filter == layer;
    }
}

THostLayer FlippedLayer(THostLayer layer) {
    switch (layer) {
    case 1: return 32;
    case 32: return 1;
    case 33: return 34;
    case 34: return 33;
    case 35: return 36;
    case 36: return 35;
    case 37: return 38;
    case 38: return 37;
    default: return layer;
    }
}

int LayerTableIndex(THostLayer layer) {
    if (layer >= 0 && layer <= LastLayerId) return layer;
    int n = layer & 0xFFFF;
    switch (layer & ~0xFFFF) {
    case HostMidLayerBase: return n <= 31 ? n : 31;
    case HostInternalPlaneBase: return n <= 16 ? 38 + n : 54;
    case HostMechanicalLayerBase: return n <= 16 ? 56 + n : 72;
    default: return 0;
    }
}

}  // namespace hostpcb
