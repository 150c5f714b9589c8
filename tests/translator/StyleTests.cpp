// Pad, via and text styles of boards in the simulated host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StyleFixture.h"
#include "board/PCBProcs.h"
#include "board/PcbApiBinding.h"
#include "board/Pcbclass.h"
#include "common/TextFile.h"

namespace {

using namespace pcb;
using stylestest::Text;
using stylestest::WorkedPadStyle;
using stylestest::WorkedTextStyle;
using stylestest::WorkedViaStyle;
using NameList = std::vector<std::string>;

class Styles : public stylestest::TStyleTest {};

// A board holding the objects (JSON array elements) and nothing else.
std::string WithObjects(const std::string& objects) { return R"({"objects": [)" + objects + "]}"; }

const std::string MidLayerStack = R"("layers": [{"layer": "TopLayer"}, {"layer": "MidLayer1"}, {"layer": "MidLayer2"},
    {"layer": "InternalPlane1"}, {"layer": "MidLayer3"}, {"layer": "MidLayer4"}, {"layer": "BottomLayer"}])";

// --- the worked examples -------------------------------------------------------

TEST_F(Styles, ThroughHolePadWithThermalRelief) {
    Analyze(WithObjects(R"({"kind": "pad", "shape": "circle", "size": 60, "hole": 35,
        "plane": {"connection": "relief", "entries": 4, "conductorWidth": 10, "expansion": 10, "airGap": 10}})"));
    ASSERT_EQ(Names(Exporter->PadStyles), NameList{"P:EX60Y60D351"});
    EXPECT_EQ(PadDef(0), WorkedPadStyle);
}

TEST_F(Styles, ThroughViaWithoutPlaneConnection) {
    Analyze(WithObjects(R"({"kind": "via", "size": 28, "hole": 12, "plane": {"connection": "none"}})"));
    ASSERT_EQ(Names(Exporter->ViaStyles), NameList{"V:EX28Y28D121"});
    EXPECT_EQ(ViaDef(0), WorkedViaStyle);
}

TEST_F(Styles, SixtyMilText) {
    Analyze(WithObjects(R"({"kind": "text", "text": "A", "height": 60, "width": 10})"));
    ASSERT_EQ(Names(Exporter->TextStyles), NameList{"T:H60W10"});
    EXPECT_EQ(TextDef(0), WorkedTextStyle);
}

// --- names, counters and representatives --------------------------------------------

TEST_F(Styles, PadStyleNames) {
    const struct {
        const char* What;
        std::string Board;
        bool MoveComponentsToTop;
        NameList Expected;
    } cases[] = {
        {"pads of 60.2 and 59.8 mil share the stem but not the style",
         WithObjects(R"({"kind": "pad", "shape": "circle", "size": 60.2, "hole": 35},
                        {"kind": "pad", "shape": "circle", "size": 59.8, "hole": 35})"),
         false, {"P:EX60Y60D351", "P:EX60Y60D352"}},
        {"equal pads share one style",
         WithObjects(R"({"kind": "pad", "x": 0, "size": 60, "hole": 35, "rotation": 0},
                        {"kind": "pad", "x": 500, "size": 60, "hole": 35, "rotation": 90})"),
         false, {"P:EX60Y60D351"}},
        {"pads that differ only in their plane connection share one style",
         WithObjects(R"({"kind": "pad", "size": 60, "hole": 35, "plane": {"connection": "relief"}},
                        {"kind": "pad", "size": 60, "hole": 35, "plane": {"connection": "direct"}})"),
         false, {"P:EX60Y60D351"}},
        {"rectangle and oval surface pads of one size",
         WithObjects(R"({"kind": "pad", "shape": "rectangle", "size": [60, 30], "layer": "TopLayer"},
                        {"kind": "pad", "shape": "round", "size": [60, 30], "layer": "TopLayer"})"),
         false, {"EF60X30TOP1", "EF60X30TOP2"}},
        {"a free surface pad on the bottom layer",
         WithObjects(R"({"kind": "pad", "shape": "rectangle", "size": [60, 30], "layer": "BottomLayer"})"), false,
         {"EF60X30BOT1"}},
        {"the pad of a bottom-side component, classified after the move to the top",
         R"({"components": [{"designator": "U1", "side": "bottom", "primitives": [
              {"kind": "pad", "name": "1", "shape": "rectangle", "size": [60, 30], "layer": "TopLayer"}]}]})", true,
         {"EF60X30TOP1"}},
        {"the pad of a bottom-side component left on its side",
         R"({"components": [{"designator": "U1", "side": "bottom", "primitives": [
              {"kind": "pad", "name": "1", "shape": "rectangle", "size": [60, 30], "layer": "TopLayer"}]}]})", false,
         {"EF60X30BOT1"}},
        {"a surface pad on a mechanical layer",
         WithObjects(R"({"kind": "pad", "shape": "rectangle", "size": [60, 30], "layer": "Mechanical1"})"), false,
         {"EF60X30MID1"}},
        {"a full-stack pad is named by its top layer's entries",
         WithObjects(R"({"kind": "pad", "size": 60, "hole": 30, "stackMode": 2,
                         "stack": {"TopLayer": {"shape": "rectangle", "size": [80, 40]}}})"),
         false, {"P:SX80Y40D301"}},
        {"top-middle-bottom pads that differ in the middle",
         WithObjects(R"({"kind": "pad", "size": 60, "hole": 30, "stackMode": 1, "mid": {"size": 50}},
                        {"kind": "pad", "size": 60, "hole": 30, "stackMode": 1, "mid": {"size": 40}},
                        {"kind": "pad", "size": 60, "hole": 30, "stackMode": 1, "mid": {"size": 50}})"),
         false, {"P:EX60Y60D301", "P:EX60Y60D302"}},
    };
    for (const auto& c : cases) {
        OpenBoard(c.Board);
        if (c.MoveComponentsToTop) Exporter->MoveComponentsToTop();
        Exporter->AnalyzeStyles();
        EXPECT_EQ(Names(Exporter->PadStyles), c.Expected) << c.What;
        if (c.MoveComponentsToTop) Exporter->ReturnComponents();
    }
}

