#include "Loader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "Scope.h"

namespace hostpcb {
namespace {

using json = nlohmann::json;

struct LoadError {
    std::string message;
};

// A value of the description and where it is.
struct Node {
    const json& value;
    std::string path;

    Node Key(const std::string& key) const { return {value.at(key), path.empty() ? key : path + "." + key}; }
    Node At(size_t i) const { return {value.at(i), path + "[" + std::to_string(i) + "]"}; }
};

[[noreturn]] void Fail(const Node& n, const std::string& what) {
    throw LoadError{(n.path.empty() ? std::string("(top)") : n.path) + ": " + what};
}

const char* TypeName(const json& j) {
    switch (j.type()) {
    case json::value_t::null: return "null";
    case json::value_t::boolean: return "a flag";
    case json::value_t::string: return "a string";
    case json::value_t::array: return "an array";
    case json::value_t::object: return "an object";
    default: return "a number";
    }
}

[[noreturn]] void WrongType(const Node& n, const char* expected) {
    Fail(n, std::string("expected ") + expected + ", found " + TypeName(n.value));
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

int32_t MilsToUnits(const Node& n, double mils) {
    double units = std::nearbyint(mils * 10000.0);
    if (!std::isfinite(units) || std::fabs(units) > 2147483647.0) Fail(n, "length out of range");
    return static_cast<int32_t>(units);
}

int32_t ReadLength(const Node& n) {
    if (n.value.is_number()) return MilsToUnits(n, n.value.get<double>());
    if (!n.value.is_string()) WrongType(n, "a length (a number of mil, or a string such as \"1.5mm\")");
    const std::string s = n.value.get<std::string>();
    double v = 0;
    const char* begin = s.data();
    const char* end = s.data() + s.size();
    auto [rest, ec] = std::from_chars(begin, end, v);
    std::string unit(rest, end);
    if (ec != std::errc() || rest == begin) Fail(n, Quote(s) + " is no length (use a number of mil, or \"1.5mm\", \"20mil\")");
    if (unit == "mil" || unit.empty()) return MilsToUnits(n, v);
    if (unit == "mm") return MilsToUnits(n, v / 0.0254);
    if (unit == "u") {
        if (std::fabs(v) > 2147483647.0) Fail(n, "length out of range");
        return static_cast<int32_t>(std::nearbyint(v));
    }
    Fail(n, "unknown length unit " + Quote(unit) + " (use mil, mm or u)");
}

double ReadNumber(const Node& n) {
    if (!n.value.is_number()) WrongType(n, "a number");
    return n.value.get<double>();
}

int64_t ReadInteger(const Node& n, int64_t low, int64_t high) {
    if (!n.value.is_number()) WrongType(n, "an integer");
    double d = n.value.get<double>();
    if (d != std::floor(d)) Fail(n, "expected an integer, found " + n.value.dump());
    if (d < static_cast<double>(low) || d > static_cast<double>(high))
        Fail(n, n.value.dump() + " is out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")");
    return static_cast<int64_t>(d);
}

bool ReadFlag(const Node& n) {
    if (!n.value.is_boolean()) WrongType(n, "a flag (true or false)");
    return n.value.get<bool>();
}

std::string ReadString(const Node& n, size_t maxLength = 255) {
    if (!n.value.is_string()) WrongType(n, "a string");
    std::string s = n.value.get<std::string>();
    if (s.size() > maxLength) Fail(n, "longer than " + std::to_string(maxLength) + " characters");
    return s;
}

THostLayer ReadLayer(const Node& n) {
    std::string name = ReadString(n);
    auto layer = LayerFromName(name);
    if (!layer) Fail(n, "unknown layer " + Quote(name));
    if ((*layer > MultiLayer && *layer <= LastLayerId) || *layer >= pcbapi::HostTopPadMaster)
        Fail(n, "layer " + name + " holds no board objects");
    return *layer;
}

// A code given by name or number.
struct Named {
    const char* name;
    int code;
};

int ReadCode(const Node& n, std::initializer_list<Named> names, int high, const char* what) {
    if (n.value.is_number()) return static_cast<int>(ReadInteger(n, 0, high));
    if (!n.value.is_string()) WrongType(n, what);
    std::string s = n.value.get<std::string>();
    for (const Named& x : names)
        if (s == x.name) return x.code;
    std::string list;
    for (const Named& x : names) list += (list.empty() ? "" : ", ") + std::string(x.name);
    Fail(n, "unknown " + std::string(what) + " " + Quote(s) + " (one of " + list + ", or 0 to " + std::to_string(high) + ")");
}

// The keys of one JSON object; every key must be one the reader knows.
class Fields {
public:
    Fields(const Node& node, const std::vector<const char*>& allowed) : node_(node) {
        if (!node.value.is_object()) WrongType(node, "an object");
        for (auto it = node.value.begin(); it != node.value.end(); ++it) {
            bool known = std::any_of(allowed.begin(), allowed.end(), [&](const char* a) { return it.key() == a; });
            if (!known) Fail(node.Key(it.key()), "unknown key " + Quote(it.key()));
        }
    }
    bool Has(const char* key) const { return node_.value.contains(key); }
    Node operator[](const char* key) const { return node_.Key(key); }
    const Node& Self() const { return node_; }
    // The key's place when it is given, else the object's: where a value
    // that may be a default is reported.
    Node Where(const char* key) const { return Has(key) ? (*this)[key] : node_; }

    int32_t Length(const char* key, int32_t def) const { return Has(key) ? ReadLength((*this)[key]) : def; }
    double Number(const char* key, double def) const { return Has(key) ? ReadNumber((*this)[key]) : def; }
    int64_t Integer(const char* key, int64_t def, int64_t low, int64_t high) const {
        return Has(key) ? ReadInteger((*this)[key], low, high) : def;
    }
    bool Flag(const char* key, bool def) const { return Has(key) ? ReadFlag((*this)[key]) : def; }
    std::string String(const char* key, const std::string& def, size_t maxLength = 255) const {
        return Has(key) ? ReadString((*this)[key], maxLength) : def;
    }
    THostLayer Layer(const char* key, THostLayer def) const { return Has(key) ? ReadLayer((*this)[key]) : def; }
    Node Array(const char* key) const {
        Node n = (*this)[key];
        if (!n.value.is_array()) WrongType(n, "an array");
        return n;
    }

private:
    Node node_;
};

const char* const PrimitiveKinds[] = {"track", "arc", "pad", "via", "text", "fill", "region", "componentBody"};

class Loader {
public:
    Loader(Database& db, Document& doc) : db_(db), doc_(doc) {}

    void Load(const json& root) {
        Node top{root, ""};
        Fields f(top, {"document", "fileName", "unit", "currentLayer", "grid", "layers", "externalDielectrics",
                       "layerPairs", "splitPlaneMode", "nets", "classes", "rules", "components", "objects",
                       "footprints", "currentFootprint"});
        doc_.isLibrary = f.Has("document") && ReadCode(f["document"], {{"board", 0}, {"library", 1}}, 1, "document kind") == 1;
        if (f.Has("fileName")) doc_.fileName = f.String("fileName", "");
        if (f.Has("unit")) doc_.imperial = ReadCode(f["unit"], {{"mil", 1}, {"mm", 0}}, 1, "unit") == 1;
        doc_.currentLayer = f.Layer("currentLayer", TopLayer);
        ReadGrid(f);
        ReadLayers(f);
        if (f.Has("externalDielectrics")) ReadExternalDielectrics(f["externalDielectrics"]);
        doc_.splitPlaneMode = static_cast<uint8_t>(f.Integer("splitPlaneMode", 1, 0, 255));
        if (doc_.isLibrary) {
            for (const char* key : {"components", "objects", "nets", "rules", "classes"})
                if (f.Has(key)) Fail(f[key], "a library document has no " + std::string(key) + "; put objects into footprints");
            ResolvePlaneNets();
            ReadFootprints(f);
        } else {
            if (f.Has("footprints")) Fail(f["footprints"], "only a library document has footprints");
            if (f.Has("currentFootprint")) Fail(f["currentFootprint"], "only a library document has footprints");
            doc_.contents.push_back(std::make_unique<Content>());
            doc_.contents.back()->document = &doc_;
            ReadBoardObjects(f);
        }
        if (f.Has("layerPairs")) ReadLayerPairs(f.Array("layerPairs"));
    }

    // Everything made so far, destroyed when the description is rejected.
    void DiscardObjects() {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            if (Object* o = db_.Find(*it)) db_.Destroy(*o);
    }

private:
    Database& db_;
    Document& doc_;
    std::vector<THandle> created_;
    std::unordered_map<std::string, THandle> nets_;
    std::unordered_map<std::string, THandle> designators_;
    std::vector<THandle> topObjects_;  // by index in "objects", for dimension references
    struct PendingReference {
        Node node;
        Object* dimension;
        size_t index;
        int64_t object;
    };
    std::vector<PendingReference> references_;

    Object& New(uint8_t kind) {
        Object& o = db_.Create(kind);
        created_.push_back(o.handle);
        return o;
    }

    // ---- document values ----

    void ReadGrid(const Fields& f) {
        pcbapi::TBoardGridsRecord& g = doc_.grids;
        g.SnapGridX = g.SnapGridY = 50000;
        g.ComponentGridX = g.ComponentGridY = 200000;
        g.VisibleGrid1 = 50000;
        g.VisibleGrid2 = 1000000;
        if (!f.Has("grid")) return;
        Node n = f["grid"];
        if (!n.value.is_object()) {
            g.SnapGridX = g.SnapGridY = ReadLength(n);
            return;
        }
        Fields gf(n, {"snapX", "snapY", "componentX", "componentY", "visible1", "visible2", "gridUnit"});
        g.SnapGridX = gf.Length("snapX", 50000);
        g.SnapGridY = gf.Length("snapY", static_cast<int32_t>(g.SnapGridX));
        g.ComponentGridX = gf.Length("componentX", 200000);
        g.ComponentGridY = gf.Length("componentY", static_cast<int32_t>(g.ComponentGridX));
        g.VisibleGrid1 = gf.Length("visible1", 50000);
        g.VisibleGrid2 = gf.Length("visible2", 1000000);
        g.GridUnit = static_cast<uint8_t>(gf.Integer("gridUnit", 0, 0, 255));
    }

    pcbapi::TDielectricRecord ReadDielectric(const Node& n) {
        Fields f(n, {"material", "type", "constant", "height"});
        pcbapi::TDielectricRecord d = DefaultDielectric();
        if (f.Has("material")) d.Material.Assign(f.String("material", ""));
        d.Type = static_cast<uint8_t>(f.Integer("type", d.Type, 0, 255));
        d.Constant = f.Number("constant", d.Constant);
        d.Height = f.Length("height", d.Height);
        return d;
    }

    void ReadExternalDielectrics(const Node& n) {
        Fields f(n, {"top", "bottom"});
        if (f.Has("top")) doc_.topDielectric = ReadDielectric(f["top"]);
        if (f.Has("bottom")) doc_.bottomDielectric = ReadDielectric(f["bottom"]);
    }

    void ReadLayers(const Fields& f) {
        doc_.topDielectric = doc_.bottomDielectric = DefaultDielectric();
        for (THostLayer id = 1; id <= LastLayerId; ++id) doc_.Layer(id);
        for (THostLayer id : {33, 34, 35, 36, 37, 38, 55, 56, 57, 73, 74}) doc_.Layer(id).enabled = true;
        std::vector<THostLayer> stack;
        std::vector<std::pair<Node, std::string>> planeNets;
        if (f.Has("layers")) {
            Node list = f.Array("layers");
            for (size_t i = 0; i < list.value.size(); ++i) {
                Node entry = list.At(i);
                Fields e(entry, {"layer", "name", "enabled", "copper", "dielectric", "net"});
                if (!e.Has("layer")) Fail(entry, "missing key \"layer\"");
                THostLayer layer = ReadLayer(e["layer"]);
                if (layer == MultiLayer) Fail(e["layer"], "MultiLayer is no layer of its own");
                if (IsListed(layer))
                    Fail(e["layer"], "layer " + LayerName(layer) + " is listed twice");
                listed_.push_back(layer);
                LayerState& s = doc_.Layer(layer);
                s.name = e.String("name", s.name);
                s.enabled = e.Flag("enabled", true);
                s.copper = e.Length("copper", s.copper);
                if (e.Has("dielectric")) s.dielectric = ReadDielectric(e["dielectric"]);
                if (e.Has("net")) {
                    if (!IsInternalPlane(layer)) Fail(e["net"], "only an internal plane has a net");
                    planeNets.emplace_back(e["net"], e.String("net", ""));
                    planeLayers_.push_back(layer);
                }
                if (IsElectricalLayer(layer)) stack.push_back(layer);
            }
        }
        if (stack.empty()) {
            stack = {TopLayer, BottomLayer};
            doc_.Layer(TopLayer).enabled = doc_.Layer(BottomLayer).enabled = true;
        }
        for (size_t i = 0; i < stack.size(); ++i) {
            LayerState& s = doc_.Layer(stack[i]);
            s.previous = i > 0 ? stack[i - 1] : 0;
            s.next = i + 1 < stack.size() ? stack[i + 1] : 0;
        }
        pendingPlaneNets_ = std::move(planeNets);
    }

    bool IsListed(THostLayer layer) const { return std::find(listed_.begin(), listed_.end(), layer) != listed_.end(); }
    std::vector<THostLayer> listed_;
    std::vector<THostLayer> planeLayers_;
    std::vector<std::pair<Node, std::string>> pendingPlaneNets_;

    void ResolvePlaneNets() {
        for (size_t i = 0; i < pendingPlaneNets_.size(); ++i) {
            const auto& [node, name] = pendingPlaneNets_[i];
            NetByName(node, name);
            doc_.Layer(planeLayers_[i]).netName = name;
        }
    }

    void ReadLayerPairs(const Node& list) {
        for (size_t i = 0; i < list.value.size(); ++i) {
            Node entry = list.At(i);
            Fields e(entry, {"low", "high"});
            pcbapi::TLayerPairRecord pair;
            for (const char* key : {"low", "high"}) {
                if (!e.Has(key)) Fail(entry, "missing key " + Quote(key));
                THostLayer layer = ReadLayer(e[key]);
                const LayerState& s = doc_.Layer(layer);
                bool inStack = s.previous != 0 || s.next != 0;
                if (!inStack) Fail(e[key], "layer " + LayerName(layer) + " is not in the layer stack");
                (std::string(key) == "low" ? pair.LowLayer : pair.HighLayer) = layer;
            }
            doc_.layerPairs.push_back(pair);
        }
    }

    // ---- board objects ----

    THandle NetByName(const Node& n, const std::string& name) {
        auto it = nets_.find(name);
        if (it == nets_.end()) Fail(n, "unknown net " + Quote(name));
        return it->second;
    }

    void ReadBoardObjects(const Fields& f) {
        if (f.Has("nets")) ReadNets(f.Array("nets"));
        ResolvePlaneNets();
        std::vector<Object*> classes;
        if (f.Has("classes")) classes = ReadClasses(f.Array("classes"));
        static const json noRules = json::array();
        Node rules = f.Has("rules") ? f.Array("rules") : Node{noRules, "rules"};
        std::vector<Object*> ruleObjects = ReadRules(rules);
        if (f.Has("components")) ReadComponents(f.Array("components"));
        if (f.Has("objects")) ReadObjects(f.Array("objects"));
        ResolveReferences();
        CheckClassMembers(f, classes);
        CheckScopes(rules, ruleObjects);
    }

    void ReadNets(const Node& list) {
        for (size_t i = 0; i < list.value.size(); ++i) {
            Node entry = list.At(i);
            std::string name;
            if (entry.value.is_string()) {
                name = ReadString(entry);
            } else {
                Fields e(entry, {"name"});
                if (!e.Has("name")) Fail(entry, "missing key \"name\"");
                name = e.String("name", "");
            }
            if (nets_.count(name)) Fail(entry, "net " + Quote(name) + " is listed twice");
            Object& net = New(KindNet);
            net.netData->name = name;
            nets_[name] = net.handle;
            db_.Place(doc_, net);
        }
    }

    std::vector<Object*> ReadClasses(const Node& list) {
        std::vector<Object*> out;
        for (size_t i = 0; i < list.value.size(); ++i) {
            Node entry = list.At(i);
            Fields e(entry, {"name", "memberKind", "superClass", "members"});
            if (!e.Has("name")) Fail(entry, "missing key \"name\"");
            Object& c = New(KindClass);
            c.cls->name = e.String("name", "");
            if (e.Has("memberKind"))
                c.cls->memberKind = static_cast<uint8_t>(ReadCode(
                    e["memberKind"], {{"net", 0}, {"component", 1}, {"fromTo", 2}, {"pad", 3}, {"layer", 4}}, 255,
                    "member kind"));
            c.cls->superClass = e.Flag("superClass", false) ? 1 : 0;
            if (e.Has("members")) {
                Node members = e.Array("members");
                for (size_t m = 0; m < members.value.size(); ++m) c.cls->members.push_back(ReadString(members.At(m)));
            }
            db_.Place(doc_, c);
            out.push_back(&c);
        }
        return out;
    }

    void CheckClassMembers(const Fields& f, const std::vector<Object*>& classes) {
        for (size_t i = 0; i < classes.size(); ++i) {
            const ClassData& c = *classes[i]->cls;
            if (c.memberKind > 1 || c.members.empty()) continue;
            Node members = f["classes"].At(i).Key("members");
            for (size_t m = 0; m < c.members.size(); ++m) {
                const std::string& name = c.members[m];
                if (c.memberKind == 0 && !nets_.count(name)) Fail(members.At(m), "unknown net " + Quote(name));
                if (c.memberKind == 1 && !designators_.count(name))
                    Fail(members.At(m), "unknown component " + Quote(name));
            }
        }
    }

    std::vector<Object*> ReadRules(const Node& list) {
        std::vector<Object*> out;
        std::unordered_map<int, int> perKind;
        for (size_t i = 0; i < list.value.size(); ++i) {
            Node entry = list.At(i);
            if (!entry.value.is_object()) WrongType(entry, "an object");
            if (!entry.value.contains("kind")) Fail(entry, "missing key \"kind\"");
            int kind = ReadCode(entry.Key("kind"),
                                {{"clearance", 0}, {"width", 2}, {"length", 3}, {"routingVia", 11},
                                 {"planeExpansion", 12}, {"solderMask", 13}, {"pasteMask", 14}, {"room", 22}},
                                255, "rule kind");
            Object& r = New(KindRule);
            RuleData& d = *r.rule;
            d.ruleKind = static_cast<uint8_t>(kind);
            ReadRuleValues(entry, d, ++perKind[kind]);
            db_.Place(doc_, r);
            out.push_back(&r);
        }
        return out;
    }

    static const char* RuleKindName(int kind) {
        switch (kind) {
        case 0: return "clearance";
        case 2: return "width";
        case 3: return "length";
        case 11: return "routingVia";
        case 12: return "planeExpansion";
        case 13: return "solderMask";
        case 14: return "pasteMask";
        case 22: return "room";
        default: return "rule";
        }
    }

    void ReadRuleValues(const Node& entry, RuleData& d, int position) {
        auto keys = [](std::initializer_list<const char*> own) {
            std::vector<const char*> all = {"kind", "name", "priority", "enabled", "scope1", "scope2"};
            all.insert(all.end(), own.begin(), own.end());
            return all;
        };
        std::vector<const char*> allowed;
        switch (d.ruleKind) {
        case 0: allowed = keys({"gap"}); break;
        case 2: allowed = keys({"min", "max", "preferred"}); break;
        case 3: allowed = keys({"max", "min"}); break;
        case 11: allowed = keys({"hole", "diameter", "style"}); break;
        case 12:
        case 13:
        case 14: allowed = keys({"expansion"}); break;
        case 22: allowed = keys({"x1", "y1", "x2", "y2", "side"}); break;
        default: allowed = keys({}); break;
        }
        Fields f(entry, allowed);
        d.name = f.String("name", RuleKindName(d.ruleKind));
        d.priority = static_cast<int32_t>(f.Integer("priority", position, 1, 1000000));
        d.enabled = f.Flag("enabled", true);
        d.scope1 = f.String("scope1", "All");
        d.scope2 = f.String("scope2", "All");
        for (int s = 0; s < 2; ++s) {
            const char* key = s == 0 ? "scope1" : "scope2";
            ScopeParse p = ParseScope(s == 0 ? d.scope1 : d.scope2);
            if (!p.expr) Fail(f.Has(key) ? f[key] : f.Self(), "scope does not parse: " + p.error);
            (s == 0 ? d.parsed1 : d.parsed2) = p.expr;
        }
        auto& v = d.values;
        switch (d.ruleKind) {
        case 0: v[0] = f.Length("gap", 100000); break;
        case 2:
            v[0] = f.Length("min", 100000);
            v[1] = f.Length("max", 100000);
            v[2] = f.Length("preferred", 100000);
            if (v[0] > v[1]) Fail(f.Self(), "minimum width exceeds the maximum");
            break;
        case 3:
            v[0] = f.Length("max", 1000000000);
            v[1] = f.Length("min", 0);
            break;
        case 11:
            v[0] = f.Length("hole", 280000);
            v[1] = f.Length("diameter", 500000);
            d.style = static_cast<uint8_t>(f.Integer("style", 0, 0, 255));
            break;
        case 12: v[0] = f.Length("expansion", 200000); break;
        case 13: v[0] = f.Length("expansion", 40000); break;
        case 14: v[0] = f.Length("expansion", 0); break;
        case 22:
            d.room.X1 = f.Length("x1", 0);
            d.room.Y1 = f.Length("y1", 0);
            d.room.X2 = f.Length("x2", 0);
            d.room.Y2 = f.Length("y2", 0);
            d.room.Side = f.Has("side") && ReadCode(f["side"], {{"top", 0}, {"bottom", 1}}, 1, "side") == 1
                              ? BottomLayer
                              : TopLayer;
            break;
        default: break;
        }
    }

    void CheckScopes(const Node& rules, const std::vector<Object*>& ruleObjects) {
        for (size_t i = 0; i < ruleObjects.size(); ++i) {
            const RuleData& d = *ruleObjects[i]->rule;
            for (int s = 0; s < 2; ++s) {
                const char* key = s == 0 ? "scope1" : "scope2";
                std::vector<ScopeReference> refs;
                CollectScopeReferences(*(s == 0 ? d.parsed1 : d.parsed2), refs);
                Node at = rules.value.at(i).contains(key) ? rules.At(i).Key(key) : rules.At(i);
                for (const ScopeReference& r : refs) CheckReference(at, r);
            }
        }
    }

    void CheckReference(const Node& at, const ScopeReference& r) {
        switch (r.op) {
        case ScopeExpr::InNet:
            if (!nets_.count(r.name)) Fail(at, "the scope names an unknown net " + Quote(r.name));
            break;
        case ScopeExpr::InComponent:
            if (!designators_.count(r.name)) Fail(at, "the scope names an unknown component " + Quote(r.name));
            break;
        case ScopeExpr::InNetClass:
            if (!FindClass(&doc_, r.name, 0)) Fail(at, "the scope names an unknown net class " + Quote(r.name));
            break;
        case ScopeExpr::InComponentClass:
            if (!FindClass(&doc_, r.name, 1))
                Fail(at, "the scope names an unknown component class " + Quote(r.name));
            break;
        default:
            break;
        }
    }

    // ---- components ----

    Object& MakeText(const Node* props, const std::string& text, Point at) {
        Object& t = New(KindText);
        t.text->text = text;
        t.p = at;
        if (props) ReadTextValues(*props, t, false);
        return t;
    }

    void ReadComponents(const Node& list) {
        for (size_t i = 0; i < list.value.size(); ++i) {
            Node entry = list.At(i);
            Fields f(entry, {"designator", "comment", "pattern", "x", "y", "rotation", "side", "nameOn", "commentOn",
                             "designatorText", "commentText", "channelOffset", "componentKind", "sourceLinks",
                             "model", "primitives"});
            Object& c = New(KindComponent);
            ComponentData& d = *c.comp;
            std::string designator = f.String("designator", "");
            d.pattern = f.String("pattern", "", 250);
            d.rotation = NormalizeAngle(f.Number("rotation", 0));
            bool bottom = f.Has("side") && ReadCode(f["side"], {{"top", 0}, {"bottom", 1}}, 1, "side") == 1;
            d.nameOn = f.Flag("nameOn", true);
            d.commentOn = f.Flag("commentOn", false);
            d.channelOffset = static_cast<int32_t>(f.Integer("channelOffset", 0, INT32_MIN, INT32_MAX));
            d.componentKind = static_cast<int32_t>(f.Integer("componentKind", 0, INT32_MIN, INT32_MAX));
            if (f.Has("sourceLinks")) {
                Node links = f.Array("sourceLinks");
                if (links.value.size() > d.sourceLinks.size()) Fail(links, "more than 8 source links");
                for (size_t l = 0; l < links.value.size(); ++l) d.sourceLinks[l] = ReadString(links.At(l));
            }
            d.model = f.String("model", "");
            Node designatorProps = f.Has("designatorText") ? f["designatorText"] : entry;
            Node commentProps = f.Has("commentText") ? f["commentText"] : entry;
            Object& name = MakeText(f.Has("designatorText") ? &designatorProps : nullptr, designator, {});
            Object& comment = MakeText(f.Has("commentText") ? &commentProps : nullptr, f.String("comment", ""), {});
            d.nameText = name.handle;
            d.commentText = comment.handle;
            db_.Place(c, name);
            db_.Place(c, comment);
            if (f.Has("primitives")) {
                Node prims = f.Array("primitives");
                for (size_t p = 0; p < prims.value.size(); ++p) {
                    Object& o = ReadPrimitive(prims.At(p), true);
                    db_.Place(c, o);
                }
            }
            // The primitives were read as the footprint is drawn; now place them.
            Placement placed;
            placed.position = {static_cast<double>(f.Length("x", 0)), static_cast<double>(f.Length("y", 0))};
            placed.rotation = d.rotation;
            placed.bottom = bottom;
            c.p = placed.position;
            c.layer = bottom ? BottomLayer : TopLayer;
            CarryPrimitives(db_, c, Placement{}, placed);
            db_.Place(doc_, c);
            if (!designator.empty()) designators_.emplace(designator, c.handle);
        }
    }

    // ---- primitives ----

    Object& ReadPrimitive(const Node& n, bool inFootprint) {
        if (!n.value.is_object()) WrongType(n, "an object");
        if (!n.value.contains("kind")) Fail(n, "missing key \"kind\"");
        Node kindNode = n.Key("kind");
        std::string kind = ReadString(kindNode);
        bool primitiveKind = std::any_of(std::begin(PrimitiveKinds), std::end(PrimitiveKinds),
                                         [&](const char* k) { return kind == k; });
        if (inFootprint && !primitiveKind) {
            bool known = kind == "polygon" || kind == "splitPlane" || kind == "dimension" || kind == "coordinate" ||
                         kind == "boardOutline" || kind == "embeddedBoard";
            if (known) Fail(kindNode, "a " + kind + " cannot be part of a footprint");
        }
        if (kind == "track") return ReadTrack(n);
        if (kind == "arc") return ReadArc(n);
        if (kind == "pad") return ReadPad(n);
        if (kind == "via") return ReadVia(n);
        if (kind == "text") return ReadText(n);
        if (kind == "fill") return ReadFill(n);
        if (kind == "region") return ReadOutlined(n, KindRegion);
        if (kind == "componentBody") return ReadOutlined(n, KindComponentBody);
        if (kind == "polygon") return ReadOutlined(n, KindPolygon);
        if (kind == "splitPlane") return ReadOutlined(n, KindSplitPlane);
        if (kind == "boardOutline") return ReadOutlined(n, KindBoardOutline);
        if (kind == "embeddedBoard") return ReadEmbeddedBoard(n);
        if (kind == "dimension") return ReadDimension(n, KindDimension);
        if (kind == "coordinate") return ReadDimension(n, KindCoordinate);
        if (kind == "component") Fail(kindNode, "components belong in \"components\"");
        Fail(kindNode, "unknown object kind " + Quote(kind));
    }

    void ReadNet(const Fields& f, Object& o) {
        if (f.Has("net")) db_.SetNet(o, NetByName(f["net"], f.String("net", "")));
    }

    Point ReadPoint(const Fields& f, const char* xKey, const char* yKey, Point def = {}) {
        return {f.Has(xKey) ? static_cast<double>(f.Length(xKey, 0)) : def.x,
                f.Has(yKey) ? static_cast<double>(f.Length(yKey, 0)) : def.y};
    }

    Object& ReadTrack(const Node& n) {
        Fields f(n, {"kind", "x1", "y1", "x2", "y2", "width", "layer", "net"});
        Object& o = New(KindTrack);
        o.p = ReadPoint(f, "x1", "y1");
        o.track->p2 = ReadPoint(f, "x2", "y2");
        o.track->width = f.Length("width", 100000);
        o.layer = f.Layer("layer", TopLayer);
        ReadNet(f, o);
        return o;
    }

    Object& ReadArc(const Node& n) {
        Fields f(n, {"kind", "x", "y", "radius", "startAngle", "endAngle", "width", "layer", "net"});
        Object& o = New(KindArc);
        o.p = ReadPoint(f, "x", "y");
        o.arc->radius = f.Length("radius", 500000);
        o.arc->start = f.Number("startAngle", 0);
        o.arc->end = f.Number("endAngle", 360);
        o.arc->width = f.Length("width", 100000);
        o.layer = f.Layer("layer", TopLayer);
        ReadNet(f, o);
        return o;
    }

    static uint8_t ReadShape(const Node& n) {
        return static_cast<uint8_t>(ReadCode(n,
                                             {{"none", 0}, {"round", 1}, {"rectangle", 2}, {"octagon", 3},
                                              {"circle", 4}, {"arc", 5}, {"terminator", 6}, {"roundRect", 7},
                                              {"rotatedRect", 8}, {"roundedRectangle", 9}},
                                             9, "pad shape"));
    }

    void ReadSize(const Node& n, int32_t& x, int32_t& y) {
        if (n.value.is_array()) {
            if (n.value.size() != 2) Fail(n, "expected [x, y], found " + std::to_string(n.value.size()) + " values");
            x = ReadLength(n.At(0));
            y = ReadLength(n.At(1));
        } else {
            x = y = ReadLength(n);
        }
        if (x < 0 || y < 0) Fail(n, "a size cannot be negative");
    }

    PadShape ReadPadShape(const Node& n, const PadShape& def) {
        Fields f(n, {"shape", "size", "cornerRadius"});
        PadShape s = def;
        if (f.Has("shape")) s.shape = ReadShape(f["shape"]);
        if (f.Has("size")) ReadSize(f["size"], s.x, s.y);
        s.cornerPercent = static_cast<uint8_t>(f.Integer("cornerRadius", def.cornerPercent, 0, 100));
        return s;
    }

    void ReadCache(const Node& n, PadCache& c) {
        Fields f(n, {"connection", "conductorWidth", "entries", "airGap", "expansion", "clearance", "solderMask",
                     "pasteMask"});
        struct Value {
            const char* key;
            int32_t* target;
            uint8_t bit;
        };
        if (f.Has("connection")) {
            c.connection = ReadCode(f["connection"], {{"none", 0}, {"relief", 1}, {"direct", 2}}, 2, "plane connection");
            c.own |= CacheConnection;
        }
        if (f.Has("entries")) {
            c.entries = static_cast<int32_t>(f.Integer("entries", 4, 0, 4));
            c.own |= CacheEntries;
        }
        for (const Value& v : {Value{"conductorWidth", &c.conductorWidth, CacheConductor},
                               Value{"airGap", &c.airGap, CacheAirGap}, Value{"expansion", &c.expansion, CacheExpansion},
                               Value{"clearance", &c.clearance, CacheClearance},
                               Value{"solderMask", &c.solderMask, CacheSolderMask},
                               Value{"pasteMask", &c.pasteMask, CachePasteMask}}) {
            if (!f.Has(v.key)) continue;
            *v.target = f.Length(v.key, 0);
            c.own |= v.bit;
        }
    }

    PlaneConnections ReadConnections(const Node& n) {
        if (!n.value.is_array()) WrongType(n, "an array of internal planes");
        PlaneConnections p;
        p.own = true;
        for (size_t i = 0; i < n.value.size(); ++i) {
            THostLayer layer = ReadLayer(n.At(i));
            if (layer < FirstPlaneId || layer > LastPlaneId) Fail(n.At(i), LayerName(layer) + " is no internal plane 1 to 16");
            p.planes |= 1u << (layer - FirstPlaneId);
        }
        return p;
    }

    Object& ReadPad(const Node& n) {
        Fields f(n, {"kind", "name", "x", "y", "layer", "shape", "size", "hole", "rotation", "net", "stackMode", "top",
                     "mid", "bottom", "stack", "cornerRadius", "plane", "connectsTo"});
        Object& o = New(KindPad);
        PadData& d = *o.pad;
        d.name = f.String("name", "", 20);
        o.p = ReadPoint(f, "x", "y");
        d.hole = f.Length("hole", 0);
        if (d.hole < 0) Fail(f.Where("hole"), "a hole cannot be negative");
        o.layer = f.Layer("layer", d.hole > 0 ? MultiLayer : TopLayer);
        PadShape base;
        if (f.Has("shape")) base.shape = ReadShape(f["shape"]);
        if (f.Has("size")) ReadSize(f["size"], base.x, base.y);
        base.cornerPercent = static_cast<uint8_t>(f.Integer("cornerRadius", 50, 0, 100));
        d.rotation = NormalizeAngle(f.Number("rotation", 0));
        d.stackMode = static_cast<uint8_t>(f.Integer("stackMode", 0, 0, 2));
        d.top = d.mid = d.bottom = base;
        for (const char* key : {"top", "mid", "bottom"}) {
            if (!f.Has(key)) continue;
            if (d.stackMode == 0) Fail(f[key], "a pad of stack mode 0 has one shape; use stack mode 1 or 2");
            PadShape& s = std::string(key) == "top" ? d.top : std::string(key) == "mid" ? d.mid : d.bottom;
            s = ReadPadShape(f[key], base);
        }
        if (f.Has("stack")) {
            if (d.stackMode != 2) Fail(f["stack"], "only a pad of stack mode 2 has a per-layer stack");
            ReadPadStack(f["stack"], d);
        } else if (d.stackMode == 2) {
            d.stack = std::make_unique<std::array<PadShape, LayerTableSize>>();
            FillStack(d);
        }
        ReadNet(f, o);
        if (f.Has("plane")) ReadCache(f["plane"], d.cache);
        if (f.Has("connectsTo")) d.planes = ReadConnections(f["connectsTo"]);
        return o;
    }

    static void FillStack(PadData& d) {
        auto& stack = *d.stack;
        for (int l = 0; l < LayerTableSize; ++l) stack[l] = l >= 2 && l <= 31 ? d.mid : l == 32 ? d.bottom : d.top;
    }

    void ReadPadStack(const Node& n, PadData& d) {
        if (!n.value.is_object()) WrongType(n, "an object of layers");
        d.stack = std::make_unique<std::array<PadShape, LayerTableSize>>();
        FillStack(d);
        for (auto it = n.value.begin(); it != n.value.end(); ++it) {
            Node entry = n.Key(it.key());
            auto layer = LayerFromName(it.key());
            if (!layer || *layer > LastLayerId || *layer == 0) Fail(entry, "unknown layer " + Quote(it.key()));
            (*d.stack)[*layer] = ReadPadShape(entry, (*d.stack)[*layer]);
        }
    }

    Object& ReadVia(const Node& n) {
        Fields f(n, {"kind", "x", "y", "size", "hole", "from", "to", "net", "stackMode", "sizes", "plane", "connectsTo"});
        Object& o = New(KindVia);
        ViaData& d = *o.via;
        o.p = ReadPoint(f, "x", "y");
        d.size = f.Length("size", 500000);
        d.hole = f.Length("hole", 280000);
        if (d.size <= 0) Fail(f.Where("size"), "a via needs a size above 0");
        if (d.hole < 0 || d.hole > d.size) Fail(f.Where("hole"), "the hole must lie between 0 and the via's size");
        THostLayer from = f.Layer("from", TopLayer), to = f.Layer("to", BottomLayer);
        for (const char* key : {"from", "to"}) {
            THostLayer l = std::string(key) == "from" ? from : to;
            if (l < 1 || l > 32) Fail(f.Where(key), LayerName(l) + " is no signal layer of the id table");
        }
        if (from == to) Fail(f.Where("to"), "a via needs two different end layers");
        d.startLayer = static_cast<uint8_t>(from);
        d.endLayer = static_cast<uint8_t>(to);
        d.stackMode = static_cast<uint8_t>(f.Integer("stackMode", 0, 0, 2));
        if (f.Has("sizes")) {
            if (d.stackMode == 0) Fail(f["sizes"], "a via of stack mode 0 has one size; use stack mode 1 or 2");
            Node sizes = f["sizes"];
            if (!sizes.value.is_object()) WrongType(sizes, "an object of layers");
            for (auto it = sizes.value.begin(); it != sizes.value.end(); ++it) {
                Node entry = sizes.Key(it.key());
                auto layer = LayerFromName(it.key());
                if (!layer || *layer < 1 || *layer > 32) Fail(entry, "unknown signal layer " + Quote(it.key()));
                d.sizes[*layer] = ReadLength(entry);
            }
        }
        ReadNet(f, o);
        if (f.Has("plane")) ReadCache(f["plane"], d.cache);
        if (f.Has("connectsTo")) d.planes = ReadConnections(f["connectsTo"]);
        return o;
    }

    void ReadTextValues(const Node& n, Object& o, bool withText) {
        std::vector<const char*> keys = {"x", "y", "height", "width", "font", "fontName",
                                         "bold", "italic", "rotation", "mirrored", "layer"};
        if (withText) keys.insert(keys.end(), {"kind", "text"});
        Fields f(n, keys);
        TextData& d = *o.text;
        if (withText) d.text = f.String("text", "");
        o.p = ReadPoint(f, "x", "y", o.p);
        d.size = f.Length("height", d.size);
        d.width = f.Length("width", d.width);
        if (f.Has("font")) {
            int font = ReadCode(f["font"], {{"default", 1}, {"sansSerif", 2}, {"serif", 3}, {"trueType", 0}}, 3, "font");
            if (font == 0)
                d.ttFlags[0] = 1;
            else
                d.font = font;
        }
        d.fontName = f.String("fontName", d.fontName);
        d.ttFlags[1] = f.Flag("bold", false);
        d.ttFlags[2] = f.Flag("italic", false);
        d.rotation = NormalizeAngle(f.Number("rotation", 0));
        d.mirrored = f.Flag("mirrored", false);
        o.layer = f.Layer("layer", TopOverlay);
    }

    Object& ReadText(const Node& n) {
        Object& o = New(KindText);
        ReadTextValues(n, o, true);
        return o;
    }

    Object& ReadFill(const Node& n) {
        Fields f(n, {"kind", "x1", "y1", "x2", "y2", "rotation", "layer", "net"});
        Object& o = New(KindFill);
        o.p = ReadPoint(f, "x1", "y1");
        o.fill->p2 = ReadPoint(f, "x2", "y2");
        o.fill->rotation = NormalizeAngle(f.Number("rotation", 0));
        o.layer = f.Layer("layer", TopLayer);
        ReadNet(f, o);
        return o;
    }

    std::vector<Segment> ReadOutline(const Node& n) {
        if (!n.value.is_array()) WrongType(n, "an array of segments");
        if (n.value.size() < 3) Fail(n, "an outline needs at least 3 segments");
        if (n.value.size() > static_cast<size_t>(pcbapi::MaxOutlineSegments))
            Fail(n, "an outline holds at most " + std::to_string(pcbapi::MaxOutlineSegments) + " segments");
        std::vector<Segment> out;
        for (size_t i = 0; i < n.value.size(); ++i) {
            Node s = n.At(i);
            Segment seg;
            if (s.value.is_array()) {
                if (s.value.size() != 2) Fail(s, "expected a vertex [x, y]");
                seg.v = {static_cast<double>(ReadLength(s.At(0))), static_cast<double>(ReadLength(s.At(1)))};
            } else {
                Fields f(s, {"x", "y", "cx", "cy", "radius", "startAngle", "endAngle"});
                seg.kind = 1;
                seg.v = ReadPoint(f, "x", "y");
                seg.c = ReadPoint(f, "cx", "cy");
                seg.radius = f.Length("radius", 0);
                seg.angle1 = f.Number("startAngle", 0);
                seg.angle2 = f.Number("endAngle", 0);
            }
            out.push_back(seg);
        }
        return out;
    }

    Object& ReadOutlined(const Node& n, uint8_t kind) {
        std::vector<const char*> keys;
        switch (kind) {
        case KindPolygon: keys = {"kind", "outline", "layer", "net", "hatch", "grid", "trackWidth", "removeDead"}; break;
        case KindSplitPlane: keys = {"kind", "outline", "layer", "net"}; break;
        case KindRegion: keys = {"kind", "outline", "layer", "net", "regionKind"}; break;
        case KindComponentBody: keys = {"kind", "outline", "layer", "height"}; break;
        default: keys = {"kind", "outline"}; break;
        }
        Fields f(n, keys);
        Object& o = New(kind);
        if (!f.Has("outline")) Fail(n, "missing key \"outline\"");
        OutlineData& d = *o.shape;
        d.outline = ReadOutline(f["outline"]);
        o.p = d.outline.front().v;
        if (kind == KindSplitPlane) {
            if (!f.Has("layer")) Fail(n, "missing key \"layer\"");
            o.layer = f.Layer("layer", FirstPlaneId);
            if (!IsInternalPlane(o.layer)) Fail(f["layer"], "a split plane lies on an internal plane");
        } else if (kind != KindBoardOutline) {
            o.layer = f.Layer("layer", o.layer);
        }
        if (kind == KindPolygon) {
            if (f.Has("hatch"))
                d.hatch = static_cast<uint8_t>(ReadCode(
                    f["hatch"], {{"90", 0}, {"45", 1}, {"vertical", 2}, {"horizontal", 3}, {"solid", 5}}, 255, "hatch style"));
            d.grid = f.Length("grid", d.grid);
            d.trackWidth = f.Length("trackWidth", d.trackWidth);
            d.removeDead = f.Flag("removeDead", false);
        }
        if (kind == KindRegion) d.regionKind = static_cast<uint8_t>(f.Integer("regionKind", 0, 0, 2));
        if (kind == KindComponentBody) d.height = f.Length("height", 0);
        if (kind != KindComponentBody && kind != KindBoardOutline) ReadNet(f, o);
        return o;
    }

    Object& ReadEmbeddedBoard(const Node& n) {
        Fields f(n, {"kind", "x1", "y1", "x2", "y2", "layer"});
        Object& o = New(KindEmbeddedBoard);
        o.p = ReadPoint(f, "x1", "y1");
        o.track->p2 = ReadPoint(f, "x2", "y2");
        o.track->width = 0;
        o.layer = f.Layer("layer", TopLayer);
        return o;
    }

    Object& ReadDimension(const Node& n, uint8_t kind) {
        bool coordinate = kind == KindCoordinate;
        std::vector<const char*> keys = {"kind", "x", "y", "layer", "drawing"};
        if (!coordinate)
            keys.insert(keys.end(), {"type", "lineWidth", "textHeight", "textWidth", "textFormat", "unit", "precision",
                                     "unitStyle", "angle", "values", "arrowSize", "arrowLineWidth", "extensionOffset",
                                     "extensionLineWidth", "textGap", "references", "textLocations"});
        Fields f(n, keys);
        Object& o = New(kind);
        DimensionData& d = *o.dim;
        o.layer = f.Layer("layer", Mechanical1);
        if (!coordinate) ReadDimensionValues(f, o);
        Point def = d.references.empty() ? Point{} : d.references.front().point;
        o.p = ReadPoint(f, "x", "y", def);
        if (f.Has("drawing")) {
            Node drawing = f.Array("drawing");
            for (size_t i = 0; i < drawing.value.size(); ++i) {
                Node item = drawing.At(i);
                Object& part = ReadDrawingPart(item, o.layer);
                db_.Place(o, part);
            }
        }
        return o;
    }

    Object& ReadDrawingPart(const Node& n, THostLayer layer) {
        if (!n.value.is_object()) WrongType(n, "an object");
        std::string kind = n.value.contains("kind") && n.value.at("kind").is_string() ? n.value.at("kind").get<std::string>() : "";
        if (kind != "track" && kind != "arc" && kind != "text") {
            if (!n.value.contains("kind")) Fail(n, "missing key \"kind\"");
            Fail(n.Key("kind"), "a drawing holds tracks, arcs and texts, not " + n.value.at("kind").dump());
        }
        Object& o = ReadPrimitive(n, false);
        if (!n.value.contains("layer")) o.layer = layer;
        return o;
    }

    void ReadDimensionValues(const Fields& f, Object& o) {
        DimensionData& d = *o.dim;
        if (f.Has("type"))
            d.type = static_cast<uint8_t>(ReadCode(f["type"],
                                                   {{"linear", 1}, {"angular", 2}, {"radial", 3}, {"leader", 4},
                                                    {"datum", 5}, {"baseline", 6}, {"center", 7}, {"original", 8},
                                                    {"linearDiameter", 9}, {"radialDiameter", 10}},
                                                   10, "dimension type"));
        if (d.type == 0) Fail(f.Where("type"), "dimension type 0 is out of range (1 to 10)");
        d.lineWidth = f.Length("lineWidth", d.lineWidth);
        d.textHeight = f.Length("textHeight", d.textHeight);
        d.textWidth = f.Length("textWidth", d.textWidth);
        d.textFormat = f.String("textFormat", d.textFormat);
        if (f.Has("unit"))
            d.unitCode = static_cast<uint8_t>(
                ReadCode(f["unit"], {{"mil", 0}, {"inch", 1}, {"mm", 2}, {"cm", 3}}, 255, "dimension unit"));
        d.precision = static_cast<int32_t>(f.Integer("precision", 2, 0, 10));
        d.unitStyle = static_cast<uint8_t>(f.Integer("unitStyle", 0, 0, 255));
        d.angle = f.Number("angle", 0);
        if (f.Has("values")) {
            Node values = f.Array("values");
            if (values.value.size() > d.values.size()) Fail(values, "at most 4 values");
            for (size_t i = 0; i < values.value.size(); ++i) d.values[i] = ReadLength(values.At(i));
        }
        d.ext.DimensionType = d.type;
        d.ext.ArrowSize = f.Length("arrowSize", 600000);
        d.ext.ArrowLineWidth = f.Length("arrowLineWidth", 100000);
        d.ext.ExtensionOffset = f.Length("extensionOffset", 100000);
        d.ext.ExtensionLineWidth = f.Length("extensionLineWidth", 100000);
        d.ext.TextGap = f.Length("textGap", 100000);
        if (f.Has("references")) {
            Node refs = f.Array("references");
            for (size_t i = 0; i < refs.value.size(); ++i) {
                Node r = refs.At(i);
                Fields rf(r, {"x", "y", "object"});
                DimensionReference ref;
                ref.point = ReadPoint(rf, "x", "y");
                if (rf.Has("object"))
                    references_.push_back({rf["object"], &o, d.references.size(), rf.Integer("object", 0, 0, INT32_MAX)});
                d.references.push_back(ref);
            }
        }
        if (f.Has("textLocations")) {
            Node locs = f.Array("textLocations");
            for (size_t i = 0; i < locs.value.size(); ++i) {
                Node l = locs.At(i);
                if (!l.value.is_array() || l.value.size() != 2) WrongType(l, "a point [x, y]");
                d.textLocations.push_back({static_cast<double>(ReadLength(l.At(0))), static_cast<double>(ReadLength(l.At(1)))});
            }
        }
    }

    void ReadObjects(const Node& list) {
        bool outline = false;
        for (size_t i = 0; i < list.value.size(); ++i) {
            Node entry = list.At(i);
            Object& o = ReadPrimitive(entry, false);
            if (o.kind == KindBoardOutline) {
                if (outline) Fail(entry.Key("kind"), "a board has one outline");
                outline = true;
            }
            db_.Place(doc_, o);
            topObjects_.push_back(o.handle);
        }
    }

    void ResolveReferences() {
        for (const PendingReference& r : references_) {
            if (r.object >= static_cast<int64_t>(topObjects_.size()))
                Fail(r.node, "no object " + std::to_string(r.object) + " in \"objects\"");
            THandle target = topObjects_[static_cast<size_t>(r.object)];
            if (target == r.dimension->handle) Fail(r.node, "a dimension cannot refer to itself");
            r.dimension->dim->references[r.index].object = target;
        }
    }

    // ---- libraries ----

    void ReadFootprints(const Fields& f) {
        std::vector<std::string> names;
        if (f.Has("footprints")) {
            Node list = f.Array("footprints");
            for (size_t i = 0; i < list.value.size(); ++i) {
                Node entry = list.At(i);
                Fields e(entry, {"name", "primitives"});
                if (!e.Has("name")) Fail(entry, "missing key \"name\"");
                auto content = std::make_unique<Content>();
                content->document = &doc_;
                content->footprintName = e.String("name", "", 250);
                doc_.contents.push_back(std::move(content));
                if (e.Has("primitives")) ReadFootprintPrimitives(e.Array("primitives"), *doc_.contents.back());
            }
        }
        if (doc_.contents.empty()) {
            doc_.contents.push_back(std::make_unique<Content>());
            doc_.contents.back()->document = &doc_;
            doc_.contents.back()->footprintName = "PCBCOMPONENT_1";
        }
        if (f.Has("currentFootprint")) {
            std::string name = f.String("currentFootprint", "");
            auto it = std::find_if(doc_.contents.begin(), doc_.contents.end(),
                                   [&](const auto& c) { return c->footprintName == name; });
            if (it == doc_.contents.end()) Fail(f["currentFootprint"], "no footprint " + Quote(name));
            doc_.current = static_cast<size_t>(it - doc_.contents.begin());
        }
    }

    void ReadFootprintPrimitives(const Node& list, Content& content) {
        Placement origin;
        origin.position = {static_cast<double>(LibraryOrigin), static_cast<double>(LibraryOrigin)};
        PlacementChange toWorkspace(Placement{}, origin);
        for (size_t i = 0; i < list.value.size(); ++i) {
            Object& o = ReadPrimitive(list.At(i), true);
            CarryPrimitive(db_, o, toWorkspace);
            content.Insert(&o);
        }
    }
};

std::string Location(const std::string& text, size_t byte) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

// The parser's own words, without its exception prefix and position.
std::string ParserWords(const std::string& what) {
    std::string s = what;
    size_t colon = s.find(": ");
    if (s.rfind("[json.exception", 0) == 0 && colon != std::string::npos) s = s.substr(colon + 2);
    return s;
}

// Finds a key given twice in one object, which the parser would silently
// resolve in favour of the last: the first value would be lost.
class DuplicateKeys {
public:
    bool operator()(int, json::parse_event_t event, json& parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            CountElement();
            frames_.push_back({event == json::parse_event_t::array_start, -1, {}, {}});
            break;
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            if (!frames_.empty()) frames_.pop_back();
            break;
        case json::parse_event_t::key: {
            Frame& f = frames_.back();
            f.key = parsed.get<std::string>();
            if (!f.keys.insert(f.key).second) throw LoadError{Path() + ": the key \"" + f.key + "\" is given twice"};
            break;
        }
        case json::parse_event_t::value:
            CountElement();
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool array;
        long index;
        std::set<std::string> keys;
        std::string key;
    };
    std::vector<Frame> frames_;

    void CountElement() {
        if (!frames_.empty() && frames_.back().array) ++frames_.back().index;
    }

    std::string Path() const {
        std::string path;
        for (const Frame& f : frames_) {
            if (f.array)
                path += "[" + std::to_string(f.index) + "]";
            else
                path += (path.empty() ? "" : ".") + f.key;
        }
        return path.empty() ? "(top)" : path;
    }
};

}  // namespace

Document* LoadDocumentText(Database& db, const std::string& path, const std::string& text, std::string& error) {
    json root;
    try {
        root = json::parse(text, DuplicateKeys());
    } catch (const json::parse_error& e) {
        size_t byte = e.byte > 0 ? e.byte - 1 : 0;
        error = path + ":" + Location(text, byte) + ": malformed JSON: " + ParserWords(e.what());
        return nullptr;
    } catch (const LoadError& e) {
        error = path + ": " + e.message;
        return nullptr;
    }
    auto doc = std::make_unique<Document>();
    doc->sourcePath = path;
    doc->fileName = path;
    Loader loader(db, *doc);
    try {
        loader.Load(root);
    } catch (const LoadError& e) {
        loader.DiscardObjects();
        error = path + ": " + e.message;
        return nullptr;
    } catch (const std::exception& e) {
        loader.DiscardObjects();
        error = path + ": cannot be read: " + e.what();
        return nullptr;
    }
    return &db.AddDocument(std::move(doc));
}

Document* LoadDocument(Database& db, const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the file";
        return nullptr;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = path + ": cannot read the file";
        return nullptr;
    }
    return LoadDocumentText(db, path, text.str(), error);
}

}  // namespace hostpcb
