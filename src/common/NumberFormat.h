// The process-wide decimal separator of the number formatter, and fixed-point
// formatting that honours it. The export run sets it to '.' for its duration.
#pragma once

#include <string>

namespace common {

char DecimalSeparator();
void SetDecimalSeparator(char separator);

// `value` with exactly `decimals` digits after the separator, correctly
// rounded from its binary value, independent of the C locale.
std::string FormatFixed(double value, int decimals);

}  // namespace common