TEST_F(Styles, FreePadsComeBeforeComponentPads) {
    // The host lists the component first; the free pad still becomes the
    // representative of the first style.
    Analyze(R"({"components": [{"designator": "U1", "primitives": [
          {"kind": "pad", "name": "1", "shape": "rectangle", "size": [60, 30], "layer": "TopLayer"}]}],
        "objects": [{"kind": "pad", "shape": "round", "size": [60, 30], "layer": "TopLayer"}]})");
    ASSERT_EQ(Names(Exporter->PadStyles), (NameList{"EF60X30TOP1", "EF60X30TOP2"}));
    TPcbPad first(Exporter->PadStyles[0].Handle);
    first.ReadFromHost();
    EXPECT_EQ(first.Component(), 0u);
    EXPECT_EQ(first.TopShape(), 1);
}

TEST_F(Styles, FindPadStyle) {
    Analyze(WithObjects(R"({"kind": "pad", "shape": "circle", "size": 60.2, "hole": 35},
                           {"kind": "pad", "shape": "circle", "size": 59.8, "hole": 35},
                           {"kind": "pad", "shape": "circle", "size": 60.2, "hole": 35},
                           {"kind": "pad", "shape": "round", "size": 60, "hole": 30, "stackMode": 1,
                            "mid": {"shape": "rectangle"}})"));
    const std::vector<THandle> pads = Objects(ePadObject);
    ASSERT_EQ(pads.size(), 4u);
    EXPECT_EQ(Exporter->FindPadStyle(pads[0]), "P:EX60Y60D351");
    EXPECT_EQ(Exporter->FindPadStyle(pads[1]), "P:EX60Y60D352");
    EXPECT_EQ(Exporter->FindPadStyle(pads[2]), "P:EX60Y60D351");
    EXPECT_EQ(Exporter->FindPadStyle(pads[3]), "P:EX60Y60D301");

    // The host's default pad has the stem of the last pad but does not match it.
    const THandle scratch = PcbApi_CreateObject(ePadObject);
    PcbApi_QueryObjectSetState_Default(scratch);
    EXPECT_EQ(Exporter->FindPadStyle(scratch), "(Default)");
    PcbApi_DestroyObject(scratch);
}

TEST_F(Styles, ViaStyleNames) {
    const struct {
        const char* What;
        std::string Board;
        NameList Expected;
    } cases[] = {
        {"diameters of 28.2 and 27.8 mil",
         WithObjects(R"({"kind": "via", "size": 28.2, "hole": 12}, {"kind": "via", "size": 27.8, "hole": 12})"),
         {"V:EX28Y28D121", "V:EX28Y28D122"}},
        {"equal vias share one style",
         WithObjects(R"({"kind": "via", "x": 0, "size": 28, "hole": 12}, {"kind": "via", "x": 100, "size": 28, "hole": 12})"),
         {"V:EX28Y28D121"}},
        {"stack sizes off the layers 1, 2 and 32 do not count in the simple modes",
         WithObjects(R"({"kind": "via", "size": 28, "hole": 12, "stackMode": 1, "sizes": {"MidLayer5": 40}},
                        {"kind": "via", "size": 28, "hole": 12, "stackMode": 1, "sizes": {"MidLayer5": 30}})"),
         {"V:EX28Y28D121"}},
        {"a full stack compares every copper layer",
         WithObjects(R"({"kind": "via", "size": 28, "hole": 12, "stackMode": 2, "sizes": {"MidLayer5": 40}},
                        {"kind": "via", "size": 28, "hole": 12, "stackMode": 2, "sizes": {"MidLayer5": 30}})"),
         {"V:EX28Y28D121", "V:EX28Y28D122"}},
        {"blind and buried spans",
         "{" + MidLayerStack + R"(, "objects": [
             {"kind": "via", "size": 28, "hole": 12, "from": "TopLayer", "to": "MidLayer2"},
             {"kind": "via", "size": 24, "hole": 10, "from": "MidLayer1", "to": "MidLayer4"},
             {"kind": "via", "size": 28, "hole": 12, "from": "MidLayer3", "to": "BottomLayer"}]})",
         {"V:EX28Y28D121_Blind", "V:EX24Y24D101_Buried", "V:EX28Y28D122_Blind"}},
        {"a through via listed from the bottom up",
         WithObjects(R"({"kind": "via", "size": 28, "hole": 12, "from": "BottomLayer", "to": "TopLayer"})"),
         {"V:EX28Y28D121"}},
    };
    for (const auto& c : cases) {
        Analyze(c.Board);
        EXPECT_EQ(Names(Exporter->ViaStyles), c.Expected) << c.What;
    }
}

