#include "board/Pcbclass.h"

namespace pcb {
namespace {

std::unique_ptr<TPCBObject> CreateForKind(uint8_t kind, THandle object) {
    switch (kind) {
        case eArcObject: return std::make_unique<TPcbArc>(object);
        case ePadObject: return std::make_unique<TPcbPad>(object);
        case eViaObject: return std::make_unique<TPcbVia>(object);
        case eTrackObject: return std::make_unique<TPcbTrack>(object);
        case eTextObject: return std::make_unique<TPcbText>(object);
        case eFillObject: return std::make_unique<TPcbFill>(object);
        case eFromToObject: return std::make_unique<TPcbFromTo>(object);
        case eNetObject: return std::make_unique<TPcbNet>(object);
        case eComponentObject: return std::make_unique<TPcbComponent>(object);
        case ePolyObject: return std::make_unique<TPcbPolygon>(object);
        case eRegionObject: return std::make_unique<TPCBRegion>(object);
        case eComponentBodyObject: return std::make_unique<TPcbComponentBody>(object);
        case eDimensionObject: return std::make_unique<TPcbDimension>(object);
        case eCoordinateObject: return std::make_unique<TPcbCoordinate>(object);
        case eClassObject: return std::make_unique<TPCBObjectClass>(object);
        case eRuleObject: return std::make_unique<TPcbRule>(object);
        case eManualFromToObject: return std::make_unique<TPcbManualFromTo>(object);
        case eDifferentialPairObject: return std::make_unique<TPcbDifferentialPair>(object);
        case eViolationObject: return std::make_unique<TPcbViolation>(object);
        case eEmbeddedObject: return std::make_unique<TPcbEmbedded>(object);
        case eEmbeddedBoardObject: return std::make_unique<TPcbEmbeddedBoard>(object);
        case eSplitPlaneObject: return std::make_unique<TPcbSplitPlane>(object);
        case eBoardOutlineObject: return std::make_unique<TPcbBoardOutline>(object);
        default: return nullptr;
    }
}

template <typename TResult, typename TGetter>
TResult PropertyOf(THandle object, TGetter getter) {
    const std::unique_ptr<TPCBObject> wrapper = CreateForHandle(object);
    return wrapper ? getter(*wrapper) : TResult();
}

}  // namespace

uint8_t ObjectKindOf(THandle object) {
    return object ? static_cast<uint8_t>(PcbApi_GetObjectIdFromObjectHandle(object) & 0x7F) : 0;
}

std::unique_ptr<TPCBObject> CreateForHandle(THandle object) {
    if (!object) return nullptr;
    std::unique_ptr<TPCBObject> wrapper = CreateForKind(ObjectKindOf(object), object);
    if (wrapper) wrapper->ReadFromHost();
    return wrapper;
}

TCoord XOf(THandle object) {
    return PropertyOf<TCoord>(object, [](const TPCBObject& o) { return o.X(); });
}
TCoord YOf(THandle object) {
    return PropertyOf<TCoord>(object, [](const TPCBObject& o) { return o.Y(); });
}
TCoord X2Of(THandle object) {
    return PropertyOf<TCoord>(object, [](const TPCBObject& o) { return o.X2(); });
}
TCoord Y2Of(THandle object) {
    return PropertyOf<TCoord>(object, [](const TPCBObject& o) { return o.Y2(); });
}
TLayerId LayerOf(THandle object) {
    return PropertyOf<TLayerId>(object, [](const TPCBObject& o) { return o.Layer(); });
}
THandle NetOf(THandle object) {
    return PropertyOf<THandle>(object, [](const TPCBObject& o) { return o.Net(); });
}
THandle OwnerGroupOf(THandle object) {
    return PropertyOf<THandle>(object, [](const TPCBObject& o) { return o.OwnerGroup(); });
}
std::string NameOf(THandle object) {
    return PropertyOf<std::string>(object, [](const TPCBObject& o) { return o.GetName(); });
}
double RotationOf(THandle object) {
    return PropertyOf<double>(object, [](const TPCBObject& o) { return o.Rotation(); });
}
TCoord WidthOf(THandle object) {
    return PropertyOf<TCoord>(object, [](const TPCBObject& o) { return o.Width(); });
}
bool MirroredOf(THandle object) {
    return PropertyOf<bool>(object, [](const TPCBObject& o) { return o.Mirrored(); });
}
std::string TextOf(THandle object) {
    return PropertyOf<std::string>(object, [](const TPCBObject& o) { return o.GetText(); });
}

}  // namespace pcb
