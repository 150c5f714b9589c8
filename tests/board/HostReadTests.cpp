// Reads and write-backs of real objects through the simulated host.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "HostModule.h"
#include "HostSnapshot.h"
#include "board/PCBProcs.h"
#include "board/Pcbclass.h"

namespace {

using namespace pcb;
using boardtest::THostBoardTest;

// Every object of the kind on the board (all layers, owned or free), in host order.
std::vector<THandle> ObjectsOf(THandle container, uint8_t kind, uint8_t method = AllObjectsMethod) {
    std::vector<THandle> objects;
    ForEachObject(container, kind, method, NoLayer, [&](THandle object) { objects.push_back(object); });
    return objects;
}

THandle FindNamed(THandle board, uint8_t kind, const std::string& name) {
    for (THandle object : ObjectsOf(board, kind))
        if (NameOf(object) == name) return object;
    ADD_FAILURE() << "no object named " << name;
    return 0;
}

class PadRead : public THostBoardTest {};

TEST_F(PadRead, FullStackKeepsItsPerLayerValuesApartFromTheTopValues) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "pad", "name": "P1", "x": 100, "y": 200, "hole": 30, "size": 60, "stackMode": 2,
         "top": {"shape": "rectangle", "size": [80, 40]},
         "stack": {"TopLayer": {"shape": "octagon", "size": [90, 50]},
                   "MidLayer1": {"shape": "roundedRectangle", "size": 70, "cornerRadius": 25}}}]})J");
    const std::vector<THandle> pads = ObjectsOf(board, ePadObject);
    ASSERT_EQ(pads.size(), 1u);
    TPcbPad pad(pads[0]);
    EXPECT_EQ(pad.ReadFromHost(), 0);

    EXPECT_EQ(pad.StackMode(), 2);
    EXPECT_EQ(pad.GetName(), "P1");
    EXPECT_EQ(pad.X(), MilsToCoord(100));
    EXPECT_EQ(pad.Layer(), MultiLayer);
    EXPECT_EQ(pad.TopXSize(), MilsToCoord(80));
    EXPECT_EQ(pad.TopShape(), 2);
    EXPECT_EQ(pad.XSizeOnLayer(TopLayer), MilsToCoord(90));
    EXPECT_EQ(pad.YSizeOnLayer(TopLayer), MilsToCoord(50));
    EXPECT_EQ(pad.ShapeOnLayer(TopLayer), 3);
    EXPECT_EQ(pad.XSizeOnLayer(MidLayer1), MilsToCoord(70));
    EXPECT_EQ(pad.ShapeOnLayer(MidLayer1), RoundedRectangleShape);
    EXPECT_EQ(pad.CRPercentageOnLayer(MidLayer1), 25);
    // The mid percentage is that of the last mid layer read.
    EXPECT_EQ(pad.MidCRPercentage(), pad.CRPercentageOnLayer(MidLayer30));
    EXPECT_EQ(pad.WidthOnLayer(TopLayer), MilsToCoord(50));
}

TEST_F(PadRead, AFailedReadLeavesThePerLayerTablesAlone) {
    Open(R"J({})J");
    TPcbPad pad(0);
    pad.SetXSizeOnLayer(TopLayer, 1234);
    EXPECT_NE(pad.ReadFromHost(), 0);
    EXPECT_EQ(pad.XSizeOnLayer(TopLayer), 1234);
}

TEST_F(PadRead, WriteBackOfAFullStackPadKeepsEveryLayer) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "pad", "name": "P1", "hole": 30, "stackMode": 2,
         "stack": {"MidLayer3": {"shape": "octagon", "size": [75, 65]}}}]})J");
    const std::string before = Module.Describe(board);
    TPcbPad pad(ObjectsOf(board, ePadObject).at(0));
    pad.ReadFromHost();
    EXPECT_EQ(pad.WriteToHost(), 0);
    EXPECT_EQ(Module.Describe(board), before);

    pad.SetXSizeOnLayer(MidLayer1 + 2, MilsToCoord(33));
    pad.WriteToHost();
    TPcbPad again(pad.Handle());
    again.ReadFromHost();
    EXPECT_EQ(again.XSizeOnLayer(MidLayer1 + 2), MilsToCoord(33));
    EXPECT_EQ(again.YSizeOnLayer(MidLayer1 + 2), MilsToCoord(65));
}

TEST_F(PadRead, WriteBackOfASimpleRoundedRectangleKeepsItsCornerPercentage) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "pad", "name": "R", "shape": "roundedRectangle", "size": [60, 40], "cornerRadius": 30}]})J");
    const std::string before = Module.Describe(board);
    TPcbPad pad(ObjectsOf(board, ePadObject).at(0));
    pad.ReadFromHost();
    EXPECT_EQ(pad.StackMode(), 0);
    EXPECT_EQ(pad.TopCRPercentage(), 30);
    pad.WriteToHost();
    EXPECT_EQ(Module.Describe(board), before);
}

