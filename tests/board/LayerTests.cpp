#include <gtest/gtest.h>

#include <map>

#include "FakeHostClient.h"
#include "board/Pcbclass.h"
#include "board/Pcbtypes.h"
#include "translator/LayerList.h"

namespace {

using namespace pcb;
using pcbapi::THostLayer;

struct HostLayerCase {
    THostLayer Host;
    TLayerId Id;
};

class LayerIdFromHostTest : public ::testing::TestWithParam<HostLayerCase> {};

TEST_P(LayerIdFromHostTest, Converts) { EXPECT_EQ(LayerIdFromHost(GetParam().Host), GetParam().Id); }

INSTANTIATE_TEST_SUITE_P(
    Layers, LayerIdFromHostTest,
    ::testing::Values(HostLayerCase{0, 0}, HostLayerCase{1, 1}, HostLayerCase{32, 32}, HostLayerCase{74, 74},
                      HostLayerCase{82, 82},
                      // beyond the table: fold onto the last mid layer, plane, mechanical layer
                      HostLayerCase{pcbapi::HostMidLayerBase + 35, 31}, HostLayerCase{pcbapi::HostMidLayerBase + 31, 31},
                      HostLayerCase{pcbapi::HostMidLayerBase + 5, 5},
                      HostLayerCase{pcbapi::HostInternalPlaneBase + 20, 54},
                      HostLayerCase{pcbapi::HostInternalPlaneBase + 3, 41},
                      HostLayerCase{pcbapi::HostMechanicalLayerBase + 17, 72},
                      HostLayerCase{pcbapi::HostMechanicalLayerBase + 4, 60},
                      // no single layer of the table
                      HostLayerCase{pcbapi::HostTopPadMaster, 0}, HostLayerCase{pcbapi::HostDRCDetails, 0},
                      HostLayerCase{pcbapi::HostAllLayers, 0}, HostLayerCase{pcbapi::HostSignalLayers, 0},
                      HostLayerCase{83, 0}, HostLayerCase{-1, 0}, HostLayerCase{pcbapi::HostMidLayerBase + 1, 0},
                      HostLayerCase{pcbapi::HostMidLayerBase + 65, 0}));

TEST(Layers, HostLayerFromIdIsTheIdForTheTable) {
    for (int id = 0; id <= MaxLayerId; ++id) {
        EXPECT_EQ(HostLayerFromId(static_cast<TLayerId>(id)), id);
        EXPECT_EQ(LayerIdFromHost(HostLayerFromId(static_cast<TLayerId>(id))), id);
    }
    EXPECT_EQ(HostLayerFromId(83), 0);
}

struct NameCase {
    TLayerId Id;
    const char* BuiltIn;
    const char* Display;
};

class LayerNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LayerNameTest, Names) {
    EXPECT_EQ(LayerName(GetParam().Id), GetParam().BuiltIn);
    EXPECT_EQ(LayerDisplayName(GetParam().Id), GetParam().Display);
}

INSTANTIATE_TEST_SUITE_P(Layers, LayerNameTest,
                         ::testing::Values(NameCase{0, "NoLayer", "Any Layer"}, NameCase{1, "TopLayer", "Top Layer"},
                                           NameCase{2, "MidLayer1", "Mid Layer 1"},
                                           NameCase{31, "MidLayer30", "Mid Layer 30"},
                                           NameCase{32, "BottomLayer", "Bottom Layer"},
                                           NameCase{33, "TopOverlay", "Top Overlay"},
                                           NameCase{38, "BottomSolder", "Bottom Solder Mask"},
                                           NameCase{39, "InternalPlane1", "Internal Plane 1"},
                                           NameCase{54, "InternalPlane16", "Internal Plane 16"},
                                           NameCase{55, "DrillGuide", "Drill Guide"},
                                           NameCase{56, "KeepOutLayer", "Keep Out Layer"},
                                           NameCase{57, "Mechanical1", "Mechanical Layer 1"},
                                           NameCase{72, "Mechanical16", "Mechanical Layer 16"},
                                           NameCase{73, "DrillDrawing", "Drill Drawing"},
                                           NameCase{74, "MultiLayer", "Multi Layer"},
                                           NameCase{76, "BackGroundLayer", "BackGround"},
                                           NameCase{77, "DRCErrorLayer", "DRC Errors"},
                                           NameCase{80, "GridColor10", "Grid Color 10"},
                                           NameCase{82, "ViaHoleLayer", "Via Hole Layer"},
                                           NameCase{83, "", ""}));