TEST_F(Styles, FindViaStyle) {
    Analyze(WithObjects(R"({"kind": "via", "size": 28.2, "hole": 12}, {"kind": "via", "size": 27.8, "hole": 12},
                           {"kind": "via", "size": 28.2, "hole": 12})"));
    const std::vector<THandle> vias = Objects(eViaObject);
    ASSERT_EQ(vias.size(), 3u);
    EXPECT_EQ(Exporter->FindViaStyle(vias[1]), "V:EX28Y28D122");
    EXPECT_EQ(Exporter->FindViaStyle(vias[2]), "V:EX28Y28D121");
    const THandle scratch = PcbApi_CreateObject(eViaObject);
    PcbApi_QueryObjectSetState_Default(scratch);
    EXPECT_EQ(Exporter->FindViaStyle(scratch), "(Default)");
    PcbApi_DestroyObject(scratch);
}

TEST_F(Styles, TextStyleNames) {
    const struct {
        const char* What;
        std::string Board;
        NameList Expected;
    } cases[] = {
        {"equal height and width in three fonts",
         WithObjects(R"({"kind": "text", "text": "A", "font": "default"}, {"kind": "text", "text": "B", "font": "sansSerif"},
                        {"kind": "text", "text": "C", "font": "serif"}, {"kind": "text", "text": "D", "font": "sansSerif"})"),
         {"T:H60W10", "T:H60W101", "T:H60W102"}},
        {"rotation, mirroring and the string do not count",
         WithObjects(R"({"kind": "text", "text": "A"}, {"kind": "text", "text": "B", "rotation": 90},
                        {"kind": "text", "text": "C", "mirrored": true, "layer": "BottomOverlay"})"),
         {"T:H60W10"}},
        {"heights of 60.2 and 59.8 mil",
         WithObjects(R"({"kind": "text", "text": "A", "height": 60.2}, {"kind": "text", "text": "B", "height": 59.8})"),
         {"T:H60W10", "T:H60W101"}},
    };
    for (const auto& c : cases) {
        Analyze(c.Board);
        EXPECT_EQ(Names(Exporter->TextStyles), c.Expected) << c.What;
    }
}

TEST_F(Styles, FindTextStyle) {
    Analyze(WithObjects(R"({"kind": "text", "text": "A", "font": "default"}, {"kind": "text", "text": "B", "font": "serif"},
                           {"kind": "text", "text": "C", "font": "serif", "rotation": 45})"));
    const std::vector<THandle> texts = Objects(eTextObject);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(Exporter->FindTextStyle(texts[0]), "T:H60W10");
    EXPECT_EQ(Exporter->FindTextStyle(texts[2]), "T:H60W101");
    const THandle scratch = PcbApi_CreateObject(eTextObject);
    PcbApi_QueryObjectSetState_Default(scratch);
    TPcbText text(scratch);
    text.ReadFromHost();
    text.SetSize(MilsToCoord(45));
    text.WriteToHost();
    EXPECT_EQ(Exporter->FindTextStyle(scratch), "(Default)");
    PcbApi_DestroyObject(scratch);
}

// --- pad style definitions ------------------------------------------------------------

const char* const OctagonSixty[] = {
    "        (pt 15mil 30mil)",   "        (pt 30mil 15mil)",  "        (pt 30mil -15mil)",
    "        (pt 15mil -30mil)",  "        (pt -15mil -30mil)", "        (pt -30mil -15mil)",
    "        (pt -30mil 15mil)",  "        (pt -15mil 30mil)",
};

std::string OctagonLines(const std::string& start) {
    std::string text = start + "(padShapeType Polygon) (sides 8) (rotation 0.0) (outsideDiam 60mil) (shapeOutline\r\n";
    for (const char* point : OctagonSixty) text += std::string(point) + "\r\n";
    return text + "      )\r\n    )\r\n";
}

TEST_F(Styles, PadStyleDefinitions) {
    const struct {
        const char* What;
        std::string Board;
        std::string Expected;
    } cases[] = {
        {"square octagon: sides, rotation and diameter before the outline",
         WithObjects(R"({"kind": "pad", "shape": "octagon", "size": 60, "hole": 30, "plane": {"connection": "none"}})"),
         Text({"  (padStyleDef \"P:PX60Y60D301\"", "    (holeDiam 30mil)", "    (startRange 1)", "    (endRange 2)"}) +
             OctagonLines("    (padShape (layerNumRef 1) ") + OctagonLines("    (padShape (layerNumRef 2) ") +
             OctagonLines("    (padShape (layerType Signal) ") +
             Text({
                 "    (padShape (layerType Plane) (padShapeType NoConnect) (shapeWidth 0.0) (shapeHeight 0.0) )",
                 "    (padShape (layerType NonSignal) (padShapeType Polygon) (shapeWidth 60mil) (shapeHeight 60mil) )",
                 "  )",
             })},
        {"oblong octagon on the top layer: the outline alone",
         WithObjects(R"({"kind": "pad", "shape": "octagon", "size": [60, 40], "layer": "TopLayer",
                         "plane": {"connection": "direct"}})"),
         Text({
             "  (padStyleDef \"EF60X40TOP1\"",
             "    (holeDiam 0mil)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (padShape (layerNumRef 1) (padShapeType Polygon) (shapeOutline",
             "        (pt 20mil 20mil)",
             "        (pt 30mil 10mil)",
             "        (pt 30mil -10mil)",
             "        (pt 20mil -20mil)",
             "        (pt -20mil -20mil)",
             "        (pt -30mil -10mil)",
             "        (pt -30mil 10mil)",
             "        (pt -20mil 20mil)",
             "      )",
             "    )",
             "    (padShape (layerNumRef 2) (padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType Signal) (padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType Plane) (padShapeType Direct) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType NonSignal) (padShapeType Polygon) (shapeWidth 60mil) (shapeHeight 40mil) )",
             "  )",
         })},
        {"full stack: a line per mid layer with a shape, numbered 0 outside the layer list",
         WithObjects(R"({"kind": "pad", "size": 60, "hole": 30, "stackMode": 2, "mid": {"shape": "none"},
                         "stack": {"MidLayer1": {"shape": "rectangle", "size": [50, 40]},
                                   "MidLayer12": {"shape": "round", "size": 44}},
                         "plane": {"connection": "none"}})"),
         Text({
             "  (padStyleDef \"P:EX60Y60D301\"",
             "    (holeDiam 30mil)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (padShape (layerNumRef 1) (padShapeType Oval) (shapeWidth 60mil) (shapeHeight 60mil) )",
             "    (padShape (layerNumRef 2) (padShapeType Oval) (shapeWidth 60mil) (shapeHeight 60mil) )",
             "    (padShape (layerType Signal) (padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType Plane) (padShapeType NoConnect) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType NonSignal) (padShapeType Oval) (shapeWidth 60mil) (shapeHeight 60mil) )",
             "    (padShape (layerNumRef 12) (padShapeType Rect) (shapeWidth 50mil) (shapeHeight 40mil) )",
             "    (padShape (layerNumRef 0) (padShapeType Oval) (shapeWidth 44mil) (shapeHeight 44mil) )",
             "  )",
         })},
        {"top-middle-bottom: each side its own shape",
         WithObjects(R"({"kind": "pad", "size": 60, "hole": 30, "stackMode": 1,
                         "top": {"shape": "rectangle", "size": [80, 40]}, "mid": {"shape": "round", "size": 50},
                         "bottom": {"shape": "circle", "size": 70}, "plane": {"connection": "relief", "entries": 2}})"),
         Text({
             "  (padStyleDef \"P:SX80Y40D301\"",
             "    (holeDiam 30mil)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (padShape (layerNumRef 1) (padShapeType Rect) (shapeWidth 80mil) (shapeHeight 40mil) )",
             "    (padShape (layerNumRef 2) (padShapeType Ellipse) (shapeWidth 70mil) (shapeHeight 70mil) )",
             "    (padShape (layerType Signal) (padShapeType Oval) (shapeWidth 50mil) (shapeHeight 50mil) )",
             "    (padShape (layerType Plane) (padShapeType Thrm2) (outsideDiam 90mil) (insideDiam 70mil) "
             "(spokeWidth 10mil) )",
             "    (padShape (layerType NonSignal) (padShapeType Rect) (shapeWidth 80mil) (shapeHeight 40mil) )",
             "  )",
         })},
        {"surface pad on a mechanical layer: empty sides and a line for its own layer",
         WithObjects(R"({"kind": "pad", "shape": "rectangle", "size": [60, 30], "layer": "Mechanical1",
                         "plane": {"connection": "none"}})"),
         Text({
             "  (padStyleDef \"EF60X30MID1\"",
             "    (holeDiam 0mil)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (padShape (layerNumRef 1) (padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerNumRef 2) (padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType Signal) (padShapeType Rect) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType Plane) (padShapeType NoConnect) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType NonSignal) (padShapeType Rect) (shapeWidth 60mil) (shapeHeight 30mil) )",
             "    (padShape (layerNumRef 10) (padShapeType Rect) (shapeWidth 60mil) (shapeHeight 30mil) )",
             "  )",
         })},
        {"bottom surface pad in millimetres: a relief is not written for a surface pad",
         R"({"unit": "mm", "objects": [{"kind": "pad", "shape": "roundedRectangle", "size": [60, 30],
             "layer": "BottomLayer", "plane": {"connection": "relief", "entries": 2}}]})",
         Text({
             "  (padStyleDef \"EF60X30BOT1\"",
             "    (holeDiam 0mm)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (padShape (layerNumRef 1) (padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerNumRef 2) (padShapeType RndRect) (shapeWidth 1.524mm) (shapeHeight 0.762mm) )",
             "    (padShape (layerType Signal) (padShapeType RndRect) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType Plane) (padShapeType Thrm2) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (padShape (layerType NonSignal) (padShapeType RndRect) (shapeWidth 1.524mm) (shapeHeight 0.762mm) )",
             "  )",
         })},
        {"the worked example in millimetres",
         R"({"unit": "mm", "objects": [{"kind": "pad", "shape": "circle", "size": 60, "hole": 35,
             "plane": {"connection": "relief", "entries": 4, "conductorWidth": 10, "expansion": 10, "airGap": 10}}]})",
         Text({
             "  (padStyleDef \"P:EX60Y60D351\"",
             "    (holeDiam 0.889mm)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (padShape (layerNumRef 1) (padShapeType Ellipse) (shapeWidth 1.524mm) (shapeHeight 1.524mm) )",
             "    (padShape (layerNumRef 2) (padShapeType Ellipse) (shapeWidth 1.524mm) (shapeHeight 1.524mm) )",
             "    (padShape (layerType Signal) (padShapeType Ellipse) (shapeWidth 1.524mm) (shapeHeight 1.524mm) )",
             "    (padShape (layerType Plane) (padShapeType Thrm4_45) (outsideDiam 1.905mm) (insideDiam 1.397mm) "
             "(spokeWidth 0.254mm) )",
             "    (padShape (layerType NonSignal) (padShapeType Ellipse) (shapeWidth 1.524mm) (shapeHeight 1.524mm) )",
             "  )",
         })},
    };
    for (const auto& c : cases) {
        Analyze(c.Board);
        ASSERT_EQ(Exporter->PadStyles.size(), 1u) << c.What;
        EXPECT_EQ(PadDef(0), c.Expected) << c.What;
    }
}

