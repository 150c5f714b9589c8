// The module's exports for design rules, classes, dimensions and the plane
// connection values of pads and vias.
#include <algorithm>

#include "Module.h"
#include "Scope.h"

using namespace pcbapi;

namespace hostpcb {
namespace {

Database& Db() { return State().db; }

bool BadMode(uint8_t mode) { return mode > ModeWriteWithPrimitives; }

PadCache* CacheOf(Object& o) {
    if (o.kind == KindPad) return &o.pad->cache;
    if (o.kind == KindVia) return &o.via->cache;
    return nullptr;
}

PlaneConnections* ConnectionsOf(Object& o) {
    if (o.kind == KindPad) return &o.pad->planes;
    if (o.kind == KindVia) return &o.via->planes;
    return nullptr;
}

// The value of the governing rule of a kind, or the fallback when none governs.
int32_t RuleValue(const Object& o, uint8_t ruleKind, int32_t fallback) {
    const Object* rule = DominantRule(Db(), o, nullptr, ruleKind);
    return rule ? rule->rule->values[0] : fallback;
}

PadCache EffectiveCache(Object& o) {
    PadCache c = *CacheOf(o);
    if (!(c.own & CacheClearance)) c.clearance = RuleValue(o, 12, c.clearance);
    if (!(c.own & CacheSolderMask)) c.solderMask = RuleValue(o, 13, c.solderMask);
    if (!(c.own & CachePasteMask)) c.pasteMask = RuleValue(o, 14, c.pasteMask);
    return c;
}

// A through-hole pad or a via reaching the plane connects to a plane of its own net.
bool ConnectsByNet(Object& o, THostLayer plane) {
    Document* doc = Db().DocumentOf(o);
    Object* net = ObjectOf(o.net, KindNet);
    if (!doc || !net) return false;
    if (o.kind == KindPad && (o.layer != MultiLayer || o.pad->hole == 0)) return false;
    if (o.kind == KindVia && !ViaReaches(Db(), o, plane)) return false;
    auto it = doc->layers.find(plane);
    return it != doc->layers.end() && it->second.netName == net->netData->name;
}

bool ConnectsTo(Object& o, THostLayer plane) {
    const PlaneConnections& p = *ConnectionsOf(o);
    if (p.own) return (p.planes >> (plane - FirstPlaneId)) & 1u;
    return ConnectsByNet(o, plane);
}

DimensionData* DimensionOf(THandle object) {
    Object* o = ObjectOf(object, KindDimension);
    return o ? o->dim.get() : nullptr;
}

int32_t TransferTyped(uint8_t mode, THandle object, TDimensionTypeRecord* rec, std::initializer_list<uint8_t> types) {
    DimensionData* d = DimensionOf(object);
    if (!d || !rec || BadMode(mode)) return Failed;
    if (std::find(types.begin(), types.end(), d->type) == types.end()) return Failed;
    Transfer(mode, d->angle, rec->DimensionAngle);
    for (size_t i = 0; i < 4; ++i) Transfer(mode, d->values[i], rec->Values[i]);
    for (size_t i = 0; i < 2; ++i) Transfer(mode, d->flags[i], rec->Flags[i]);
    return Ok;
}

RuleData* RuleOf(THandle rule, int ruleKind = -1) {
    Object* o = ObjectOf(rule, KindRule);
    if (!o) return nullptr;
    if (ruleKind >= 0 && o->rule->ruleKind != ruleKind) return nullptr;
    return o->rule.get();
}

// One value of a rule of the kind.
int32_t TransferRuleValue(uint8_t mode, THandle rule, int ruleKind, size_t index, TCoord* value) {
    RuleData* r = RuleOf(rule, ruleKind);
    if (!r || !value || BadMode(mode)) return Failed;
    Transfer(mode, r->values[index], *value);
    return Ok;
}

}  // namespace
}  // namespace hostpcb

using namespace hostpcb;

