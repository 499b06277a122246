// pelix review: what reviewers added to a recording, from its review file.
#include "core/review/display_text.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/review_access.h"
#include "tools/pelix/subcommands.h"

#include <array>
#include <charconv>
#include <iostream>
#include <sstream>

namespace pelix::tool {

namespace {

// Notes are shown on one line of a terminal; the file keeps them whole.
constexpr std::size_t kShownNote = 200;

template <typename Number> std::string shortest(Number v) {
    std::array<char, 40> text{};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() ? std::string(text.data(), end) : std::string("?");
}

std::string gateText(const std::optional<frame::DraggedGate>& gate) {
    if (!gate) return "not moved";
    return "start " + shortest(gate->start) + ", threshold " + std::to_string(gate->threshold) + " %";
}

std::string sessionText(const review::LastSession& s) {
    std::ostringstream out;
    out << "  Frame: " << s.frame << "\n"
        << "  Gate A: " << gateText(s.gateA) << "\n"
        << "  Gate B: " << gateText(s.gateB) << "\n"
        << "  Search box: ";
    if (s.searchBox)
        out << shortest(s.searchBox->SearchLowwidthRange) << ".." << shortest(s.searchBox->SearchUpwidthRange)
            << ", " << shortest(s.searchBox->SearchLowhightlimit) << ".."
            << shortest(s.searchBox->SearchUphightlimit) << " %\n";
    else
        out << "none\n";
    out << "  AVI range: ";
    if (s.aviRange)
        out << "frames " << s.aviRange->start << ".." << s.aviRange->end << "\n";
    else
        out << "none\n";
    return out.str();
}

} // namespace

int runReview(const Args& args) {
    const ParsedArgs parsed = parseArgs(kReviewCommand, args);
    if (parsed.help) {
        std::cout << helpText(kReviewCommand);
        return kExitOk;
    }
    if (!parsed.error.empty() || parsed.positional.size() != 1) {
        std::cerr << "pelix review: " << (parsed.error.empty() ? "expects one FILE" : parsed.error) << "\n"
                  << helpText(kReviewCommand);
        return kExitUsage;
    }
    ReviewAccess access;
    if (const auto failed = openReview("review", parsed.positional[0], access)) return *failed;
    if (parsed.json) {
        std::cout << (access.foundAt.empty() ? std::string("null\n") : review::reviewJson(access.review));
        return kExitOk;
    }
    if (access.foundAt.empty()) {
        std::cout << "No review file for " << access.recording->path() << " (a new one goes to "
                  << review::reviewPathBeside(access.recording->path()) << ")\n";
        return kExitOk;
    }
    const review::ReviewFile& r = access.review;
    const int64_t frameCount = access.recording->FrameCount();
    std::ostringstream out;
    out << "Review file: " << access.foundAt << "\n"
        << "Recording: " << r.recording.name << ", " << r.recording.size << " bytes, SHA-256 "
        << r.recording.sha256 << "\n"
        << "Inspection:";
    bool anyDetail = false;
    for (const review::InspectionField& field : review::inspectionFields()) {
        const std::string& value = r.inspection.*field.value;
        if (value.empty()) continue;
        out << "\n  " << field.caption << ": " << review::shortenedForDisplay(value, kShownNote);
        anyDetail = true;
    }
    out << (anyDetail ? "\n" : " none entered\n");
    std::size_t outOfRange = 0;
    for (const review::Bookmark& mark : r.bookmarks)
        outOfRange += review::isOutOfRange(mark, frameCount) ? 1 : 0;
    out << "Bookmarks: " << r.bookmarks.size();
    if (outOfRange > 0) out << " (" << outOfRange << " beyond the recording's " << frameCount << " frames)";
    out << "\n";
    for (const review::Bookmark& mark : r.bookmarks)
        out << "  frame " << mark.frame << (review::isOutOfRange(mark, frameCount) ? " (out of range)" : "")
            << ": " << review::shortenedForDisplay(mark.text, kShownNote) << "\n";
    out << "Last session:" << (r.lastSession ? "\n" + sessionText(*r.lastSession) : std::string(" none\n"));
    std::cout << out.str();
    return kExitOk;
}

} // namespace pelix::tool
