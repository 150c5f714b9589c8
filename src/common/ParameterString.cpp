#include "common/ParameterString.h"

#include "common/Strings.h"

namespace common {

TParameterString::TParameterString(std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('|', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view pair = text.substr(start, end - start);
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos) {
            std::string name = Trim(pair.substr(0, equals));
            if (!name.empty()) Pairs.emplace_back(std::move(name), Trim(pair.substr(equals + 1)));
        }
        start = end + 1;
    }
}

std::string TParameterString::Get(std::string_view name) const {
    for (const auto& [key, value] : Pairs)
        if (SameText(key, name)) return value;
    return {};
}

void TParameterString::Set(std::string_view name, std::string_view value) {
    for (auto& [key, current] : Pairs)
        if (SameText(key, name)) {
            current = Trim(value);
            return;
        }
    Pairs.emplace_back(Trim(name), Trim(value));
}

std::string TParameterString::Text() const {
    std::string result;
    for (const auto& [key, value] : Pairs) {
        if (!result.empty()) result += '|';
        result += key + '=' + (value.empty() ? std::string(" ") : value);
    }
    return result;
}

}  // namespace common
