#include <gtest/gtest.h>

#include "board/PCBProcs.h"
#include "common/NumberFormat.h"

namespace {

using namespace pcb;

struct LengthCase {
    pcbapi::TCoord Length;
    const char* Mil;
    const char* Millimetre;
};

class FormatLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(FormatLengthTest, WritesBothUnits) {
    const LengthCase& c = GetParam();
    EXPECT_EQ(FormatLength(c.Length, true), c.Mil);
    EXPECT_EQ(FormatLength(c.Length, false), c.Millimetre);
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, FormatLengthTest,
                         ::testing::Values(LengthCase{0, "0mil", "0mm"},                          //
                                           LengthCase{1, "0mil", "0mm"},                          //
                                           LengthCase{-1, "0mil", "0mm"},                         //
                                           LengthCase{5, "0.001mil", "0.00001mm"},                //
                                           LengthCase{625, "0.062mil", "0.00159mm"},              //
                                           LengthCase{10000, "1mil", "0.0254mm"},                 //
                                           LengthCase{12345, "1.234mil", "0.03136mm"},            //
                                           LengthCase{123456, "12.346mil", "0.31358mm"},          //
                                           LengthCase{-123456, "-12.346mil", "-0.31358mm"},       //
                                           LengthCase{393701, "39.37mil", "1mm"},                 //
                                           LengthCase{320000000, "32000mil", "812.79999mm"},      //
                                           LengthCase{500000000, "50000mil", "1270mm"},           //
                                           LengthCase{1234567890, "123456.789mil", "3135.80249mm"}));

struct HeaderCase {
    pcbapi::TCoord Length;
    bool Imperial;
    const char* Text;
};

class FormatHeaderLengthTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(FormatHeaderLengthTest, KeepsDoublePrecision) {
    EXPECT_EQ(FormatHeaderLength(GetParam().Length, GetParam().Imperial), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatHeaderLengthTest,
                         ::testing::Values(HeaderCase{320000000, false, "812.8mm"},     //
                                           HeaderCase{320000000, true, "32000mil"},     //
                                           HeaderCase{1234567890, false, "3135.8024mm"},  // 3135.80244 to 4 decimals
                                           HeaderCase{123456, true, "12.346mil"},       //
                                           HeaderCase{50000, true, "5mil"},             //
                                           HeaderCase{50000, false, "0.127mm"},         //
                                           HeaderCase{-1, true, "0mil"}));

struct AngleCase {
    double Degrees;
    const char* Text;
};

class FormatAngleTest : public ::testing::TestWithParam<AngleCase> {
protected:
    void SetUp() override { common::SetDecimalSeparator('.'); }
};

TEST_P(FormatAngleTest, OneDecimal) { EXPECT_EQ(FormatAngle(GetParam().Degrees), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(Values, FormatAngleTest,
                         ::testing::Values(AngleCase{90, "90.0"}, AngleCase{45.25, "45.3"}, AngleCase{270.04, "270.0"},
                                           AngleCase{0, "0.0"}, AngleCase{-45.25, "-45.3"}, AngleCase{359.96, "360.0"},
                                           AngleCase{-0.04, "-0.0"}, AngleCase{-0.0, "0.0"}, AngleCase{0.05, "0.1"}));

TEST(FormatAngle, UsesTheProcessDecimalSeparator) {
    common::SetDecimalSeparator(',');
    EXPECT_EQ(FormatAngle(45.25), "45,3");
    EXPECT_EQ(FormatLength(123456, true), "12.346mil");
    EXPECT_EQ(FormatHeaderLength(123456, true), "12.346mil");
    common::SetDecimalSeparator('.');
    EXPECT_EQ(FormatAngle(45.25), "45.3");
}

struct IntegerCase {
    pcbapi::TCoord Length;
    const char* Text;
};

class FormatDatabaseUnitsTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(FormatDatabaseUnitsTest, HundredthsOfAMicrometre) {
    EXPECT_EQ(FormatDatabaseUnits(GetParam().Length), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatDatabaseUnitsTest,
                         ::testing::Values(IntegerCase{1500000, "381000"}, IntegerCase{50000, "12700"},
                                           IntegerCase{10000, "2540"}, IntegerCase{-10000, "-2540"},
                                           IntegerCase{0, "0"}));

struct StripCase {
    const char* Text;
    const char* Stripped;
};

class StripTrailingZerosTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripTrailingZerosTest, NeverTouchesTheIntegerPart) {
    EXPECT_EQ(StripTrailingZeros(GetParam().Text), GetParam().Stripped);
}

INSTANTIATE_TEST_SUITE_P(Values, StripTrailingZerosTest,
                         ::testing::Values(StripCase{"100.000", "100"}, StripCase{"0.000", "0"},
                                           StripCase{"100", "100"}, StripCase{"12.340", "12.34"},
                                           StripCase{"-0.50", "-0.5"}, StripCase{"", ""}));

TEST(Units, MilsToCoordRoundsToTheNearestUnitWithinRange) {
    EXPECT_EQ(MilsToCoord(1.5), 15000);
    EXPECT_EQ(MilsToCoord(-1.23456), -12346);
    EXPECT_EQ(MilsToCoord(1e12), 2147483647);
    EXPECT_EQ(MilsToCoord(-1e12), -2147483647 - 1);
}

TEST(Units, DegToRad) { EXPECT_DOUBLE_EQ(DegToRad(180), 3.14159265358979323846); }

TEST(Units, CoordToMilsAndMillimetresRoundSymmetrically) {
    EXPECT_DOUBLE_EQ(CoordToMils(123456), 12.346);
    EXPECT_DOUBLE_EQ(CoordToMils(-123456), -12.346);
    EXPECT_DOUBLE_EQ(CoordToMils(625), 0.062);
    EXPECT_DOUBLE_EQ(CoordToMillimetres(123456), 0.31358);
    EXPECT_DOUBLE_EQ(CoordToMillimetres(-123456), -0.31358);
}

struct CorrectionCase {
    bool IsLibrary;
    int PatternIndex;
    pcbapi::TCoord X, Y;
    pcbapi::TCoord ExpectedX, ExpectedY;
};

class LibraryCorrectionTest : public ::testing::TestWithParam<CorrectionCase> {};

TEST_P(LibraryCorrectionTest, OnlyTheFirstPatternOfALibrary) {
    const CorrectionCase& c = GetParam();
    EXPECT_EQ(LibraryCorrected(c.X, c.IsLibrary, c.PatternIndex), c.ExpectedX);
    EXPECT_EQ(LibraryCorrected(c.Y, c.IsLibrary, c.PatternIndex), c.ExpectedY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LibraryCorrectionTest,
    ::testing::Values(CorrectionCase{true, 0, 500120000, 499950000, 120000, -50000},
                      CorrectionCase{true, 1, 500120000, 499950000, 500120000, 499950000},
                      CorrectionCase{true, -1, 500120000, 499950000, 500120000, 499950000},
                      CorrectionCase{false, 0, 500120000, 499950000, 500120000, 499950000},
                      CorrectionCase{true, 0, -2000000000, 0, -2147483647 - 1, -500000000}));

TEST(CoordinateReads, HandleZeroGivesZeroWithoutCorrection) {
    EXPECT_EQ(ReadX1(0, true, 0), 0);
    EXPECT_EQ(ReadY2(0, true, 0), 0);
}

}  // namespace