TEST_F(PadRead, SimpleStackWriteBackReappliesKeptCornerPercentagesOnlyForRoundedRectangles) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "pad", "name": "R", "shape": "roundedRectangle", "size": [60, 40], "cornerRadius": 30},
        {"kind": "pad", "name": "C", "shape": "round", "size": 60}]})J");
    TPcbPad rounded(FindNamed(board, ePadObject, "R"));
    rounded.ReadFromHost();
    rounded.SetTopCRPercentage(40);
    rounded.SetBotCRPercentage(45);
    rounded.WriteToHost();
    TPcbPad roundedAgain(rounded.Handle());
    roundedAgain.ReadFromHost();
    EXPECT_EQ(roundedAgain.CRPercentageOnLayer(TopLayer), 40);
    EXPECT_EQ(roundedAgain.CRPercentageOnLayer(BottomLayer), 45);
    EXPECT_EQ(roundedAgain.CRPercentageOnLayer(MidLayer1), 30);

    TPcbPad round(FindNamed(board, ePadObject, "C"));
    round.ReadFromHost();
    const uint8_t kept = round.TopCRPercentage();
    round.SetTopCRPercentage(static_cast<uint8_t>(kept + 7));
    round.SetCRPercentageOnLayer(TopLayer, static_cast<uint8_t>(kept + 7));
    round.WriteToHost();
    TPcbPad roundAgain(round.Handle());
    roundAgain.ReadFromHost();
    EXPECT_EQ(roundAgain.TopCRPercentage(), kept);
}

class ClassRead : public THostBoardTest {};

TEST_F(ClassRead, ReadingTwiceIntoOneWrapperAppendsTheMembersTwice) {
    const THandle board = Open(R"J({"nets": ["GND", "VCC"],
        "classes": [{"name": "Power", "members": ["GND", "VCC"]}, {"name": "Empty", "members": []},
                    {"name": "Parts", "memberKind": "component", "superClass": true, "members": []}]})J");
    TPCBObjectClass power(FindNamed(board, eClassObject, "Power"));
    power.ReadFromHost();
    EXPECT_EQ(power.Members(), (std::vector<std::string>{"GND", "VCC"}));
    EXPECT_EQ(power.MemberKind(), 0);
    EXPECT_EQ(power.SuperClass(), 0);
    power.ReadFromHost();
    EXPECT_EQ(power.Members(), (std::vector<std::string>{"GND", "VCC", "GND", "VCC"}));
    power.Members().clear();
    power.ReadFromHost();
    EXPECT_EQ(power.Members().size(), 2u);

    TPCBObjectClass empty(FindNamed(board, eClassObject, "Empty"));
    empty.ReadFromHost();
    EXPECT_TRUE(empty.Members().empty());

    TPCBObjectClass parts(FindNamed(board, eClassObject, "Parts"));
    parts.ReadFromHost();
    EXPECT_EQ(parts.MemberKind(), 1);
    EXPECT_EQ(parts.SuperClass(), 1);
}

TEST_F(ClassRead, WriteBackReplacesTheMembers) {
    const THandle board = Open(R"J({"nets": ["GND", "VCC"], "classes": [{"name": "Power", "members": ["GND", "VCC"]}]})J");
    const THandle handle = FindNamed(board, eClassObject, "Power");
    {
        TPCBObjectClass power(handle);
        power.ReadFromHost();
        const std::string before = Module.Describe(board);
        EXPECT_EQ(power.WriteToHost(), 0);
        EXPECT_EQ(Module.Describe(board), before);
        power.Members() = {"VCC"};
        power.WriteToHost();
    }
    TPCBObjectClass power(handle);
    power.ReadFromHost();
    EXPECT_EQ(power.Members(), (std::vector<std::string>{"VCC"}));
}

class ComponentWrite : public THostBoardTest {};

struct TPrimitiveState {
    uint8_t Kind;
    TCoord X, Y, X2, Y2;
    TLayerId Layer;
    double Rotation;
    bool operator==(const TPrimitiveState&) const = default;
};

std::vector<TPrimitiveState> PrimitivesOf(THandle component) {
    std::vector<TPrimitiveState> states;
    for (THandle object : ObjectsOf(component, eNoObject)) {
        const auto wrapper = CreateForHandle(object);
        states.push_back({wrapper->ObjectKind(), wrapper->X(), wrapper->Y(), wrapper->X2(), wrapper->Y2(),
                          wrapper->Layer(), wrapper->Rotation()});
    }
    return states;
}

constexpr const char* ComponentBoard = R"J({"nets": ["GND"], "components": [
    {"designator": "U1", "comment": "LM358", "pattern": "SO8", "x": 1000, "y": 1000, "rotation": 90,
     "primitives": [
        {"kind": "pad", "name": "1", "x": -150, "y": 75, "shape": "rectangle", "size": [60, 25],
         "layer": "TopLayer", "net": "GND"},
        {"kind": "track", "x1": -200, "y1": 100, "x2": 200, "y2": 100, "width": 8, "layer": "TopOverlay"},
        {"kind": "text", "text": ".Designator", "x": 10, "y": 20, "layer": "TopOverlay"}]}]})J";

