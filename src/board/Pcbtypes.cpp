#include "board/Pcbtypes.h"

#include <array>

namespace pcb {
namespace {

using namespace pcbapi;

constexpr std::array<std::string_view, LayerIdCount> BuiltInLayerNames = {
    "NoLayer",        "TopLayer",      "MidLayer1",      "MidLayer2",      "MidLayer3",      "MidLayer4",
    "MidLayer5",      "MidLayer6",     "MidLayer7",      "MidLayer8",      "MidLayer9",      "MidLayer10",
    "MidLayer11",     "MidLayer12",    "MidLayer13",     "MidLayer14",     "MidLayer15",     "MidLayer16",
    "MidLayer17",     "MidLayer18",    "MidLayer19",     "MidLayer20",     "MidLayer21",     "MidLayer22",
    "MidLayer23",     "MidLayer24",    "MidLayer25",     "MidLayer26",     "MidLayer27",     "MidLayer28",
    "MidLayer29",     "MidLayer30",    "BottomLayer",    "TopOverlay",     "BottomOverlay",  "TopPaste",
    "BottomPaste",    "TopSolder",     "BottomSolder",   "InternalPlane1", "InternalPlane2", "InternalPlane3",
    "InternalPlane4", "InternalPlane5", "InternalPlane6", "InternalPlane7", "InternalPlane8", "InternalPlane9",
    "InternalPlane10", "InternalPlane11", "InternalPlane12", "InternalPlane13", "InternalPlane14",
    "InternalPlane15", "InternalPlane16", "DrillGuide",   "KeepOutLayer",   "Mechanical1",    "Mechanical2",
    "Mechanical3",    "Mechanical4",   "Mechanical5",    "Mechanical6",    "Mechanical7",    "Mechanical8",
    "Mechanical9",    "Mechanical10",  "Mechanical11",   "Mechanical12",   "Mechanical13",   "Mechanical14",
    "Mechanical15",   "Mechanical16",  "DrillDrawing",   "MultiLayer",     "ConnectLayer",   "BackGroundLayer",
    "DRCErrorLayer",  "HighlightLayer", "GridColor1",    "GridColor10",    "PadHoleLayer",   "ViaHoleLayer",
};

// Display names of the ids that are not numbered layers, from 73 on.
constexpr std::array<std::string_view, 10> SystemDisplayNames = {
    "Drill Drawing", "Multi Layer",  "Connect Layer", "BackGround",     "DRC Errors",
    "Highlight Layer", "Grid Color 1", "Grid Color 10", "Pad Hole Layer", "Via Hole Layer",
};

constexpr std::array<std::string_view, 6> MaskDisplayNames = {
    "Top Overlay", "Bottom Overlay", "Top Paste", "Bottom Paste", "Top Solder Mask", "Bottom Solder Mask",
};

constexpr std::array<std::string_view, ObjectKindCount> KindNames = {
    "IgnoreObject", "Arc",        "Pad",       "Via",           "Track",     "Text",         "Fill",
    "From-To",      "Net",        "Component", "Polygon",       "Poly Region", "ComponentBody", "Dimension",
    "Coordinate",   "ClassObject", "Rule",     "ManualFromTo",  "Differential-Pairs", "Violation", "Embedded",
    "EmbeddedBoard", "Spare",     "Trace",     "SpareVia",      "Board",     "BoardOutline",
};

std::string Numbered(std::string_view stem, int n) { return std::string(stem) + std::to_string(n); }

// The number of an extended layer value in the range base + 1 .. base + max,
// or 0 when the value is outside it.
int ExtendedIndex(THostLayer layer, THostLayer base, int max) {
    const int64_t index = int64_t{layer} - base;
    return index >= 1 && index <= max ? static_cast<int>(index) : 0;
}

bool IsLayerClass(THostLayer layer) { return layer >= HostMidLayers && layer <= HostMechanicalLayers; }

bool IsMasterLayer(THostLayer layer) { return layer >= HostTopPadMaster && layer <= HostDRCDetails; }

[[noreturn]] void RaiseLayerError(std::string_view what, int64_t value) {
    throw TLayerError(std::string(what) + "(" + std::to_string(value) + ")");
}

}  // namespace

std::string_view LayerName(TLayerId id) { return id <= MaxLayerId ? BuiltInLayerNames[id] : std::string_view(); }

std::string LayerDisplayName(TLayerId id) {
    if (id == NoLayer) return "Any Layer";
    if (id == TopLayer) return "Top Layer";
    if (IsMidLayer(id)) return Numbered("Mid Layer ", id - 1);
    if (id == BottomLayer) return "Bottom Layer";
    if (id >= TopOverlay && id <= BottomSolder) return std::string(MaskDisplayNames[id - TopOverlay]);
    if (IsInternalPlane(id)) return Numbered("Internal Plane ", id - 38);
    if (id == DrillGuide) return "Drill Guide";
    if (id == KeepOutLayer) return "Keep Out Layer";
    if (IsMechanicalLayer(id)) return Numbered("Mechanical Layer ", id - 56);
    if (id >= DrillDrawing && id <= MaxLayerId) return std::string(SystemDisplayNames[id - DrillDrawing]);
    return {};
}

std::string HostLayerDisplayName(THostLayer layer) {
    if (layer >= TopLayer && layer <= MaxLayerId) return LayerDisplayName(static_cast<TLayerId>(layer));
    if (int n = ExtendedIndex(layer, HostMidLayerBase, HostMaxSignalPosition); n >= 2)
        return Numbered("Mid Layer ", n - 1);
    if (int n = ExtendedIndex(layer, HostInternalPlaneBase, HostMaxInternalPlane))
        return Numbered("Internal Plane ", n);
    if (int n = ExtendedIndex(layer, HostMechanicalLayerBase, HostMaxMechanicalLayer))
        return Numbered("Mechanical Layer ", n);
    switch (layer) {
        case HostTopPadMaster: return "Top Pad Master";
        case HostBottomPadMaster: return "Bottom Pad Master";
        case HostDRCDetails: return "DRC Details";
        case HostMidLayers: return "Mid Layers";
        case HostAllLayers: return "All Layers";
        case HostSignalLayers: return "Signal Layers";
        case HostInternalPlaneLayers: return "Internal Plane Layers";
        case HostElectricalLayers: return "Electrical Layers";
        case HostMechanicalLayers: return "Mechanical Layers";
        default: return "No Layer";
    }
}

TLayerId LayerIdFromHost(THostLayer layer) {
    if (layer >= 0 && layer <= MaxLayerId) return static_cast<TLayerId>(layer);
    if (int n = ExtendedIndex(layer, HostMidLayerBase, HostMaxSignalPosition); n >= 2)
        return static_cast<TLayerId>(n <= MidLayer30 ? n : MidLayer30);
    if (int n = ExtendedIndex(layer, HostInternalPlaneBase, HostMaxInternalPlane))
        return static_cast<TLayerId>(n <= 16 ? InternalPlane1 - 1 + n : InternalPlane16);
    if (int n = ExtendedIndex(layer, HostMechanicalLayerBase, HostMaxMechanicalLayer))
        return static_cast<TLayerId>(n <= 16 ? Mechanical1 - 1 + n : Mechanical16);
    return NoLayer;
}

THostLayer HostLayerFromId(TLayerId id) { return id <= MaxLayerId ? id : 0; }

THostLayer HostMidLayer(int index) {
    // Mid layer n sits at signal position n + 1, below the top layer.
    if (index >= 1 && index <= 30) return MidLayer1 - 1 + index;
    if (index > 30 && index < HostMaxSignalPosition) return HostMidLayerBase + index + 1;
    RaiseLayerError("Creating SignalLayer", index);
}

THostLayer HostInternalPlane(int index) {
    if (index >= 1 && index <= 16) return InternalPlane1 - 1 + index;
    if (index > 16 && index <= HostMaxInternalPlane) return HostInternalPlaneBase + index;
    RaiseLayerError("Creating InternalPlaneLayer", index);
}

THostLayer HostMechanicalLayer(int index) {
    if (index >= 1 && index <= 16) return Mechanical1 - 1 + index;
    if (index > 16 && index <= HostMaxMechanicalLayer) return HostMechanicalLayerBase + index;
    RaiseLayerError("Creating MechanicalLayer", index);
}

THostLayer HostLayerFromSaved(int32_t value) {
    const bool decodable = (value >= 0 && value <= MaxLayerId) ||
                           ExtendedIndex(value, HostMidLayerBase, HostMaxSignalPosition) >= 2 ||
                           ExtendedIndex(value, HostInternalPlaneBase, HostMaxInternalPlane) != 0 ||
                           ExtendedIndex(value, HostMechanicalLayerBase, HostMaxMechanicalLayer) != 0 ||
                           IsMasterLayer(value) || IsLayerClass(value);
    if (!decodable) RaiseLayerError("CreateFromInteger_ForSave", value);
    return value;
}

THostLayerSet TLayerSet::ToHostLayerSet() const {
    THostLayerSet set;
    for (int id = 0; id <= MaxLayerId; ++id)
        if (Contains(static_cast<TLayerId>(id))) set.Layers[set.Count++] = HostLayerFromId(static_cast<TLayerId>(id));
    return set;
}

std::string_view ObjectKindName(uint8_t kind) { return kind < ObjectKindCount ? KindNames[kind] : std::string_view(); }

}  // namespace pcb
