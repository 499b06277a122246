#include "core/review/bookmark_labels.h"

#include "core/review/display_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace pelix::review {

namespace {

// Labels written with six decimals land a hair before their frame's start;
// within a thousandth of a frame a time counts as that frame's start.
constexpr double kFrameTolerance = 1e-3;
// Beyond this no frame number is meant.
constexpr double kLatestSeconds = 1e12;

std::optional<double> secondsOf(std::string_view word) {
    while (!word.empty() && (word.front() == ' ' || word.front() == '\r'))
        word.remove_prefix(1);
    while (!word.empty() && (word.back() == ' ' || word.back() == '\r'))
        word.remove_suffix(1);
    if (word.empty()) return std::nullopt;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

int64_t frameAt(double seconds, int32_t framesPerSecond) {
    const double frames = seconds * framesPerSecond;
    const double nearest = std::nearbyint(frames);
    const double whole = std::fabs(frames - nearest) < kFrameTolerance ? nearest : std::floor(frames);
    return static_cast<int64_t>(whole) + 1;
}

// Seconds as a label file writes them: six decimals.
std::string secondsText(double seconds) {
    std::array<char, 64> text{};
    const int n = std::snprintf(text.data(), text.size(), "%.6f", seconds);
    return std::string(text.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

// Seconds as a note says them: as short as they are exact to the microsecond.
std::string secondsInWords(double seconds) {
    std::string text = secondsText(seconds);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

} // namespace

double frameStartSeconds(int64_t frame, int32_t framesPerSecond) {
    return static_cast<double>(frame - 1) / framesPerSecond;
}

LabelImport importLabels(std::string_view text, int32_t framesPerSecond, const std::string& created) {
    LabelImport out;
    // A byte-order mark some editors put first is not part of the first label.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        // Empty lines, and the frequency lines some editors put under a label, carry no mark.
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with('\\')) continue;
        const auto refuse = [&](const std::string& why) {
            out.refusedLines.push_back("line " + std::to_string(lineNumber) + ": " + why);
        };
        const auto tab1 = line.find('\t');
        if (tab1 == std::string_view::npos) {
            refuse("not START<TAB>END<TAB>TEXT");
            continue;
        }
        const auto tab2 = line.find('\t', tab1 + 1);
        const auto start = secondsOf(line.substr(0, tab1));
        const auto finish =
            secondsOf(line.substr(tab1 + 1, tab2 == std::string_view::npos ? tab2 : tab2 - tab1 - 1));
        const std::string note(tab2 == std::string_view::npos ? std::string_view{} : line.substr(tab2 + 1));
        if (!start) {
            refuse("the start is not a number of seconds");
            continue;
        }
        if (!finish) {
            refuse("the end is not a number of seconds");
            continue;
        }
        if (*start < 0.0 || *start > kLatestSeconds) {
            refuse("the start lies outside any recording");
            continue;
        }
        if (*finish < *start) {
            refuse("the end lies before the start");
            continue;
        }
        Bookmark mark{frameAt(*start, framesPerSecond), note, created};
        if (*finish > *start) {
            const std::string to = "(to " + secondsInWords(*finish) + " s)";
            mark.text = note.empty() ? to : note + " " + to;
        }
        out.marks.push_back(std::move(mark));
    }
    return out;
}

std::string exportLabels(std::span<const Bookmark> marks, int32_t framesPerSecond, std::size_t* skipped) {
    std::string out;
    std::size_t left = 0;
    for (const Bookmark& mark : marks) {
        if (mark.frame < 1) {
            ++left;
            continue;
        }
        const std::string at = secondsText(frameStartSeconds(mark.frame, framesPerSecond));
        out += at + '\t' + at + '\t' + oneLineText(mark.text) + '\n';
    }
    if (skipped) *skipped = left;
    return out;
}

} // namespace pelix::review