TEST_F(ComponentWrite, FlippedAndMovedBackItsPrimitivesAreWhereTheyStarted) {
    const THandle board = Open(ComponentBoard);
    const THandle handle = ObjectsOf(board, eComponentObject).at(0);
    const std::vector<TPrimitiveState> start = PrimitivesOf(handle);
    const std::string before = Module.Describe(board);

    TPcbComponent component(handle);
    component.ReadFromHost();
    EXPECT_EQ(component.Layer(), TopLayer);
    EXPECT_EQ(component.Pattern(), "SO8");
    EXPECT_EQ(component.GetName(), "U1");
    EXPECT_DOUBLE_EQ(component.Rotation(), 90);

    component.SetLayer(BottomLayer);
    EXPECT_EQ(component.ReadWrite(2), 0);
    const std::vector<TPrimitiveState> flipped = PrimitivesOf(handle);
    ASSERT_EQ(flipped.size(), start.size());
    const auto pad = std::find_if(flipped.begin(), flipped.end(), [](auto& s) { return s.Kind == ePadObject; });
    ASSERT_NE(pad, flipped.end());
    EXPECT_EQ(pad->Layer, BottomLayer);
    EXPECT_EQ(LayerOf(handle), BottomLayer);

    component.ReadFromHost();
    component.SetLayer(TopLayer);
    component.ReadWrite(2);
    EXPECT_EQ(PrimitivesOf(handle), start);
    EXPECT_EQ(Module.Describe(board), before);
}

TEST_F(ComponentWrite, MovedToTheOriginUnrotatedAndBack) {
    const THandle board = Open(ComponentBoard);
    const THandle handle = ObjectsOf(board, eComponentObject).at(0);
    const std::vector<TPrimitiveState> start = PrimitivesOf(handle);
    const std::string before = Module.Describe(board);

    TPcbComponent component(handle);
    component.ReadFromHost();
    const TCoord x = component.X(), y = component.Y();
    const double rotation = component.Rotation();
    component.SetX(0);
    component.SetY(0);
    component.SetRotation(0);
    component.ReadWrite(2);
    for (const TPrimitiveState& s : PrimitivesOf(handle))
        if (s.Kind == ePadObject) {
            EXPECT_EQ(std::tie(s.X, s.Y), std::make_tuple(MilsToCoord(-150), MilsToCoord(75)));
        }

    component.SetX(x);
    component.SetY(y);
    component.SetRotation(rotation);
    component.ReadWrite(2);
    EXPECT_EQ(PrimitivesOf(handle), start);
    EXPECT_EQ(Module.Describe(board), before);
}

TEST_F(ComponentWrite, TextsShowTheDesignatorOfTheirComponent) {
    const THandle board = Open(ComponentBoard);
    const THandle component = ObjectsOf(board, eComponentObject).at(0);
    EXPECT_EQ(NameOf(component), "U1");
    for (THandle object : ObjectsOf(component, eTextObject)) {
        TPcbText text(object);
        text.ReadFromHost();
        if (text.GetText() == ".Designator") {
            EXPECT_EQ(text.DisplayString(), "U1");
        }
    }
}

class RuleLookup : public THostBoardTest {};

TEST_F(RuleLookup, TheRuleOfHighestPriorityWhoseScopeSelectsThePadGoverns) {
    const THandle board = Open(R"J({"nets": ["GND", "VCC"],
        "rules": [{"kind": "solderMask", "name": "MaskAll", "expansion": 4, "priority": 2},
                  {"kind": "solderMask", "name": "MaskGnd", "scope1": "InNet('GND')", "expansion": 6, "priority": 1},
                  {"kind": "solderMask", "name": "MaskOff", "expansion": 9, "priority": 1, "enabled": false},
                  {"kind": "planeExpansion", "name": "ViasOnly", "scope1": "IsVia", "expansion": 30}],
        "objects": [{"kind": "pad", "name": "A", "net": "GND", "hole": 30},
                    {"kind": "pad", "name": "B", "net": "VCC", "hole": 30}]})J");
    TPcbPad padA(FindNamed(board, ePadObject, "A"));
    TPcbPad padB(FindNamed(board, ePadObject, "B"));
    padA.ReadFromHost();
    padB.ReadFromHost();
    EXPECT_EQ(padA.SolderMaskExpansion(), MilsToCoord(6));
    EXPECT_EQ(padB.SolderMaskExpansion(), MilsToCoord(4));
    EXPECT_EQ(padA.PowerPlaneExpansion(), 0);
    EXPECT_EQ(padA.PasteMaskExpansion(), 0);

    TPcbRuleEx rule(PcbApi_FindDominantRuleForObject(padA.Handle(), SolderMaskExpansionRuleKind));
    EXPECT_EQ(rule.ReadFromHost(), 0);
    EXPECT_EQ(rule.GetName(), "MaskGnd");
    EXPECT_EQ(rule.RuleKind(), SolderMaskExpansionRuleKind);
    EXPECT_EQ(rule.Scope1Expression(), "InNet('GND')");
    EXPECT_EQ(rule.Scope2Expression(), "All");
    EXPECT_EQ(rule.Priority(), 1);
}