TEST(Layers, HostDisplayNamesBeyondTheTable) {
    EXPECT_EQ(HostLayerDisplayName(pcbapi::HostMidLayerBase + 35), "Mid Layer 34");
    EXPECT_EQ(HostLayerDisplayName(pcbapi::HostInternalPlaneBase + 20), "Internal Plane 20");
    EXPECT_EQ(HostLayerDisplayName(pcbapi::HostMechanicalLayerBase + 17), "Mechanical Layer 17");
    EXPECT_EQ(HostLayerDisplayName(pcbapi::HostBottomPadMaster), "Bottom Pad Master");
    EXPECT_EQ(HostLayerDisplayName(pcbapi::HostElectricalLayers), "Electrical Layers");
    EXPECT_EQ(HostLayerDisplayName(0), "No Layer");
    EXPECT_EQ(HostLayerDisplayName(1), "Top Layer");
}

TEST(Layers, BuildingHostValues) {
    EXPECT_EQ(HostMidLayer(1), 2);
    EXPECT_EQ(HostMidLayer(30), 31);
    EXPECT_EQ(LayerIdFromHost(HostMidLayer(40)), 31);
    EXPECT_EQ(HostInternalPlane(16), 54);
    EXPECT_EQ(LayerIdFromHost(HostInternalPlane(17)), 54);
    EXPECT_EQ(HostMechanicalLayer(4), 60);
    EXPECT_EQ(LayerIdFromHost(HostMechanicalLayer(32)), 72);
    EXPECT_EQ(HostLayerFromSaved(74), 74);
    EXPECT_EQ(HostLayerFromSaved(pcbapi::HostAllLayers), pcbapi::HostAllLayers);
}

