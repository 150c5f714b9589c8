// The module's exports for boards, layers, iteration, object handling,
// progress and commands, and the host program's own functions.
#include <algorithm>
#include <cctype>

#include "Bounds.h"
#include "Loader.h"
#include "Module.h"

using namespace pcbapi;

namespace hostpcb {

ModuleState& State() {
    static ModuleState state;
    return state;
}

void CopyOut(std::string_view text, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return;
    size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

Object* ObjectOf(THandle handle, uint8_t kind) {
    Object* o = State().db.Find(handle);
    if (!o) return nullptr;
    if (kind != 0 && o->kind != kind) return nullptr;
    return o;
}

namespace {

Database& Db() { return State().db; }

Document* BoardOf(THandle board) { return Db().FindBoard(board); }

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool ValidMode(uint8_t mode) { return mode <= ModeWriteWithPrimitives; }

LayerState* LayerOf(Document& doc, THostLayer layer) {
    if (LayerName(layer).empty()) return nullptr;
    return &doc.Layer(layer);
}

int32_t TransferLayer(uint8_t mode, LayerState& s, TLayerRecord& rec) {
    if (mode == ModeRead) {
        rec.Name.Assign(s.name);
        rec.CopperThickness = s.copper;
        rec.Enabled = s.enabled;
        rec.Flag2 = s.flag2;
        rec.PreviousLayer = s.previous;
        rec.NextLayer = s.next;
        rec.FurtherByte = s.further;
    } else {
        s.name = rec.Name.Str();
        s.copper = rec.CopperThickness;
        s.enabled = rec.Enabled != 0;
        s.flag2 = rec.Flag2;
        s.previous = rec.PreviousLayer;
        s.next = rec.NextLayer;
        s.further = rec.FurtherByte;
    }
    return Ok;
}

int32_t TransferOptions(uint8_t mode, THandle board, TBoardOptionsRecord* rec, size_t which) {
    Document* doc = BoardOf(board);
    if (!doc || !rec || !ValidMode(mode)) return Failed;
    Transfer(mode, doc->options[which], *rec);
    return Ok;
}

const std::map<THandle, Object*>* ChildrenOf(THandle container) {
    Object* o = Db().Find(container);
    if (!o) return nullptr;
    switch (o->kind) {
    case KindComponent:
    case KindNet:
    case KindDimension:
    case KindCoordinate:
        return &o->children;
    default:
        return nullptr;
    }
}

// The index an iterator over a board content walks, and whether it must
// test each object's layer itself.
const std::map<THandle, Object*>& BoardIndex(const Content& c, const Iterator& it) {
    static const std::map<THandle, Object*> none;
    const std::map<THandle, Object*>* best = &c.all;
    if (it.kind != 0) best = it.kind < KindCount ? &c.byKind[it.kind] : &none;
    if (it.layer != 0 && !LayerName(it.layer).empty()) {
        auto l = c.byLayer.find(it.layer);
        const auto* byLayer = l == c.byLayer.end() ? &none : &l->second;
        if (byLayer->size() < best->size()) best = byLayer;
    }
    return *best;
}

bool IteratorAccepts(const Iterator& it, const Object& o, bool board) {
    if (it.kind != 0 && o.kind != it.kind) return false;
    if (!LayerMatches(it.layer, o.layer)) return false;
    return !(board && it.method == 1 && !o.IsFree());
}

THandle Advance(Iterator& it) {
    const std::map<THandle, Object*>* index = nullptr;
    bool board = false;
    if (Document* doc = BoardOf(it.container)) {
        if (it.content >= doc->contents.size()) return 0;
        index = &BoardIndex(*doc->contents[it.content], it);
        board = true;
    } else {
        index = ChildrenOf(it.container);
    }
    if (!index) return 0;
    for (auto pos = index->upper_bound(it.cursor); pos != index->end(); ++pos) {
        if (IteratorAccepts(it, *pos->second, board)) {
            it.cursor = pos->first;
            return pos->first;
        }
    }
    it.cursor = UINT32_MAX;
    return 0;
}

bool InLayerSet(const THostLayerSet* layers, THostLayer layer) {
    if (!layers || layers->Count <= 0) return true;
    int count = std::min(layers->Count, static_cast<int32_t>(std::size(layers->Layers)));
    for (int i = 0; i < count; ++i)
        if (LayerMatches(layers->Layers[i], layer)) return true;
    return false;
}

void ChangeFootprint(Document& doc, std::string_view command) {
    size_t n = doc.contents.size();
    if (EqualNoCase(command, "PCB:FirstComponent"))
        doc.current = 0;
    else if (EqualNoCase(command, "PCB:LastComponent"))
        doc.current = n - 1;
    else if (EqualNoCase(command, "PCB:PreviousComponent"))
        doc.current = (doc.current + n - 1) % n;
    else
        doc.current = (doc.current + 1) % n;
}

}  // namespace

bool RunPcbCommand(std::string_view command) {
    bool known = false;
    for (const char* c : {"PCB:FirstComponent", "PCB:LastComponent", "PCB:PreviousComponent", "PCB:NextComponent"})
        known = known || EqualNoCase(command, c);
    if (!known) return false;
    Document* doc = Db().Current();
    if (doc && doc->isLibrary) ChangeFootprint(*doc, command);
    return true;
}

}  // namespace hostpcb

using namespace hostpcb;

extern "C" {

// ---- board ----

THandle PCBAPI_CALL PcbApi_GetCurrentBoardHandle() {
    Document* doc = Db().Current();
    return doc ? doc->board : 0;
}

THandle PCBAPI_CALL PcbApi_GetBoardHandleFromFileName(const TName255* fileName) {
    if (!fileName) return 0;
    const std::string name = fileName->Str();
    for (const auto& doc : Db().Documents())
        if (EqualNoCase(doc->fileName, name) || EqualNoCase(doc->sourcePath, name)) return doc->board;
    return 0;
}

int32_t PCBAPI_CALL PcbApi_QueryBoard(uint8_t mode, THandle board, TBoardRecord* rec) {
    Document* doc = BoardOf(board);
    if (!doc || !rec || !ValidMode(mode)) return Failed;
    if (mode == ModeRead) {
        rec->FileName.Assign(doc->fileName);
        rec->IsLibrary = doc->isLibrary;
        rec->DisplayUnitImperial = doc->imperial;
        rec->CurrentLayer = doc->currentLayer;
        std::copy(doc->further.begin(), doc->further.end(), rec->Further);
    } else {
        doc->fileName = rec->FileName.Str();
        doc->imperial = rec->DisplayUnitImperial != 0;
        doc->currentLayer = rec->CurrentLayer;
        std::copy(rec->Further, rec->Further + 6, doc->further.begin());
    }
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBoardLayerInfo(uint8_t mode, THandle board, THostLayer layer, int32_t* info) {
    Document* doc = BoardOf(board);
    LayerState* s = doc ? LayerOf(*doc, layer) : nullptr;
    if (!s || !info || !ValidMode(mode)) return Failed;
    Transfer(mode, s->info, *info);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryLayer(uint8_t mode, THandle board, THostLayer layer, TLayerRecord* rec) {
    Document* doc = BoardOf(board);
    LayerState* s = doc ? LayerOf(*doc, layer) : nullptr;
    if (!s || !rec || !ValidMode(mode)) return Failed;
    return TransferLayer(mode, *s, *rec);
}

int32_t PCBAPI_CALL PcbApi_QueryInternalPlane(uint8_t mode, THandle board, THostLayer layer,
                                              TInternalPlaneRecord* rec) {
    Document* doc = BoardOf(board);
    LayerState* s = doc && IsInternalPlane(layer) ? LayerOf(*doc, layer) : nullptr;
    if (!s || !rec || !ValidMode(mode)) return Failed;
    TransferLayer(mode, *s, rec->Layer);
    if (mode == ModeRead)
        rec->NetName.Assign(s->netName);
    else
        s->netName = rec->NetName.Str();
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryLayerDielectric(uint8_t mode, THandle board, THostLayer layer,
                                                TDielectricRecord* rec) {
    Document* doc = BoardOf(board);
    LayerState* s = doc ? LayerOf(*doc, layer) : nullptr;
    if (!s || !rec || !ValidMode(mode)) return Failed;
    Transfer(mode, s->dielectric, *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBoardSplitPlaneMode(uint8_t mode, THandle board, uint8_t* splitMode) {
    Document* doc = BoardOf(board);
    if (!doc || !splitMode || !ValidMode(mode)) return Failed;
    Transfer(mode, doc->splitPlaneMode, *splitMode);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBoardGridsEx(uint8_t mode, THandle board, TBoardGridsRecord* rec) {
    Document* doc = BoardOf(board);
    if (!doc || !rec || !ValidMode(mode)) return Failed;
    Transfer(mode, doc->grids, *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBoardOutputOptions(uint8_t mode, THandle board, TBoardOptionsRecord* rec) {
    return TransferOptions(mode, board, rec, 0);
}
int32_t PCBAPI_CALL PcbApi_QueryBoardGerberOptions(uint8_t mode, THandle board, TBoardOptionsRecord* rec) {
    return TransferOptions(mode, board, rec, 1);
}
int32_t PCBAPI_CALL PcbApi_QueryBoardPrinterOptions(uint8_t mode, THandle board, TBoardOptionsRecord* rec) {
    return TransferOptions(mode, board, rec, 2);
}
int32_t PCBAPI_CALL PcbApi_QueryBoardPlacerOptions(uint8_t mode, THandle board, TBoardOptionsRecord* rec) {
    return TransferOptions(mode, board, rec, 3);
}
int32_t PCBAPI_CALL PcbApi_QueryBoardChangeOrderOptions(uint8_t mode, THandle board, TBoardOptionsRecord* rec) {
    return TransferOptions(mode, board, rec, 4);
}

int32_t PCBAPI_CALL PcbApi_QueryBoardLayerPairsCount(THandle board, int32_t* count) {
    Document* doc = BoardOf(board);
    if (!doc || !count) return Failed;
    *count = static_cast<int32_t>(doc->layerPairs.size());
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBoardLayerPairAt(uint8_t mode, THandle board, int32_t index, TLayerPairRecord* rec) {
    Document* doc = BoardOf(board);
    if (!doc || !rec || !ValidMode(mode) || index < 0 || static_cast<size_t>(index) >= doc->layerPairs.size())
        return Failed;
    Transfer(mode, doc->layerPairs[static_cast<size_t>(index)], *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBoardExternalDielectrics(uint8_t mode, THandle board, TDielectricRecord* top,
                                                         TDielectricRecord* bottom) {
    Document* doc = BoardOf(board);
    if (!doc || !top || !bottom || !ValidMode(mode)) return Failed;
    Transfer(mode, doc->topDielectric, *top);
    Transfer(mode, doc->bottomDielectric, *bottom);
    return Ok;
}

// ---- iteration ----

THandle PCBAPI_CALL PcbApi_CreateIterator(THandle container, uint8_t kind, uint8_t method, THostLayer layer) {
    Iterator it;
    it.container = container;
    it.kind = kind;
    it.method = method;
    it.layer = layer;
    if (Document* doc = BoardOf(container))
        it.content = doc->current;
    else if (!ChildrenOf(container))
        return 0;
    return Db().AddIterator(std::move(it));
}

THandle PCBAPI_CALL PcbApi_GetFirstObject(THandle iterator) {
    Iterator* it = Db().FindIterator(iterator);
    if (!it || it->spatial) return 0;
    it->cursor = 0;
    return Advance(*it);
}

THandle PCBAPI_CALL PcbApi_GetNextObject(THandle iterator) {
    Iterator* it = Db().FindIterator(iterator);
    if (!it || it->spatial) return 0;
    return Advance(*it);
}

int32_t PCBAPI_CALL PcbApi_DestroyIterator(THandle iterator) { return Db().DestroyIterator(iterator) ? Ok : Failed; }

THandle PCBAPI_CALL PcbApi_CreateSpatialIterator(THandle board, const TRect* rect, TKindSet kinds,
                                                 const THostLayerSet* layers) {
    Document* doc = BoardOf(board);
    if (!doc) return 0;
    Iterator it;
    it.container = board;
    it.spatial = true;
    for (const auto& [h, o] : doc->Current().all) {
        if (o->kind >= 32 || !(kinds & (1u << o->kind))) continue;
        if (!InLayerSet(layers, o->layer)) continue;
        if (rect && !BoundsOf(Db(), *o).Intersects(*rect)) continue;
        it.found.push_back(h);
    }
    return Db().AddIterator(std::move(it));
}

static THandle SpatialAt(THandle iterator, uint8_t* kind) {
    Iterator* it = Db().FindIterator(iterator);
    if (kind) *kind = 0;
    if (!it || !it->spatial) return 0;
    while (it->position < it->found.size()) {
        THandle h = it->found[it->position++];
        if (Object* o = Db().Find(h)) {
            if (kind) *kind = o->kind;
            return h;
        }
    }
    return 0;
}

THandle PCBAPI_CALL PcbApi_GetFirstSpatialObject(THandle iterator, uint8_t* kind) {
    if (Iterator* it = Db().FindIterator(iterator)) it->position = 0;
    return SpatialAt(iterator, kind);
}

THandle PCBAPI_CALL PcbApi_GetNextSpatialObject(THandle iterator, uint8_t* kind) { return SpatialAt(iterator, kind); }

// ---- kind and extent ----

int32_t PCBAPI_CALL PcbApi_GetObjectIdFromObjectHandle(THandle object) {
    if (BoardOf(object)) return 25;
    Object* o = ObjectOf(object);
    return o ? o->kind : 0;
}

int32_t PCBAPI_CALL PcbApi_QueryObjectBoundingRectangle(THandle object, TRect* rect) {
    if (!rect) return Failed;
    if (Document* doc = BoardOf(object)) {
        *rect = BoardBounds(Db(), *doc).Rect();
        return Ok;
    }
    Object* o = ObjectOf(object);
    if (!o) return Failed;
    *rect = BoundsOf(Db(), *o).Rect();
    return Ok;
}

// The simulated editor has no user to ask.
int32_t PCBAPI_CALL PcbApi_QueryObjectImport_FromUser(THandle object) {
    (void)object;
    return Failed;
}

int32_t PCBAPI_CALL PcbApi_QueryObjectGraphicallyInvalidate(THandle object) {
    return ObjectOf(object) || BoardOf(object) ? Ok : Failed;
}

// ---- scratch objects and ownership ----

THandle PCBAPI_CALL PcbApi_CreateObject(uint8_t kind) {
    if (!IsCreatableKind(kind)) return 0;
    return Db().Create(kind).handle;
}

int32_t PCBAPI_CALL PcbApi_QueryObjectSetState_Default(THandle object) {
    Object* o = ObjectOf(object);
    if (!o) return Failed;
    Db().SetDefaults(*o);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_AddObjectToContainer(THandle container, THandle object) {
    Object* o = ObjectOf(object);
    if (!o) return Failed;
    if (Document* doc = BoardOf(container)) return Db().Place(*doc, *o) ? Ok : Failed;
    Object* c = ObjectOf(container);
    return c && Db().Place(*c, *o) ? Ok : Failed;
}

int32_t PCBAPI_CALL PcbApi_DeleteObjectFromContainer(THandle container, THandle object) {
    Object* o = ObjectOf(object);
    if (!o) return Failed;
    if (Document* doc = BoardOf(container)) {
        if (!o->content || o->content->document != doc) return Failed;
        return Db().Unplace(*o) ? Ok : Failed;
    }
    Object* c = ObjectOf(container);
    if (!c || !c->children.count(o->handle)) return Failed;
    c->children.erase(o->handle);
    if (c->kind == KindComponent) o->component = 0;
    if (c->kind == KindNet) o->net = 0;
    if (c->kind == KindDimension || c->kind == KindCoordinate) o->ownerGroup = 0;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_DestroyObject(THandle object) {
    // Boards belong to their documents; the editor does not destroy them here.
    Object* o = ObjectOf(object);
    if (!o) return Failed;
    Db().Destroy(*o);
    return Ok;
}

// ---- progress and commands ----

int32_t PCBAPI_CALL PcbApi_Percent_Init(const TName255* caption, int32_t total) {
    ModuleState& s = State();
    if (s.hasSink && s.sink.Init) s.sink.Init(caption ? caption->Str().c_str() : "", total);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_Percent_Update() {
    ModuleState& s = State();
    if (s.hasSink && s.sink.Update) s.sink.Update();
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_Percent_Finish() {
    ModuleState& s = State();
    if (s.hasSink && s.sink.Finish) s.sink.Finish();
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_SendCommand(const char* command, char* parameters, int32_t size, int32_t context) {
    (void)context;
    if (!command) return Failed;
    std::string_view name(command);
    if (name.size() >= 4 && EqualNoCase(name.substr(0, 4), "PCB:")) return RunPcbCommand(name) ? Ok : Failed;
    host::IHostClient* client = State().client;
    if (!client) return Failed;
    client->DispatchCommand(command, parameters, size, client->GetCurrentView());
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_GetState_ProcessDepth() { return State().processDepth; }

int32_t PCBAPI_CALL PcbApi_SetState_ProcessDepth(int32_t depth) {
    State().processDepth = depth;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_GetCurrentComponent(THandle board, TName255* name) {
    Document* doc = BoardOf(board);
    if (!name) return Failed;
    name->Assign("");
    if (!doc) return Failed;
    if (doc->isLibrary) name->Assign(doc->Current().footprintName);
    return Ok;
}

// ---- the host program's functions ----

THandle PCBAPI_CALL HostPcb_OpenDocument(const char* path, char* error, int32_t size) {
    CopyOut("", error, size);
    if (!path) return 0;
    std::string message;
    Document* doc = LoadDocument(Db(), path, message);
    if (!doc) {
        CopyOut(message, error, size);
        return 0;
    }
    Db().SetCurrent(doc);
    return doc->board;
}

int32_t PCBAPI_CALL HostPcb_GetDocumentInfo(THandle board, char* fileName, int32_t size, uint8_t* isLibrary) {
    Document* doc = BoardOf(board);
    if (!doc) return 0;
    CopyOut(doc->fileName, fileName, size);
    if (isLibrary) *isLibrary = doc->isLibrary;
    return 1;
}

int32_t PCBAPI_CALL HostPcb_RunCommand(const char* command, char* parameters, int32_t size) {
    (void)parameters;
    (void)size;
    return command && RunPcbCommand(command) ? Ok : Failed;
}

void PCBAPI_CALL HostPcb_SetProgressSink(const HostPcbProgressSink* sink) {
    ModuleState& s = State();
    s.hasSink = sink != nullptr;
    s.sink = sink ? *sink : HostPcbProgressSink{};
}

void PCBAPI_CALL HostPcb_SetClient(host::IHostClient* client) { State().client = client; }

host::IPcbServerObjects* PCBAPI_CALL HostPcb_GetServerObjects() { return &State().server; }

}  // extern "C"