TEST_F(RuleLookup, AFreshRuleReaderHoldsItsDefaults) {
    TPcbRuleEx rule;
    EXPECT_EQ(rule.Layer(), MultiLayer);
    EXPECT_EQ(rule.Scope1Expression(), "All");
    EXPECT_EQ(rule.Scope2Expression(), "All");
    EXPECT_EQ(rule.Priority(), -1);
}

class BoardRead : public THostBoardTest {};

TEST_F(BoardRead, TwoLayerStack) {
    const THandle handle = Open(R"J({"unit": "mm", "grid": 10})J");
    TPcbBoard board(handle);
    EXPECT_EQ(board.ReadWrite(1), 0);
    EXPECT_FALSE(board.DisplayUnitImperial());
    EXPECT_FALSE(board.IsLibrary());
    EXPECT_DOUBLE_EQ(board.Grid(), 100000);
    const TLayerObject* first = board.FirstLayerInStack();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->LayerId(), TopLayer);
    const TLayerObject* next = board.NextLayerInStack(first);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->LayerId(), BottomLayer);
    EXPECT_EQ(board.NextLayerInStack(next), nullptr);
    for (int id = InternalPlane1; id <= InternalPlane16; ++id)
        EXPECT_FALSE(board.LayerObject(static_cast<TLayerId>(id))->IsInLayerStack()) << id;
    EXPECT_EQ(board.StackPosition(SignalLayers, next), 2);
    EXPECT_EQ(board.StackPosition(SignalLayers, board.LayerObject(TopOverlay)), 0);
}

TEST_F(BoardRead, LayerObjectsPlanesAndLayerPairs) {
    const THandle handle = Open(R"J({"nets": ["GND"],
        "layers": [{"layer": "TopLayer", "name": "Top", "copper": 2},
                   {"layer": "InternalPlane1", "net": "GND"},
                   {"layer": "MidLayer1", "name": "Inner", "dielectric": {"material": "PTFE", "height": 5}},
                   {"layer": "InternalPlane2"},
                   {"layer": "BottomLayer"}],
        "layerPairs": [{"low": "MidLayer1", "high": "TopLayer"}]})J");
    TPcbBoard board(handle);
    board.ReadWrite(1);
    std::vector<TLayerId> stack;
    for (const TLayerObject* layer = board.FirstLayerInStack(); layer; layer = board.NextLayerInStack(layer))
        stack.push_back(layer->LayerId());
    EXPECT_EQ(stack, (std::vector<TLayerId>{TopLayer, InternalPlane1, MidLayer1, InternalPlane1 + 1, BottomLayer}));

    const TLayerObject* top = board.LayerObject(TopLayer);
    EXPECT_EQ(top->Name(), "Top");
    EXPECT_EQ(top->CopperThickness(), MilsToCoord(2));
    EXPECT_TRUE(top->Enabled());
    const TLayerObject* mid = board.LayerObject(MidLayer1);
    EXPECT_EQ(mid->DielectricMaterial(), "PTFE");
    EXPECT_EQ(mid->DielectricHeight(), MilsToCoord(5));
    EXPECT_EQ(board.StackPosition(ElectricalLayers, mid), 3);
    EXPECT_EQ(board.StackPosition(SignalLayers, mid), 2);

    auto planeNet = [&](TLayerId id) { return static_cast<const TInternalPlane*>(board.LayerObject(id))->NetName(); };
    EXPECT_EQ(planeNet(InternalPlane1), "GND");
    EXPECT_EQ(planeNet(InternalPlane1 + 1), "(No Net)");
    EXPECT_EQ(planeNet(InternalPlane1 + 2), "(No Net)");

    ASSERT_EQ(board.LayerPairs().size(), 1u);
    EXPECT_EQ(board.LayerPairs()[0]->Name(), "Top - Inner");
}

TEST_F(BoardRead, ALayerObjectOfItsOwnReadsCurrentValues) {
    const THandle handle = Open(R"J({"layers": [{"layer": "TopLayer"}, {"layer": "Mechanical2", "enabled": true},
                                              {"layer": "BottomLayer"}]})J");
    const auto mechanical = CreateLayerObject(handle, Mechanical1 + 1);
    EXPECT_FALSE(mechanical->Enabled());
    mechanical->ReadWrite(1);
    EXPECT_TRUE(mechanical->Enabled());
    EXPECT_FALSE(mechanical->IsInLayerStack());
    const auto plane = CreateLayerObject(handle, InternalPlane1);
    EXPECT_NE(dynamic_cast<TInternalPlane*>(plane.get()), nullptr);
}

