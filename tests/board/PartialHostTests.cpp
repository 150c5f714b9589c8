// Reads through a host module that lacks some functions: what the module
// cannot answer keeps the wrapper's defaults.
#include <gtest/gtest.h>

#include "HostModule.h"
#include "board/PCBProcs.h"
#include "board/Pcbclass.h"

namespace {

using namespace pcb;

class PartialHost : public boardtest::THostBoardTest {
protected:
    PartialHost() : THostBoardTest(HOST_PCB_PARTIAL_MODULE) {}
};

TEST_F(PartialHost, AClassReadWithoutMemberQueriesListsNoMembers) {
    const THandle board = Open(R"J({"nets": ["GND"], "classes": [{"name": "Power", "members": ["GND"]}]})J");
    THandle handle = 0;
    ForEachObject(board, eClassObject, AllObjectsMethod, NoLayer, [&](THandle object) { handle = object; });
    ASSERT_NE(handle, 0u);
    TPCBObjectClass power(handle);
    EXPECT_EQ(power.ReadFromHost(), 1);
    EXPECT_EQ(power.GetName(), "Power");
    EXPECT_TRUE(power.Members().empty());
}

TEST_F(PartialHost, LayerObjectsKeepTheirDefaultsWithoutTheLayerQuery) {
    const THandle handle = Open(R"J({"layers": [{"layer": "TopLayer", "name": "Top", "copper": 2},
                                              {"layer": "InternalPlane1"}, {"layer": "BottomLayer"}]})J");
    TPcbBoard board(handle);
    EXPECT_EQ(board.ReadWrite(1), 0);
    const TLayerObject* top = board.LayerObject(TopLayer);
    EXPECT_EQ(top->Name(), "TopLayer");
    EXPECT_EQ(top->CopperThickness(), 14000);
    EXPECT_FALSE(top->Enabled());
    EXPECT_EQ(top->PreviousLayer(), NoLayer);
    EXPECT_EQ(top->NextLayer(), NoLayer);
    EXPECT_FALSE(top->IsInLayerStack());
    // The dielectric query is there and answers.
    EXPECT_EQ(top->DielectricMaterial(), "FR-4");
    EXPECT_EQ(board.FirstLayerInStack(), top);
    EXPECT_EQ(board.NextLayerInStack(top), nullptr);
}

TEST_F(PartialHost, WithoutThePairCountTheBoardHasNoLayerPairs) {
    const THandle handle = Open(R"J({"unit": "mm", "layerPairs": [{"low": "TopLayer", "high": "BottomLayer"}]})J");
    TPcbBoard board(handle);
    EXPECT_EQ(board.ReadWrite(1), 0);
    EXPECT_FALSE(board.DisplayUnitImperial());
    EXPECT_TRUE(board.LayerPairs().empty());
}

}  // namespace
