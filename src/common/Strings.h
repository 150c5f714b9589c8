// Text helpers shared by every part of the plug-in.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Texts held as length-prefixed strings keep at most this many characters.
constexpr size_t MaxShortString = 255;

// The first 255 characters of the text.
std::string ShortStr(std::string_view text);

// ASCII case-insensitive comparison.
bool SameText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view text);

// Blanks (space and control characters) removed from both ends.
std::string Trim(std::string_view text);

// A quoted value of the output file: a backslash before every double quote
// and backslash. The result keeps at most 255 characters and is never cut
// inside an escape pair, so the closing quote of the value cannot be escaped.
std::string EscapeText(std::string_view text);

// A name shortened to `limit` characters for the output file: spaces, '/', ':'
// and '\' become '_'; a longer name keeps its first limit - 2 characters and
// ends in a two-digit check value of the original name.
std::string ShortName(std::string_view name, size_t limit);

// As ShortName, but only backslashes are replaced.
std::string ShortPatternName(std::string_view name, size_t limit);

}  // namespace common
