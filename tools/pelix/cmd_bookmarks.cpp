// pelix bookmarks: the recording's bookmarks listed, changed, and carried to
// and from label files.
#include "core/files/file_identity.h"
#include "core/files/output_file.h"
#include "core/review/bookmark_labels.h"
#include "core/review/display_text.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/review_access.h"
#include "tools/pelix/subcommands.h"
#include "tools/pelix/tool_outputs.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <limits>

namespace pelix::tool {

namespace {

constexpr std::size_t kShownNote = 200;
// A label file of ours holds a line per bookmark; one this large is no label file.
constexpr std::uintmax_t kMostLabelBytes = 16ULL * 1024 * 1024;

int usage(const std::string& why) {
    std::cerr << "pelix bookmarks: " << why << "\n" << helpText(kBookmarksCommand);
    return kExitUsage;
}

std::optional<std::string> readLabelFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read (" + std::strerror(errno) + ")";
        return std::nullopt;
    }
    std::string text;
    std::array<char, 65536> block{};
    while (in.read(block.data(), block.size()) || in.gcount() > 0) {
        text.append(block.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMostLabelBytes) {
            error = path + ": is larger than " + std::to_string(kMostLabelBytes) + " bytes; not a label file";
            return std::nullopt;
        }
    }
    if (in.bad()) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    return text;
}

std::string secondsText(double seconds) {
    std::array<char, 64> text{};
    const int n = std::snprintf(text.data(), text.size(), "%.3f", seconds);
    return std::string(text.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

void list(const ReviewAccess& access, bool json, bool tsv) {
    const recording::OpenRecording& rec = *access.recording;
    const auto& marks = access.review.bookmarks;
    if (json) {
        JsonWriter w;
        w.beginObject();
        w.field("FrameCount", int64_t{rec.FrameCount()});
        w.key("Bookmarks");
        w.beginArray();
        for (const review::Bookmark& mark : marks) {
            w.beginObject();
            w.field("Frame", mark.frame);
            w.field("Seconds", mark.frame < 1 ? std::numeric_limits<double>::quiet_NaN()
                                              : review::frameStartSeconds(mark.frame, rec.framesPerSecond()));
            w.field("Text", std::string_view(mark.text));
            w.field("Created", std::string_view(mark.created));
            w.field("OutOfRange", review::isOutOfRange(mark, rec.FrameCount()));
            w.endObject();
        }
        w.endArray();
        w.endObject();
        std::cout << w.text() << "\n";
        return;
    }
    std::string out = tsv ? "Frame\tSeconds\tCreated\tText\tOutOfRange\n" : "";
    for (const review::Bookmark& mark : marks) {
        const bool outside = review::isOutOfRange(mark, rec.FrameCount());
        const std::string seconds =
            mark.frame < 1 ? "" : secondsText(review::frameStartSeconds(mark.frame, rec.framesPerSecond()));
        if (tsv) {
            out += std::to_string(mark.frame) + '\t' + seconds + '\t' + review::oneLineText(mark.created) +
                   '\t' + review::oneLineText(mark.text) + '\t' + (outside ? "1" : "0") + '\n';
        } else {
            out += std::to_string(mark.frame) + '\t' + (outside ? "out of range" : seconds + " s") + '\t' +
                   (mark.created.empty() ? "-" : review::shortenedForDisplay(mark.created, 40)) + '\t' +
                   review::shortenedForDisplay(mark.text, kShownNote) + '\n';
        }
    }
    std::cout << out;
}

} // namespace

int runBookmarks(const Args& args) {
    const ParsedArgs parsed = parseArgs(kBookmarksCommand, args);
    if (parsed.help) {
        std::cout << helpText(kBookmarksCommand);
        return kExitOk;
    }
    if (!parsed.error.empty()) return usage(parsed.error);
    const bool adding = parsed.has("--add");
    if (parsed.positional.empty() || parsed.positional.size() > (adding ? 2U : 1U))
        return usage(adding ? "expects FILE, and the note after --add N" : "expects one FILE");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    const bool tsv = parsed.has("--tsv");
    if (parsed.json && tsv) return usage("--json and --tsv exclude each other");

    ReviewAccess access;
    if (const auto failed = openReview("bookmarks", parsed.positional[0], access)) return *failed;
    const recording::OpenRecording& rec = *access.recording;
    const std::string created = review::isoUtc(std::time(nullptr));
    bool changed = false;

    // Everything asked for is checked before the review file is written once.
    if (const auto frame = parsed.number("--delete")) {
        if (review::deleteBookmarksAt(access.review, *frame) == 0)
            return usage("--delete " + std::to_string(*frame) + ": there is no bookmark at that frame");
        changed = true;
    }
    if (const auto frame = parsed.number("--add")) {
        if (*frame < 1 || *frame > rec.FrameCount())
            return usage("--add " + std::to_string(*frame) + ": the recording has frames 1.." +
                         std::to_string(rec.FrameCount()));
        const std::string note = parsed.positional.size() > 1 ? parsed.positional[1] : std::string();
        review::addBookmark(access.review, {*frame, note, created});
        changed = true;
    }
    if (const std::string* labels = parsed.text("--import")) {
        std::string error;
        const auto text = readLabelFile(*labels, error);
        if (!text) return usage("--import " + error);
        const review::LabelImport imported = review::importLabels(*text, rec.framesPerSecond(), created);
        for (const std::string& refused : imported.refusedLines)
            std::cerr << "pelix bookmarks: " << *labels << ": " << refused << "; not imported\n";
        std::size_t beyond = 0;
        for (const review::Bookmark& mark : imported.marks) {
            beyond += review::isOutOfRange(mark, rec.FrameCount()) ? 1 : 0;
            review::addBookmark(access.review, mark);
        }
        std::cerr << "pelix bookmarks: " << imported.marks.size() << " bookmark(s) imported from " << *labels;
        if (beyond > 0) std::cerr << ", " << beyond << " beyond the last frame (kept, marked out of range)";
        std::cerr << "\n";
        changed = changed || !imported.marks.empty();
    }
    if (changed)
        if (const int status = keepReview("bookmarks", access); status != kExitOk) return status;

    if (const std::string* labels = parsed.text("--export")) {
        files::OutputFile out;
        std::size_t skipped = 0;
        const std::string text =
            review::exportLabels(access.review.bookmarks, rec.framesPerSecond(), &skipped);
        // The labels must not take the place of the marks they come from.
        const auto target = files::identityOfPath(*labels);
        const std::string reviewPath =
            access.foundAt.empty() ? review::reviewPathBeside(rec.path()) : access.foundAt;
        if (target && target == files::identityOfPath(reviewPath)) {
            std::cerr << "pelix bookmarks: " << *labels
                      << ": is the recording's review file; nothing written\n";
            return kExitWriteFailed;
        }
        if (!out.open(*labels, files::identityOfPath(rec.path())) || !out.write(text) || !out.commit())
            return reportNotWritten("bookmarks", out);
        if (skipped > 0)
            std::cerr << "pelix bookmarks: " << skipped
                      << " bookmark(s) before frame 1 have no time; not exported\n";
    }
    const bool changing =
        adding || parsed.has("--delete") || parsed.has("--import") || parsed.has("--export");
    if (!changing || parsed.json || tsv) list(access, parsed.json, tsv);
    return kExitOk;
}

} // namespace pelix::tool
