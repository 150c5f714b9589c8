// Everything the host reports about a board and its objects, read with the
// plain host queries into zeroed records: two snapshots are equal exactly when
// no value the host reports has changed.
#pragma once

#include <cstring>
#include <string>

#include "board/PcbApiBinding.h"
#include "board/Pcbclass.h"

namespace boardtest {

template <typename TRecord>
void AppendBytes(std::string& out, const TRecord& record) {
    out.append(reinterpret_cast<const char*>(&record), sizeof record);
}

template <typename TRecord>
TRecord Zeroed() {
    TRecord record;
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    return record;
}

// A record of an object's query, read with mode 1.
template <typename TRecord, typename... TArgs>
void AppendQuery(std::string& out, int32_t (*query)(uint8_t, TArgs...), pcbapi::THandle object) {
    auto record = Zeroed<TRecord>();
    query(1, object, &record);
    AppendBytes(out, record);
}

inline void AppendPad(std::string& out, pcbapi::THandle pad) {
    AppendQuery<uint8_t>(out, pcb::PcbApi_QueryPadStackMode, pad);
    for (pcbapi::THostLayer layer = 0; layer <= pcb::MaxLayerId; ++layer) {
        uint8_t shape = 0, percentage = 0;
        pcbapi::TCoord x = 0, y = 0, radius = 0;
        pcb::PcbApi_QueryPadOrViaShapeOnLayer(pad, layer, &shape);
        pcb::PcbApi_QueryPadOrViaSizeOnLayer(pad, layer, &x, &y);
        pcb::PcbApi_QueryPadCornerRadiusOnLayer(pad, layer, &radius);
        pcb::PcbApi_QueryPadCRPercentageOnLayer(pad, layer, &percentage);
        out += std::to_string(shape) + "," + std::to_string(x) + "," + std::to_string(y) + "," +
               std::to_string(radius) + "," + std::to_string(percentage) + ";";
    }
}

inline void AppendDimension(std::string& out, pcbapi::THandle dimension) {
    AppendQuery<pcbapi::TDimensionRecord>(out, pcb::PcbApi_QueryDimension, dimension);
    AppendQuery<pcbapi::TExtDimensionRecord>(out, pcb::PcbApi_QueryExtDimension, dimension);
    for (auto query : {pcb::PcbApi_QueryLinearDimension, pcb::PcbApi_QueryAngularDimension,
                       pcb::PcbApi_QueryRadialDimension, pcb::PcbApi_QueryLeaderDimension,
                       pcb::PcbApi_QueryDatumDimension, pcb::PcbApi_QueryBaselineDimension,
                       pcb::PcbApi_QueryCenterDimension})
        AppendQuery<pcbapi::TDimensionTypeRecord>(out, query, dimension);
    int32_t count = 0;
    pcb::PcbApi_References_Count(dimension, &count);
    for (int32_t i = 0; i < count; ++i) {
        auto reference = Zeroed<pcbapi::TDimensionReference>();
        pcb::PcbApi_References_At(1, dimension, i, &reference);
        AppendBytes(out, reference);
    }
    count = 0;
    pcb::PcbApi_TextLocations_Count(dimension, &count);
    for (int32_t i = 0; i < count; ++i) {
        auto location = Zeroed<pcbapi::TTextLocation>();
        pcb::PcbApi_TextLocations_At(1, dimension, i, &location);
        AppendBytes(out, location);
    }
}

inline void AppendObject(std::string& out, pcbapi::THandle object) {
    using namespace pcb;
    out += "object " + std::to_string(object) + " kind " + std::to_string(ObjectKindOf(object)) + "\n";
    AppendQuery<uint8_t>(out, PcbApi_GetObjectBitField2, object);
    AppendQuery<uint16_t>(out, PcbApi_GetObjectBitField3, object);
    AppendQuery<pcbapi::TPrimitiveRecord>(out, PcbApi_QueryPrimitive, object);
    switch (ObjectKindOf(object)) {
        case eTrackObject: AppendQuery<pcbapi::TTrackRecord>(out, PcbApi_QueryTrack, object); break;
        case eArcObject: AppendQuery<pcbapi::TArcRecord>(out, PcbApi_QueryArc, object); break;
        case eFillObject: AppendQuery<pcbapi::TFillRecord>(out, PcbApi_QueryFill, object); break;
        case eViaObject:
            AppendQuery<pcbapi::TViaRecord>(out, PcbApi_QueryVia, object);
            AppendQuery<uint8_t>(out, PcbApi_QueryViaStackMode, object);
            break;
        case ePadObject:
            AppendQuery<pcbapi::TPadRecord>(out, PcbApi_QueryPad, object);
            AppendPad(out, object);
            break;
        case eTextObject: {
            AppendQuery<pcbapi::TTextRecord>(out, PcbApi_QueryText, object);
            AppendQuery<pcbapi::TTrueTypeRecord>(out, PcbApi_QueryTrueTypeTextInfo, object);
            AppendQuery<pcbapi::TBarCodeRecord>(out, PcbApi_QueryBarCodeTextInfo, object);
            auto display = Zeroed<pcbapi::TName255>();
            PcbApi_GetDesignatorDisplayString(object, &display);
            AppendBytes(out, display);
            break;
        }
        case eComponentObject:
            AppendQuery<int32_t>(out, PcbApi_QueryComponentChannelOffset, object);
            AppendQuery<int32_t>(out, PcbApi_QueryComponentKind, object);
            AppendQuery<pcbapi::TComponentRecord>(out, PcbApi_QueryComponent, object);
            AppendQuery<pcbapi::TComponentExRecord>(out, PcbApi_QueryComponentEx, object);
            AppendQuery<pcbapi::TSourceLinksRecord>(out, PcbApi_QueryComponentSourceLinks, object);
            AppendQuery<pcbapi::TModelRecord>(out, PcbApi_QueryDefaultPCB3DModel, object);
            break;
        case eNetObject: AppendQuery<pcbapi::TNetRecord>(out, PcbApi_QueryNet, object); break;
        case eClassObject:
            AppendQuery<pcbapi::TClassRecord>(out, PcbApi_QueryClass, object);
            for (int32_t i = 0;; ++i) {
                auto name = Zeroed<pcbapi::TName255>();
                if (PcbApi_GetMemberFromClassAt(object, i, &name) != 0) break;
                out += name.Str() + ";";
            }
            break;
        case eRuleObject: {
            AppendQuery<pcbapi::TRuleExRecord>(out, PcbApi_QueryRuleEx, object);
            AppendQuery<pcbapi::TName255>(out, PcbApi_QueryRuleExtEx, object);
            AppendQuery<pcbapi::TRuleRecord>(out, PcbApi_QueryRule, object);
            break;
        }
        case ePolyObject:
        case eBoardOutlineObject: AppendQuery<pcbapi::TPolygonRecord>(out, PcbApi_QueryPolygon, object); break;
        case eSplitPlaneObject: AppendQuery<pcbapi::TSplitPlaneRecord>(out, PcbApi_QuerySplitPlane, object); break;
        case eRegionObject: AppendQuery<pcbapi::TRegionRecord>(out, PcbApi_QueryRegion, object); break;
        case eCoordinateObject: AppendQuery<pcbapi::TCoordinateRecord>(out, PcbApi_QueryCoordinate, object); break;
        case eDimensionObject: AppendDimension(out, object); break;
        default: break;
    }
    pcbapi::TRect rect;
    PcbApi_QueryObjectBoundingRectangle(object, &rect);
    AppendBytes(out, rect);
}

inline std::string BoardSnapshot(pcbapi::THandle board) {
    using namespace pcb;
    std::string out;
    AppendQuery<pcbapi::TBoardRecord>(out, PcbApi_QueryBoard, board);
    for (pcbapi::THostLayer layer = 1; layer <= MaxLayerId; ++layer) {
        int32_t info = 0;
        PcbApi_QueryBoardLayerInfo(1, board, layer, &info);
        auto record = Zeroed<pcbapi::TInternalPlaneRecord>();
        if (IsInternalPlane(static_cast<TLayerId>(layer)))
            PcbApi_QueryInternalPlane(1, board, layer, &record);
        else
            PcbApi_QueryLayer(1, board, layer, &record.Layer);
        auto dielectric = Zeroed<pcbapi::TDielectricRecord>();
        PcbApi_QueryLayerDielectric(1, board, layer, &dielectric);
        out += std::to_string(info);
        AppendBytes(out, record);
        AppendBytes(out, dielectric);
    }
    AppendQuery<uint8_t>(out, PcbApi_QueryBoardSplitPlaneMode, board);
    AppendQuery<pcbapi::TBoardGridsRecord>(out, PcbApi_QueryBoardGridsEx, board);
    for (auto query : {PcbApi_QueryBoardOutputOptions, PcbApi_QueryBoardGerberOptions, PcbApi_QueryBoardPrinterOptions,
                       PcbApi_QueryBoardPlacerOptions, PcbApi_QueryBoardChangeOrderOptions})
        AppendQuery<pcbapi::TBoardOptionsRecord>(out, query, board);
    int32_t pairs = 0;
    PcbApi_QueryBoardLayerPairsCount(board, &pairs);
    for (int32_t i = 0; i < pairs; ++i) {
        auto pair = Zeroed<pcbapi::TLayerPairRecord>();
        PcbApi_QueryBoardLayerPairAt(1, board, i, &pair);
        AppendBytes(out, pair);
    }
    auto top = Zeroed<pcbapi::TDielectricRecord>(), bottom = Zeroed<pcbapi::TDielectricRecord>();
    PcbApi_QueryBoardExternalDielectrics(1, board, &top, &bottom);
    AppendBytes(out, top);
    AppendBytes(out, bottom);
    TPcbIterator iterator(board, eNoObject, 0, NoLayer);
    for (pcbapi::THandle object = iterator.First(); object; object = iterator.Next()) AppendObject(out, object);
    return out;
}

}  // namespace boardtest