TEST(Layers, IndicesTheHostCannotRepresentRaiseLayerErrors) {
    auto message = [](auto build) {
        try {
            build();
        } catch (const TLayerError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([] { HostMidLayer(0); }), "Creating SignalLayer(0)");
    EXPECT_EQ(message([] { HostMidLayer(pcbapi::HostMaxSignalPosition); }), "Creating SignalLayer(64)");
    EXPECT_EQ(message([] { HostInternalPlane(33); }), "Creating InternalPlaneLayer(33)");
    EXPECT_EQ(message([] { HostMechanicalLayer(-1); }), "Creating MechanicalLayer(-1)");
    EXPECT_EQ(message([] { HostLayerFromSaved(83); }), "CreateFromInteger_ForSave(83)");
}

TEST(Layers, Groups) {
    EXPECT_TRUE(SignalLayers.Contains(1) && SignalLayers.Contains(32) && !SignalLayers.Contains(33));
    EXPECT_TRUE(ElectricalLayers.Contains(39) && ElectricalLayers.Contains(54) && !ElectricalLayers.Contains(55));
    EXPECT_FALSE(ElectricalLayers.Contains(0));
    EXPECT_TRUE(PrimitiveLayers.Contains(74) && !PrimitiveLayers.Contains(75));
    TLayerSet set{0, 63, 64, 82, 83};
    EXPECT_TRUE(set.Contains(63) && set.Contains(64) && set.Contains(82));
    EXPECT_FALSE(set.Contains(83));
    set.Exclude(64);
    EXPECT_FALSE(set.Contains(64));
    const pcbapi::THostLayerSet host = TLayerSet{1, 32, 74}.ToHostLayerSet();
    ASSERT_EQ(host.Count, 3);
    EXPECT_EQ(host.Layers[2], 74);
}

TEST(ObjectKinds, Names) {
    EXPECT_EQ(ObjectKindName(0), "IgnoreObject");
    EXPECT_EQ(ObjectKindName(7), "From-To");
    EXPECT_EQ(ObjectKindName(11), "Poly Region");
    EXPECT_EQ(ObjectKindName(18), "Differential-Pairs");
    EXPECT_EQ(ObjectKindName(22), "Spare");
    EXPECT_EQ(ObjectKindName(26), "BoardOutline");
    EXPECT_EQ(ObjectKindName(27), "");
    EXPECT_EQ(KindSet({1, 4, 5}), 50u);
}

// The PCB editor's object interface with a fixed set of used layers.
class TUsedLayers : public host::IPcbServerObjects, host::IPcbBoardObject, host::IPcbLayerStack {
public:
    explicit TUsedLayers(const std::vector<THostLayer>& used) {
        for (THostLayer layer : used) Layers[layer].Used = 1;
    }
    host::IPcbBoardObject* PCBAPI_CALL GetBoardByHandle(pcbapi::THandle) override { return this; }
    host::IPcbLayerStack* PCBAPI_CALL GetLayerStack() override { return this; }
    host::IPcbLayerObject* PCBAPI_CALL LayerObject(THostLayer layer) override { return &Layers[layer]; }

private:
    struct TLayer : host::IPcbLayerObject {
        uint8_t Used = 0;
        uint8_t PCBAPI_CALL IsUsed() override { return Used; }
    };
    std::map<THostLayer, TLayer> Layers;
};

TEST(IsLayerUsed, SystemLayersAndNoLayerAreNeverUsed) {
    TUsedLayers host({0, 1, 74, 75, 82});
    boardtest::TClientScope scope(&host);
    TPcbBoard board(0);
    EXPECT_TRUE(board.IsLayerUsed(1));
    EXPECT_TRUE(board.IsLayerUsed(74));
    EXPECT_FALSE(board.IsLayerUsed(0));
    EXPECT_FALSE(board.IsLayerUsed(75));
    EXPECT_FALSE(board.IsLayerUsed(82));
    EXPECT_FALSE(board.IsLayerUsed(32));
}

TEST(IsLayerUsed, FalseWithoutAHostClientOrObjectInterface) {
    TPcbBoard board(0);
    EXPECT_FALSE(board.IsLayerUsed(1));
    boardtest::TClientScope scope(nullptr);
    EXPECT_FALSE(board.IsLayerUsed(1));
}

struct LayerListCase {
    const char* Name;
    std::vector<THostLayer> Used;
    std::vector<uint8_t> Appended;
};

const std::vector<uint8_t> FixedEntries = {1, 32, 56, 37, 38, 33, 34, 35, 36, 57, 58, 2, 3, 4, 5, 6, 7, 8, 9, 60};

class BuildLayerListTest : public ::testing::TestWithParam<LayerListCase> {};

TEST_P(BuildLayerListTest, FixedEntriesThenUsedLayersInIdOrder) {
    TUsedLayers host(GetParam().Used);
    boardtest::TClientScope scope(&host);
    TPcbBoard board(0);
    std::vector<uint8_t> list;
    translator::BuildLayerList(board, list);
    std::vector<uint8_t> expected = FixedEntries;
    expected.insert(expected.end(), GetParam().Appended.begin(), GetParam().Appended.end());
    EXPECT_EQ(list, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, BuildLayerListTest,
    ::testing::Values(LayerListCase{"TopAndBottom", {1, 32}, {}},
                      LayerListCase{"MidLayer9BeforeMechanical3", {59, 10, 1}, {10, 59}},
                      LayerListCase{"NothingAbove72", {73, 74, 75, 72}, {72}},
                      LayerListCase{"UsedPlane", {40}, {40}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BuildLayerList, PlanesInTheStackJoinEvenWhenUnused) {
    TUsedLayers host({});
    boardtest::TClientScope scope(&host);
    TPcbBoard board(0);
    board.LayerObject(40)->SetPreviousLayer(1);  // in the stack
    board.LayerObject(41)->SetNextLayer(32);     // in the stack
    board.LayerObject(10)->SetNextLayer(32);     // a mid layer in the stack, unused: not listed
    std::vector<uint8_t> list;
    translator::BuildLayerList(board, list);
    ASSERT_EQ(list.size(), FixedEntries.size() + 2);
    EXPECT_EQ(list[20], 40);
    EXPECT_EQ(list[21], 41);
}

TEST(BuildLayerList, RepeatedBuildsOnlyAppend) {
    std::vector<uint8_t> list = {60, 70};
    {
        TUsedLayers host({70, 12});
        boardtest::TClientScope scope(&host);
        translator::BuildLayerList(TPcbBoard(0), list);
    }
    ASSERT_EQ(list.size(), 22u);
    EXPECT_EQ(list[0], 60);
    EXPECT_EQ(list[1], 70);
    EXPECT_EQ(list[2], 1);
    EXPECT_EQ(list[21], 12);
    {
        TUsedLayers host({13, 12});
        boardtest::TClientScope scope(&host);
        translator::BuildLayerList(TPcbBoard(0), list);
    }
    ASSERT_EQ(list.size(), 23u);
    EXPECT_EQ(list[22], 13);
}

TEST(LayerNumber, PositionOrZero) {
    TUsedLayers host({10});
    boardtest::TClientScope scope(&host);
    std::vector<uint8_t> list;
    translator::BuildLayerList(TPcbBoard(0), list);
    EXPECT_EQ(translator::LayerNumber(list, 1), "1");
    EXPECT_EQ(translator::LayerNumber(list, 56), "3");
    EXPECT_EQ(translator::LayerNumber(list, 2), "12");
    EXPECT_EQ(translator::LayerNumber(list, 60), "20");
    EXPECT_EQ(translator::LayerNumber(list, 10), "21");
    EXPECT_EQ(translator::LayerNumber(list, 11), "0");
    EXPECT_EQ(translator::LayerNumber(list, 59), "0");
    EXPECT_EQ(translator::LayerNumber({}, 1), "0");
}

}  // namespace
