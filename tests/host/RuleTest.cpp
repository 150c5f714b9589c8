#include "Fixture.h"
#include "Scope.h"

namespace hostpcb::test {
namespace {

struct ParseCase {
    const char* text;
    bool parses;
    const char* error;
};

const ParseCase ParseCases[] = {
    {"All", true, ""},
    {"all", true, ""},
    {"InNetClass('Power')", true, ""},
    {"IsTrack Or IsArc Or IsThruPin Or IsSMTPin Or IsVia Or IsFill Or IsPolygon", true, ""},
    {"InNet('GND') and not (IsVia or IsPad)", true, ""},
    {"InComponent(\"U1\")", true, ""},
    {"OnLayer('TopLayer')", true, ""},
    {"", false, "missing test at character 1"},
    {"InNet(GND)", false, "missing quoted name at character 7"},
    {"InNet('GND'", false, "missing \")\" at character 12"},
    {"IsTrack Or", false, "missing test at character 11"},
    {"IsTrak", false, "unknown test \"IsTrak\" at character 1"},
    {"All All", false, "unexpected \"A\" at character 5"},
    {"OnLayer('Top')", false, "unknown layer \"Top\" at character 9"},
    {"(All", false, "missing \")\" at character 5"},
};

class ScopeParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(ScopeParsing, AcceptsTheLanguageAndNamesTheFault) {
    const ParseCase& c = GetParam();
    ScopeParse p = ParseScope(c.text);
    EXPECT_EQ(p.expr != nullptr, c.parses) << c.text;
    EXPECT_EQ(p.error, c.error) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, ScopeParsing, testing::ValuesIn(ParseCases));

const char* Board = R"json({
  "nets": ["GND", "VCC", "SIG"],
  "classes": [{"name": "Power", "members": ["GND", "VCC"]},
              {"name": "Big", "memberKind": "component", "members": ["U1"]}],
  "rules": [
    {"kind": "width", "name": "Width", "preferred": 10, "priority": 3},
    {"kind": "width", "name": "PowerWidth", "scope1": "InNetClass('Power')", "preferred": 25, "priority": 1},
    {"kind": "width", "name": "GndWidth", "scope1": "InNet('GND')", "preferred": 30, "priority": 2},
    {"kind": "width", "name": "Off", "scope1": "All", "preferred": 99, "priority": 1, "enabled": false},
    {"kind": "clearance", "name": "Clearance", "gap": 10, "priority": 2},
    {"kind": "clearance", "name": "PowerToAny", "scope1": "InNetClass('Power')",
     "scope2": "IsTrack Or IsArc Or IsThruPin Or IsSMTPin Or IsVia Or IsFill Or IsPolygon", "gap": 15, "priority": 1},
    {"kind": "solderMask", "name": "U1Mask", "scope1": "InComponentClass('Big') And IsSMTPin", "expansion": 2},
    {"kind": "room", "name": "RoomA", "scope1": "InComponent('U1')", "x1": 1000, "y1": 1000, "x2": 2000, "y2": 1500}
  ],
  "components": [{"designator": "U1", "primitives": [{"kind": "pad", "name": "1", "net": "GND"}]},
                 {"designator": "R1", "primitives": [{"kind": "pad", "name": "1", "hole": 30}]}],
  "objects": [
    {"kind": "track", "net": "GND"}, {"kind": "track", "net": "VCC"}, {"kind": "track", "net": "SIG"},
    {"kind": "via", "net": "SIG"}, {"kind": "text", "text": "T"}
  ]
})json";

std::string RuleName(THandle rule) {
    pcbapi::TName255 name;
    if (PcbApi_QueryRuleExtEx(1, rule, &name) != 0) return "(none)";
    return name.Str();
}

TEST(Rules, HighestPriorityRuleWhoseScopeSelects) {
    THandle board = Open(Board);
    std::vector<THandle> tracks = Walk(board, KindTrack, 1);
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObject(tracks[0], 2)), "PowerWidth");  // GND: priority 1 beats 2
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObject(tracks[1], 2)), "PowerWidth");
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObject(tracks[2], 2)), "Width");  // the disabled rule never applies
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObject(NetByName(board, "GND"), 2)), "PowerWidth");
    EXPECT_EQ(PcbApi_FindDominantRuleForObject(tracks[0], 12), 0u);
}

