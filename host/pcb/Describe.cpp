// A readable account of what the editor holds for a board: how a user checks
// a board description before exporting it.
#include <cstdio>
#include <functional>
#include <map>

#include "Bounds.h"
#include "Loader.h"
#include "Module.h"
#include "Scope.h"

namespace hostpcb {
namespace {

using Emit = std::function<void(const std::string&)>;

// Lengths in the board's display unit.
struct Units {
    bool imperial = true;

    std::string Len(double units) const {
        char buffer[64];
        double v = RoundCoord(units) / 10000.0;
        if (imperial)
            std::snprintf(buffer, sizeof buffer, "%.4f", v);
        else
            std::snprintf(buffer, sizeof buffer, "%.5f", v * 0.0254);
        std::string s = buffer;
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
        if (s == "-0") s = "0";
        return s + (imperial ? "mil" : "mm");
    }
};

std::string Angle(double degrees) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", degrees);
    return buffer;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string NetName(const Database& db, THandle net) {
    const Object* n = db.Find(net);
    return n && n->netData ? n->netData->name : "";
}

// One line for a primitive: its kind, where it is and what it is.
std::string PrimitiveLine(const Database& db, const Units& u, const Object& o) {
    std::string s = KindName(o.kind);
    switch (o.kind) {
    case KindPad:
        s += " " + Quoted(o.pad->name) + " at " + u.Len(o.p.x) + " " + u.Len(o.p.y) + " shape " +
             std::to_string(o.pad->top.shape) + " " + u.Len(o.pad->top.x) + " x " + u.Len(o.pad->top.y);
        if (o.pad->hole) s += " hole " + u.Len(o.pad->hole);
        if (o.pad->rotation != 0) s += " rotation " + Angle(o.pad->rotation);
        if (o.pad->stackMode) s += " stack mode " + std::to_string(o.pad->stackMode);
        break;
    case KindVia:
        s += " at " + u.Len(o.p.x) + " " + u.Len(o.p.y) + " size " + u.Len(o.via->size) + " hole " + u.Len(o.via->hole) +
             " " + LayerName(o.via->startLayer) + "-" + LayerName(o.via->endLayer);
        break;
    case KindTrack:
        s += " " + u.Len(o.p.x) + " " + u.Len(o.p.y) + " to " + u.Len(o.track->p2.x) + " " + u.Len(o.track->p2.y) +
             " width " + u.Len(o.track->width);
        break;
    case KindArc:
        s += " at " + u.Len(o.p.x) + " " + u.Len(o.p.y) + " radius " + u.Len(o.arc->radius) + " " +
             Angle(o.arc->start) + " to " + Angle(o.arc->end) + " degrees width " + u.Len(o.arc->width);
        break;
    case KindText:
        s += " " + Quoted(o.text->text) + " at " + u.Len(o.p.x) + " " + u.Len(o.p.y) + " height " + u.Len(o.text->size);
        if (o.text->rotation != 0) s += " rotation " + Angle(o.text->rotation);
        if (o.text->mirrored) s += " mirrored";
        break;
    case KindFill:
        s += " " + u.Len(o.p.x) + " " + u.Len(o.p.y) + " to " + u.Len(o.fill->p2.x) + " " + u.Len(o.fill->p2.y);
        if (o.fill->rotation != 0) s += " rotation " + Angle(o.fill->rotation);
        break;
    case KindPolygon:
    case KindBoardOutline:
    case KindSplitPlane:
    case KindRegion:
    case KindComponentBody:
        s += " of " + std::to_string(o.shape->outline.size()) + " segments";
        break;
    case KindDimension:
        s += " type " + std::to_string(o.dim->type) + " at " + u.Len(o.p.x) + " " + u.Len(o.p.y) + ", " +
             std::to_string(o.dim->references.size()) + " references, drawn by " +
             std::to_string(o.children.size()) + " objects";
        break;
    case KindCoordinate:
        s += " at " + u.Len(o.p.x) + " " + u.Len(o.p.y) + ", drawn by " + std::to_string(o.children.size()) + " objects";
        break;
    default:
        s += " at " + u.Len(o.p.x) + " " + u.Len(o.p.y);
        break;
    }
    if (!LayerName(o.layer).empty() && o.kind != KindVia) s += " on " + LayerName(o.layer);
    std::string net = NetName(db, o.net);
    if (!net.empty()) s += " net " + net;
    return s;
}

void DescribeLayers(const Document& doc, const Emit& emit) {
    std::string stack;
    THostLayer start = 0;
    for (const auto& [layer, s] : doc.layers)
        if (IsElectricalLayer(layer) && s.previous == 0 && s.next != 0) start = start ? start : layer;
    int steps = 0;
    for (THostLayer l = start; l != 0 && steps < 200; ++steps) {
        const LayerState& s = doc.layers.at(l);
        stack += (stack.empty() ? "" : ", ") + LayerName(l);
        if (s.name != LayerName(l)) stack += " " + Quoted(s.name);
        if (!s.enabled) stack += " (disabled)";
        if (IsInternalPlane(l)) stack += " net " + s.netName;
        auto next = doc.layers.find(s.next);
        l = next == doc.layers.end() ? 0 : s.next;
    }
    emit("Layer stack: " + (stack.empty() ? std::string("(none)") : stack));
    for (const auto& pair : doc.layerPairs)
        emit("Layer pair: " + LayerName(pair.LowLayer) + " - " + LayerName(pair.HighLayer));
}

void DescribeCounts(const Content& c, const Emit& emit) {
    emit("Objects: " + std::to_string(c.all.size()));
    for (int kind = 1; kind < KindCount; ++kind) {
        const auto& objects = c.byKind[kind];
        if (objects.empty()) continue;
        std::map<THostLayer, size_t> perLayer;
        for (const auto& [h, o] : objects) ++perLayer[o->layer];
        std::string line = "  " + std::string(KindName(static_cast<uint8_t>(kind))) + ": " + std::to_string(objects.size());
        std::string layers;
        for (const auto& [layer, n] : perLayer)
            if (!LayerName(layer).empty()) layers += (layers.empty() ? "" : ", ") + LayerName(layer) + " " + std::to_string(n);
        if (!layers.empty()) line += " (" + layers + ")";
        emit(line);
    }
}

void DescribeComponents(const Database& db, const Units& u, const Content& c, const Emit& emit) {
    const auto& components = c.byKind[KindComponent];
    if (components.empty()) return;
    emit("Components:");
    for (const auto& [h, o] : components) {
        std::string line = "  " + Quoted(DesignatorOf(db, *o));
        const Object* comment = db.Find(o->comp->commentText);
        if (comment && comment->text && !comment->text->text.empty()) line += " " + Quoted(comment->text->text);
        line += " pattern " + Quoted(o->comp->pattern) + " at " + u.Len(o->p.x) + " " + u.Len(o->p.y);
        if (o->comp->rotation != 0) line += " rotation " + Angle(o->comp->rotation);
        line += o->layer == BottomLayer ? " bottom side" : " top side";
        line += ", " + std::to_string(o->children.size()) + " primitives";
        emit(line);
        for (const auto& [ch, child] : o->children) emit("    " + PrimitiveLine(db, u, *child));
    }
}

void DescribeFreeObjects(const Database& db, const Units& u, const Content& c, const Emit& emit) {
    bool any = false;
    for (const auto& [h, o] : c.all) {
        if (!o->IsFree() || o->kind == KindNet || o->kind == KindClass || o->kind == KindRule ||
            o->kind == KindComponent)
            continue;
        if (!any) emit("Free objects:");
        any = true;
        emit("  " + PrimitiveLine(db, u, *o));
        for (const auto& [ch, child] : o->children) emit("    " + PrimitiveLine(db, u, *child));
    }
}

std::string PadOwner(const Database& db, const Object& pad) {
    const Object* c = db.Find(pad.component);
    std::string name = Quoted(pad.pad->name);
    return c ? DesignatorOf(db, *c) + "-" + pad.pad->name : "free pad " + name;
}

void DescribeNets(const Database& db, const Content& c, const Emit& emit) {
    const auto& nets = c.byKind[KindNet];
    if (nets.empty()) return;
    emit("Nets:");
    for (const auto& [h, net] : nets) {
        std::string pads;
        for (const auto& [ph, pad] : net->children) pads += (pads.empty() ? "" : ", ") + PadOwner(db, *pad);
        emit("  " + Quoted(net->netData->name) + ": " + std::to_string(net->children.size()) + " pads" +
             (pads.empty() ? "" : " (" + pads + ")"));
    }
}

void DescribeClasses(const Content& c, const Emit& emit) {
    const auto& classes = c.byKind[KindClass];
    if (classes.empty()) return;
    emit("Classes:");
    for (const auto& [h, o] : classes) {
        const ClassData& d = *o->cls;
        std::string members;
        for (const std::string& m : d.members) members += (members.empty() ? "" : ", ") + m;
        emit("  " + Quoted(d.name) + " of kind " + std::to_string(d.memberKind) + (d.superClass ? " (all)" : "") +
             ": " + (members.empty() ? std::string("no members") : members));
    }
}

std::string RuleValues(const Units& u, const RuleData& r) {
    const auto& v = r.values;
    switch (r.ruleKind) {
    case 0: return "gap " + u.Len(v[0]);
    case 2: return "min " + u.Len(v[0]) + " max " + u.Len(v[1]) + " preferred " + u.Len(v[2]);
    case 3: return "max " + u.Len(v[0]) + " min " + u.Len(v[1]);
    case 11: return "hole " + u.Len(v[0]) + " diameter " + u.Len(v[1]);
    case 12:
    case 13:
    case 14: return "expansion " + u.Len(v[0]);
    case 22:
        return "room " + u.Len(r.room.X1) + " " + u.Len(r.room.Y1) + " to " + u.Len(r.room.X2) + " " + u.Len(r.room.Y2) +
               (r.room.Side == TopLayer ? " top" : " bottom");
    default: return "";
    }
}

// How many objects of the board a scope selects, by kind.
std::string Selection(const Database& db, const Document& doc, const Content& c, const ScopeExpr* scope) {
    if (!scope) return "nothing (does not parse)";
    std::map<uint8_t, size_t> counts;
    size_t total = 0;
    for (const auto& [h, o] : c.all) {
        if (o->kind == KindRule || o->kind == KindClass || !ScopeSelects(db, &doc, *scope, *o)) continue;
        ++counts[o->kind];
        ++total;
    }
    if (total == 0) return "nothing";
    std::string s = std::to_string(total) + " objects (";
    bool first = true;
    for (const auto& [kind, n] : counts) {
        s += (first ? "" : ", ") + std::string(KindName(kind)) + " " + std::to_string(n);
        first = false;
    }
    return s + ")";
}

void DescribeRules(const Database& db, const Units& u, const Document& doc, const Content& c, const Emit& emit) {
    const auto& rules = c.byKind[KindRule];
    if (rules.empty()) return;
    emit("Rules:");
    for (const auto& [h, o] : rules) {
        const RuleData& r = *o->rule;
        emit("  " + Quoted(r.name) + " kind " + std::to_string(r.ruleKind) + " priority " + std::to_string(r.priority) +
             (r.enabled ? "" : " (disabled)") + ": " + RuleValues(u, r));
        emit("    scope1 " + Quoted(r.scope1) + " selects " + Selection(db, doc, c, r.parsed1.get()));
        bool pair = r.ruleKind == 0 || r.ruleKind == 1 || r.ruleKind == 15 || r.ruleKind == 24;
        if (pair) emit("    scope2 " + Quoted(r.scope2) + " selects " + Selection(db, doc, c, r.parsed2.get()));
    }
}

void DescribeFootprint(const Database& db, const Units& u, const Content& c, bool current, const Emit& emit) {
    emit("Footprint " + Quoted(c.footprintName) + (current ? " (current)" : "") + ": " + std::to_string(c.all.size()) +
         " objects");
    for (const auto& [h, o] : c.all) emit("  " + PrimitiveLine(db, u, *o));
}

void Describe(const Database& db, const Document& doc, const Emit& emit) {
    const Units u{doc.imperial};
    emit(std::string(doc.isLibrary ? "Library " : "Board ") + Quoted(doc.fileName) + ", display unit " +
         (doc.imperial ? "mil" : "mm"));
    DescribeLayers(doc, emit);
    if (doc.isLibrary) {
        emit("Footprints: " + std::to_string(doc.contents.size()) + ", their origin at " + u.Len(LibraryOrigin) + " " +
             u.Len(LibraryOrigin));
        for (size_t i = 0; i < doc.contents.size(); ++i) DescribeFootprint(db, u, *doc.contents[i], i == doc.current, emit);
        return;
    }
    const Content& c = *doc.contents[doc.current];
    pcbapi::TRect r = BoardBounds(db, doc).Rect();
    emit("Extent: " + u.Len(r.Left) + " " + u.Len(r.Bottom) + " to " + u.Len(r.Right) + " " + u.Len(r.Top));
    DescribeCounts(c, emit);
    DescribeComponents(db, u, c, emit);
    DescribeFreeObjects(db, u, c, emit);
    DescribeNets(db, c, emit);
    DescribeClasses(c, emit);
    DescribeRules(db, u, doc, c, emit);
}

}  // namespace

}  // namespace hostpcb

extern "C" void PCBAPI_CALL HostPcb_Describe(pcbapi::THandle board,
                                             void(PCBAPI_CALL* line)(const char* text, void* context),
                                             void* context) {
    using namespace hostpcb;
    if (!line) return;
    Emit emit = [&](const std::string& s) { line(s.c_str(), context); };
    const Document* doc = State().db.FindBoard(board);
    if (!doc) {
        emit("No open board has the handle " + std::to_string(board) + ".");
        return;
    }
    Describe(State().db, *doc, emit);
}
