#include "common/Strings.h"

#include <cstdint>
#include <cstdio>

namespace common {

std::string ShortStr(std::string_view text) {
    return std::string(text.substr(0, MaxShortString));
}

static char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = AsciiUpper(c);
    return result;
}

std::string Trim(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first])) ++first;
    while (last > first && blank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::string EscapeText(std::string_view text) {
    std::string result;
    for (char c : text) {
        const bool escaped = c == '"' || c == '\\';
        if (result.size() + (escaped ? 2 : 1) > MaxShortString) break;
        if (escaped) result += '\\';
        result += c;
    }
    return result;
}

static uint8_t CheckValue(std::string_view name) {
    auto value = static_cast<uint8_t>(name.size() % 256);
    for (char c : name) {
        value = static_cast<uint8_t>((value << 1) | (value >> 7));
        value ^= static_cast<uint8_t>(c);
    }
    return value;
}

static std::string Shorten(std::string_view name, size_t limit, std::string_view replaced) {
    std::string copy(name);
    for (char& c : copy)
        if (replaced.find(c) != std::string_view::npos) c = '_';
    if (name.size() <= limit) return copy;
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", CheckValue(name));
    return copy.substr(0, limit >= 2 ? limit - 2 : 0) + hex;
}

std::string ShortName(std::string_view name, size_t limit) {
    return Shorten(name, limit, " /:\\");
}

std::string ShortPatternName(std::string_view name, size_t limit) {
    return Shorten(name, limit, "\\");
}

}  // namespace common