extern "C" {

// ---- plane connections ----

int32_t PCBAPI_CALL PcbApi_QueryPadCache(uint8_t mode, THandle object, TPadCacheRecord* rec) {
    Object* o = ObjectOf(object);
    PadCache* stored = o ? CacheOf(*o) : nullptr;
    if (!stored || !rec || BadMode(mode)) return Failed;
    if (mode == ModeRead) {
        PadCache c = EffectiveCache(*o);
        rec->PlaneConnectionStyle = c.connection;
        rec->ReliefConductorWidth = c.conductorWidth;
        rec->ReliefEntries = c.entries;
        rec->ReliefAirGap = c.airGap;
        rec->ReliefExpansion = c.expansion;
        rec->PowerPlaneClearance = c.clearance;
        rec->SolderMaskExpansion = c.solderMask;
        rec->PasteMaskExpansion = c.pasteMask;
        rec->Valid = c.own != 0;
        return Ok;
    }
    if (rec->PlaneConnectionStyle < 0 || rec->PlaneConnectionStyle > 2) return Failed;
    stored->connection = rec->PlaneConnectionStyle;
    stored->conductorWidth = rec->ReliefConductorWidth;
    stored->entries = rec->ReliefEntries;
    stored->airGap = rec->ReliefAirGap;
    stored->expansion = rec->ReliefExpansion;
    stored->clearance = rec->PowerPlaneClearance;
    stored->solderMask = rec->SolderMaskExpansion;
    stored->pasteMask = rec->PasteMaskExpansion;
    stored->own = 0xFF;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryPadConnectToLayer(uint8_t mode, THandle object, THostLayer layer, uint8_t* connected) {
    Object* o = ObjectOf(object);
    PlaneConnections* p = o ? ConnectionsOf(*o) : nullptr;
    if (!p || !connected || BadMode(mode) || layer < FirstPlaneId || layer > LastPlaneId) return Failed;
    if (mode == ModeRead) {
        *connected = ConnectsTo(*o, layer);
        return Ok;
    }
    if (!p->own) {
        uint32_t planes = 0;
        for (THostLayer l = FirstPlaneId; l <= LastPlaneId; ++l)
            if (ConnectsByNet(*o, l)) planes |= 1u << (l - FirstPlaneId);
        p->planes = planes;
        p->own = true;
    }
    uint32_t bit = 1u << (layer - FirstPlaneId);
    p->planes = *connected ? (p->planes | bit) : (p->planes & ~bit);
    return Ok;
}

// ---- classes ----

int32_t PCBAPI_CALL PcbApi_QueryClass(uint8_t mode, THandle object, TClassRecord* rec) {
    Object* o = ObjectOf(object, KindClass);
    if (!o || !rec || BadMode(mode)) return Failed;
    ClassData& d = *o->cls;
    if (mode == ModeRead) {
        rec->Common = {};
        rec->Common.Layer = o->layer;
        rec->Name.Assign(d.name);
    } else {
        d.name = rec->Name.Str();
    }
    Transfer(mode, d.memberKind, rec->MemberKind);
    Transfer(mode, d.superClass, rec->SuperClass);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_GetMemberFromClassAt(THandle object, int32_t index, TName255* name) {
    Object* o = ObjectOf(object, KindClass);
    if (!o || !name || index < 0 || static_cast<size_t>(index) >= o->cls->members.size()) return Failed;
    name->Assign(o->cls->members[static_cast<size_t>(index)]);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_RemoveAllMembersFromClass(THandle object) {
    Object* o = ObjectOf(object, KindClass);
    if (!o) return Failed;
    o->cls->members.clear();
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_AddMemberToClass(THandle object, const TName255* name) {
    Object* o = ObjectOf(object, KindClass);
    if (!o || !name) return Failed;
    o->cls->members.push_back(name->Str());
    return Ok;
}

// ---- dimensions ----

int32_t PCBAPI_CALL PcbApi_QueryDimension(uint8_t mode, THandle object, TDimensionRecord* rec) {
    Object* o = ObjectOf(object, KindDimension);
    if (!o || !rec || BadMode(mode)) return Failed;
    DimensionData& d = *o->dim;
    TPrimitiveRecord& c = rec->Common;
    if (mode == ModeRead) {
        c = {};
        c.X = RoundCoord(o->p.x);
        c.Y = RoundCoord(o->p.y);
        c.Layer = o->layer;
        c.StateFlags = o->stateFlags;
        c.ExtraWord = o->extraWord;
        c.ExtraByte = o->extraByte;
        rec->TextFormat.Assign(d.textFormat);
    } else {
        if (rec->DimensionType < 1 || rec->DimensionType > 10) return Failed;
        StoreCoord(o->p.x, c.X);
        StoreCoord(o->p.y, c.Y);
        Db().SetLayer(*o, c.Layer);
        o->stateFlags = c.StateFlags;
        o->extraWord = c.ExtraWord;
        o->extraByte = c.ExtraByte;
        d.textFormat = rec->TextFormat.Str();
    }
    Transfer(mode, d.type, rec->DimensionType);
    Transfer(mode, d.lineWidth, rec->LineWidth);
    Transfer(mode, d.unitCode, rec->UnitCode);
    Transfer(mode, d.precision, rec->Precision);
    Transfer(mode, d.unitStyle, rec->UnitStyle);
    Transfer(mode, d.textHeight, rec->TextHeight);
    Transfer(mode, d.textWidth, rec->TextWidth);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_References_Count(THandle object, int32_t* count) {
    DimensionData* d = DimensionOf(object);
    if (!d || !count) return Failed;
    *count = static_cast<int32_t>(d->references.size());
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_References_At(uint8_t mode, THandle object, int32_t index, TDimensionReference* ref) {
    DimensionData* d = DimensionOf(object);
    if (!d || !ref || BadMode(mode) || index < 0 || static_cast<size_t>(index) >= d->references.size()) return Failed;
    DimensionReference& r = d->references[static_cast<size_t>(index)];
    if (mode == ModeRead) {
        ref->Object = Db().Find(r.object) ? r.object : 0;
        ref->PointX = RoundCoord(r.point.x);
        ref->PointY = RoundCoord(r.point.y);
    } else {
        r.object = ref->Object;
        StoreCoord(r.point.x, ref->PointX);
        StoreCoord(r.point.y, ref->PointY);
    }
    Transfer(mode, r.further, ref->Further);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryExtDimension(uint8_t mode, THandle object, TExtDimensionRecord* rec) {
    DimensionData* d = DimensionOf(object);
    if (!d || !rec || BadMode(mode)) return Failed;
    if (mode == ModeRead) {
        *rec = d->ext;
        rec->DimensionType = d->type;
        return Ok;
    }
    if (rec->DimensionType < 1 || rec->DimensionType > 10) return Failed;
    d->ext = *rec;
    d->type = rec->DimensionType;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryLinearDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {1, 9});
}
int32_t PCBAPI_CALL PcbApi_QueryAngularDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {2});
}
int32_t PCBAPI_CALL PcbApi_QueryRadialDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {3, 10});
}
int32_t PCBAPI_CALL PcbApi_QueryLeaderDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {4});
}
int32_t PCBAPI_CALL PcbApi_QueryDatumDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {5});
}
int32_t PCBAPI_CALL PcbApi_QueryBaselineDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {6});
}
int32_t PCBAPI_CALL PcbApi_QueryCenterDimension(uint8_t mode, THandle object, TDimensionTypeRecord* rec) {
    return TransferTyped(mode, object, rec, {7});
}

