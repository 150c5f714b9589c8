// Style names and words from wrappers filled in memory.
#include <gtest/gtest.h>

#include "translator/StyleNames.h"

namespace {

using namespace pcb;
using translator::TPadCache;

TEST(StyleNames, RoundedMilsRoundsHalvesToEven) {
    const struct {
        TCoord Length;
        const char* Mils;
    } cases[] = {
        {0, "0"}, {602000, "60"}, {598000, "60"}, {605000, "60"}, {615000, "62"}, {4999, "0"}, {5000, "0"},
        {15000, "2"}, {350000, "35"},
    };
    for (const auto& c : cases) EXPECT_EQ(translator::RoundedMils(c.Length), c.Mils) << c.Length;
}

TEST(StyleNames, ShapeWordsUseTheLowSevenBits) {
    const struct {
        uint8_t Shape;
        const char* Letter;
        const char* TypeName;
    } cases[] = {
        {0, "N", "MtHole"}, {1, "E", "Oval"},   {2, "S", "Rect"},   {3, "P", "Polygon"},
        {4, "E", "Ellipse"}, {5, "E", "Ellipse"}, {6, "D", "Direct"}, {7, "R", "RndRect"},
        {8, "R", "Rect"},   {9, "RR", "RndRect"}, {0x82, "S", "Rect"}, {0x89, "RR", "RndRect"},
        // No host shape: the plain round one.
        {10, "E", "Ellipse"}, {0x7F, "E", "Ellipse"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(translator::PadShapeLetter(c.Shape), c.Letter) << int(c.Shape);
        EXPECT_EQ(translator::PadShapeTypeName(c.Shape), c.TypeName) << int(c.Shape);
    }
}

TEST(StyleNames, PadStemByLayerAndStackMode) {
    const struct {
        const char* What;
        TLayerId Layer;
        uint8_t StackMode;
        const char* Stem;
    } cases[] = {
        {"through-hole, simple stack", MultiLayer, 0, "P:SX70Y40D28"},
        {"through-hole, top-middle-bottom", MultiLayer, 1, "P:SX70Y40D28"},
        {"through-hole, full stack: the top layer's entries", MultiLayer, 2, "P:PX90Y50D28"},
        {"through-hole, unknown stack mode", MultiLayer, 3, "P:"},
        {"surface, top", TopLayer, 0, "EF70X40TOP"},
        {"surface, bottom", BottomLayer, 2, "EF70X40BOT"},
        {"surface, mid layer", MidLayer1, 0, "EF70X40MID"},
        {"surface, mechanical", Mechanical1, 0, "EF70X40MID"},
    };
    for (const auto& c : cases) {
        TPcbPad pad;
        pad.SetLayer(c.Layer);
        pad.SetStackMode(c.StackMode);
        pad.SetTopShape(2);
        pad.SetTopXSize(700000);
        pad.SetTopYSize(400000);
        pad.SetHoleSize(280000);
        pad.SetShapeOnLayer(TopLayer, 3);
        pad.SetXSizeOnLayer(TopLayer, 900000);
        pad.SetYSizeOnLayer(TopLayer, 500000);
        EXPECT_EQ(translator::PadStyleBaseName(pad), c.Stem) << c.What;
    }
}

TEST(StyleNames, ViaSpanSuffixTakesTheEndsInLayerOrder) {
    const struct {
        TLayerId Start, End;
        const char* Suffix;
        bool Through;
    } cases[] = {
        {TopLayer, BottomLayer, "", true},      {BottomLayer, TopLayer, "", true},
        {TopLayer, MidLayer1 + 1, "_Blind", false}, {BottomLayer, MidLayer1, "_Blind", false},
        {MidLayer1, MidLayer1 + 3, "_Buried", false}, {MidLayer1 + 3, MidLayer1, "_Buried", false},
    };
    for (const auto& c : cases) {
        TPcbVia via;
        via.SetStartLayer(c.Start);
        via.SetEndLayer(c.End);
        EXPECT_EQ(translator::ViaSpanSuffix(via), c.Suffix) << int(c.Start) << "-" << int(c.End);
        EXPECT_EQ(translator::IsThroughVia(via), c.Through) << int(c.Start) << "-" << int(c.End);
    }
}

TEST(StyleNames, ViaAndTextStems) {
    TPcbVia via;
    via.SetSize(282000);
    via.SetHoleSize(118000);
    EXPECT_EQ(translator::ViaStyleBaseName(via), "V:EX28Y28D12");
    TPcbText text;
    text.SetSize(450000);
    text.SetWidth(80000);
    EXPECT_EQ(translator::TextStyleBaseName(text), "T:H45W8");
}

TEST(StyleNames, FontFamilies) {
    EXPECT_EQ(translator::FontFamilyName(1), "Modern");
    EXPECT_EQ(translator::FontFamilyName(2), "Sanserif");
    EXPECT_EQ(translator::FontFamilyName(3), "Serif");
    EXPECT_EQ(translator::FontFamilyName(0), "Modern");
    EXPECT_EQ(translator::FontFamilyName(-7), "Modern");
}

TEST(StyleNames, ThermalTypes) {
    const struct {
        uint8_t Style;
        uint16_t Spokes;
        const char* Word;
    } cases[] = {
        {0, 4, "NoConnect"}, {2, 2, "Direct"}, {1, 2, "Thrm2"}, {1, 4, "Thrm4_45"}, {1, 3, "Thrm4_45"}, {7, 2, "Thrm2"},
    };
    for (const auto& c : cases) {
        TPadCache cache;
        cache.ConnectionStyle = c.Style;
        cache.SpokeCount = c.Spokes;
        EXPECT_EQ(translator::ThermalTypeName(cache), c.Word) << int(c.Style) << "/" << c.Spokes;
    }
}

}  // namespace