TEST_F(Styles, TheRepresentativeGivesThePlaneLine) {
    Analyze(WithObjects(R"({"kind": "pad", "size": 60, "hole": 35, "plane": {"connection": "direct"}},
                           {"kind": "pad", "size": 60, "hole": 35, "plane": {"connection": "none"}})"));
    ASSERT_EQ(Exporter->PadStyles.size(), 1u);
    EXPECT_NE(PadDef(0).find("    (padShape (layerType Plane) (padShapeType Direct) (shapeWidth 0.0) (shapeHeight 0.0) )\r\n"),
              std::string::npos);
}

// --- via style definitions ------------------------------------------------------------

TEST_F(Styles, ViaStyleDefinitions) {
    const std::string relief = R"("plane": {"connection": "relief", "conductorWidth": 10, "expansion": 10, "airGap": 10})";
    const struct {
        const char* What;
        std::string Board;
        std::string Expected;
    } cases[] = {
        {"blind via from the top to MidLayer2, walking the enabled MidLayer1",
         "{" + MidLayerStack + R"(, "objects": [{"kind": "via", "size": 28, "hole": 12, "from": "TopLayer",
             "to": "MidLayer2", )" + relief + "}]}",
         Text({
             "  (viaStyleDef \"V:EX28Y28D121_Blind\"",
             "    (holeDiam 12mil)",
             "    (startRange 1)",
             "    (endRange 13)",
             "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Plane) (viaShapeType Thrm4_45) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mil) (shapeHeight 0mil) )",
             "    (viaShape (layerNumRef 13) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerNumRef 12) (viaShapeType Ellipse) (shapeWidth 28mil)(shapeHeight 28mil))",
             "  )",
         })},
        {"blind via whose inner layer is disabled",
         R"({"layers": [{"layer": "TopLayer"}, {"layer": "MidLayer1", "enabled": false}, {"layer": "MidLayer2"},
             {"layer": "BottomLayer"}], "objects": [{"kind": "via", "size": 28, "hole": 12, "from": "TopLayer",
             "to": "MidLayer2", "plane": {"connection": "none"}}]})",
         Text({
             "  (viaStyleDef \"V:EX28Y28D121_Blind\"",
             "    (holeDiam 12mil)",
             "    (startRange 1)",
             "    (endRange 13)",
             "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Plane) (viaShapeType NoConnect) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mil) (shapeHeight 0mil) )",
             "    (viaShape (layerNumRef 13) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "  )",
         })},
        {"buried via with a relief: both end lines, then each inner layer once",
         "{" + MidLayerStack + R"(, "objects": [{"kind": "via", "size": 28, "hole": 12, "from": "MidLayer1",
             "to": "MidLayer4", )" + relief + "}]}",
         Text({
             "  (viaStyleDef \"V:EX28Y28D121_Buried\"",
             "    (holeDiam 12mil)",
             "    (startRange 12)",
             "    (endRange 15)",
             "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Plane) (viaShapeType Thrm4_45) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mil) (shapeHeight 0mil) )",
             "    (viaShape (layerNumRef 15) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerNumRef 12) (viaShapeType Ellipse) (shapeWidth 28mil)(shapeHeight 28mil))",
             "    (viaShape (layerNumRef 13) (viaShapeType Ellipse) (shapeWidth 28mil)(shapeHeight 28mil))",
             "    (viaShape (layerNumRef 21) (viaShapeType Thrm4_45) (outsideDiam 52mil) (insideDiam 32mil) "
             "(spokeWidth 10mil) )",
             "    (viaShape (layerNumRef 14) (viaShapeType Ellipse) (shapeWidth 28mil)(shapeHeight 28mil))",
             "  )",
         })},
        {"buried via with a direct connection crossing a plane",
         "{" + MidLayerStack + R"(, "objects": [{"kind": "via", "size": 28, "hole": 12, "from": "MidLayer4",
             "to": "MidLayer2", "plane": {"connection": "direct"}}]})",
         Text({
             "  (viaStyleDef \"V:EX28Y28D121_Buried\"",
             "    (holeDiam 12mil)",
             "    (startRange 13)",
             "    (endRange 15)",
             "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType Plane) (viaShapeType Direct) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mil) (shapeHeight 0mil) )",
             "    (viaShape (layerNumRef 15) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerNumRef 13) (viaShapeType Ellipse) (shapeWidth 28mil)(shapeHeight 28mil))",
             "    (viaShape (layerNumRef 21) (viaShapeType Direct) (shapeWidth 0.0)(shapeHeight 0.0))",
             "    (viaShape (layerNumRef 14) (viaShapeType Ellipse) (shapeWidth 28mil)(shapeHeight 28mil))",
             "  )",
         })},
        {"through via with a relief and a larger size on one inner layer",
         "{" + MidLayerStack + R"(, "objects": [{"kind": "via", "size": 28, "hole": 12, "stackMode": 2,
             "sizes": {"MidLayer2": 40}, )" + relief + "}]}",
         Text({
             "  (viaStyleDef \"V:EX28Y28D121\"",
             "    (holeDiam 12mil)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
             "    (viaShape (layerType Plane) (viaShapeType Thrm4_45) (outsideDiam 52mil) (insideDiam 32mil) "
             "(spokeWidth 10mil) )",
             "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mil) (shapeHeight 0mil) )",
             "    (viaShape (layerNumRef 13) (viaShapeType Ellipse) (shapeWidth 40mil) (shapeHeight 40mil))",
             "  )",
         })},
        {"through via in millimetres",
         R"({"unit": "mm", "objects": [{"kind": "via", "size": 28, "hole": 12, "plane": {"connection": "none"}}]})",
         Text({
             "  (viaStyleDef \"V:EX28Y28D121\"",
             "    (holeDiam 0.3048mm)",
             "    (startRange 1)",
             "    (endRange 2)",
             "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 0.7112mm) (shapeHeight 0.7112mm) )",
             "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 0.7112mm) (shapeHeight 0.7112mm) )",
             "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 0.7112mm) (shapeHeight 0.7112mm) )",
             "    (viaShape (layerType Plane) (viaShapeType NoConnect) (shapeWidth 0.0) (shapeHeight 0.0) )",
             "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mm) (shapeHeight 0mm) )",
             "  )",
         })},
    };
    for (const auto& c : cases) {
        Analyze(c.Board);
        ASSERT_EQ(Exporter->ViaStyles.size(), 1u) << c.What;
        EXPECT_EQ(ViaDef(0), c.Expected) << c.What;
    }
}

