#include <gtest/gtest.h>

#include "common/NumberFormat.h"
#include "common/Strings.h"

namespace {

struct ShortNameCase {
    const char* Name;
    size_t Limit;
    const char* Expected;
};

TEST(ShortName, ShortensAndReplaces) {
    const ShortNameCase cases[] = {
        {"VERY LONG NET NAME NUMBER 12", 20, "VERY_LONG_NET_NAMEDF"},
        {"GND", 20, "GND"},
        {"A B/C:D\\E", 20, "A_B_C_D_E"},
        {"", 20, ""},
        {"12345678901234567890", 20, "12345678901234567890"},  // exactly the limit: kept whole
    };
    for (const auto& c : cases) EXPECT_EQ(common::ShortName(c.Name, c.Limit), c.Expected) << c.Name;
}

TEST(ShortName, CheckValueIsOverTheUnchangedName) {
    // Same copy after replacement, different originals: different check values.
    const std::string a = common::ShortName("NET WITH A LONG NAME 1", 10);
    const std::string b = common::ShortName("NET_WITH_A_LONG_NAME 1", 10);
    EXPECT_EQ(a.substr(0, 8), b.substr(0, 8));
    EXPECT_NE(a, b);
    EXPECT_EQ(a.size(), 10u);
}

TEST(ShortPatternName, ReplacesOnlyBackslashes) {
    EXPECT_EQ(common::ShortPatternName("DIP 14/300:A\\B", 30), "DIP 14/300:A_B");
    const std::string longName(40, 'X');
    const std::string shortened = common::ShortPatternName(longName, 30);
    EXPECT_EQ(shortened.size(), 30u);
    EXPECT_EQ(shortened.substr(0, 28), std::string(28, 'X'));
}

TEST(EscapeText, EscapesQuotesAndBackslashes) {
    EXPECT_EQ(common::EscapeText(R"(say "hi" \ bye)"), R"(say \"hi\" \\ bye)");
    EXPECT_EQ(common::EscapeText("plain"), "plain");
}

TEST(EscapeText, CutNeverSplitsAnEscapePair) {
    // 200 quotes escape to 400 characters; a plain cut at 255 would end in a
    // lone backslash that escapes the closing quote of the value.
    const std::string escaped = common::EscapeText(std::string(200, '"'));
    EXPECT_EQ(escaped.size(), 254u);
    for (size_t i = 0; i < escaped.size(); i += 2) EXPECT_EQ(escaped.substr(i, 2), "\\\"");
    EXPECT_EQ(common::EscapeText(std::string(300, 'a')).size(), 255u);
    EXPECT_EQ(common::EscapeText(std::string(254, 'a') + "\\"), std::string(254, 'a'));
}

TEST(ShortStr, CutsAt255) {
    EXPECT_EQ(common::ShortStr(std::string(300, 'x')).size(), 255u);
    EXPECT_EQ(common::ShortStr("abc"), "abc");
}

TEST(FormatFixed, UsesTheProcessDecimalSeparator) {
    const char saved = common::DecimalSeparator();
    common::SetDecimalSeparator(',');
    EXPECT_EQ(common::FormatFixed(90, 1), "90,0");
    common::SetDecimalSeparator('.');
    EXPECT_EQ(common::FormatFixed(-2.5, 2), "-2.50");
    common::SetDecimalSeparator(saved);
}

}  // namespace
