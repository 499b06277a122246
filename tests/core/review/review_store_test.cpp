// Where a review file is looked for and kept, and what is never done to it:
// a file that cannot be vouched for is not applied and not replaced, a failed
// write leaves the old file whole, and the recording is never written.
#include "core/review/review_store.h"

#include "core/digest/sha256.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace pelix::review;
using pelix::testing::TempFolder;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Points XDG_DATA_HOME at a folder of the test's own for as long as it lives.
class DataHome {
  public:
    explicit DataHome(const std::string& path) {
        if (const char* was = std::getenv("XDG_DATA_HOME")) m_was = was;
        ::setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~DataHome() {
        if (m_was)
            ::setenv("XDG_DATA_HOME", m_was->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

  private:
    std::optional<std::string> m_was;
};

class ReviewStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recording = folder.file("recordings/Weld.BIN");
        std::filesystem::create_directories(folder.file("recordings"));
        writeText(recording, std::string(5000, 'r'));
        const IdentifiedRecording id = identifyRecording(recording);
        ASSERT_TRUE(id.identity) << id.error;
        identity = *id.identity;
        review.recording = identity;
        review.bookmarks = {{3, "porosity", "2026-12-08T10:00:00Z"}};
    }

    TempFolder folder;
    DataHome data{folder.file("data")};
    std::string recording;
    RecordingIdentity identity;
    ReviewFile review;
};

TEST_F(ReviewStoreTest, TheRecordingIsNamedByItsHash) {
    EXPECT_EQ(identity.name, "Weld.BIN");
    EXPECT_EQ(identity.size, 5000U);
    EXPECT_EQ(identity.sha256, pelix::digest::sha256Hex(std::string(5000, 'r').data(), 5000));
}

TEST_F(ReviewStoreTest, PlacesKeepTheRecordingsNameAndUseTheDataFolder) {
    EXPECT_EQ(reviewPathBeside("/x/a.bin"), "/x/a.bin.review.json");
    EXPECT_EQ(reviewPathBeside("/x/A.BiN"), "/x/A.BiN.review.json");
    EXPECT_EQ(reviewPathInDataFolder(identity.sha256),
              folder.file("data") + "/pelix-player/reviews/" + identity.sha256 + ".review.json");
    {
        DataHome relative{"relative/data"};
        const char* home = std::getenv("HOME");
        if (home && home[0] == '/') {
            EXPECT_EQ(reviewPathInDataFolder("h"),
                      std::string(home) + "/.local/share/pelix-player/reviews/h.review.json");
        }
    }
}

TEST_F(ReviewStoreTest, ANewReviewGoesBesideTheRecordingAndReadsBack) {
    EXPECT_EQ(findReview(recording, identity).problem, ReviewProblem::NotFound);
    const ReviewSave saved = saveReview(review, recording, "");
    ASSERT_TRUE(saved.saved) << saved.error;
    EXPECT_EQ(saved.path, recording + ".review.json");
    const ReviewLoad found = findReview(recording, identity);
    ASSERT_EQ(found.problem, ReviewProblem::None) << found.reason;
    EXPECT_EQ(found.path, saved.path);
    EXPECT_EQ(*found.review, review);
    EXPECT_EQ(readText(recording), std::string(5000, 'r'));
}

TEST_F(ReviewStoreTest, AReadOnlyFolderSendsTheReviewToTheDataFolder) {
    // Root writes into any folder: the save then runs as an ordinary user.
    const bool root = ::geteuid() == 0;
    std::filesystem::create_directories(folder.file("data"));
    if (root) {
        for (const char* open : {"", "data"})
            ::chmod(folder.file(open).c_str(), 0777);
        ::chmod(recording.c_str(), 0644);
    }
    ::chmod(folder.file("recordings").c_str(), 0555);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        const ReviewSave saved = saveReview(review, recording, "");
        ::_exit(saved.saved && saved.path == reviewPathInDataFolder(identity.sha256) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.file("recordings").c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const ReviewLoad found = findReview(recording, identity);
    ASSERT_EQ(found.problem, ReviewProblem::None) << found.reason;
    EXPECT_EQ(found.path, reviewPathInDataFolder(identity.sha256));
    // Found there, it is kept there.
    review.bookmarks.push_back({9, "more", ""});
    const ReviewSave again = saveReview(review, recording, found.path);
    ASSERT_TRUE(again.saved) << again.error;
    EXPECT_EQ(again.path, found.path);
    EXPECT_FALSE(std::filesystem::exists(recording + ".review.json"));
}

TEST_F(ReviewStoreTest, TheFileBesideTheRecordingComesFirst) {
    ReviewFile inData = review;
    inData.bookmarks.clear();
    const std::string dataPath = reviewPathInDataFolder(identity.sha256);
    std::filesystem::create_directories(std::filesystem::path(dataPath).parent_path());
    writeText(dataPath, reviewJson(inData));
    EXPECT_EQ(findReview(recording, identity).path, dataPath);
    writeText(recording + ".review.json", reviewJson(review));
    const ReviewLoad found = findReview(recording, identity);
    EXPECT_EQ(found.path, recording + ".review.json");
    EXPECT_EQ(found.review->bookmarks.size(), 1U);
    // Without the hash the data folder cannot be named: only the file beside counts.
    std::filesystem::remove(recording + ".review.json");
    EXPECT_EQ(findReview(recording, {identity.name, identity.size, ""}).problem, ReviewProblem::NotFound);
}

TEST_F(ReviewStoreTest, AReviewOfAnotherRecordingIsNotAppliedNorReplaced) {
    ReviewFile other = review;
    other.recording.sha256 = std::string(64, 'b');
    const std::string beside = recording + ".review.json";
    writeText(beside, reviewJson(other));
    const ReviewLoad found = findReview(recording, identity);
    EXPECT_EQ(found.problem, ReviewProblem::OtherRecording);
    EXPECT_NE(found.reason.find("another recording"), std::string::npos) << found.reason;
    EXPECT_FALSE(found.review);
    // Before the hash is known a size that differs already tells.
    other.recording.sha256 = identity.sha256;
    other.recording.size = 4999;
    writeText(beside, reviewJson(other));
    EXPECT_EQ(findReview(recording, {identity.name, identity.size, ""}).problem,
              ReviewProblem::OtherRecording);

    other.recording.size = identity.size;
    other.recording.sha256 = std::string(64, 'b');
    const std::string before = reviewJson(other);
    writeText(beside, before);
    const ReviewSave saved = saveReview(review, recording, "");
    EXPECT_FALSE(saved.saved);
    EXPECT_NE(saved.error.find("is not replaced"), std::string::npos) << saved.error;
    EXPECT_EQ(readText(beside), before);
}

TEST_F(ReviewStoreTest, ABrokenFileIsNotReplaced) {
    const std::string beside = recording + ".review.json";
    for (const std::string& broken : {std::string("{\"Format\": \"pelix-review\", "),
                                      std::string(R"({"Format":"pelix-review","Version":9})")}) {
        writeText(beside, broken);
        EXPECT_NE(findReview(recording, identity).problem, ReviewProblem::None);
        const ReviewSave saved = saveReview(review, recording, "");
        EXPECT_FALSE(saved.saved);
        EXPECT_NE(saved.error.find(beside + ": is not replaced"), std::string::npos) << saved.error;
        EXPECT_EQ(readText(beside), broken);
    }
}

TEST_F(ReviewStoreTest, AHugeFileIsRefusedUnread) {
    const std::string beside = recording + ".review.json";
    {
        std::ofstream out(beside, std::ios::binary);
        out << R"({"Format":"pelix-review",)" << std::string(kMostReviewBytes, ' ') << "}";
    }
    const ReviewLoad found = findReview(recording, identity);
    EXPECT_EQ(found.problem, ReviewProblem::TooLarge);
    EXPECT_NE(found.reason.find("at most 16777216 bytes"), std::string::npos) << found.reason;
}

TEST_F(ReviewStoreTest, AFolderOrAFifoInItsPlaceIsUnreadableAndNothingWaits) {
    const std::string beside = recording + ".review.json";
    ASSERT_EQ(::mkfifo(beside.c_str(), 0644), 0);
    EXPECT_EQ(findReview(recording, identity).problem, ReviewProblem::Unreadable);
    std::filesystem::remove(beside);
    std::filesystem::create_directory(beside);
    EXPECT_EQ(findReview(recording, identity).problem, ReviewProblem::Unreadable);
    EXPECT_FALSE(saveReview(review, recording, "").saved);
}

TEST_F(ReviewStoreTest, AFullDiskLeavesTheOldReviewWhole) {
    ASSERT_TRUE(saveReview(review, recording, "").saved);
    const std::string beside = recording + ".review.json";
    const std::string before = readText(beside);
    ReviewFile bigger = review;
    bigger.bookmarks.push_back({4, std::string(100000, 'n'), ""});
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const ReviewSave saved = saveReview(bigger, recording, beside);
        ::_exit(!saved.saved && saved.error.find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readText(beside), before);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.file("recordings")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Weld.BIN", "Weld.BIN.review.json"}));
}

TEST_F(ReviewStoreTest, ALinkInTheReviewsPlaceNeverReplacesTheRecording) {
    const std::string beside = recording + ".review.json";
    std::filesystem::create_symlink(recording, beside);
    const ReviewSave saved = saveReview(review, recording, "");
    EXPECT_FALSE(saved.saved);
    EXPECT_EQ(readText(recording), std::string(5000, 'r'));
}

TEST_F(ReviewStoreTest, ANewReviewNeedsTheRecordingsHash) {
    review.recording.sha256.clear();
    const ReviewSave saved = saveReview(review, recording, "");
    EXPECT_FALSE(saved.saved);
    EXPECT_NE(saved.error.find("SHA-256 is not known"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(recording + ".review.json"));
}

} // namespace
