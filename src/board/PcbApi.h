// The flat interface of the host's PCB editor module ("HostPcb.dll", on Linux
// "libHostPcb.so").
//
// Every board object is reached through these functions. Handles are opaque
// 32-bit values, 0 = none. Record queries take a mode byte first: 1 reads the
// host object into the record, 0 writes the record back (2 writes a component
// together with its primitives). A query returns a status, 0 = success.
// Layers cross in the host's own encoding (a 32-bit value that equals the
// layer id for ids 1 to 82), except where a record says "layer id".
//
// This header is the contract between the plug-in and the host module. The
// host module exports each function under its plain name; the plug-in never
// links against it and binds the functions by name at run time (PcbApiBinding).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(_WIN32)
#define PCBAPI_CALL __stdcall
#else
#define PCBAPI_CALL
#endif

namespace pcbapi {

using THandle = uint32_t;
using TCoord = int32_t;
using THostLayer = int32_t;

// The host's layer encoding. Ids 1 to 82 are their own host value; 0 is no
// layer. Layers beyond the id table and layer classes have these values:
constexpr THostLayer HostMidLayerBase = 0x10000;         // + position (top layer = 1)
constexpr THostLayer HostInternalPlaneBase = 0x20000;    // + plane number
constexpr THostLayer HostMechanicalLayerBase = 0x30000;  // + mechanical layer number
constexpr THostLayer HostTopPadMaster = 0x40001;
constexpr THostLayer HostBottomPadMaster = 0x40002;
constexpr THostLayer HostDRCDetails = 0x40003;
constexpr THostLayer HostMidLayers = 0x50001;  // layer classes
constexpr THostLayer HostAllLayers = 0x50002;
constexpr THostLayer HostSignalLayers = 0x50003;
constexpr THostLayer HostInternalPlaneLayers = 0x50004;
constexpr THostLayer HostElectricalLayers = 0x50005;
constexpr THostLayer HostMechanicalLayers = 0x50006;
// The largest positions and numbers the host can represent.
constexpr int HostMaxSignalPosition = 64;
constexpr int HostMaxInternalPlane = 32;
constexpr int HostMaxMechanicalLayer = 32;

// A length-prefixed string of at most N characters: one length byte, then the
// characters, no terminator.
template <int N>
struct TPString {
    static_assert(N > 0 && N <= 255);
    uint8_t Length = 0;
    char Chars[N] = {};

