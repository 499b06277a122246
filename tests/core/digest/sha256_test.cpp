// The digest names recordings across files and tools, so it must be the
// standard SHA-256 for every length, also across the file reader's blocks.
#include "core/digest/sha256.h"
#include "core/digest/threaded_sha256.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using pelix::digest::sha256Hex;
using pelix::digest::sha256OfFile;

namespace {

std::string writeTemp(const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("pelix-sha256-" + std::to_string(::getpid()) + "-" + std::to_string(bytes.size()));
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path.string();
}

} // namespace

TEST(Sha256, KnownVectors) {
    EXPECT_EQ(sha256Hex("", 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc", 3), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(sha256Hex(two.data(), two.size()),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(Sha256, FileEqualsBytesAcrossReadBlocks) {
    // A million 'a' is a published vector; 3 MiB + 1 spans several read blocks.
    const std::string million(1000000, 'a');
    const auto path = writeTemp(million);
    const auto digest = sha256OfFile(path);
    EXPECT_TRUE(digest.complete);
    EXPECT_EQ(digest.size, million.size());
    EXPECT_EQ(digest.hex, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    std::remove(path.c_str());

    std::string odd((3u << 20) + 1, '\0');
    for (std::size_t i = 0; i < odd.size(); ++i)
        odd[i] = static_cast<char>(i * 131 + (i >> 11));
    const auto oddPath = writeTemp(odd);
    std::uint64_t lastDone = 0;
    const auto oddDigest = sha256OfFile(oddPath, nullptr, [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_GT(done, lastDone);
        EXPECT_EQ(total, odd.size());
        lastDone = done;
    });
    EXPECT_EQ(oddDigest.hex, sha256Hex(odd.data(), odd.size()));
    EXPECT_EQ(lastDone, odd.size());
    std::remove(oddPath.c_str());
}

TEST(Sha256, StoppedOrUnreadableIsNotComplete) {
    const auto path = writeTemp(std::string(4096, 'x'));
    std::atomic<bool> stop{true};
    const auto stopped = sha256OfFile(path, &stop);
    EXPECT_FALSE(stopped.complete);
    EXPECT_TRUE(stopped.hex.empty());
    EXPECT_TRUE(stopped.error.empty());
    std::remove(path.c_str());

    const auto missing = sha256OfFile("/nonexistent/pelix/recording.BIN");
    EXPECT_FALSE(missing.complete);
    EXPECT_FALSE(missing.error.empty());
    const auto folder = sha256OfFile(std::filesystem::temp_directory_path().string());
    EXPECT_FALSE(folder.complete);
    EXPECT_EQ(folder.error, "not a regular file");
}

// Bytes hashed piece by piece, on the caller's thread or on a thread of its own with
// the buffers going round, give the digest of the bytes as one, whatever the pieces.
TEST(Sha256, PieceByPieceEqualsTheWhole) {
    std::string bytes((1u << 20) + 77, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 167 + (i >> 9));
    const std::string whole = sha256Hex(bytes.data(), bytes.size());
    const std::size_t pieceSizes[] = {1, 63, 64, 65, 4096, 1u << 20};
    for (const std::size_t piece : pieceSizes) {
        SCOPED_TRACE("pieces of " + std::to_string(piece));
        const std::size_t count = piece == 1 ? 3000 : bytes.size(); // single bytes: a short prefix
        pelix::digest::Sha256 here;
        ASSERT_TRUE(here.usable());
        for (std::size_t at = 0; at < count; at += piece)
            here.add(bytes.data() + at, std::min(piece, count - at));
        EXPECT_EQ(here.size(), count);
        EXPECT_EQ(here.finishHex(), sha256Hex(bytes.data(), count));

        for (const std::size_t depth : {std::size_t{1}, std::size_t{4}}) {
            pelix::digest::ThreadedSha256 threaded(depth);
            ASSERT_TRUE(threaded.usable());
            std::vector<uint8_t> buffer;
            std::size_t fresh = 0;
            for (std::size_t at = 0; at < count; at += piece) {
                const std::size_t n = std::min(piece, count - at);
                fresh += buffer.capacity() == 0;
                // A buffer handed back holds stale bytes: it is filled whole before it goes again.
                buffer.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
                buffer = threaded.add(std::move(buffer));
            }
            std::uint64_t size = 0;
            EXPECT_EQ(threaded.finishHex(size),
                      count == bytes.size() ? whole : sha256Hex(bytes.data(), count));
            EXPECT_EQ(size, count);
            // Buffers go round: a new one is handed out only while every other waits or is being
            // hashed, so however long the pass, at most depth + 2 are ever made.
            EXPECT_LE(fresh, depth + 2) << "depth " << depth;
        }
    }
}

TEST(Sha256, AThreadedHashAbandonedMidwayLetsGo) {
    pelix::digest::ThreadedSha256 threaded(2);
    for (int i = 0; i < 50; ++i)
        threaded.add(std::vector<uint8_t>(1u << 16, static_cast<uint8_t>(i)));
    // Destroyed without finishing: what is queued is dropped and the thread ends.
}