int32_t PCBAPI_CALL PcbApi_TextLocations_Count(THandle object, int32_t* count) {
    DimensionData* d = DimensionOf(object);
    if (!d || !count) return Failed;
    *count = static_cast<int32_t>(d->textLocations.size());
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_TextLocations_At(uint8_t mode, THandle object, int32_t index, TTextLocation* location) {
    DimensionData* d = DimensionOf(object);
    if (!d || !location || BadMode(mode) || index < 0 || static_cast<size_t>(index) >= d->textLocations.size())
        return Failed;
    Point& p = d->textLocations[static_cast<size_t>(index)];
    if (mode == ModeRead) {
        location->X = RoundCoord(p.x);
        location->Y = RoundCoord(p.y);
    } else {
        StoreCoord(p.x, location->X);
        StoreCoord(p.y, location->Y);
    }
    return Ok;
}

// ---- rules ----

THandle PCBAPI_CALL PcbApi_FindDominantRuleForObject(THandle object, uint8_t ruleKind) {
    Object* o = ObjectOf(object);
    if (!o) return 0;
    const Object* rule = DominantRule(Db(), *o, nullptr, ruleKind);
    return rule ? rule->handle : 0;
}

THandle PCBAPI_CALL PcbApi_FindDominantRuleForObjectPair(THandle object1, THandle object2, uint8_t ruleKind) {
    Object* a = ObjectOf(object1);
    Object* b = ObjectOf(object2);
    if (!a || !b) return 0;
    const Object* rule = DominantRule(Db(), *a, b, ruleKind);
    return rule ? rule->handle : 0;
}

int32_t PCBAPI_CALL PcbApi_QueryRuleEx(uint8_t mode, THandle rule, TRuleExRecord* rec) {
    Object* o = ObjectOf(rule, KindRule);
    if (!o || !rec || BadMode(mode)) return Failed;
    RuleData& d = *o->rule;
    if (mode == ModeRead) {
        rec->Common = {};
        rec->Common.Layer = o->layer;
        rec->RuleKind = d.ruleKind;
        rec->Scope1Expression.Assign(d.scope1);
        rec->Scope2Expression.Assign(d.scope2);
        rec->Enabled = d.enabled;
        rec->Priority = d.priority;
        rec->Flag2 = d.flag2;
        return Ok;
    }
    // A scope that does not parse is refused; the rule keeps what it had.
    ScopeParse p1 = ParseScope(rec->Scope1Expression.Str());
    ScopeParse p2 = ParseScope(rec->Scope2Expression.Str());
    if (!p1.expr || !p2.expr || rec->Priority < 1) return Failed;
    d.ruleKind = rec->RuleKind;
    d.scope1 = rec->Scope1Expression.Str();
    d.scope2 = rec->Scope2Expression.Str();
    d.parsed1 = p1.expr;
    d.parsed2 = p2.expr;
    d.enabled = rec->Enabled != 0;
    d.priority = rec->Priority;
    d.flag2 = rec->Flag2;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryRuleExtEx(uint8_t mode, THandle rule, TName255* name) {
    RuleData* r = RuleOf(rule);
    if (!r || !name || BadMode(mode)) return Failed;
    if (mode == ModeRead)
        name->Assign(r->name);
    else
        r->name = name->Str();
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryRule(uint8_t mode, THandle rule, TRuleRecord* rec) {
    Object* o = ObjectOf(rule, KindRule);
    if (!o || !rec || BadMode(mode)) return Failed;
    RuleData& d = *o->rule;
    if (mode == ModeRead) {
        rec->Common = {};
        rec->Common.Layer = o->layer;
        if (d.data)
            std::copy(d.data->begin(), d.data->end(), rec->Data);
        else
            std::fill(std::begin(rec->Data), std::end(rec->Data), uint8_t{0});
        return Ok;
    }
    if (!d.data) d.data = std::make_unique<std::array<uint8_t, 512>>();
    std::copy(std::begin(rec->Data), std::end(rec->Data), d.data->begin());
    return Ok;
}

uint8_t PCBAPI_CALL PcbApi_Scope1_Includes(THandle rule, THandle object) {
    Object* r = ObjectOf(rule, KindRule);
    Object* o = ObjectOf(object);
    if (!r || !o || !r->rule->parsed1) return 0;
    return ScopeSelects(Db(), Db().DocumentOf(*r), *r->rule->parsed1, *o) ? 1 : 0;
}

int32_t PCBAPI_CALL PcbApi_QueryRuleClearanceConstraint(uint8_t mode, THandle rule, TCoord* gap) {
    return TransferRuleValue(mode, rule, 0, 0, gap);
}

int32_t PCBAPI_CALL PcbApi_QueryRuleMaxMinLengthConstraint(uint8_t mode, THandle rule, TCoord* maximum,
                                                           TCoord* minimum) {
    if (!minimum) return Failed;
    int32_t status = TransferRuleValue(mode, rule, 3, 0, maximum);
    return status == Ok ? TransferRuleValue(mode, rule, 3, 1, minimum) : status;
}

int32_t PCBAPI_CALL PcbApi_QueryRuleMaxMinWidthConstraintExt(uint8_t mode, THandle rule, TCoord* minimum,
                                                             TCoord* maximum, TCoord* preferred) {
    if (!RuleOf(rule, 2) || !minimum || !maximum || !preferred || BadMode(mode)) return Failed;
    TransferRuleValue(mode, rule, 2, 0, minimum);
    TransferRuleValue(mode, rule, 2, 1, maximum);
    return TransferRuleValue(mode, rule, 2, 2, preferred);
}

int32_t PCBAPI_CALL PcbApi_QueryRuleRoutingViaStyleRule(uint8_t mode, THandle rule, TCoord* holeSize,
                                                        TCoord* diameter, uint8_t* style) {
    RuleData* r = RuleOf(rule, 11);
    if (!r || !holeSize || !diameter || !style || BadMode(mode)) return Failed;
    Transfer(mode, r->values[0], *holeSize);
    Transfer(mode, r->values[1], *diameter);
    Transfer(mode, r->style, *style);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryRuleConfinementConstraint(uint8_t mode, THandle rule, TConfinementRecord* rec) {
    RuleData* r = RuleOf(rule, 22);
    if (!r || !rec || BadMode(mode)) return Failed;
    Transfer(mode, r->room, *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryRulePowerPlaneExpansionRule(uint8_t mode, THandle rule, TCoord* expansion) {
    return TransferRuleValue(mode, rule, 12, 0, expansion);
}

int32_t PCBAPI_CALL PcbApi_QueryRuleSolderMaskExpansionRule(uint8_t mode, THandle rule, TCoord* expansion) {
    return TransferRuleValue(mode, rule, 13, 0, expansion);
}

int32_t PCBAPI_CALL PcbApi_QueryRulePasteMaskExpansionRule(uint8_t mode, THandle rule, TCoord* expansion) {
    return TransferRuleValue(mode, rule, 14, 0, expansion);
}

}  // extern "C"