    std::string Str() const { return std::string(Chars, Length < N ? Length : N); }
    void Assign(std::string_view s) {
        Length = static_cast<uint8_t>(s.size() < static_cast<size_t>(N) ? s.size() : N);
        std::memcpy(Chars, s.data(), Length);
    }
};
using TName255 = TPString<255>;
using TName20 = TPString<20>;

struct TRect {
    TCoord Left = 0, Bottom = 0, Right = 0, Top = 0;
};

// The values every board object has. Each kind's record starts with it.
struct TPrimitiveRecord {
    TCoord X = 0, Y = 0;
    THostLayer Layer = 0;  // host encoding; a layer id for vias and components
    THandle Net = 0;
    THandle Component = 0;
    uint16_t StateFlags = 0;
    int16_t ExtraWord = 0;
    uint8_t ExtraByte = 0;
};

struct TBoardRecord {
    TName255 FileName;
    uint8_t IsLibrary = 0;
    uint8_t DisplayUnitImperial = 1;
    THostLayer CurrentLayer = 0;
    int32_t Further[6] = {};
};

struct TLayerRecord {
    TName255 Name;
    TCoord CopperThickness = 0;
    uint8_t Enabled = 0;
    uint8_t Flag2 = 0;
    THostLayer PreviousLayer = 0;
    THostLayer NextLayer = 0;
    uint8_t FurtherByte = 0;
};

struct TInternalPlaneRecord {
    TLayerRecord Layer;
    TName255 NetName;
};

struct TDielectricRecord {
    TName255 Material;
    uint8_t Type = 0;
    double Constant = 0;
    TCoord Height = 0;
};

struct TLayerPairRecord {
    THostLayer LowLayer = 0, HighLayer = 0;
    uint8_t Flag1 = 0, Flag2 = 0;
};

struct TBoardGridsRecord {
    double SnapGridX = 0, SnapGridY = 0;
    double ComponentGridX = 0, ComponentGridY = 0;
    double VisibleGrid1 = 0, VisibleGrid2 = 0;
    uint8_t GridUnit = 0;
};

// The board's option records: kept for write-back, never interpreted.
struct TBoardOptionsRecord {
    int32_t Values[8] = {};
};

struct TTrackRecord {
    TPrimitiveRecord Common;
    TCoord X2 = 0, Y2 = 0;
    TCoord Width = 0;
    THandle OwnerGroup = 0;
    THandle Further1 = 0, Further2 = 0;
};

struct TArcRecord {
    TPrimitiveRecord Common;
    TCoord Radius = 0;
    double StartAngle = 0, EndAngle = 0;
    TCoord LineWidth = 0;
    THandle Further = 0;
};

struct TFillRecord {
    TPrimitiveRecord Common;
    TCoord X2 = 0, Y2 = 0;
    double Rotation = 0;
    THandle Further = 0;
};

struct TViaRecord {
    TPrimitiveRecord Common;  // Layer is a layer id
    TCoord Size = 0, HoleSize = 0;
    uint8_t StartLayer = 0, EndLayer = 0;  // layer ids
    uint8_t Flag1 = 0, Flag2 = 0;
};

struct TPadFurtherValues {
    int32_t Values[8] = {};
    TName20 Name2, Name3;
};

struct TPadRecord {
    TPrimitiveRecord Common;
    TCoord TopXSize = 0, TopYSize = 0;
    TCoord MidXSize = 0, MidYSize = 0;
    TCoord BotXSize = 0, BotYSize = 0;
    TCoord HoleSize = 0;
    uint8_t TopShape = 0, MidShape = 0, BotShape = 0;
    TName20 Name;
    double Rotation = 0;
    uint8_t Flag1 = 0, Flag2 = 0;
    TPadFurtherValues Further;
};

struct TTextRecord {
    TPrimitiveRecord Common;
    TCoord Size = 0;
    TCoord Width = 0;
    int32_t FontId = 0;
    double Rotation = 0;
    uint8_t Mirrored = 0;
    TName255 Text;
    THandle OwnerGroup = 0;
    THandle Further = 0;
};

struct TTrueTypeRecord {
    TName255 FontName;
    uint8_t Flags[4] = {};
    TCoord Length = 0;
};

struct TBarCodeRecord {
    int32_t Values[4] = {};
};

struct TComponentRecord {
    TPrimitiveRecord Common;  // Layer is a layer id (1 top, 32 bottom)
    double Rotation = 0;
    THandle NameText = 0;
    THandle CommentText = 0;
    TPString<250> Pattern;
    uint8_t NameOn = 0, CommentOn = 0;
};

struct TComponentExRecord {
    int32_t Values[4] = {};
    uint8_t Flags[4] = {};
};

struct TSourceLinksRecord {
    TName255 Links[8];
};

struct TModelRecord {
    TName255 Reference;
    int32_t Value = 0;
};

struct TNetRecord {
    TPrimitiveRecord Common;
    TName255 Name;
    uint8_t Flag1 = 0, Flag2 = 0;
};

struct TClassRecord {
    TPrimitiveRecord Common;
    TName255 Name;
    uint8_t MemberKind = 0;  // 0 = a class of nets
    uint8_t SuperClass = 0;  // 1 = a built-in class of all members
};

struct TRuleExRecord {
    TPrimitiveRecord Common;
    uint8_t RuleKind = 0;
    TName255 Scope1Expression;
    TName255 Scope2Expression;
    uint8_t Enabled = 0;
    int32_t Priority = -1;
    uint8_t Flag2 = 0;
};

// The generic rule record: one large block, kept for write-back only.
struct TRuleRecord {
    TPrimitiveRecord Common;
    uint8_t Data[512] = {};
};

#pragma pack(push, 1)
// One outline segment: a fixed 37-byte record, packed without gaps.
struct TOutlineSegment {
    uint8_t Kind = 0;  // 0 straight edge, 1 arc
    int32_t VX = 0, VY = 0;
    int32_t CX = 0, CY = 0;
    int32_t Radius = 0;
    double Angle1 = 0, Angle2 = 0;
};
#pragma pack(pop)
static_assert(sizeof(TOutlineSegment) == 37);

constexpr int MaxOutlineSegments = 5001;

struct TPolygonRecord {
    TPrimitiveRecord Common;
    uint8_t RemoveDead = 0;
    TCoord Grid = 0;
    TCoord TrackWidth = 0;
    uint8_t HatchStyle = 0;
    int32_t SegmentCount = 0;
    TOutlineSegment Segments[MaxOutlineSegments];
    uint8_t FurtherBytes[4] = {};
    int32_t FurtherInt = 0;
};

struct TSplitPlaneRecord {
    TPrimitiveRecord Common;
    int32_t SegmentCount = 0;
    TOutlineSegment Segments[MaxOutlineSegments];
    uint8_t FurtherByte = 0;
};

struct TRegionRecord {
    TPrimitiveRecord Common;
    uint8_t Kind = 0;
    int32_t FurtherInt = 0;
};

struct TCoordinateRecord {
    TPrimitiveRecord Common;
    int32_t Further[6] = {};
};

// The common part of every dimension.
struct TDimensionRecord {
    TPrimitiveRecord Common;
    uint8_t DimensionType = 0;
    TCoord LineWidth = 0;
    TName255 TextFormat;
    uint8_t UnitCode = 0;
    int32_t Precision = 0;
    uint8_t UnitStyle = 0;
    TCoord TextHeight = 0;
    TCoord TextWidth = 0;
};

struct TDimensionReference {
    THandle Object = 0;
    TCoord PointX = 0, PointY = 0;
    int32_t Further = 0;
};

// The extended values shared by every dimension type.
struct TExtDimensionRecord {
    uint8_t DimensionType = 0;
    TCoord ArrowSize = 0;
    TCoord ArrowLineWidth = 0;
    TCoord ExtensionOffset = 0;
    TCoord ExtensionLineWidth = 0;
    TCoord TextGap = 0;
};

// The values of one dimension type: the linear, angular, radial, leader,
// datum, baseline and centre queries each fill those their type has.
struct TDimensionTypeRecord {
    double DimensionAngle = 0;
    TCoord Values[4] = {};
    uint8_t Flags[2] = {};
};

struct TTextLocation {
    TCoord X = 0, Y = 0;
};

struct TPadCacheRecord {
    TCoord PlaneConnectionStyle = 0;  // as the host's plane connection code
    TCoord ReliefConductorWidth = 0;
    TCoord ReliefEntries = 0;
    TCoord ReliefAirGap = 0;
    TCoord ReliefExpansion = 0;
    TCoord PowerPlaneClearance = 0;
    TCoord SolderMaskExpansion = 0;
    TCoord PasteMaskExpansion = 0;
    uint8_t Valid = 0;
};

struct TConfinementRecord {
    uint8_t Kind = 0;
    TCoord X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    THostLayer Side = 0;
};

struct TManualFromToRecord {
    TPrimitiveRecord Common;
    THandle FromPad = 0, ToPad = 0;
};

// A set of host layers for the spatial iterator.
struct THostLayerSet {
    int32_t Count = 0;
    THostLayer Layers[128] = {};
};

// The kinds for the spatial iterator: bit k stands for object kind k.
using TKindSet = uint32_t;

}  // namespace pcbapi

