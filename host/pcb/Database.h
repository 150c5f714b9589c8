// The PCB editor's in-memory database: open documents, their boards (or, for
// a footprint library, one board content per footprint) and every object by
// handle. Handles are never reused while the module is loaded.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Geometry.h"
#include "Layers.h"
#include "board/PcbApi.h"

namespace hostpcb {

using pcbapi::THandle;

enum Kind : uint8_t {
    KindNone = 0,
    KindArc = 1,
    KindPad = 2,
    KindVia = 3,
    KindTrack = 4,
    KindText = 5,
    KindFill = 6,
    KindFromTo = 7,
    KindNet = 8,
    KindComponent = 9,
    KindPolygon = 10,
    KindRegion = 11,
    KindComponentBody = 12,
    KindDimension = 13,
    KindCoordinate = 14,
    KindClass = 15,
    KindRule = 16,
    KindManualFromTo = 17,
    KindDifferentialPair = 18,
    KindViolation = 19,
    KindEmbedded = 20,
    KindEmbeddedBoard = 21,
    KindSplitPlane = 22,
    KindBoardOutline = 26,
};
constexpr int KindCount = 32;

const char* KindName(uint8_t kind);
bool IsCreatableKind(uint8_t kind);

constexpr int LayerTableSize = 83;

struct PadShape {
    uint8_t shape = 1;
    int32_t x = 600000, y = 600000;
    uint8_t cornerPercent = 50;
};

// The plane connection and mask values of a pad or via. Values the object
// does not set itself come from the board's rules.
struct PadCache {
    int32_t connection = 1;  // 0 none, 1 relief, 2 direct
    int32_t conductorWidth = 100000;
    int32_t entries = 4;
    int32_t airGap = 100000;
    int32_t expansion = 200000;
    int32_t clearance = 200000;
    int32_t solderMask = 40000;
    int32_t pasteMask = 0;
    // Which values the object sets itself (one bit per value, in the order
    // above); the others follow the rules.
    uint8_t own = 0;
};
enum PadCacheBit : uint8_t {
    CacheConnection = 1,
    CacheConductor = 2,
    CacheEntries = 4,
    CacheAirGap = 8,
    CacheExpansion = 16,
    CacheClearance = 32,
    CacheSolderMask = 64,
    CachePasteMask = 128,
};

struct PlaneConnections {
    bool own = false;       // set explicitly; else derived from the net
    uint32_t planes = 0;    // bit n-1: InternalPlane n (1 to 16)
};

struct Segment {
    uint8_t kind = 0;  // 0 edge, 1 arc
    Point v, c;
    int32_t radius = 0;
    double angle1 = 0, angle2 = 0;
};

struct TrackData {
    Point p2;
    int32_t width = 100000;
    THandle further1 = 0, further2 = 0;
};
struct ArcData {
    int32_t radius = 500000;
    double start = 0, end = 360;
    int32_t width = 100000;
    THandle further = 0;
};
struct FillData {
    Point p2;
    double rotation = 0;
    THandle further = 0;
};
struct ViaData {
    int32_t size = 500000, hole = 280000;
    uint8_t startLayer = 1, endLayer = 32;
    uint8_t flag1 = 0, flag2 = 0;
    uint8_t stackMode = 0;
    std::array<int32_t, 33> sizes{};  // per signal layer id 1..32; 0 = `size`
    PadCache cache;
    PlaneConnections planes;
};
struct PadData {
    PadShape top, mid, bottom;
    int32_t hole = 300000;
    std::string name;
    double rotation = 0;
    uint8_t flag1 = 0, flag2 = 0;
    pcbapi::TPadFurtherValues further;
    uint8_t stackMode = 0;
    // The full stack (stack mode 2, or set layer by layer); none: from top, mid, bottom.
    std::unique_ptr<std::array<PadShape, LayerTableSize>> stack;
    PadCache cache;
    PlaneConnections planes;
};
struct TextData {
    int32_t size = 600000, width = 100000;
    int32_t font = 1;
    double rotation = 0;
    bool mirrored = false;
    std::string text;
    THandle further = 0;
    std::string fontName = "Arial";
    std::array<uint8_t, 4> ttFlags{};  // use TrueType, bold, italic, inverted
    int32_t ttLength = 200000;
    pcbapi::TBarCodeRecord barcode;
};
struct ComponentData {
    double rotation = 0;
    THandle nameText = 0, commentText = 0;
    std::string pattern;
    bool nameOn = true, commentOn = false;
    int32_t channelOffset = 0, componentKind = 0;
    pcbapi::TComponentExRecord ex;
    std::array<std::string, 8> sourceLinks;
    std::string model;
    int32_t modelValue = 0;
};
struct NetData {
    std::string name;
    uint8_t flag1 = 0, flag2 = 0;
};
struct ClassData {
    std::string name;
    uint8_t memberKind = 0, superClass = 0;
    std::vector<std::string> members;
};
struct ScopeExpr;
struct RuleData {
    uint8_t ruleKind = 0;
    std::string name;
    std::string scope1 = "All", scope2 = "All";
    std::shared_ptr<const ScopeExpr> parsed1, parsed2;  // none: does not parse, selects nothing
    bool enabled = true;
    int32_t priority = 1;
    uint8_t flag2 = 0;
    std::array<int32_t, 4> values{};  // by kind: gap; min max preferred; max min; hole diameter; expansion
    uint8_t style = 0;                // routing via style
    pcbapi::TConfinementRecord room;
    std::unique_ptr<std::array<uint8_t, 512>> data;  // the generic record, once written
};
struct OutlineData {
    std::vector<Segment> outline;
    uint8_t removeDead = 0;
    int32_t grid = 200000, trackWidth = 100000;
    uint8_t hatch = 5;
    std::array<uint8_t, 4> furtherBytes{};
    int32_t furtherInt = 0;
    uint8_t regionKind = 0;
    int32_t height = 0;
};
struct DimensionReference {
    THandle object = 0;
    Point point;
    int32_t further = 0;
};
struct DimensionData {
    uint8_t type = 1;
    int32_t lineWidth = 100000;
    std::string textFormat = "10mil";
    uint8_t unitCode = 0;
    int32_t precision = 2;
    uint8_t unitStyle = 0;
    int32_t textHeight = 600000, textWidth = 60000;
    std::vector<DimensionReference> references;
    pcbapi::TExtDimensionRecord ext;
    double angle = 0;
    std::array<int32_t, 4> values{};
    std::array<uint8_t, 2> flags{};
    std::vector<Point> textLocations;
    std::array<int32_t, 6> further{};  // coordinates
};

struct Content;
struct Document;

// One host object. The kind's own values live in the member of its kind.
struct Object {
    THandle handle = 0;
    uint8_t kind = 0;
    Content* content = nullptr;  // where it is placed; none for an unplaced object
    Point p;
    THostLayer layer = 0;
    THandle net = 0;
    THandle component = 0;
    THandle ownerGroup = 0;  // the dimension or coordinate it draws
    uint16_t stateFlags = 0;
    int16_t extraWord = 0;
    uint8_t extraByte = 0;
    uint8_t bits2 = 0;
    uint16_t bits3 = 0;