// --- text style definitions ----------------------------------------------------------

TEST_F(Styles, TextStyleDefinitions) {
    const struct {
        const char* What;
        std::string Board;
        const char* Family;
        const char* Height;
        const char* Stroke;
    } cases[] = {
        {"45 mil serif", WithObjects(R"({"kind": "text", "text": "A", "height": 45, "width": 8, "font": "serif"})"),
         "Serif", "60mil", "8mil"},
        {"sans serif", WithObjects(R"({"kind": "text", "text": "A", "font": "sansSerif"})"), "Sanserif", "80mil",
         "10mil"},
        {"millimetres", R"({"unit": "mm", "objects": [{"kind": "text", "text": "A"}]})", "Modern", "2.032mm",
         "0.254mm"},
    };
    for (const auto& c : cases) {
        Analyze(c.Board);
        ASSERT_EQ(Exporter->TextStyles.size(), 1u) << c.What;
        const std::string def = TextDef(0);
        EXPECT_NE(def.find("      (fontFamily " + std::string(c.Family) + ")\r\n"), std::string::npos) << c.What;
        EXPECT_NE(def.find("      (fontHeight " + std::string(c.Height) + ") \r\n"), std::string::npos) << c.What;
        EXPECT_NE(def.find("      (strokeWidth " + std::string(c.Stroke) + ") \r\n"), std::string::npos) << c.What;
    }
}

