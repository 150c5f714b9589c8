// The object model on its own: wrapper values before any read, setters of
// properties a class lacks, and the per-layer geometry of pads.
#include <gtest/gtest.h>

#include <tuple>

#include "board/PCBProcs.h"
#include "board/Pcbclass.h"

namespace {

using namespace pcb;

struct PadEndCase {
    TCoord XSize, YSize;
    double Rotation;
    TCoord X1, Y1, X2, Y2;
};

class PadEndsTest : public ::testing::TestWithParam<PadEndCase> {};

TEST_P(PadEndsTest, CentresOfTheRoundedEndsAlongTheLongSide) {
    const PadEndCase& c = GetParam();
    TPcbPad pad;
    pad.SetX(1000000);
    pad.SetY(2000000);
    pad.SetRotation(c.Rotation);
    pad.SetXSizeOnLayer(TopLayer, c.XSize);
    pad.SetYSizeOnLayer(TopLayer, c.YSize);
    EXPECT_EQ(std::make_tuple(pad.XOnLayer(TopLayer), pad.YOnLayer(TopLayer), pad.X2OnLayer(TopLayer),
                              pad.Y2OnLayer(TopLayer)),
              std::make_tuple(1000000 + c.X1, 2000000 + c.Y1, 1000000 + c.X2, 2000000 + c.Y2));
    EXPECT_EQ(pad.WidthOnLayer(TopLayer), std::min(c.XSize, c.YSize));
}

INSTANTIATE_TEST_SUITE_P(Pads, PadEndsTest,
                         ::testing::Values(PadEndCase{1000000, 400000, 0, -300000, 0, 300000, 0},
                                           PadEndCase{400000, 1000000, 0, 0, -300000, 0, 300000},
                                           PadEndCase{1000000, 400000, 90, 0, -300000, 0, 300000},
                                           PadEndCase{600000, 600000, 45, 0, 0, 0, 0}));

TEST(Objects, PerLayerValuesOfAPadOutsideTheTableAreZero) {
    TPcbPad pad;
    pad.SetXSizeOnLayer(83, 5);
    EXPECT_EQ(pad.XSizeOnLayer(83), 0);
    EXPECT_EQ(pad.ShapeOnLayer(200), 0);
}

TEST(Objects, NonPadsAnswerTheirPlainValueOnTheirOwnLayerOnly) {
    TPcbTrack track;
    track.SetLayer(TopLayer);
    track.SetWidth(100000);
    track.SetX(5);
    track.SetX2(7);
    EXPECT_EQ(track.WidthOnLayer(TopLayer), 100000);
    EXPECT_EQ(track.WidthOnLayer(BottomLayer), 0);
    EXPECT_EQ(track.XOnLayer(TopLayer), 5);
    EXPECT_EQ(track.X2OnLayer(TopLayer), 7);
    EXPECT_EQ(track.X2OnLayer(MultiLayer), 0);
}

TEST(Objects, PropertiesAClassLacksReadZeroAndIgnoreTheirSetters) {
    TPcbArc arc;
    TPCBObject& object = arc;
    object.SetName("x");
    object.SetText("x");
    object.SetWidth(5);
    object.SetX2(9);
    object.SetOwnerGroup(3);
    EXPECT_EQ(object.GetName(), "");
    EXPECT_EQ(object.GetText(), "");
    EXPECT_EQ(object.Width(), 0);
    EXPECT_EQ(object.OwnerGroup(), 0u);
    EXPECT_EQ(object.X2(), object.X());
    EXPECT_EQ(object.ObjectKind(), eArcObject);
    EXPECT_EQ(TPCBObject().ObjectKind(), eNoObject);
}

TEST(Objects, LayersBeyondTheTableReadFoldedAndKeepTheirHostValue) {
    TPCBObject object;
    object.SetLayer(MultiLayer);
    EXPECT_EQ(object.HostLayer(), 74);
    EXPECT_EQ(object.Layer(), MultiLayer);
}

TEST(Objects, DefaultsBeforeReading) {
    TPcbText text;
    EXPECT_EQ(text.FontName(), "Arial");
    EXPECT_EQ(text.TrueTypeValues().Length, 200000);
    TPcbPad pad;
    pad.SetName("123456789012345678901234");
    EXPECT_EQ(pad.GetName(), "12345678901234567890");

    TLayerObject top(0, TopLayer);
    EXPECT_EQ(top.Name(), "TopLayer");
    EXPECT_EQ(top.CopperThickness(), 14000);
    EXPECT_FALSE(top.Enabled());
    EXPECT_EQ(top.DielectricMaterial(), "FR-4");
    EXPECT_EQ(top.DielectricType(), 1);
    EXPECT_DOUBLE_EQ(top.DielectricConstant(), 4.8);
    EXPECT_EQ(top.DielectricHeight(), 126000);
    EXPECT_FALSE(top.IsInLayerStack());
    TInternalPlane plane(0, InternalPlane1);
    EXPECT_EQ(plane.NetName(), "(No Net)");
    EXPECT_EQ(plane.Name(), "InternalPlane1");

    TPcbBoard board(0);
    EXPECT_EQ(board.SplitPlaneMode(), 1);
    EXPECT_EQ(board.LayerObject(0), nullptr);
    EXPECT_EQ(board.LayerObject(83), nullptr);
    EXPECT_NE(dynamic_cast<TInternalPlane*>(board.LayerObject(InternalPlane16)), nullptr);
    EXPECT_EQ(dynamic_cast<TInternalPlane*>(board.LayerObject(DrillGuide)), nullptr);
    EXPECT_EQ(board.TopDielectric().Material.Str(), "FR-4");
}

TEST(Objects, StackWalkEndsOnALoopingStack) {
    TPcbBoard board(0);
    for (int id = 1; id <= MaxLayerId; ++id) board.LayerObject(static_cast<TLayerId>(id))->SetPreviousLayer(BottomLayer);
    board.LayerObject(TopLayer)->SetPreviousLayer(NoLayer);
    board.LayerObject(TopLayer)->SetNextLayer(BottomLayer);
    board.LayerObject(BottomLayer)->SetNextLayer(TopLayer);
    EXPECT_LE(board.StackPosition(SignalLayers, board.LayerObject(MidLayer1)), MaxLayerId);
    EXPECT_EQ(board.StackPosition(SignalLayers, board.LayerObject(BottomLayer)), 2);
}

TEST(Objects, DimensionClassesByType) {
    for (uint8_t type = 0; type <= 11; ++type) {
        const auto dimension = CreateDimensionForType(type, 0);
        ASSERT_NE(dimension, nullptr);
        const uint8_t expected = type >= LinearDimension && type <= RadialDiameterDimension ? type : OriginalDimension;
        EXPECT_EQ(dimension->DimensionType(), expected) << int(type);
        EXPECT_EQ(dimension->ObjectKind(), eDimensionObject);
    }
}

}  // namespace