// X(result, name, parameter list, argument list, result of a missing function)
#define PCBAPI_FUNCTIONS(X)                                                                                      \
    /* board */                                                                                                  \
    X(pcbapi::THandle, PcbApi_GetCurrentBoardHandle, (), (), 0)                                                  \
    X(pcbapi::THandle, PcbApi_GetBoardHandleFromFileName, (const pcbapi::TName255* fileName), (fileName), 0)     \
    X(int32_t, PcbApi_QueryBoard, (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardRecord* rec),              \
      (mode, board, rec), 0)                                                                                     \
    X(int32_t, PcbApi_QueryBoardLayerInfo,                                                                       \
      (uint8_t mode, pcbapi::THandle board, pcbapi::THostLayer layer, int32_t* info), (mode, board, layer, info), \
      0)                                                                                                         \
    X(int32_t, PcbApi_QueryLayer,                                                                                \
      (uint8_t mode, pcbapi::THandle board, pcbapi::THostLayer layer, pcbapi::TLayerRecord* rec),                \
      (mode, board, layer, rec), 0)                                                                              \
    X(int32_t, PcbApi_QueryInternalPlane,                                                                        \
      (uint8_t mode, pcbapi::THandle board, pcbapi::THostLayer layer, pcbapi::TInternalPlaneRecord* rec),        \
      (mode, board, layer, rec), 0)                                                                              \
    X(int32_t, PcbApi_QueryLayerDielectric,                                                                      \
      (uint8_t mode, pcbapi::THandle board, pcbapi::THostLayer layer, pcbapi::TDielectricRecord* rec),           \
      (mode, board, layer, rec), 0)                                                                              \
    X(int32_t, PcbApi_QueryBoardSplitPlaneMode, (uint8_t mode, pcbapi::THandle board, uint8_t* splitMode),       \
      (mode, board, splitMode), 1)                                                                               \
    X(int32_t, PcbApi_QueryBoardGridsEx, (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardGridsRecord* rec),  \
      (mode, board, rec), 0)                                                                                     \
    X(int32_t, PcbApi_QueryBoardOutputOptions,                                                                   \
      (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardOptionsRecord* rec), (mode, board, rec), 0)            \
    X(int32_t, PcbApi_QueryBoardGerberOptions,                                                                   \
      (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardOptionsRecord* rec), (mode, board, rec), 0)            \
    X(int32_t, PcbApi_QueryBoardPrinterOptions,                                                                  \
      (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardOptionsRecord* rec), (mode, board, rec), 0)            \
    X(int32_t, PcbApi_QueryBoardPlacerOptions,                                                                   \
      (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardOptionsRecord* rec), (mode, board, rec), 0)            \
    X(int32_t, PcbApi_QueryBoardChangeOrderOptions,                                                              \
      (uint8_t mode, pcbapi::THandle board, pcbapi::TBoardOptionsRecord* rec), (mode, board, rec), 0)            \
    X(int32_t, PcbApi_QueryBoardLayerPairsCount, (pcbapi::THandle board, int32_t* count), (board, count), 1)     \
    X(int32_t, PcbApi_QueryBoardLayerPairAt,                                                                     \
      (uint8_t mode, pcbapi::THandle board, int32_t index, pcbapi::TLayerPairRecord* rec),                       \
      (mode, board, index, rec), 0)                                                                              \
    X(int32_t, PcbApi_QueryBoardExternalDielectrics,                                                             \
      (uint8_t mode, pcbapi::THandle board, pcbapi::TDielectricRecord* top, pcbapi::TDielectricRecord* bottom),  \
      (mode, board, top, bottom), 0)                                                                             \
    /* iteration */                                                                                              \
    X(pcbapi::THandle, PcbApi_CreateIterator,                                                                    \
      (pcbapi::THandle container, uint8_t kind, uint8_t method, pcbapi::THostLayer layer),                       \
      (container, kind, method, layer), 0)                                                                       \
    X(pcbapi::THandle, PcbApi_GetFirstObject, (pcbapi::THandle iterator), (iterator), 0)                         \
    X(pcbapi::THandle, PcbApi_GetNextObject, (pcbapi::THandle iterator), (iterator), 0)                          \
    X(int32_t, PcbApi_DestroyIterator, (pcbapi::THandle iterator), (iterator), 0)                                \
    X(pcbapi::THandle, PcbApi_CreateSpatialIterator,                                                             \
      (pcbapi::THandle board, const pcbapi::TRect* rect, pcbapi::TKindSet kinds,                                 \
       const pcbapi::THostLayerSet* layers),                                                                     \
      (board, rect, kinds, layers), 0)                                                                           \
    X(pcbapi::THandle, PcbApi_GetFirstSpatialObject, (pcbapi::THandle iterator, uint8_t * kind),                 \
      (iterator, kind), 0)                                                                                       \
    X(pcbapi::THandle, PcbApi_GetNextSpatialObject, (pcbapi::THandle iterator, uint8_t * kind), (iterator, kind), \
      0)                                                                                                         \
    /* kind and extent */                                                                                        \
    X(int32_t, PcbApi_GetObjectIdFromObjectHandle, (pcbapi::THandle object), (object), 0)                        \
    X(int32_t, PcbApi_QueryObjectBoundingRectangle, (pcbapi::THandle object, pcbapi::TRect * rect),              \
      (object, rect), 0)                                                                                         \
    X(int32_t, PcbApi_QueryObjectImport_FromUser, (pcbapi::THandle object), (object), 0)                         \
    X(int32_t, PcbApi_QueryObjectGraphicallyInvalidate, (pcbapi::THandle object), (object), 0)                   \
    /* scratch objects and ownership */                                                                          \
    X(pcbapi::THandle, PcbApi_CreateObject, (uint8_t kind), (kind), 0)                                           \
    X(int32_t, PcbApi_QueryObjectSetState_Default, (pcbapi::THandle object), (object), 0)                        \
    X(int32_t, PcbApi_AddObjectToContainer, (pcbapi::THandle container, pcbapi::THandle object),                 \
      (container, object), 0)                                                                                    \
    X(int32_t, PcbApi_DeleteObjectFromContainer, (pcbapi::THandle container, pcbapi::THandle object),            \
      (container, object), 0)                                                                                    \
    X(int32_t, PcbApi_DestroyObject, (pcbapi::THandle object), (object), 0)                                      \
    /* object records */                                                                                         \
    X(int32_t, PcbApi_GetObjectBitField2, (uint8_t mode, pcbapi::THandle object, uint8_t * bits),                \
      (mode, object, bits), 0)                                                                                   \
    X(int32_t, PcbApi_GetObjectBitField3, (uint8_t mode, pcbapi::THandle object, uint16_t * bits),               \
      (mode, object, bits), 0)                                                                                   \
    X(int32_t, PcbApi_QueryPrimitive, (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec),    \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryTrack, (uint8_t mode, pcbapi::THandle object, pcbapi::TTrackRecord * rec),            \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryArc, (uint8_t mode, pcbapi::THandle object, pcbapi::TArcRecord * rec),                \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryFill, (uint8_t mode, pcbapi::THandle object, pcbapi::TFillRecord * rec),              \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryVia, (uint8_t mode, pcbapi::THandle object, pcbapi::TViaRecord * rec),                \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryPad, (uint8_t mode, pcbapi::THandle object, pcbapi::TPadRecord * rec),                \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryPadStackMode, (uint8_t mode, pcbapi::THandle object, uint8_t * stackMode),            \
      (mode, object, stackMode), 0)                                                                              \
    X(int32_t, PcbApi_QueryPadOrViaShapeOnLayer,                                                                 \
      (pcbapi::THandle object, pcbapi::THostLayer layer, uint8_t * shape), (object, layer, shape), 0)            \
    X(int32_t, PcbApi_QueryPadOrViaSizeOnLayer,                                                                  \
      (pcbapi::THandle object, pcbapi::THostLayer layer, pcbapi::TCoord * x, pcbapi::TCoord * y),                \
      (object, layer, x, y), 0)                                                                                  \
    X(int32_t, PcbApi_QueryPadCornerRadiusOnLayer,                                                               \
      (pcbapi::THandle object, pcbapi::THostLayer layer, pcbapi::TCoord * radius), (object, layer, radius), 0)   \
    X(int32_t, PcbApi_QueryPadCRPercentageOnLayer,                                                               \
      (pcbapi::THandle object, pcbapi::THostLayer layer, uint8_t * percentage), (object, layer, percentage), 0)  \
    X(int32_t, PcbApi_SetPadShapeOnLayer, (pcbapi::THandle object, pcbapi::THostLayer layer, uint8_t shape),     \
      (object, layer, shape), 0)                                                                                 \
    X(int32_t, PcbApi_SetPadSizeOnLayer,                                                                         \
      (pcbapi::THandle object, pcbapi::THostLayer layer, pcbapi::TCoord x, pcbapi::TCoord y),                    \
      (object, layer, x, y), 0)                                                                                  \
    X(int32_t, PcbApi_SetCRPctOnLayer, (pcbapi::THandle object, pcbapi::THostLayer layer, uint8_t percentage),   \
      (object, layer, percentage), 0)                                                                            \
    X(int32_t, PcbApi_QueryPadCache, (uint8_t mode, pcbapi::THandle object, pcbapi::TPadCacheRecord * rec),      \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryPadConnectToLayer,                                                                    \
      (uint8_t mode, pcbapi::THandle object, pcbapi::THostLayer layer, uint8_t * connected),                     \
      (mode, object, layer, connected), 0)                                                                       \
    X(int32_t, PcbApi_QueryViaStackMode, (uint8_t mode, pcbapi::THandle object, uint8_t * stackMode),            \
      (mode, object, stackMode), 0)                                                                              \
    X(int32_t, PcbApi_QueryViaStackSizeOnLayer,                                                                  \
      (uint8_t mode, pcbapi::THandle object, pcbapi::THostLayer layer, pcbapi::TCoord * size),                   \
      (mode, object, layer, size), 0)                                                                            \
    X(int32_t, PcbApi_QueryText, (uint8_t mode, pcbapi::THandle object, pcbapi::TTextRecord * rec),              \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryTrueTypeTextInfo, (uint8_t mode, pcbapi::THandle object, pcbapi::TTrueTypeRecord * rec), \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_GetDesignatorDisplayString, (pcbapi::THandle object, pcbapi::TName255 * text),             \
      (object, text), 0)                                                                                         \
    X(int32_t, PcbApi_QueryBarCodeTextInfo, (uint8_t mode, pcbapi::THandle object, pcbapi::TBarCodeRecord * rec), \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryComponentChannelOffset, (uint8_t mode, pcbapi::THandle object, int32_t * offset),     \
      (mode, object, offset), 0)                                                                                 \
    X(int32_t, PcbApi_QueryComponentKind, (uint8_t mode, pcbapi::THandle object, int32_t * kind),                \
      (mode, object, kind), 0)                                                                                   \
    X(int32_t, PcbApi_QueryComponent, (uint8_t mode, pcbapi::THandle object, pcbapi::TComponentRecord * rec),    \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryComponentEx, (uint8_t mode, pcbapi::THandle object, pcbapi::TComponentExRecord * rec), \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryComponentSourceLinks,                                                                 \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TSourceLinksRecord * rec), (mode, object, rec), 0)          \
    X(int32_t, PcbApi_QueryDefaultPCB3DModel, (uint8_t mode, pcbapi::THandle object, pcbapi::TModelRecord * rec), \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryNet, (uint8_t mode, pcbapi::THandle object, pcbapi::TNetRecord * rec),                \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryClass, (uint8_t mode, pcbapi::THandle object, pcbapi::TClassRecord * rec),            \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_GetMemberFromClassAt, (pcbapi::THandle object, int32_t index, pcbapi::TName255 * name),    \
      (object, index, name), 1)                                                                                  \
    X(int32_t, PcbApi_RemoveAllMembersFromClass, (pcbapi::THandle object), (object), 1)                          \
    X(int32_t, PcbApi_AddMemberToClass, (pcbapi::THandle object, const pcbapi::TName255* name), (object, name),  \
      0)                                                                                                         \
    X(int32_t, PcbApi_QueryPolygon, (uint8_t mode, pcbapi::THandle object, pcbapi::TPolygonRecord * rec),        \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QuerySplitPlane, (uint8_t mode, pcbapi::THandle object, pcbapi::TSplitPlaneRecord * rec),  \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryRegion, (uint8_t mode, pcbapi::THandle object, pcbapi::TRegionRecord * rec),          \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryCoordinate, (uint8_t mode, pcbapi::THandle object, pcbapi::TCoordinateRecord * rec),  \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryEmbeddedBoard, (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec), \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryFromTo, (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec),       \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryManualFromTo,                                                                         \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TManualFromToRecord * rec), (mode, object, rec), 1)         \
    X(int32_t, PcbApi_QueryComponentBody, (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec), \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryDifferentialPair,                                                                     \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec), (mode, object, rec), 0)            \
    X(int32_t, PcbApi_QueryEmbedded, (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec),     \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_QueryViolation, (uint8_t mode, pcbapi::THandle object, pcbapi::TPrimitiveRecord * rec),    \
      (mode, object, rec), 0)                                                                                    \
    /* dimensions */                                                                                             \
    X(int32_t, PcbApi_QueryDimension, (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionRecord * rec),    \
      (mode, object, rec), 0)                                                                                    \
    X(int32_t, PcbApi_References_Count, (pcbapi::THandle object, int32_t * count), (object, count), 0)           \
    X(int32_t, PcbApi_References_At,                                                                             \
      (uint8_t mode, pcbapi::THandle object, int32_t index, pcbapi::TDimensionReference * ref),                  \
      (mode, object, index, ref), 0)                                                                             \
    X(int32_t, PcbApi_QueryExtDimension,                                                                         \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TExtDimensionRecord * rec), (mode, object, rec), 0)         \
    X(int32_t, PcbApi_QueryLinearDimension,                                                                      \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_QueryAngularDimension,                                                                     \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_QueryRadialDimension,                                                                      \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_QueryLeaderDimension,                                                                      \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_QueryDatumDimension,                                                                       \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_QueryBaselineDimension,                                                                    \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_QueryCenterDimension,                                                                      \
      (uint8_t mode, pcbapi::THandle object, pcbapi::TDimensionTypeRecord * rec), (mode, object, rec), 0)        \
    X(int32_t, PcbApi_TextLocations_Count, (pcbapi::THandle object, int32_t * count), (object, count), 0)        \
    X(int32_t, PcbApi_TextLocations_At,                                                                          \
      (uint8_t mode, pcbapi::THandle object, int32_t index, pcbapi::TTextLocation * location),                   \
      (mode, object, index, location), 0)                                                                        \
    /* rules */                                                                                                  \
    X(pcbapi::THandle, PcbApi_FindDominantRuleForObject, (pcbapi::THandle object, uint8_t ruleKind),             \
      (object, ruleKind), 0)                                                                                     \
    X(pcbapi::THandle, PcbApi_FindDominantRuleForObjectPair,                                                     \
      (pcbapi::THandle object1, pcbapi::THandle object2, uint8_t ruleKind), (object1, object2, ruleKind), 0)     \
    X(int32_t, PcbApi_QueryRuleEx, (uint8_t mode, pcbapi::THandle rule, pcbapi::TRuleExRecord * rec),            \
      (mode, rule, rec), 0)                                                                                      \
    X(int32_t, PcbApi_QueryRuleExtEx, (uint8_t mode, pcbapi::THandle rule, pcbapi::TName255 * name),             \
      (mode, rule, name), 0)                                                                                     \
    X(int32_t, PcbApi_QueryRule, (uint8_t mode, pcbapi::THandle rule, pcbapi::TRuleRecord * rec),                \
      (mode, rule, rec), 0)                                                                                      \
    X(uint8_t, PcbApi_Scope1_Includes, (pcbapi::THandle rule, pcbapi::THandle object), (rule, object), 0)        \
    X(int32_t, PcbApi_QueryRuleClearanceConstraint, (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * gap),  \
      (mode, rule, gap), 0)                                                                                      \
    X(int32_t, PcbApi_QueryRuleMaxMinLengthConstraint,                                                           \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * maximum, pcbapi::TCoord * minimum),                  \
      (mode, rule, maximum, minimum), 0)                                                                         \
    X(int32_t, PcbApi_QueryRuleMaxMinWidthConstraintExt,                                                         \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * minimum, pcbapi::TCoord * maximum,                   \
       pcbapi::TCoord * preferred),                                                                              \
      (mode, rule, minimum, maximum, preferred), 0)                                                              \
    X(int32_t, PcbApi_QueryRuleRoutingViaStyleRule,                                                              \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * holeSize, pcbapi::TCoord * diameter,                 \
       uint8_t * style),                                                                                         \
      (mode, rule, holeSize, diameter, style), 0)                                                                \
    X(int32_t, PcbApi_QueryRuleConfinementConstraint,                                                            \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TConfinementRecord * rec), (mode, rule, rec), 0)              \
    X(int32_t, PcbApi_QueryRulePowerPlaneExpansionRule,                                                          \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * expansion), (mode, rule, expansion), 0)              \
    X(int32_t, PcbApi_QueryRuleSolderMaskExpansionRule,                                                          \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * expansion), (mode, rule, expansion), 0)              \
    X(int32_t, PcbApi_QueryRulePasteMaskExpansionRule,                                                           \
      (uint8_t mode, pcbapi::THandle rule, pcbapi::TCoord * expansion), (mode, rule, expansion), 0)              \
    /* library footprint */                                                                                      \
    X(int32_t, PcbApi_GetCurrentComponent, (pcbapi::THandle board, pcbapi::TName255 * name), (board, name), 0)  \
    /* progress display */                                                                                       \
    X(int32_t, PcbApi_Percent_Init, (const pcbapi::TName255* caption, int32_t total), (caption, total), 0)       \
    X(int32_t, PcbApi_Percent_Update, (), (), 0)                                                                 \
    X(int32_t, PcbApi_Percent_Finish, (), (), 0)                                                                 \
    /* commands */                                                                                               \
    X(int32_t, PcbApi_SendCommand, (const char* command, char* parameters, int32_t size, int32_t context),       \
      (command, parameters, size, context), 0)                                                                   \
    X(int32_t, PcbApi_GetState_ProcessDepth, (), (), 0)                                                          \
    X(int32_t, PcbApi_SetState_ProcessDepth, (int32_t depth), (depth), 0)

// The function pointer type of each host function: PcbApi_Xxx_t.
#define PCBAPI_DECLARE_TYPE(result, name, params, args, missing) using name##_t = result(PCBAPI_CALL*) params;
namespace pcbapi {
PCBAPI_FUNCTIONS(PCBAPI_DECLARE_TYPE)
}
#undef PCBAPI_DECLARE_TYPE
