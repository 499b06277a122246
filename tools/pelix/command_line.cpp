#include "tools/pelix/command_line.h"

#include "player/recording/open_recording.h"

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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json")
            out.json = true;
        else if (a == "--help" || a == "-h")
            out.help = true;
        else if (std::find(switches.begin(), switches.end(), a) != switches.end())
            out.switches.push_back(a);
        else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
            if (i + 1 >= args.size()) {
                out.error = "missing value after " + a;
                return out;
            }
            out.options.emplace_back(a, args[++i]);
        } else if (a.size() > 1 && a[0] == '-' && !parseWholeNumber(a)) {
            out.error = "unknown option " + a;
            return out;
        } else {
            out.positional.push_back(a);
        }
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

int reportRejected(const recording::OpenOutcome& outcome) {
    std::cerr << outcome.message << "\n";
    return kExitRejected;
}

} // namespace pelix::tool