TEST_F(BoardRead, IsLayerUsedAsTheHostReportsIt) {
    const THandle handle = Open(R"J({"layers": [{"layer": "TopLayer"}, {"layer": "MidLayer1"}, {"layer": "BottomLayer"}],
        "objects": [{"kind": "track", "x1": 0, "y1": 0, "x2": 100, "y2": 0, "layer": "MidLayer1"},
                    {"kind": "track", "x1": 0, "y1": 0, "x2": 100, "y2": 0, "layer": "Mechanical3"}]})J");
    TPcbBoard board(handle);
    board.ReadWrite(1);
    EXPECT_TRUE(board.IsLayerUsed(MidLayer1));
    EXPECT_TRUE(board.IsLayerUsed(Mechanical1 + 2));
    EXPECT_FALSE(board.IsLayerUsed(MidLayer1 + 5));
    for (int id = ConnectLayer; id <= ViaHoleLayer; ++id) EXPECT_FALSE(board.IsLayerUsed(static_cast<TLayerId>(id)));
}

TEST_F(BoardRead, IterateObjectsVisitsEveryNetAndComponentOnce) {
    const THandle handle = Open(R"J({"nets": ["A", "B", "C"],
        "components": [{"designator": "U1"}, {"designator": "U2"}],
        "objects": [{"kind": "track", "x1": 0, "y1": 0, "x2": 100, "y2": 0}]})J");
    TPcbBoard board(handle);
    std::vector<uint8_t> kinds;
    board.IterateObjects([&](THandle object) { kinds.push_back(ObjectKindOf(object)); },
                         KindSet({eNetObject, eComponentObject}), AllObjectsMethod, TLayerSet{NoLayer});
    EXPECT_EQ(kinds, (std::vector<uint8_t>{8, 8, 8, 9, 9}));
}

TEST_F(BoardRead, AddAndRemoveObjects) {
    const THandle handle = Open(R"J({})J");
    TPcbBoard board(handle);
    EXPECT_EQ(board.AddObject(0), 1);
    EXPECT_EQ(board.RemoveObject(0), 1);
    const THandle track = PcbApi_CreateObject(eTrackObject);
    ASSERT_NE(track, 0u);
    EXPECT_EQ(board.AddObject(track), 0);
    EXPECT_EQ(ObjectsOf(handle, eTrackObject), std::vector<THandle>{track});
    EXPECT_EQ(board.RemoveObject(track), 0);
    EXPECT_TRUE(ObjectsOf(handle, eTrackObject).empty());
    PcbApi_DestroyObject(track);
}

class ReadsByHandle : public THostBoardTest {};

TEST_F(ReadsByHandle, HandleZeroAndPlainWrappers) {
    const THandle board = Open(ComponentBoard);
    EXPECT_EQ(ObjectKindOf(0), 0);
    EXPECT_EQ(CreateForHandle(0), nullptr);
    EXPECT_EQ(XOf(0), 0);
    EXPECT_EQ(NameOf(0), "");
    EXPECT_EQ(TextOf(0), "");
    EXPECT_FALSE(MirroredOf(0));

    const THandle component = ObjectsOf(board, eComponentObject).at(0);
    EXPECT_EQ(ObjectKindOf(component), eComponentObject);
    TPCBObject plain(component);
    plain.ReadFromHost();
    EXPECT_EQ(plain.ObjectKind(), 0);
    EXPECT_EQ(plain.X(), MilsToCoord(1000));
    EXPECT_EQ(XOf(component), MilsToCoord(1000));
}

TEST_F(ReadsByHandle, SecondPointOfTracksFillsAndPointObjects) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "track", "x1": 1, "y1": 2, "x2": 3, "y2": 4, "width": 7},
        {"kind": "fill", "x1": 10, "y1": 20, "x2": 30, "y2": 40, "rotation": 45},
        {"kind": "via", "x": 5, "y": 6},
        {"kind": "text", "text": "hello", "x": 8, "y": 9, "mirrored": true, "rotation": 180}]})J");
    const THandle track = ObjectsOf(board, eTrackObject).at(0);
    EXPECT_EQ(X2Of(track), MilsToCoord(3));
    EXPECT_EQ(Y2Of(track), MilsToCoord(4));
    EXPECT_EQ(WidthOf(track), MilsToCoord(7));
    const THandle fill = ObjectsOf(board, eFillObject).at(0);
    EXPECT_EQ(X2Of(fill), MilsToCoord(30));
    EXPECT_DOUBLE_EQ(RotationOf(fill), 45);
    const THandle via = ObjectsOf(board, eViaObject).at(0);
    EXPECT_EQ(X2Of(via), MilsToCoord(5));
    EXPECT_EQ(Y2Of(via), MilsToCoord(6));
    EXPECT_EQ(LayerOf(via), MultiLayer);
    const THandle text = ObjectsOf(board, eTextObject).at(0);
    EXPECT_EQ(TextOf(text), "hello");
    EXPECT_TRUE(MirroredOf(text));
    EXPECT_DOUBLE_EQ(RotationOf(text), 180);
}

