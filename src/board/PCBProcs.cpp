#include "board/PCBProcs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "board/Pcbclass.h"
#include "common/NumberFormat.h"
#include "common/Strings.h"

namespace pcb {
namespace {

using pcbapi::TCoord;

TCoord ClampToCoord(double value) {
    if (std::isnan(value)) return 0;
    if (value <= std::numeric_limits<TCoord>::min()) return std::numeric_limits<TCoord>::min();
    if (value >= std::numeric_limits<TCoord>::max()) return std::numeric_limits<TCoord>::max();
    return static_cast<TCoord>(value);
}

// Rounds the fraction of `value` to the given power of ten. The product is
// formed with at least a 64-bit significand, so that a fraction whose binary
// value lies just above a half rounds up as its exact value says.
double RoundFraction(double value, long double factor) {
    const double integerPart = std::trunc(value);
    const long double scaled = static_cast<long double>(value - integerPart) * factor;
    return static_cast<double>(std::nearbyint(scaled)) / static_cast<double>(factor) + integerPart;
}

// Adds one unit in the last place to a text of decimal digits.
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Fixed-point text with exactly `decimals` digits after the separator. The
// value is first expanded to 18 significant decimal digits; the digit after
// the last kept one decides, a 5 or more rounding away from zero. A value below
// zero gets a leading "-"; negative zero does not.
std::string FixedFrom18Digits(double value, int decimals, char separator) {
    if (!std::isfinite(value)) value = 0;
    char expansion[40];
    const auto result = std::to_chars(expansion, expansion + sizeof expansion, std::fabs(value),
                                      std::chars_format::scientific, 17);
    // expansion: d.ddddddddddddddddde<sign><exponent>
    const std::string_view text(expansion, static_cast<size_t>(result.ptr - expansion));
    const size_t e = text.find('e');
    std::string significant;
    significant += text[0];
    significant.append(text.substr(2, e - 2));
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    auto digitAt = [&](int i) { return i >= 0 && i < static_cast<int>(significant.size()) ? significant[i] : '0'; };

    const int kept = exponent + 1 + decimals;  // digits down to the last decimal
    std::string digits;
    for (int i = 0; i < kept; ++i) digits += digitAt(i);
    if (kept >= 0 && digitAt(kept) >= '5') IncrementDigits(digits);
    if (digits.size() < static_cast<size_t>(decimals) + 1)
        digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    const size_t integerDigits = digits.size() - static_cast<size_t>(decimals);
    const size_t firstNonZero = std::min(digits.find_first_not_of('0'), integerDigits - 1);

    std::string out;
    if (value < 0) out += '-';
    out.append(digits, firstNonZero, integerDigits - firstNonZero);
    if (decimals > 0) {
        out += separator;
        out.append(digits, integerDigits);
    }
    return common::ShortStr(out);
}

std::string LengthText(double value, int decimals, bool imperial) {
    return StripTrailingZeros(FixedFrom18Digits(value, decimals, '.')) + (imperial ? "mil" : "mm");
}

}  // namespace

TCoord MilsToCoord(double mils) { return ClampToCoord(std::nearbyint(mils * 10000.0)); }

double DegToRad(double degrees) { return degrees * 0.017453292519943295769; }

double CoordToMils(TCoord length) { return RoundFraction(length / 10000.0, 1000.0L); }

double CoordToMillimetres(TCoord length) { return RoundFraction(length * 0.0254 / 10000.0, 100000.0L); }

std::string StripTrailingZeros(std::string_view text) {
    if (text.find('.') == std::string_view::npos) return std::string(text);
    while (!text.empty() && text.back() == '0') text.remove_suffix(1);
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    return std::string(text);
}

std::string FormatLength(TCoord length, bool imperial) {
    const float single = static_cast<float>(imperial ? CoordToMils(length) : CoordToMillimetres(length));
    return LengthText(single, imperial ? 3 : 5, imperial);
}

std::string FormatHeaderLength(TCoord length, bool imperial) {
    return LengthText(imperial ? CoordToMils(length) : CoordToMillimetres(length), imperial ? 3 : 4, imperial);
}

std::string FormatAngle(double degrees) { return FixedFrom18Digits(degrees, 1, common::DecimalSeparator()); }

std::string FormatDatabaseUnits(TCoord length) {
    return std::to_string(static_cast<long long>(std::nearbyint(length / 10000.0 * 2540.0)));
}

TCoord LibraryCorrected(TCoord value, bool isLibrary, int currentPatternIndex) {
    if (!isLibrary || currentPatternIndex != 0) return value;
    return ClampToCoord(static_cast<double>(int64_t{value} - LibraryWorkspaceOffset));
}

TCoord ReadX1(pcbapi::THandle object, bool isLibrary, int currentPatternIndex) {
    return object ? LibraryCorrected(XOf(object), isLibrary, currentPatternIndex) : 0;
}

TCoord ReadY1(pcbapi::THandle object, bool isLibrary, int currentPatternIndex) {
    return object ? LibraryCorrected(YOf(object), isLibrary, currentPatternIndex) : 0;
}

TCoord ReadX2(pcbapi::THandle object, bool isLibrary, int currentPatternIndex) {
    return object ? LibraryCorrected(X2Of(object), isLibrary, currentPatternIndex) : 0;
}

TCoord ReadY2(pcbapi::THandle object, bool isLibrary, int currentPatternIndex) {
    return object ? LibraryCorrected(Y2Of(object), isLibrary, currentPatternIndex) : 0;
}

}  // namespace pcb