std::string DefaultTrueTypeBlock() {
    const char* const lines[] = {
        "  (textStyleDef \"(DefaultTTF)\"", "    (font", "      (fontType Stroke)", "      (fontFamily SanSerif)",
        "      (fontFace \"QUALITY\")", "      (fontHeight 100.0)", "      (strokeWidth 10.0)", "    )", "    (font",
        "      (fontType TrueType)", "      (fontFamily Modern)", "      (fontFace \"Arial\")",
        "      (fontHeight 125.0)", "      (strokeWidth 0.19843 mm)", "      (fontWeight 400)",
        "      (fontCharSet 0)", "      (fontOutPrecision 7)", "      (fontClipPrecision 32)",
        "      (fontQuality 1)", "      (fontPitchAndFamily 6)", "    )", "    (textStyleAllowTType True)",
        "    (textStyleDisplayTType True)", "  )",
    };
    std::string text;
    for (std::string line : lines) {
        line.resize(34, ' ');
        text += line + "\r\n";
    }
    return text;
}

TEST_F(Styles, TextStylesBeginWithTheDefaultsInEitherUnit) {
    for (const char* unit : {"mil", "mm"}) {
        Analyze(std::string(R"({"unit": ")") + unit + R"(", "objects": [{"kind": "text", "text": "A", "height": 45}]})");
        const std::string all = Output([&] { EXPECT_TRUE(Exporter->WriteTextStyles()); });
        const std::string defaultStyle = Output([&] {
            TPcbText text(0);
            text.SetSize(MilsToCoord(60));
            text.SetWidth(MilsToCoord(10));
            text.SetFontId(1);
            Exporter->WriteTextStyleDef("(Default)", text);
        });
        EXPECT_EQ(all, defaultStyle + DefaultTrueTypeBlock() + TextDef(0)) << unit;
    }
}

// --- the style section of a board ----------------------------------------------------

TEST_F(Styles, AnEmptyBoardStillWritesTheDefaultStyles) {
    Analyze("{}");
    EXPECT_TRUE(Exporter->PadStyles.empty() && Exporter->ViaStyles.empty() && Exporter->TextStyles.empty());
    const THandle before = PcbApi_CreateObject(ePadObject);
    PcbApi_DestroyObject(before);
    const std::string pads = Output([&] { EXPECT_TRUE(Exporter->WritePadStyles()); });
    const std::string vias = Output([&] { EXPECT_TRUE(Exporter->WriteViaStyles()); });
    const std::string texts = Output([&] { EXPECT_TRUE(Exporter->WriteTextStyles()); });
    const THandle after = PcbApi_CreateObject(ePadObject);
    PcbApi_DestroyObject(after);

    // The host's defaults: a 60 mil round through-hole pad with a 30 mil hole,
    // a 50 mil via with a 28 mil hole, a 60 mil text with a 10 mil stroke.
    EXPECT_EQ(pads.rfind("  (padStyleDef \"(Default)\"\r\n    (holeDiam 30mil)\r\n", 0), 0u) << pads;
    EXPECT_NE(pads.find("    (padShape (layerNumRef 1) (padShapeType Oval) (shapeWidth 60mil) (shapeHeight 60mil) )"),
              std::string::npos);
    EXPECT_EQ(std::count(pads.begin(), pads.end(), '\n'), 10);
    EXPECT_EQ(vias.rfind("  (viaStyleDef \"(Default)\"\r\n    (holeDiam 28mil)\r\n", 0), 0u) << vias;
    EXPECT_NE(vias.find("    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 50mil) (shapeHeight 50mil) )"),
              std::string::npos);
    EXPECT_EQ(std::count(vias.begin(), vias.end(), '\n'), 10);
    EXPECT_EQ(texts.rfind("  (textStyleDef \"(Default)\"\r\n", 0), 0u) << texts;
    EXPECT_NE(texts.find("      (fontHeight 80mil) \r\n      (strokeWidth 10mil) \r\n"), std::string::npos);
    EXPECT_EQ(texts.substr(texts.size() - DefaultTrueTypeBlock().size()), DefaultTrueTypeBlock());

    // The scratch objects are gone again.
    ASSERT_LT(before, after);
    for (THandle handle = before + 1; handle < after; ++handle) EXPECT_EQ(ObjectKindOf(handle), 0) << handle;
}

TEST_F(Styles, ReportLinesAndProgress) {
    Analyze(R"({"components": [{"designator": "U1", "primitives": [
          {"kind": "pad", "name": "1", "shape": "rectangle", "size": [60, 30], "layer": "TopLayer"}]}],
        "objects": [{"kind": "pad", "size": 60, "hole": 35}, {"kind": "pad", "size": 60, "hole": 35},
                    {"kind": "via", "size": 28, "hole": 12}]})");
    EXPECT_EQ(stylestest::ProgressCalls(),
              (NameList{"Init Analyzing Pads 3", "Update", "Update", "Update", "Finish"}));
    ASSERT_EQ(Names(Exporter->PadStyles), (NameList{"P:EX60Y60D351", "EF60X30TOP1"}));
    ASSERT_EQ(Names(Exporter->TextStyles), (NameList{"T:H60W10"}));

    stylestest::ProgressCalls().clear();
    Output([&] {
        Exporter->WritePadStyles();
        Exporter->WriteViaStyles();
        Exporter->WriteTextStyles();
    });
    EXPECT_EQ(stylestest::ProgressCalls(), NameList(4, "Update"));
    EXPECT_EQ(EndLogLines(), (NameList{
                                 "AddingPadStyle (Default)",
                                 "AddingPadStyle P:EX60Y60D351",
                                 "AddingPadStyle EF60X30TOP1",
                                 "Adding ViaStyle (Default)",
                                 "Adding ViaStyle V:EX28Y28D121",
                                 "Adding TextStyle (Default)",
                                 "Adding TextStyle T:H60W10",
                                 " ",
                                 "EndLog",
                             }));
}

