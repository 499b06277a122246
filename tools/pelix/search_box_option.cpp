#include "tools/pelix/search_box_option.h"

#include "core/numbers/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace pelix::tool {

namespace {

// The picture's edges on the sample scale and its height in percent.
constexpr double kLastEdge = 800.0;
constexpr double kFullHeight = 100.0;

std::optional<double> parseLimit(std::string_view text) {
    double v = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::array<double, 4>> parseFour(const std::string& text) {
    std::array<double, 4> v{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        const bool last = i + 1 == v.size();
        if (last != (comma == std::string::npos)) return std::nullopt;
        const auto value =
            parseLimit(std::string_view(text).substr(start, last ? std::string::npos : comma - start));
        if (!value) return std::nullopt;
        v[i] = *value;
        start = comma + 1;
    }
    return v;
}

} // namespace

SearchBoxOption parseSearchBoxOption(const std::string& option, const std::string& text) {
    SearchBoxOption out;
    const auto v = parseFour(text);
    if (!v) {
        out.error = option + " takes four numbers L,U,H1,H2, not '" + text + "'";
        return out;
    }
    if ((*v)[0] > (*v)[1] || (*v)[2] > (*v)[3]) {
        out.error = option + " limits reversed in '" + text + "': L must not exceed U, nor H1 exceed H2";
        return out;
    }
    const std::array<double, 4> clamped{
        std::clamp((*v)[0], 0.0, kLastEdge), std::clamp((*v)[1], 0.0, kLastEdge),
        std::clamp((*v)[2], 0.0, kFullHeight), std::clamp((*v)[3], 0.0, kFullHeight)};
    if (clamped != *v) {
        std::string now;
        for (const double limit : clamped)
            now += (now.empty() ? "" : ",") + numbers::shortestDecimal(limit);
        out.note = option + " " + text + " reaches outside the picture (0..800, 0..100); the box is " + now;
    }
    out.limits = search::SearchLimits{clamped[0], clamped[1], clamped[2], clamped[3]};
    return out;
}

} // namespace pelix::tool
