// Layers as the PCB editor knows them: names, the host layer values that cross
// the interface, and the layer exchange of a component flipped to the other
// side.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "board/PcbApi.h"

namespace hostpcb {

using pcbapi::THostLayer;

constexpr THostLayer TopLayer = 1;
constexpr THostLayer BottomLayer = 32;
constexpr THostLayer TopOverlay = 33;
constexpr THostLayer FirstPlaneId = 39;
constexpr THostLayer LastPlaneId = 54;
constexpr THostLayer KeepOutLayer = 56;
constexpr THostLayer Mechanical1 = 57;
constexpr THostLayer MultiLayer = 74;
constexpr THostLayer LastLayerId = 82;

// The layer's name ("TopLayer", "MidLayer35", "Mechanical20", ...), or "" for
// a value that names no layer.
std::string LayerName(THostLayer layer);

// The host value of a layer name (case-insensitive), none when it names no layer.
std::optional<THostLayer> LayerFromName(std::string_view name);

bool IsSignalLayer(THostLayer layer);         // top, mid and bottom layers
bool IsInternalPlane(THostLayer layer);       // all internal planes
bool IsElectricalLayer(THostLayer layer);     // signal layers and planes
bool IsCopperOrMulti(THostLayer layer);       // electrical layers and MultiLayer

// Whether `layer` falls under `filter` (a layer or a layer class; 0 = all).
bool LayerMatches(THostLayer filter, THostLayer layer);

// The layer that takes the place of `layer` on the other side of the board.
THostLayer FlippedLayer(THostLayer layer);

// The id (0 to 82) the per-layer tables use for a host layer: values beyond
// the id table fold onto the last mid layer, plane or mechanical layer.
int LayerTableIndex(THostLayer layer);

}  // namespace hostpcb
