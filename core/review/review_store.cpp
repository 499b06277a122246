#include "core/review/review_store.h"

#include "core/digest/sha256.h"
#include "core/files/file_identity.h"
#include "core/files/output_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pelix::review {

namespace {

constexpr const char* kSuffix = ".review.json";

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string shortHash(const std::string& sha256) {
    return sha256.size() > 12 ? sha256.substr(0, 12) + "…" : sha256;
}

ReviewLoad unreadable(const std::string& path, const std::string& why) {
    return {ReviewProblem::Unreadable, "cannot be read (" + why + ")", path, std::nullopt};
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Writes `text` to `target` the one safe way; empty when done, else why not.
std::optional<std::string> writeAt(const std::string& target, const std::string& text,
                                   const std::string& recordingPath, bool& couldOpen) {
    files::OutputFile out;
    couldOpen = out.open(target, files::identityOfPath(recordingPath));
    if (!couldOpen) return out.error();
    if (!out.write(text) || !out.commit()) return out.error();
    return std::nullopt;
}

// Why the file now at `target` must not be replaced by a review of `sha256`.
std::optional<std::string> keepsItsPlace(const std::string& target, const std::string& sha256) {
    if (!exists(target)) return std::nullopt;
    const ReviewLoad there = readReviewFile(target);
    if (there.problem != ReviewProblem::None) return target + ": is not replaced: " + there.reason;
    if (there.review->recording.sha256 != sha256)
        return target + ": is not replaced: it is the review of another recording";
    return std::nullopt;
}

} // namespace

std::string reviewPathBeside(const std::string& recordingPath) {
    return recordingPath + kSuffix;
}

std::string reviewPathInDataFolder(const std::string& sha256) {
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    // A relative XDG_DATA_HOME is to be ignored, as if it were not set.
    if (xdg && xdg[0] == '/')
        base = xdg;
    else if (home && home[0] == '/')
        base = std::string(home) + "/.local/share";
    else
        return {};
    return base + "/pelix-player/reviews/" + sha256 + kSuffix;
}

IdentifiedRecording identifyRecording(const std::string& recordingPath, const std::atomic<bool>* stop,
                                      const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    const digest::FileDigest digest = digest::sha256OfFile(recordingPath, stop, progress);
    if (!digest.complete) return {std::nullopt, digest.error};
    return {RecordingIdentity{fileNameOf(recordingPath), digest.size, digest.hex}, {}};
}

ReviewLoad readReviewFile(const std::string& path) {
    // Non-blocking, so that a FIFO in the review file's place cannot hold the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return {ReviewProblem::NotFound, {}, {}, std::nullopt};
        return unreadable(path, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return unreadable(path, "not a file");
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMostReviewBytes) {
        ::close(fd);
        return {ReviewProblem::TooLarge,
                "is " + std::to_string(st.st_size) + " bytes; a review file is at most " +
                    std::to_string(kMostReviewBytes) + " bytes",
                path, std::nullopt};
    }
    std::string text;
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    // Read one byte beyond the size found: a file that grew since is refused as too large.
    std::string extra(1, '\0');
    while (true) {
        char* into = got < text.size() ? text.data() + got : extra.data();
        const std::size_t want = got < text.size() ? text.size() - got : 1;
        const ssize_t n = ::read(fd, into, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const std::string why = std::strerror(errno);
            ::close(fd);
            return unreadable(path, why);
        }
        if (n == 0) break;
        if (got >= text.size()) {
            ::close(fd);
            return {ReviewProblem::TooLarge, "grew while it was read", path, std::nullopt};
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(got);
    ReviewParse parsed = parseReviewJson(text);
    return {parsed.problem, std::move(parsed.reason), path, std::move(parsed.review)};
}

std::optional<std::string> otherRecordingReason(const ReviewFile& review,
                                                const RecordingIdentity& recording) {
    // Size 0 in a review file means it was not recorded: no recording is empty.
    if (review.recording.size != 0 && recording.size != 0 && review.recording.size != recording.size)
        return "it names another recording (\"" + review.recording.name + "\", " +
               std::to_string(review.recording.size) + " bytes; this one has " +
               std::to_string(recording.size) + ")";
    if (!recording.sha256.empty() && review.recording.sha256 != recording.sha256)
        return "it names another recording (\"" + review.recording.name + "\", SHA-256 " +
               shortHash(review.recording.sha256) + "; this one's is " + shortHash(recording.sha256) + ")";
    return std::nullopt;
}

ReviewLoad findReview(const std::string& recordingPath, const RecordingIdentity& recording) {
    ReviewLoad load = readReviewFile(reviewPathBeside(recordingPath));
    if (load.problem == ReviewProblem::NotFound && !recording.sha256.empty()) {
        const std::string inData = reviewPathInDataFolder(recording.sha256);
        if (!inData.empty()) load = readReviewFile(inData);
    }
    if (load.problem == ReviewProblem::None) {
        if (auto other = otherRecordingReason(*load.review, recording)) {
            load.problem = ReviewProblem::OtherRecording;
            load.reason = *other;
            load.review.reset();
        }
    }
    return load;
}

ReviewSave saveReview(const ReviewFile& review, const std::string& recordingPath,
                      const std::string& foundAt) {
    ReviewSave out;
    const std::string& sha = review.recording.sha256;
    if (sha.size() != 64) {
        out.error =
            reviewPathBeside(recordingPath) + ": the recording's SHA-256 is not known; nothing written";
        return out;
    }
    const std::string text = reviewJson(review);
    const std::string first = foundAt.empty() ? reviewPathBeside(recordingPath) : foundAt;
    if (auto refused = keepsItsPlace(first, sha)) {
        out.error = *refused + "; nothing written";
        return out;
    }
    bool couldOpen = false;
    auto failed = writeAt(first, text, recordingPath, couldOpen);
    if (!failed) {
        out.saved = true;
        out.path = first;
        return out;
    }
    // Only a new review moves to the data folder, and only when the recording's
    // folder refused the file itself; a failed write is said as it is.
    const std::string inData = reviewPathInDataFolder(sha);
    if (!foundAt.empty() || couldOpen || inData.empty()) {
        out.error = *failed;
        return out;
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(inData).parent_path(), ignored);
    if (auto refused = keepsItsPlace(inData, sha)) {
        out.error = *refused + "; nothing written";
        return out;
    }
    if (auto alsoFailed = writeAt(inData, text, recordingPath, couldOpen)) {
        out.error = *failed + "; " + *alsoFailed;
        return out;
    }
    out.saved = true;
    out.path = inData;
    return out;
}

} // namespace pelix::review