TEST_F(ReadsByHandle, LibraryCoordinatesOfTheFirstPattern) {
    const THandle handle = Open(R"J({"document": "library", "footprints": [{"name": "FP1", "primitives": [
        {"kind": "track", "x1": 12, "y1": -5, "x2": 20, "y2": 0, "layer": "TopOverlay"}]}]})J");
    TPcbBoard board(handle);
    board.ReadWrite(1);
    ASSERT_TRUE(board.IsLibrary());
    const THandle track = ObjectsOf(handle, eTrackObject).at(0);
    EXPECT_EQ(XOf(track), 500120000);
    EXPECT_EQ(YOf(track), 499950000);
    EXPECT_EQ(ReadX1(track, board.IsLibrary(), 0), 120000);
    EXPECT_EQ(ReadY1(track, board.IsLibrary(), 0), -50000);
    EXPECT_EQ(ReadX2(track, board.IsLibrary(), 0), 200000);
    EXPECT_EQ(ReadY2(track, board.IsLibrary(), 0), 0);
    EXPECT_EQ(ReadX1(track, board.IsLibrary(), 1), 500120000);
    EXPECT_EQ(ReadY1(track, board.IsLibrary(), -1), 499950000);
}

TEST_F(ReadsByHandle, SpatialIterationFindsTheDrawingOfACoordinate) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "track", "x1": 0, "y1": 0, "x2": 5, "y2": 5, "layer": "Mechanical1"},
        {"kind": "coordinate", "x": 100, "y": 100,
         "drawing": [{"kind": "track", "x1": 90, "y1": 100, "x2": 110, "y2": 100},
                     {"kind": "text", "text": "100,100", "x": 100, "y": 105}]},
        {"kind": "track", "x1": 5000, "y1": 5000, "x2": 5005, "y2": 5005, "layer": "Mechanical1"}]})J");
    const THandle coordinate = ObjectsOf(board, eCoordinateObject).at(0);
    TPcbCoordinate wrapper(coordinate);
    wrapper.ReadFromHost();
    EXPECT_EQ(wrapper.X(), MilsToCoord(100));
    TPcbSpatialIterator iterator(board, wrapper.GetBoundingRectangle(), KindSet({eArcObject, eTrackObject, eTextObject}),
                                 TLayerSet::Range(TopLayer, ConnectLayer));
    std::vector<uint8_t> drawing;
    uint8_t kind = 0;
    for (THandle object = iterator.First(kind); object; object = iterator.Next(kind))
        if (OwnerGroupOf(object) == coordinate) drawing.push_back(kind);
    EXPECT_EQ(drawing, (std::vector<uint8_t>{eTrackObject, eTextObject}));
}

class OutlinesAndDimensions : public THostBoardTest {};

TEST_F(OutlinesAndDimensions, PolygonOutline) {
    const THandle board = Open(R"J({"nets": ["GND"], "objects": [
        {"kind": "polygon", "net": "GND", "hatch": "45", "grid": 12, "trackWidth": 8, "removeDead": true,
         "outline": [[0, 0], [100, 0],
                     {"x": 100, "y": 100, "cx": 50, "cy": 100, "radius": 50, "startAngle": 0, "endAngle": 180},
                     [0, 100]]}]})J");
    TPcbPolygon polygon(ObjectsOf(board, ePolyObject).at(0));
    polygon.ReadFromHost();
    EXPECT_EQ(polygon.HatchStyle(), 1);
    EXPECT_EQ(polygon.Grid(), MilsToCoord(12));
    EXPECT_EQ(polygon.TrackWidth(), MilsToCoord(8));
    EXPECT_TRUE(polygon.RemoveDead());
    ASSERT_EQ(polygon.SegmentCount(), 4);
    // Segments are packed: their fields are read by value.
    EXPECT_EQ(int32_t{polygon.Segment(1).VX}, MilsToCoord(100));
    EXPECT_EQ(int{polygon.Segment(2).Kind}, 1);
    EXPECT_EQ(int32_t{polygon.Segment(2).CX}, MilsToCoord(50));
    EXPECT_DOUBLE_EQ(double{polygon.Segment(2).Angle2}, 180);
    EXPECT_NE(polygon.Net(), 0u);
}