    std::unique_ptr<TrackData> track;      // tracks, embedded boards (second corner)
    std::unique_ptr<ArcData> arc;
    std::unique_ptr<FillData> fill;
    std::unique_ptr<ViaData> via;
    std::unique_ptr<PadData> pad;
    std::unique_ptr<TextData> text;
    std::unique_ptr<ComponentData> comp;
    std::unique_ptr<NetData> netData;
    std::unique_ptr<ClassData> cls;
    std::unique_ptr<RuleData> rule;
    std::unique_ptr<OutlineData> shape;    // polygons, outlines, split planes, regions, bodies
    std::unique_ptr<DimensionData> dim;    // dimensions and coordinates

    // Children, in host order: a component's primitives, a net's pads, the
    // drawing of a dimension or coordinate.
    std::map<THandle, Object*> children;

    bool IsFree() const { return component == 0 && ownerGroup == 0; }
};

// The objects of a board, or of one footprint of a library, indexed for the
// iterators. Host order is handle order.
struct Content {
    Document* document = nullptr;
    std::string footprintName;
    std::map<THandle, Object*> all;
    std::array<std::map<THandle, Object*>, KindCount> byKind;
    std::unordered_map<THostLayer, std::map<THandle, Object*>> byLayer;

    void Insert(Object* o);
    void Erase(Object* o);
    void ChangeLayer(Object* o, THostLayer newLayer);
};

struct LayerState {
    std::string name;
    int32_t copper = 14000;
    bool enabled = false;
    uint8_t flag2 = 0;
    THostLayer previous = 0, next = 0;
    uint8_t further = 0;
    pcbapi::TDielectricRecord dielectric;
    std::string netName = "(No Net)";
    int32_t info = 0;
};

pcbapi::TDielectricRecord DefaultDielectric();

struct Document {
    THandle board = 0;
    std::string fileName;
    std::string sourcePath;
    bool isLibrary = false;
    bool imperial = true;
    THostLayer currentLayer = TopLayer;
    std::array<int32_t, 6> further{};
    pcbapi::TBoardGridsRecord grids;
    std::array<pcbapi::TBoardOptionsRecord, 5> options;  // output, Gerber, printer, placer, change order
    uint8_t splitPlaneMode = 1;
    std::vector<pcbapi::TLayerPairRecord> layerPairs;
    pcbapi::TDielectricRecord topDielectric, bottomDielectric;
    std::map<THostLayer, LayerState> layers;
    std::vector<std::unique_ptr<Content>> contents;  // one for a board, one per footprint of a library
    size_t current = 0;

