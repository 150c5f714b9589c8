// Host layer ids, layer sets and object kinds.
//
// A layer id is the host's fixed layer numbering, 0 to 82. Objects hold their
// layer in the host's own encoding (PcbApi.h) and convert on access, so that
// layers beyond the id table survive a read and write-back unchanged.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "board/PcbApi.h"

namespace pcb {

using TLayerId = uint8_t;

constexpr TLayerId NoLayer = 0;
constexpr TLayerId TopLayer = 1;
constexpr TLayerId MidLayer1 = 2;
constexpr TLayerId MidLayer30 = 31;
constexpr TLayerId BottomLayer = 32;
constexpr TLayerId TopOverlay = 33;
constexpr TLayerId BottomOverlay = 34;
constexpr TLayerId TopPaste = 35;
constexpr TLayerId BottomPaste = 36;
constexpr TLayerId TopSolder = 37;
constexpr TLayerId BottomSolder = 38;
constexpr TLayerId InternalPlane1 = 39;
constexpr TLayerId InternalPlane16 = 54;
constexpr TLayerId DrillGuide = 55;
constexpr TLayerId KeepOutLayer = 56;
constexpr TLayerId Mechanical1 = 57;
constexpr TLayerId Mechanical16 = 72;
constexpr TLayerId DrillDrawing = 73;
constexpr TLayerId MultiLayer = 74;
constexpr TLayerId ConnectLayer = 75;
constexpr TLayerId ViaHoleLayer = 82;
constexpr TLayerId MaxLayerId = 82;
constexpr int LayerIdCount = MaxLayerId + 1;

// The built-in name of the id ("TopLayer", "MidLayer1", ...); empty above 82.
std::string_view LayerName(TLayerId id);

// How the host names the layer to a user ("Top Layer", "Mid Layer 1", ...;
// "Any Layer" for 0); empty above 82.
std::string LayerDisplayName(TLayerId id);

// How the host names any layer value to a user, including layers beyond the
// id table and layer classes; "No Layer" for a value that names no layer.
std::string HostLayerDisplayName(pcbapi::THostLayer layer);

constexpr bool IsSignalLayer(TLayerId id) { return id >= TopLayer && id <= BottomLayer; }
constexpr bool IsMidLayer(TLayerId id) { return id >= MidLayer1 && id <= MidLayer30; }
constexpr bool IsInternalPlane(TLayerId id) { return id >= InternalPlane1 && id <= InternalPlane16; }
constexpr bool IsMechanicalLayer(TLayerId id) { return id >= Mechanical1 && id <= Mechanical16; }
constexpr bool IsElectricalLayer(TLayerId id) { return IsSignalLayer(id) || IsInternalPlane(id); }
// The layers that can hold board primitives.
constexpr bool IsPrimitiveLayer(TLayerId id) { return id >= TopLayer && id <= MultiLayer; }

// The id of a host layer value. Layers beyond the table fold onto the last mid
// layer, the last internal plane or the last mechanical layer; anything that
// is no single layer of the table gives 0.
TLayerId LayerIdFromHost(pcbapi::THostLayer layer);

// The host value of an id (equal to the id for 0 to 82); 0 above 82.
pcbapi::THostLayer HostLayerFromId(TLayerId id);

// A host layer value that cannot be built or decoded.
class TLayerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Host values of the numbered layers: mid layer n (1 = the first below the
// top layer), internal plane n, mechanical layer n. An index the host cannot
// represent raises a TLayerError.
pcbapi::THostLayer HostMidLayer(int index);
pcbapi::THostLayer HostInternalPlane(int index);
pcbapi::THostLayer HostMechanicalLayer(int index);

// Checks a host layer value as stored in a saved document; an undecodable one
// raises a TLayerError.
pcbapi::THostLayer HostLayerFromSaved(int32_t value);

// A set of layer ids.
class TLayerSet {
public:
    constexpr TLayerSet() = default;
    constexpr TLayerSet(std::initializer_list<TLayerId> ids) {
        for (TLayerId id : ids) Include(id);
    }
    static constexpr TLayerSet Range(TLayerId first, TLayerId last) {
        TLayerSet set;
        for (int id = first; id <= last; ++id) set.Include(static_cast<TLayerId>(id));
        return set;
    }

    constexpr bool Contains(TLayerId id) const {
        return id <= MaxLayerId && (Bits[id / 64] >> (id % 64) & 1u) != 0;
    }
    constexpr void Include(TLayerId id) {
        if (id <= MaxLayerId) Bits[id / 64] |= uint64_t{1} << (id % 64);
    }
    constexpr void Exclude(TLayerId id) {
        if (id <= MaxLayerId) Bits[id / 64] &= ~(uint64_t{1} << (id % 64));
    }
    constexpr TLayerSet operator|(const TLayerSet& other) const {
        TLayerSet set;
        set.Bits[0] = Bits[0] | other.Bits[0];
        set.Bits[1] = Bits[1] | other.Bits[1];
        return set;
    }
    constexpr bool operator==(const TLayerSet&) const = default;

    // The set as the host's spatial iterator takes it: the host value of
    // every id in the set, in increasing id order.
    pcbapi::THostLayerSet ToHostLayerSet() const;

private:
    uint64_t Bits[2] = {};
};

constexpr TLayerSet SignalLayers = TLayerSet::Range(TopLayer, BottomLayer);
constexpr TLayerSet ElectricalLayers = SignalLayers | TLayerSet::Range(InternalPlane1, InternalPlane16);
constexpr TLayerSet PrimitiveLayers = TLayerSet::Range(TopLayer, MultiLayer);

// Host object kinds: the kind codes of the object model, of the iterators and
// of scratch objects.
enum TObjectKind : uint8_t {
    eNoObject = 0,
    eArcObject = 1,
    ePadObject = 2,
    eViaObject = 3,
    eTrackObject = 4,
    eTextObject = 5,
    eFillObject = 6,
    eFromToObject = 7,
    eNetObject = 8,
    eComponentObject = 9,
    ePolyObject = 10,
    eRegionObject = 11,
    eComponentBodyObject = 12,
    eDimensionObject = 13,
    eCoordinateObject = 14,
    eClassObject = 15,
    eRuleObject = 16,
    eManualFromToObject = 17,
    eDifferentialPairObject = 18,
    eViolationObject = 19,
    eEmbeddedObject = 20,
    eEmbeddedBoardObject = 21,
    eSplitPlaneObject = 22,
    eTraceObject = 23,
    eSpareViaObject = 24,
    eBoardObject = 25,
    eBoardOutlineObject = 26,
};
constexpr int ObjectKindCount = 27;

// The object word of log messages ("Arc", "Pad", "Poly Region", ...); empty
// for a code outside the table.
std::string_view ObjectKindName(uint8_t kind);

// A set of object kinds: bit k stands for kind k.
constexpr pcbapi::TKindSet KindSet(std::initializer_list<uint8_t> kinds) {
    pcbapi::TKindSet set = 0;
    for (uint8_t kind : kinds)
        if (kind < 32) set |= pcbapi::TKindSet{1} << kind;
    return set;
}
constexpr bool KindSetContains(pcbapi::TKindSet set, uint8_t kind) { return kind < 32 && (set >> kind & 1u) != 0; }

}  // namespace pcb