TEST_F(OutlinesAndDimensions, DimensionsReadAsTheirType) {
    const THandle board = Open(R"J({"objects": [
        {"kind": "arc", "x": 500, "y": 500, "radius": 100},
        {"kind": "dimension", "type": "linear", "angle": 90, "precision": 3, "arrowSize": 40,
         "references": [{"x": 0, "y": 0}, {"x": 0, "y": 100}],
         "drawing": [{"kind": "track", "x1": 0, "y1": 0, "x2": 0, "y2": 100}, {"kind": "text", "text": "100"}]},
        {"kind": "dimension", "type": "baseline", "references": [{"x": 0, "y": 0}, {"x": 10, "y": 0}, {"x": 20, "y": 0}],
         "textLocations": [[1, 2], [3, 4]]},
        {"kind": "dimension", "type": "radialDiameter", "references": [{"x": 500, "y": 500, "object": 0}]}]})J");
    const std::vector<THandle> dimensions = ObjectsOf(board, eDimensionObject);
    ASSERT_EQ(dimensions.size(), 3u);

    std::vector<uint8_t> types;
    for (THandle handle : dimensions) {
        pcbapi::TExtDimensionRecord ext;
        PcbApi_QueryExtDimension(1, handle, &ext);
        types.push_back(ext.DimensionType);
    }
    EXPECT_EQ(types, (std::vector<uint8_t>{LinearDimension, BaselineDimension, RadialDiameterDimension}));

    const auto linear = CreateDimensionForType(types[0], dimensions[0]);
    EXPECT_NE(dynamic_cast<TPCBLinearDimension*>(linear.get()), nullptr);
    linear->ReadFromHost();
    EXPECT_EQ(linear->DimensionType(), LinearDimension);
    EXPECT_EQ(linear->Precision(), 3);
    EXPECT_EQ(linear->ArrowSize(), MilsToCoord(40));
    EXPECT_DOUBLE_EQ(linear->DimensionAngle(), 90);
    ASSERT_EQ(linear->ReferenceCount(), 2);
    EXPECT_EQ(linear->Reference(1).PointY, MilsToCoord(100));
    EXPECT_EQ(ObjectsOf(dimensions[0], eTrackObject).size(), 1u);

    const auto baseline = CreateDimensionForType(types[1], dimensions[1]);
    baseline->ReadFromHost();
    const auto* typed = dynamic_cast<TPCBBaselineDimension*>(baseline.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->ReferenceCount(), 3);
    ASSERT_EQ(typed->TextLocationCount(), 2);
    EXPECT_EQ(typed->TextLocation(1).Y, MilsToCoord(4));

    const auto radial = CreateDimensionForType(types[2], dimensions[2]);
    EXPECT_NE(dynamic_cast<TPCBRadialDiameterDimension*>(radial.get()), nullptr);
    radial->ReadFromHost();
    EXPECT_EQ(ObjectKindOf(radial->Reference(0).Object), eArcObject);

    EXPECT_EQ(TPcbDimension().DimensionType(), OriginalDimension);
    EXPECT_EQ(TPCBCenterDimension().DimensionType(), CenterDimension);
}

class WriteBack : public THostBoardTest {};

constexpr const char* EveryKindBoard = R"J({"nets": ["GND", "VCC"],
    "layers": [{"layer": "TopLayer"}, {"layer": "InternalPlane1", "net": "GND"}, {"layer": "BottomLayer"}],
    "layerPairs": [{"low": "TopLayer", "high": "BottomLayer"}],
    "classes": [{"name": "Power", "members": ["GND", "VCC"]}],
    "rules": [{"kind": "clearance", "gap": 12}, {"kind": "room", "name": "RoomA", "x1": 0, "y1": 0, "x2": 10, "y2": 10}],
    "components": [{"designator": "U1", "comment": "C", "pattern": "P", "x": 500, "y": 600, "rotation": 30,
        "side": "bottom", "sourceLinks": ["a", "b"], "model": "m",
        "primitives": [{"kind": "pad", "name": "1", "x": 10, "y": 0, "shape": "roundedRectangle", "size": [40, 20]},
                       {"kind": "pad", "name": "2", "x": -10, "hole": 20, "stackMode": 1,
                        "mid": {"shape": "octagon", "size": 50}, "net": "VCC"}]}],
    "objects": [
        {"kind": "track", "x1": 1, "y1": 2, "x2": 3, "y2": 4, "net": "GND"},
        {"kind": "arc", "x": 5, "y": 5, "radius": 3, "startAngle": 10, "endAngle": 200, "layer": "BottomLayer"},
        {"kind": "via", "x": 7, "y": 8, "from": "TopLayer", "to": "MidLayer1", "net": "VCC"},
        {"kind": "pad", "name": "F", "x": 1, "y": 1, "stackMode": 2, "hole": 10,
         "stack": {"BottomLayer": {"shape": "roundedRectangle", "size": 30, "cornerRadius": 10}}},
        {"kind": "text", "text": "T \"q\"", "font": "trueType", "fontName": "Courier", "bold": true,
         "layer": "BottomOverlay", "mirrored": true},
        {"kind": "fill", "x1": 0, "y1": 0, "x2": 10, "y2": 5, "rotation": 15},
        {"kind": "polygon", "outline": [[0, 0], [10, 0], [10, 10]], "net": "GND"},
        {"kind": "splitPlane", "layer": "InternalPlane1", "net": "GND", "outline": [[0, 0], [10, 0], [10, 10]]},
        {"kind": "region", "outline": [[0, 0], [10, 0], [10, 10]], "regionKind": 1},
        {"kind": "componentBody", "outline": [[0, 0], [10, 0], [10, 10]], "height": 3},
        {"kind": "boardOutline", "outline": [[0, 0], [100, 0], [100, 100], [0, 100]]},
        {"kind": "embeddedBoard", "x1": 0, "y1": 0, "x2": 10, "y2": 10},
        {"kind": "coordinate", "x": 3, "y": 4,
         "drawing": [{"kind": "track", "x1": 0, "y1": 0, "x2": 1, "y2": 1}, {"kind": "text", "text": "3,4"}]},
        {"kind": "dimension", "type": "baseline", "references": [{"x": 0, "y": 0}, {"x": 10, "y": 0}],
         "textLocations": [[1, 2]], "values": [1, 2, 3, 4]}]})J";

