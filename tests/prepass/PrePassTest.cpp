#include <gtest/gtest.h>

#include <set>
#include <string>

#include "HostBoard.h"
#include "board/Pcbclass.h"
#include "report/NegativeCoords.h"
#include "translator/Save.h"

// The negative-coordinates dialog is answered by the test: the test program
// presents the plug-in's dialogs itself, as a host does.
namespace {
std::string g_Answer = "btnOK";
int g_DialogsShown = 0;
}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t DialogAPI_ShowModal(ui::IDialogForm* form) {
    ++g_DialogsShown;
    for (int32_t i = 0; i < form->ControlCount(); ++i)
        if (g_Answer == form->Control(i)->Name()) form->Click(i);
    for (int32_t i = 0; i < form->ControlCount(); ++i)
        if (std::string("btnOK") == form->Control(i)->Name()) form->Click(i);
    return form->Result();
}

namespace {

using pcbapi::THandle;

class PrePass : public testing::Test {
protected:
    static pcbapi::THandle Open(const std::string& description) { return prepasstest::OpenBoard(description); }
    void SetUp() override {
        g_DialogsShown = 0;
        g_Answer = "btnOK";
        report::ResetRememberedNegativeCoordsMode();
    }
    // The first free object of a kind on the current board.
    static THandle First(uint8_t kind) {
        THandle found = 0;
        pcb::ForEachObject(pcb::PcbApi_GetCurrentBoardHandle(), kind, pcb::FreeObjectsMethod, 0, [&](THandle h) {
            if (!found) found = h;
        });
        return found;
    }
};

TEST_F(PrePass, ShiftMovesTheBoardIntoThePositiveQuadrantAndBack) {
    Open(R"({ "objects": [ { "kind": "track", "x1": "-5u", "y1": "10u", "x2": "20u", "y2": "30u", "width": 0 } ] })");
    translator::TOrvexExporter exporter;
    g_Answer = "xrbShift";
    exporter.AnalyzePrimitives();
    EXPECT_EQ(g_DialogsShown, 1);
    EXPECT_EQ(exporter.NegativeCoordsMode, report::ncShift);
    EXPECT_EQ(exporter.ShiftX, -5);
    EXPECT_EQ(exporter.ShiftY, 0);

    const THandle track = First(pcb::eTrackObject);
    exporter.ShiftPrimitives();
    EXPECT_EQ(pcb::XOf(track), 0);
    EXPECT_EQ(pcb::YOf(track), 10);
    EXPECT_EQ(pcb::X2Of(track), 25);
    exporter.ShiftX = -exporter.ShiftX;
    exporter.ShiftY = -exporter.ShiftY;
    exporter.ShiftPrimitives();
    EXPECT_EQ(pcb::XOf(track), -5);
    EXPECT_EQ(pcb::X2Of(track), 20);
}

TEST_F(PrePass, WhatCountsAsNegative) {
    struct Case {
        const char* What;
        const char* Object;
        bool Exported;
    } cases[] = {
        {"pad left of the axis", R"({ "kind": "pad", "x": "-1u", "y": "5u", "size": "0u" })", false},
        {"track ending on the axis", R"({ "kind": "track", "x1": 0, "y1": 10, "x2": 20, "y2": 10, "width": 0 })",
         true},
        {"text at the origin, widened by its stroke", R"({ "kind": "text", "text": "A", "x": 0, "y": 0, "width": "10u" })",
         false},
        {"text well inside", R"({ "kind": "text", "text": "A", "x": 100, "y": 100 })", true},
        {"radial dimension without its arc",
         R"({ "kind": "dimension", "type": "radial", "x": 100, "y": 100, "references": [ { "x": 100, "y": 100 } ] })",
         false},
    };
    for (const auto& c : cases) {
        Open(std::string(R"({ "objects": [ )") + c.Object + " ] }");
        translator::TOrvexExporter exporter;
        exporter.NegativeCoordsMode = report::ncSkip;
        bool exported = true;
        pcb::ForEachObject(pcb::PcbApi_GetCurrentBoardHandle(), 0, pcb::FreeObjectsMethod, 0,
                           [&](THandle h) { exported = exported && exporter.NegativeCoordsFilter(h); });
        EXPECT_EQ(exported, c.Exported) << c.What;
        exporter.NegativeCoordsMode = report::ncLeaveAsIs;
        pcb::ForEachObject(pcb::PcbApi_GetCurrentBoardHandle(), 0, pcb::FreeObjectsMethod, 0,
                           [&](THandle h) { EXPECT_TRUE(exporter.NegativeCoordsFilter(h)) << c.What; });
    }
}

TEST_F(PrePass, BottomComponentsSitOnTopWhileTheLibraryIsBuilt) {
    Open(R"({ "components": [
        { "designator": "U1", "x": 100, "y": 100, "side": "bottom",
          "primitives": [ { "kind": "pad", "name": "1", "x": 10, "y": 0, "shape": "rectangle", "size": [20, 10] } ] },
        { "designator": "U2", "x": 300, "y": 100 } ] })");
    translator::TOrvexExporter exporter;
    THandle u1 = 0;
    pcb::ForEachObject(pcb::PcbApi_GetCurrentBoardHandle(), pcb::eComponentObject, 0, 0, [&](THandle h) {
        if (!u1) u1 = h;
    });
    THandle pad = 0;
    pcb::ForEachObject(u1, pcb::ePadObject, 0, 0, [&](THandle h) { pad = h; });
    const pcbapi::TCoord padX = pcb::XOf(pad);

    exporter.MoveComponentsToTop();
    ASSERT_TRUE(exporter.MovedComponents);
    EXPECT_EQ(*exporter.MovedComponents, std::vector<THandle>{u1});
    EXPECT_EQ(pcb::LayerOf(u1), pcb::TopLayer);
    EXPECT_EQ(pcb::LayerOf(pad), pcb::TopLayer);

    exporter.ReturnComponents();
    EXPECT_FALSE(exporter.MovedComponents);
    EXPECT_EQ(pcb::LayerOf(u1), pcb::BottomLayer);
    EXPECT_EQ(pcb::LayerOf(pad), pcb::BottomLayer);
    EXPECT_EQ(pcb::XOf(pad), padX);
}

