#include "tools/pelix/command_line.h"

#include "core/recording/open_recording.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace pelix::tool {

bool ParsedArgs::has(const std::string& name) const {
    return std::find(switches.begin(), switches.end(), name) != switches.end();
}

ParsedArgs parseArgs(const Args& args, const std::vector<std::string>& valued,
                     const std::vector<std::string>& switches) {
    ParsedArgs out;
    const auto known = [](const std::vector<std::string>& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    std::vector<std::string> given;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            out.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const bool isSwitch = known(switches, a);
        const bool isValued = known(valued, a);
        if (a == "--help" || a == "-h") {
            out.help = true;
            continue;
        }
        if (!isSwitch && !isValued) {
            // A negative number is a word, not an option.
            if (a.size() > 1 && a[0] == '-' && !parseWholeNumber(a)) {
                out.error = "unknown option " + a;
                return out;
            }
            out.positional.push_back(a);
            continue;
        }
        // The same option twice leaves it unclear which one was meant.
        if (known(given, a)) {
            out.error = "option " + a + " given twice";
            return out;
        }
        given.push_back(a);
        if (isSwitch) {
            out.switches.push_back(a);
            if (a == "--json") out.json = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            out.error = "missing value after " + a;
            return out;
        }
        out.options.emplace_back(a, args[++i]);
    }
    return out;
}

std::optional<int64_t> parseWholeNumber(const std::string& text) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return v;
}

std::optional<int> parsePixels(const std::string& text, int least) {
    constexpr int64_t kMostPixels = 10000;
    const auto n = parseWholeNumber(text);
    if (!n || *n < least || *n > kMostPixels) return std::nullopt;
    return static_cast<int>(*n);
}

std::optional<FrameSpan> frameSpan(std::optional<int64_t> from, std::optional<int64_t> to, int32_t frameCount,
                                   std::string& error) {
    const int64_t first = from.value_or(1);
    const int64_t last = to.value_or(frameCount);
    if (first < 1 || last > frameCount || first > last) {
        error = "frames " + std::to_string(first) + ".." + std::to_string(last) + " are not within 1.." +
                std::to_string(frameCount) + " or run backwards";
        return std::nullopt;
    }
    return FrameSpan{static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

int reportRejected(const recording::OpenOutcome& outcome) {
    // A file that could not be opened is named by its message already.
    if (outcome.status != recording::OpenStatus::CannotOpen) std::cerr << outcome.path << ": ";
    std::cerr << outcome.message << "\n";
    return kExitRejected;
}

} // namespace pelix::tool