    Content& Current() { return *contents[current]; }
    LayerState& Layer(THostLayer layer);
};

// Walks a container's objects in host order; it survives objects being added
// and removed while it walks.
struct Iterator {
    THandle container = 0;
    size_t content = 0;  // for a board: the footprint it walks
    uint8_t kind = 0;
    uint8_t method = 0;
    THostLayer layer = 0;
    THandle cursor = 0;
    // Spatial iterators: a snapshot of the objects found.
    bool spatial = false;
    std::vector<THandle> found;
    size_t position = 0;
};

class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    THandle NewHandle() { return nextHandle_++; }

    Object* Find(THandle handle) const;
    Document* FindBoard(THandle handle) const;
    Object& Create(uint8_t kind);  // unplaced, with host defaults
    void SetDefaults(Object& o);   // back to the host defaults of its kind
    void Destroy(Object& o);

    // Placing objects: into the current content of a board, or into a
    // component, dimension or coordinate (and its board).
    bool Place(Object& container, Object& o);
    bool Place(Document& board, Object& o);
    bool Unplace(Object& o);

    void SetNet(Object& o, THandle net);
    void SetLayer(Object& o, THostLayer layer);

    Document& AddDocument(std::unique_ptr<Document> document);
    Document* Current() const { return current_; }
    void SetCurrent(Document* d) { current_ = d; }
    const std::vector<std::unique_ptr<Document>>& Documents() const { return documents_; }
    // The document of an object (its board's), the current one for an
    // unplaced object.
    Document* DocumentOf(const Object& o) const;

    THandle AddIterator(Iterator it);
    Iterator* FindIterator(THandle handle);
    bool DestroyIterator(THandle handle);

private:
    THandle nextHandle_ = 1;
    std::unordered_map<THandle, std::unique_ptr<Object>> objects_;
    std::vector<std::unique_ptr<Document>> documents_;
    std::unordered_map<THandle, Document*> boards_;
    std::unordered_map<THandle, Iterator> iterators_;
    Document* current_ = nullptr;

    void RemoveFromOwners(Object& o);
};

// The placement of a component, from its own values.
Placement PlacementOf(const Object& component);

// Moves, turns and flips a component's primitives from one placement to
// another (mode 2 write-back of a component).
void CarryPrimitives(Database& db, Object& component, const Placement& from, const Placement& to);

// Whether a layer lies within a via's span, in the order of the layer stack.
bool ViaReaches(const Database& db, const Object& via, THostLayer layer);

// Moves, turns and flips one primitive as a placement change does.
void CarryPrimitive(Database& db, Object& o, const PlacementChange& change);

}  // namespace hostpcb
