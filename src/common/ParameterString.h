// The host's parameter strings: "Name=Value|Name=Value".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace common {

class TParameterString {
public:
    // Names end at the first '='; names and values are trimmed; a pair
    // without '=' or with an empty name is left out.
    explicit TParameterString(std::string_view text);

    // The value of the first pair of that name (case ignored); empty when
    // there is none.
    std::string Get(std::string_view name) const;

    // Replaces the value of the pair of that name, or appends a new pair.
    void Set(std::string_view name, std::string_view value);

    // The pairs in their order, "|" between them; an empty value is written
    // as a single space.
    std::string Text() const;

private:
    std::vector<std::pair<std::string, std::string>> Pairs;
};

}  // namespace common