TEST(UniqueDesignator, CountsUpTheTrailingNumber) {
    struct Case {
        const char* Name;
        std::set<std::string> Used;
        const char* Expected;
    } cases[] = {
        {"R1", {"R1"}, "R2"},          {"U09", {"U09"}, "U10"},      {"C", {"C"}, "C2"},
        {"J99", {"J99"}, "J100"},      {"12", {"12"}, "13"},          {"R1", {"R1", "R2", "R3"}, "R4"},
        {"u1", {"U1"}, "u2"},          {"R1", {"R2"}, "R1"},          {"R99999999999", {"R99999999999"}, "R00000000002"},
    };
    for (const auto& c : cases) EXPECT_EQ(translator::UniqueDesignator(c.Name, c.Used), c.Expected) << c.Name;
}

TEST(DirectionAngle, Quadrants) {
    struct Case {
        double X1, Y1, X2, Y2, Angle;
    } cases[] = {
        {10, 0, 0, 0, 0},   {0, 10, 0, 0, 90},   {-10, 0, 0, 0, 180}, {0, -10, 0, 0, 270},
        {0, 0, 0, 0, 270},  {10, 10, 0, 0, 45},  {-10, 10, 0, 0, 135}, {-10, -10, 0, 0, 225},
        {10, -10, 0, 0, 315},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(translator::DirectionAngle(c.X1, c.Y1, c.X2, c.Y2), c.Angle, 1e-9) << c.X1 << "," << c.Y1;
}

}  // namespace
