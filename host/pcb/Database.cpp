#include "Database.h"

#include <algorithm>
#include <utility>

namespace hostpcb {

const char* KindName(uint8_t kind) {
    static const char* const names[] = {
        "IgnoreObject", "Arc",     "Pad",        "Via",        "Track",         "Text",          "Fill",
        "From-To",      "Net",     "Component",  "Polygon",    "Poly Region",   "ComponentBody", "Dimension",
        "Coordinate",   "ClassObject", "Rule",   "ManualFromTo", "Differential-Pairs", "Violation", "Embedded",
        "EmbeddedBoard", "Spare",  "Trace",      "SpareVia",   "Board",         "BoardOutline"};
    return kind < std::size(names) ? names[kind] : "Unknown";
}

bool IsCreatableKind(uint8_t kind) { return kind >= 1 && kind <= 26 && kind != 23 && kind != 24 && kind != 25; }

pcbapi::TDielectricRecord DefaultDielectric() {
    pcbapi::TDielectricRecord d;
    d.Material.Assign("FR-4");
    d.Type = 1;
    d.Constant = 4.8;
    d.Height = 126000;
    return d;
}

void Content::Insert(Object* o) {
    o->content = this;
    all[o->handle] = o;
    byKind[o->kind % KindCount][o->handle] = o;
    byLayer[o->layer][o->handle] = o;
}

void Content::Erase(Object* o) {
    all.erase(o->handle);
    byKind[o->kind % KindCount].erase(o->handle);
    auto it = byLayer.find(o->layer);
    if (it != byLayer.end()) it->second.erase(o->handle);
    o->content = nullptr;
}

void Content::ChangeLayer(Object* o, THostLayer newLayer) {
    auto it = byLayer.find(o->layer);
    if (it != byLayer.end()) it->second.erase(o->handle);
    o->layer = newLayer;
    byLayer[newLayer][o->handle] = o;
}

LayerState& Document::Layer(THostLayer layer) {
    auto it = layers.find(layer);
    if (it != layers.end()) return it->second;
    LayerState& s = layers[layer];
    s.name = LayerName(layer);
    s.dielectric = DefaultDielectric();
    return s;
}

Database::Database() = default;
Database::~Database() = default;

Object* Database::Find(THandle handle) const {
    auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : it->second.get();
}

Document* Database::FindBoard(THandle handle) const {
    auto it = boards_.find(handle);
    return it == boards_.end() ? nullptr : it->second;
}

Object& Database::Create(uint8_t kind) {
    auto o = std::make_unique<Object>();
    o->handle = NewHandle();
    o->kind = kind;
    SetDefaults(*o);
    Object& ref = *o;
    objects_[ref.handle] = std::move(o);
    return ref;
}

void Database::SetDefaults(Object& o) {
    THostLayer layer = 0;
    o.p = {};
    o.stateFlags = 0;
    o.extraWord = 0;
    o.extraByte = 0;
    o.bits2 = 0;
    o.bits3 = 0;
    o.track.reset();
    o.arc.reset();
    o.fill.reset();
    o.via.reset();
    o.pad.reset();
    o.text.reset();
    o.comp.reset();
    o.netData.reset();
    o.cls.reset();
    o.rule.reset();
    o.shape.reset();
    o.dim.reset();
    switch (o.kind) {
    case KindTrack:
    case KindEmbeddedBoard:
        o.track = std::make_unique<TrackData>();
        layer = TopLayer;
        break;
    case KindArc:
        o.arc = std::make_unique<ArcData>();
        layer = TopLayer;
        break;
    case KindFill:
        o.fill = std::make_unique<FillData>();
        layer = TopLayer;
        break;
    case KindVia:
        o.via = std::make_unique<ViaData>();
        layer = MultiLayer;
        break;
    case KindPad:
        o.pad = std::make_unique<PadData>();
        layer = MultiLayer;
        break;
    case KindText:
        o.text = std::make_unique<TextData>();
        layer = TopOverlay;
        break;
    case KindComponent:
        o.comp = std::make_unique<ComponentData>();
        layer = TopLayer;
        break;
    case KindNet:
        o.netData = std::make_unique<NetData>();
        break;
    case KindClass:
        o.cls = std::make_unique<ClassData>();
        break;
    case KindRule:
        o.rule = std::make_unique<RuleData>();
        break;
    case KindPolygon:
    case KindBoardOutline:
    case KindRegion:
        o.shape = std::make_unique<OutlineData>();
        layer = o.kind == KindBoardOutline ? KeepOutLayer : TopLayer;
        break;
    case KindSplitPlane:
        o.shape = std::make_unique<OutlineData>();
        layer = FirstPlaneId;
        break;
    case KindComponentBody:
        o.shape = std::make_unique<OutlineData>();
        layer = Mechanical1;
        break;
    case KindDimension:
    case KindCoordinate:
        o.dim = std::make_unique<DimensionData>();
        layer = Mechanical1;
        break;
    default:
        break;
    }
    if (o.content)
        o.content->ChangeLayer(&o, layer);
    else
        o.layer = layer;
    SetNet(o, 0);
}

void Database::RemoveFromOwners(Object& o) {
    for (THandle owner : {o.component, o.ownerGroup, o.kind == KindPad ? o.net : THandle(0)}) {
        if (Object* parent = Find(owner)) parent->children.erase(o.handle);
    }
}

void Database::Destroy(Object& o) {
    if (o.kind == KindNet) {
        for (auto& [h, pad] : o.children) pad->net = 0;
        o.children.clear();
    } else {
        // Primitives die with their component, drawings with their dimension.
        while (!o.children.empty()) Destroy(*o.children.begin()->second);
    }
    if (o.content) o.content->Erase(&o);
    RemoveFromOwners(o);
    objects_.erase(o.handle);
}

static void InsertWithChildren(Content& c, Object& o) {
    c.Insert(&o);
    if (o.kind == KindNet) return;
    for (auto& [h, child] : o.children)
        if (!child->content) c.Insert(child);
}

bool Database::Place(Document& board, Object& o) {
    if (o.content || o.kind == KindNone) return false;
    InsertWithChildren(board.Current(), o);
    return true;
}

bool Database::Place(Object& container, Object& o) {
    if (&container == &o) return false;
    switch (container.kind) {
    case KindComponent:
        if (o.component != 0 || o.kind == KindComponent || o.kind == KindNet) return false;
        o.component = container.handle;
        break;
    case KindDimension:
    case KindCoordinate:
        if (o.ownerGroup != 0 || (o.kind != KindTrack && o.kind != KindArc && o.kind != KindText)) return false;
        o.ownerGroup = container.handle;
        break;
    case KindNet:
        if (o.kind != KindPad && o.kind != KindVia && o.kind != KindTrack && o.kind != KindArc &&
            o.kind != KindFill && o.kind != KindPolygon && o.kind != KindRegion && o.kind != KindSplitPlane)
            return false;
        SetNet(o, container.handle);
        return true;
    default:
        return false;
    }
    container.children[o.handle] = &o;
    if (container.content && !o.content) InsertWithChildren(*container.content, o);
    return true;
}

bool Database::Unplace(Object& o) {
    if (!o.content) return false;
    Content* c = o.content;
    c->Erase(&o);
    if (o.kind != KindNet)
        for (auto& [h, child] : o.children)
            if (child->content == c) c->Erase(child);
    return true;
}

void Database::SetNet(Object& o, THandle net) {
    Object* newNet = Find(net);
    if (newNet && newNet->kind != KindNet) newNet = nullptr;
    THandle value = newNet ? net : 0;
    if (o.kind == KindPad && o.net != value) {
        if (Object* old = Find(o.net)) old->children.erase(o.handle);
        if (newNet) newNet->children[o.handle] = &o;
    }
    o.net = value;
}

void Database::SetLayer(Object& o, THostLayer layer) {
    if (o.layer == layer) return;
    if (o.content)
        o.content->ChangeLayer(&o, layer);
    else
        o.layer = layer;
}

Document& Database::AddDocument(std::unique_ptr<Document> document) {
    Document& d = *document;
    if (d.board == 0) d.board = NewHandle();
    boards_[d.board] = &d;
    documents_.push_back(std::move(document));
    return d;
}

Document* Database::DocumentOf(const Object& o) const { return o.content ? o.content->document : current_; }

THandle Database::AddIterator(Iterator it) {
    THandle h = NewHandle();
    iterators_.emplace(h, std::move(it));
    return h;
}

Iterator* Database::FindIterator(THandle handle) {
    auto it = iterators_.find(handle);
    return it == iterators_.end() ? nullptr : &it->second;
}

bool Database::DestroyIterator(THandle handle) { return iterators_.erase(handle) != 0; }

Placement PlacementOf(const Object& component) {
    Placement p;
    p.position = component.p;
    p.rotation = component.comp ? component.comp->rotation : 0;
    p.bottom = component.layer == BottomLayer;
    return p;
}

namespace {

void CarryOutline(std::vector<Segment>& outline, const PlacementChange& change) {
    for (Segment& s : outline) {
        s.v = change.Apply(s.v);
        s.c = change.Apply(s.c);
        if (s.kind == 1) change.ApplyArc(s.angle1, s.angle2);
    }
}

void FlipPadStack(PadData& pad) {
    std::swap(pad.top, pad.bottom);
    if (!pad.stack) return;
    auto& stack = *pad.stack;
    for (THostLayer l = 1; l < LayerTableSize; ++l) {
        THostLayer other = FlippedLayer(l);
        if (other > l) std::swap(stack[l], stack[other]);
    }
}

}  // namespace

void CarryPrimitive(Database& db, Object& o, const PlacementChange& change) {
    if (o.fill) {
        // A fill turns about its centre; its corners stay those of the unturned rectangle.
        Point half{(o.fill->p2.x - o.p.x) / 2, (o.fill->p2.y - o.p.y) / 2};
        Point centre = change.Apply({o.p.x + half.x, o.p.y + half.y});
        o.p = {centre.x - half.x, centre.y - half.y};
        o.fill->p2 = {centre.x + half.x, centre.y + half.y};
        o.fill->rotation = change.ApplyDirection(o.fill->rotation);
    } else {
        o.p = change.Apply(o.p);
    }
    if (o.track) o.track->p2 = change.Apply(o.track->p2);
    if (o.arc) change.ApplyArc(o.arc->start, o.arc->end);
    if (o.pad) {
        o.pad->rotation = change.ApplyDirection(o.pad->rotation);
        if (change.Mirrors()) FlipPadStack(*o.pad);
    }
    if (o.via && change.Mirrors()) {
        o.via->startLayer = static_cast<uint8_t>(FlippedLayer(o.via->startLayer));
        o.via->endLayer = static_cast<uint8_t>(FlippedLayer(o.via->endLayer));
        std::swap(o.via->sizes[1], o.via->sizes[32]);
    }
    if (o.text) {
        o.text->rotation = change.ApplyDirection(o.text->rotation);
        if (change.Mirrors()) o.text->mirrored = !o.text->mirrored;
    }
    if (o.shape) CarryOutline(o.shape->outline, change);
    if (change.Mirrors()) db.SetLayer(o, FlippedLayer(o.layer));
}

void CarryPrimitives(Database& db, Object& component, const Placement& from, const Placement& to) {
    PlacementChange change(from, to);
    for (auto& [h, child] : component.children) CarryPrimitive(db, *child, change);
}

}  // namespace hostpcb

namespace hostpcb {

bool ViaReaches(const Database& db, const Object& via, THostLayer layer) {
    int lo = std::min(via.via->startLayer, via.via->endLayer), hi = std::max(via.via->startLayer, via.via->endLayer);
    int id = LayerTableIndex(layer);
    if (id >= 1 && id <= 32) return id >= lo && id <= hi;
    if (!IsInternalPlane(layer)) return false;
    Document* doc = db.DocumentOf(via);
    if (!doc) return lo == 1 && hi == 32;
    // The plane must come after one end of the via and before the other.
    bool inside = false;
    int steps = 0;
    for (THostLayer l = TopLayer; l != 0 && steps < 200; l = doc->Layer(l).next, ++steps) {
        if (l == lo || l == hi) {
            if (inside) return false;
            inside = true;
        } else if (l == layer) {
            return inside;
        }
    }
    return false;
}

}  // namespace hostpcb
