#include "common/NumberFormat.h"

#include <charconv>
#include <clocale>
#include <cmath>

namespace common {

static char InitialSeparator() {
    const std::lconv* conv = std::localeconv();
    return (conv && conv->decimal_point && conv->decimal_point[0]) ? conv->decimal_point[0] : '.';
}

static char g_DecimalSeparator = InitialSeparator();

char DecimalSeparator() { return g_DecimalSeparator; }

void SetDecimalSeparator(char separator) { g_DecimalSeparator = separator; }

std::string FormatFixed(double value, int decimals) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return {};
    std::string text(buffer, end);
    for (char& c : text)
        if (c == '.') c = g_DecimalSeparator;
    return text;
}

}  // namespace common