TEST_F(Styles, ALibraryFootprintIsAnalysedWithoutProgressDisplay) {
    Analyze(R"({"document": "library", "footprints": [{"name": "TP", "primitives": [
        {"kind": "pad", "name": "1", "shape": "circle", "size": 60, "hole": 30},
        {"kind": "text", "text": "TP", "height": 40, "width": 5}]}]})");
    EXPECT_EQ(Names(Exporter->PadStyles), NameList{"P:EX60Y60D301"});
    EXPECT_EQ(Names(Exporter->TextStyles), NameList{"T:H40W5"});
    EXPECT_TRUE(stylestest::ProgressCalls().empty());
}

TEST_F(Styles, AFailedWriteStaysPendingForTheLibrarySection) {
    Analyze(WithObjects(R"({"kind": "pad", "size": 60, "hole": 35}, {"kind": "via"}, {"kind": "text"})"));
    // The output file is not open: every write fails.
    EXPECT_FALSE(Exporter->WritePadStyles());
    EXPECT_FALSE(Exporter->WriteViaStyles());
    EXPECT_FALSE(Exporter->WriteTextStyles());
    EXPECT_TRUE(common::IOResult());
    EXPECT_FALSE(common::IOResult());
}

TEST_F(Styles, AnalysisAppendsToTheLayerList) {
    Analyze(WithObjects(R"({"kind": "track", "layer": "MidLayer9"})"));
    ASSERT_EQ(Exporter->LayerList.size(), 21u);
    EXPECT_EQ(Exporter->LayerList[20], MidLayer1 + 8);
}

}  // namespace