TEST(Rules, PairRuleNeedsOneObjectInEachScope) {
    THandle board = Open(Board);
    std::vector<THandle> tracks = Walk(board, KindTrack, 1);
    THandle via = Walk(board, KindVia, 1).at(0);
    THandle text = Walk(board, KindText, 1).at(0);
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObjectPair(tracks[0], via, 0)), "PowerToAny");
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObjectPair(via, tracks[1], 0)), "PowerToAny");
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObjectPair(tracks[2], via, 0)), "Clearance");
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObjectPair(tracks[0], text, 0)), "Clearance");
    pcbapi::TCoord gap = 0;
    EXPECT_EQ(PcbApi_QueryRuleClearanceConstraint(1, PcbApi_FindDominantRuleForObjectPair(tracks[0], via, 0), &gap), 0);
    EXPECT_EQ(gap, 150000);
}

TEST(Rules, ComponentScopesAndScope1Includes) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    THandle r1 = ComponentByDesignator(board, "R1");
    THandle u1pad = Walk(u1, KindPad, 0).at(0);
    THandle r1pad = Walk(r1, KindPad, 0).at(0);
    EXPECT_EQ(RuleName(PcbApi_FindDominantRuleForObject(u1pad, 13)), "U1Mask");
    EXPECT_EQ(PcbApi_FindDominantRuleForObject(r1pad, 13), 0u);
    THandle room = Find(board, KindRule, [](THandle h) { return RuleName(h) == "RoomA"; });
    EXPECT_EQ(PcbApi_Scope1_Includes(room, u1), 1);
    EXPECT_EQ(PcbApi_Scope1_Includes(room, r1), 0);
    pcbapi::TConfinementRecord c;
    ASSERT_EQ(PcbApi_QueryRuleConfinementConstraint(1, room, &c), 0);
    EXPECT_EQ(c.X1, 10000000);
    EXPECT_EQ(c.Y2, 15000000);
    EXPECT_EQ(c.Side, 1);
}

TEST(Rules, RuleRecordAndValueQueries) {
    THandle board = Open(Board);
    THandle width = Find(board, KindRule, [](THandle h) { return RuleName(h) == "GndWidth"; });
    pcbapi::TRuleExRecord r;
    ASSERT_EQ(PcbApi_QueryRuleEx(1, width, &r), 0);
    EXPECT_EQ(r.RuleKind, 2);
    EXPECT_EQ(r.Scope1Expression.Str(), "InNet('GND')");
    EXPECT_EQ(r.Scope2Expression.Str(), "All");
    EXPECT_EQ(r.Priority, 2);
    pcbapi::TCoord mn, mx, pref;
    EXPECT_EQ(PcbApi_QueryRuleMaxMinWidthConstraintExt(1, width, &mn, &mx, &pref), 0);
    EXPECT_EQ(pref, 300000);
    pcbapi::TCoord gap;
    EXPECT_NE(PcbApi_QueryRuleClearanceConstraint(1, width, &gap), 0);  // not a clearance rule
    // A scope that does not parse is refused and the rule keeps its own.
    r.Scope1Expression.Assign("InNet(");
    EXPECT_NE(PcbApi_QueryRuleEx(0, width, &r), 0);
    PcbApi_QueryRuleEx(1, width, &r);
    EXPECT_EQ(r.Scope1Expression.Str(), "InNet('GND')");
}

TEST(Rules, PadCacheTakesRuleValuesUnlessThePadSetsThem) {
    THandle board = Open(R"json({"rules": [{"kind": "planeExpansion", "expansion": 25}, {"kind": "solderMask", "expansion": 3}],
        "objects": [{"kind": "pad", "hole": 30}, {"kind": "pad", "hole": 30, "plane": {"clearance": 5, "connection": "direct"}}]})json");
    std::vector<THandle> pads = Walk(board, KindPad, 1);
    pcbapi::TPadCacheRecord a, b;
    PcbApi_QueryPadCache(1, pads[0], &a);
    PcbApi_QueryPadCache(1, pads[1], &b);
    EXPECT_EQ(a.PowerPlaneClearance, 250000);
    EXPECT_EQ(a.SolderMaskExpansion, 30000);
    EXPECT_EQ(a.PlaneConnectionStyle, 1);
    EXPECT_EQ(b.PowerPlaneClearance, 50000);
    EXPECT_EQ(b.PlaneConnectionStyle, 2);
    EXPECT_EQ(b.SolderMaskExpansion, 30000);
}

}  // namespace
}  // namespace hostpcb::test
