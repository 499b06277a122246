// Names for the cases of parameterised tests, made of words and numbers, so
// that test lists and CTest say what a case is instead of dumping its bytes:
// caseName("X", 150, "Y", -3) is "X150YMinus3", caseName("Shows", "-0.5dB")
// is "ShowsMinus0Point5dB".
#pragma once

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace pelix::testing {

namespace case_names_detail {

// Letters and digits stay, each word starts with a capital, and the signs a
// value may carry are spelt out; whatever else there is separates words.
inline std::string words(std::string_view text) {
    std::string out;
    bool wordStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (std::isalnum(c)) {
            out += wordStart ? static_cast<char>(std::toupper(c)) : static_cast<char>(c);
            wordStart = false;
            continue;
        }
        wordStart = true;
        if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            // A run of dashes is how a blank reading looks.
            while (i + 1 < text.size() && text[i + 1] == '-')
                ++i;
            out += "Dashes";
        } else if (c == '-') {
            out += "Minus";
        } else if (c == '+') {
            out += "Plus";
        } else if (c == '.') {
            out += "Point";
        } else if (c == '%') {
            out += "Percent";
        } else if (c == '>') {
            out += "Over";
        } else if (c == '<') {
            out += "Under";
        }
    }
    return out;
}

inline std::string number(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return words(std::to_string(static_cast<long long>(value)));
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    return words(text);
}

template <typename Part> std::string part(const Part& value) {
    if constexpr (std::is_same_v<Part, bool>)
        return value ? "Yes" : "No";
    else if constexpr (std::is_arithmetic_v<Part>)
        return number(static_cast<double>(value));
    else if constexpr (std::is_pointer_v<Part>)
        return value ? words(value) : "Null";
    else
        return words(std::string_view(value));
}

} // namespace case_names_detail

template <typename... Parts> std::string caseName(const Parts&... parts) {
    std::string name = (std::string() + ... + case_names_detail::part(parts));
    if (name.empty()) return "Empty";
    // Digits alone would read as the number of the case, not as what it is.
    if (name.find_first_not_of("0123456789") == std::string::npos) name = "Value" + name;
    return name;
}

} // namespace pelix::testing