TEST_F(WriteBack, AReadFollowedByAWriteBackChangesNothing) {
    const THandle handle = Open(EveryKindBoard);
    const std::string before = Module.Describe(handle);
    const std::string snapshot = boardtest::BoardSnapshot(handle);
    int objects = 0;
    for (THandle object : ObjectsOf(handle, eNoObject)) {
        const auto wrapper = CreateForHandle(object);
        if (!wrapper) continue;
        ++objects;
        wrapper->WriteToHost();
        if (wrapper->ObjectKind() == eDimensionObject) {
            pcbapi::TExtDimensionRecord ext;
            PcbApi_QueryExtDimension(1, object, &ext);
            const auto typed = CreateDimensionForType(ext.DimensionType, object);
            typed->ReadFromHost();
            typed->WriteToHost();
        }
        if (wrapper->ObjectKind() == eRuleObject) {
            TPcbRuleEx rule(object);
            rule.ReadFromHost();
            rule.WriteToHost();
        }
        TPCBObject plain(object);
        plain.ReadFromHost();
        plain.WriteToHost();
    }
    EXPECT_GT(objects, 20);
    TPcbBoard board(handle);
    board.ReadWrite(1);
    board.ReadWrite(0);
    EXPECT_EQ(Module.Describe(handle), before);
    EXPECT_TRUE(boardtest::BoardSnapshot(handle) == snapshot);
}

TEST_F(WriteBack, OnlyWhatTheCallerChangedChanges) {
    const THandle handle = Open(EveryKindBoard);
    const THandle padHandle = FindNamed(handle, ePadObject, "F");
    TPcbPad pad(padHandle);
    pad.ReadFromHost();
    pad.SetName("F_1");
    pad.WriteToHost();
    EXPECT_EQ(NameOf(padHandle), "F_1");
    TPcbPad again(padHandle);
    again.ReadFromHost();
    EXPECT_EQ(again.StackMode(), 2);
    EXPECT_EQ(again.CRPercentageOnLayer(BottomLayer), 10);
    EXPECT_EQ(again.XSizeOnLayer(BottomLayer), MilsToCoord(30));

    const THandle textHandle = ObjectsOf(handle, eTextObject, FreeObjectsMethod).at(0);
    TPcbText text(textHandle);
    text.ReadFromHost();
    EXPECT_EQ(text.FontName(), "Courier");
    text.SetText("changed");
    text.WriteToHost();
    TPcbText textAgain(textHandle);
    textAgain.ReadFromHost();
    EXPECT_EQ(textAgain.GetText(), "changed");
    EXPECT_EQ(textAgain.FontName(), "Courier");
    EXPECT_TRUE(textAgain.Mirrored());
    EXPECT_EQ(textAgain.Layer(), BottomOverlay);
}

TEST_F(WriteBack, MoveByShiftsBothPointsOfTracksAndFills) {
    const THandle handle = Open(R"J({"objects": [{"kind": "track", "x1": 1, "y1": 2, "x2": 3, "y2": 4},
                                               {"kind": "arc", "x": 5, "y": 5}]})J");
    for (THandle object : ObjectsOf(handle, eNoObject)) {
        const auto wrapper = CreateForHandle(object);
        wrapper->MoveBy(10000, -10000);
        wrapper->WriteToHost();
    }
    const THandle track = ObjectsOf(handle, eTrackObject).at(0);
    EXPECT_EQ(std::make_tuple(XOf(track), YOf(track), X2Of(track), Y2Of(track)),
              std::make_tuple(20000, 10000, 40000, 30000));
    const THandle arc = ObjectsOf(handle, eArcObject).at(0);
    EXPECT_EQ(std::make_tuple(XOf(arc), YOf(arc)), std::make_tuple(60000, 40000));
}

}  // namespace
