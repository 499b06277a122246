#include "core/report/report_frames.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace pelix::report {

namespace {

std::optional<int64_t> wholeNumber(const std::string& text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::vector<int32_t>> parseFrameList(const std::string& text, int32_t frameCount,
                                                   std::string& error) {
    std::vector<int32_t> frames;
    std::set<int32_t> seen;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t comma = text.find(',', begin);
        if (comma == std::string::npos) comma = text.size();
        std::string item = text.substr(begin, comma - begin);
        // "3, 7, 20-25" as the dialog offers it: spaces around the items are no part of them.
        const std::size_t left = item.find_first_not_of(' ');
        item = left == std::string::npos ? std::string()
                                         : item.substr(left, item.find_last_not_of(' ') - left + 1);
        const std::size_t dash = item.find('-');
        const auto from = wholeNumber(dash == std::string::npos ? item : item.substr(0, dash));
        const auto to = dash == std::string::npos ? from : wholeNumber(item.substr(dash + 1));
        if (!from || !to || *from > *to) {
            error = "'" + item + "' is not a frame number or a range A-B";
            return std::nullopt;
        }
        if (*from < 1 || *to > frameCount) {
            error = "frame " + item + " is not within 1.." + std::to_string(frameCount);
            return std::nullopt;
        }
        if (static_cast<std::size_t>(*to - *from) >= kMaxReportFrames) {
            error = "more than " + std::to_string(kMaxReportFrames) + " frames";
            return std::nullopt;
        }
        for (int64_t f = *from; f <= *to; ++f)
            if (seen.insert(static_cast<int32_t>(f)).second) frames.push_back(static_cast<int32_t>(f));
        if (frames.size() > kMaxReportFrames) {
            error = "more than " + std::to_string(kMaxReportFrames) + " frames";
            return std::nullopt;
        }
        begin = comma + 1;
    }
    return frames;
}

std::vector<int32_t> defaultReportFrames(const std::vector<int32_t>& flaggedFrames) {
    if (flaggedFrames.empty()) return {1};
    return flaggedFrames;
}

} // namespace pelix::report
