// The one way outputs are written: what is refused, what is left behind when
// writing fails or the program is stopped, and what a finished output looks like.
#include "core/files/output_file.h"
#include "core/files/signal_cleanup.h"
#include "support/file_state.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using pelix::files::CleanupKind;
using pelix::files::CleanupOnSignal;
using pelix::files::FileIdentity;
using pelix::files::identityOfPath;
using pelix::files::OutputFile;

namespace {

using Snapshot = pelix::testing::FileState;

Snapshot snapshot(const std::string& path) {
    return pelix::testing::fileStateOf(path);
}

void expectSame(const Snapshot& a, const Snapshot& b) {
    EXPECT_EQ(a.bytes, b.bytes);
    EXPECT_EQ(a.inode, b.inode);
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.mtime.tv_sec, b.mtime.tv_sec);
    EXPECT_EQ(a.mtime.tv_nsec, b.mtime.tv_nsec);
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Runs `body` in a child process; returns its wait status.
int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

class OutputFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/pelix-files-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir = name;
        recording = dir + "/s.BIN";
        writeText(recording, "recording bytes");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Everything in the folder but what the test made itself.
    std::vector<std::string> leftovers(const std::vector<std::string>& known) const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) found.push_back(name);
        }
        return found;
    }

    std::optional<FileIdentity> beingRead() const { return identityOfPath(recording); }

    std::string dir;
    std::string recording;
};

struct HostileTarget {
    const char* name;
    // Makes the target in `dir` for the recording `rec`; returns the path to give, or "" to skip.
    std::function<std::string(const std::string& dir, const std::string& rec)> make;
    const char* reason;
};

const HostileTarget kHostileTargets[] = {
    {"RecordingByName", [](const std::string&, const std::string& rec) { return rec; },
     "is the recording being read"},
    {"HardLink",
     [](const std::string& d, const std::string& rec) {
         return ::link(rec.c_str(), (d + "/hl.pdf").c_str()) == 0 ? d + "/hl.pdf" : std::string();
     },
     "is the recording being read"},
    {"SymbolicLink",
     [](const std::string& d, const std::string&) {
         ::symlink("s.BIN", (d + "/sl.png").c_str());
         return d + "/sl.png";
     },
     "is the recording being read"},
    {"LinkToLink",
     [](const std::string& d, const std::string&) {
         ::symlink("s.BIN", (d + "/a").c_str());
         ::symlink(d.c_str(), (d + "/sub").c_str());
         ::symlink("sub/a", (d + "/b").c_str());
         return d + "/b";
     },
     "is the recording being read"},
    {"RelativePath", [](const std::string&, const std::string& rec) { return fs::relative(rec).string(); },
     "is the recording being read"},
    {"Fifo",
     [](const std::string& d, const std::string&) {
         ::mkfifo((d + "/f").c_str(), 0600);
         return d + "/f";
     },
     "is a FIFO, not a regular file"},
    {"Folder",
     [](const std::string& d, const std::string&) {
         fs::create_directory(d + "/sub.avi");
         return d + "/sub.avi";
     },
     "is a folder, not a regular file"},
    {"Socket",
     [](const std::string& d, const std::string&) {
         const std::string path = d + "/sock";
         const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un addr{};
         addr.sun_family = AF_UNIX;
         std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
         const bool bound = ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
         ::close(s);
         return bound ? path : std::string();
     },
     "is a socket, not a regular file"},
    {"DeviceNode",
     [](const std::string& d, const std::string&) {
         // The null device's numbers; only root may make one.
         return ::mknod((d + "/node").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0 ? d + "/node"
                                                                                   : std::string();
     },
     "is a character device, not a regular file"},
};

class HostileOutputTest : public OutputFileTest, public ::testing::WithParamInterface<HostileTarget> {};

TEST_P(HostileOutputTest, IsRefusedNamedAndLeftInPlace) {
    const std::string target = GetParam().make(dir, recording);
    if (target.empty()) GTEST_SKIP() << "cannot make this kind of file here (a device node needs root)";
    const Snapshot recordingBefore = snapshot(recording);
    const Snapshot targetBefore = snapshot(target);
    std::vector<std::string> known;
    for (const auto& e : fs::directory_iterator(dir))
        known.push_back(e.path().filename().string());

    OutputFile out;
    EXPECT_FALSE(out.open(target, beingRead()));
    EXPECT_EQ(out.error(), target + ": " + GetParam().reason + "; nothing written");
    EXPECT_FALSE(out.commit());
    expectSame(snapshot(recording), recordingBefore);
    expectSame(snapshot(target), targetBefore);
    EXPECT_TRUE(leftovers(known).empty());
}

INSTANTIATE_TEST_SUITE_P(Targets, HostileOutputTest, ::testing::ValuesIn(kHostileTargets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputFileTest, ReplacesAnExistingFileOnlyOnCommitKeepingItsPermissions) {
    const std::string target = dir + "/out.png";
    writeText(target, "old");
    ::chmod(target.c_str(), 0640);
    OutputFile out;
    ASSERT_TRUE(out.open(target, beingRead())) << out.error();
    EXPECT_EQ(fs::path(out.temporaryPath()).parent_path(), fs::path(dir));
    ASSERT_TRUE(out.write("new contents"));
    EXPECT_EQ(snapshot(target).bytes, "old") << "the target changes only when the new file is complete";
    ASSERT_TRUE(out.commit()) << out.error();
    EXPECT_EQ(snapshot(target).bytes, "new contents");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(leftovers({"s.BIN", "out.png"}), std::vector<std::string>{});
}

// A long output hands its pages to the disk as it grows; what a writer puts back over bytes
// already on their way (a library rewrites its headers at the end) is what the file keeps.
TEST_F(OutputFileTest, EarlyWritebackKeepsEveryByteAndLaterRewrites) {
    const std::string target = dir + "/long.h5";
    OutputFile out;
    ASSERT_TRUE(out.open(target, beingRead())) << out.error();
    std::string expected;
    for (int piece = 0; piece < 24; ++piece) {
        // Pieces of odd lengths, so that no step ends on a page.
        const std::string bytes(std::size_t{1} << 20 | 1234, static_cast<char>('a' + piece));
        ASSERT_TRUE(out.write(bytes));
        expected += bytes;
        out.startWriteback();
    }
    const std::string header = "HEADER REWRITTEN";
    ASSERT_EQ(::pwrite(out.descriptor(), header.data(), header.size(), 100),
              static_cast<ssize_t>(header.size()));
    expected.replace(100, header.size(), header);
    out.startWriteback();
    ASSERT_TRUE(out.commit()) << out.error();
    EXPECT_TRUE(snapshot(target).bytes == expected) << "the committed file differs from what was written";

    // Harmless on an output that was given up or committed.
    out.startWriteback();
    OutputFile failed;
    ASSERT_TRUE(failed.open(dir + "/failed.h5"));
    failed.fail("stopped");
    failed.startWriteback();
    EXPECT_FALSE(fs::exists(dir + "/failed.h5"));
}

TEST_F(OutputFileTest, ANewFileGetsTheUmasksPermissions) {
    const mode_t old = ::umask(027);
    OutputFile out;
    const bool opened = out.open(dir + "/new.json");
    ::umask(old);
    ASSERT_TRUE(opened) << out.error();
    ASSERT_TRUE(out.commit());
    struct stat st {};
    ASSERT_EQ(::stat((dir + "/new.json").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(OutputFileTest, AFailureOrNoCommitLeavesTheTargetAsItWas) {
    const std::string target = dir + "/old.avi";
    writeText(target, "old");
    const Snapshot before = snapshot(target);
    {
        OutputFile out;
        ASSERT_TRUE(out.open(target));
        out.write("half");
    } // destroyed without commit
    expectSame(snapshot(target), before);
    OutputFile failing;
    ASSERT_TRUE(failing.open(target));
    const std::string temporary = failing.temporaryPath();
    failing.fail("the range ends early");
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_FALSE(failing.commit());
    EXPECT_EQ(failing.error(), target + ": the range ends early; nothing written");
    expectSame(snapshot(target), before);
    EXPECT_EQ(leftovers({"s.BIN", "old.avi"}), std::vector<std::string>{});
}

TEST_F(OutputFileTest, AReadOnlyFileIsNotReplaced) {
    const std::string target = dir + "/kept.pdf";
    writeText(target, "evidence");
    ::chmod(target.c_str(), 0444);
    const Snapshot before = snapshot(target);
    // Root may write anything: the check runs as an ordinary user in a child process.
    const int status = inChild([&] {
        if (::geteuid() == 0 && (::chown(dir.c_str(), 65534, 65534) != 0 ||
                                 ::chown(target.c_str(), 65534, 65534) != 0 || ::setuid(65534) != 0))
            return 10;
        OutputFile out;
        if (out.open(target)) return 11;
        return out.error() == target + ": is read-only; nothing written" ? 0 : 12;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(snapshot(target).bytes, before.bytes);
    EXPECT_EQ(snapshot(target).inode, before.inode);
}

TEST_F(OutputFileTest, ASymbolicLinkToAFileStaysALinkAndTheFileIsReplaced) {
    writeText(dir + "/real.json", "old");
    ::symlink("real.json", (dir + "/link.json").c_str());
    OutputFile out;
    ASSERT_TRUE(out.open(dir + "/link.json"));
    out.write("new");
    ASSERT_TRUE(out.commit());
    EXPECT_TRUE(fs::is_symlink(dir + "/link.json"));
    EXPECT_EQ(snapshot(dir + "/real.json").bytes, "new");
}

TEST_F(OutputFileTest, TheNameIsUsedByteForByte) {
    const std::string target = dir + "/bad\xff name.png";
    OutputFile out;
    ASSERT_TRUE(out.open(target));
    out.write("x");
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(snapshot(target).bytes, "x");
}

TEST_F(OutputFileTest, AMissingFolderIsSaid) {
    OutputFile out;
    EXPECT_FALSE(out.open(dir + "/no/such/out.pdf"));
    EXPECT_EQ(out.error(), dir + "/no/such/out.pdf: cannot be written: its folder " + dir +
                               "/no/such does not exist; nothing written");
}

TEST_F(OutputFileTest, TwoWritersToOneNameEachLeaveAWholeFileAndTheLastWins) {
    const std::string target = dir + "/same.avi";
    OutputFile first, second;
    ASSERT_TRUE(first.open(target));
    ASSERT_TRUE(second.open(target));
    EXPECT_NE(first.temporaryPath(), second.temporaryPath());
    first.write(std::string(1000, 'a'));
    second.write(std::string(500, 'b'));
    ASSERT_TRUE(second.commit());
    ASSERT_TRUE(first.commit());
    EXPECT_EQ(snapshot(target).bytes, std::string(1000, 'a'));
}

TEST_F(OutputFileTest, AFullDiskFailsTheWriteAndLeavesTheTargetAsItWas) {
    const std::string target = dir + "/big.pdf";
    writeText(target, "old report");
    const Snapshot before = snapshot(target);
    const int status = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        OutputFile out;
        if (!out.open(target)) return 10;
        if (out.write(std::string(100000, 'x'))) return 11;
        if (out.commit()) return 12;
        return out.error() == target + ": cannot be written (File too large); nothing written" ? 0 : 13;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expectSame(snapshot(target), before);
    EXPECT_EQ(leftovers({"s.BIN", "big.pdf"}), std::vector<std::string>{});
}

TEST_F(OutputFileTest, AnEndingSignalRemovesTemporariesAndEndsTheProgramByThatSignal) {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        const std::string target = dir + "/out.avi";
        writeText(target, "old");
        const Snapshot before = snapshot(target);
        const int status = inChild([&] {
            pelix::files::removeTemporariesOnSignals();
            const std::string folder = dir + "/pelix-avi-x";
            ::mkdir(folder.c_str(), 0700);
            writeText(folder + "/temp", "bitmap");
            CleanupOnSignal folderEntry(folder, CleanupKind::Folder);
            CleanupOnSignal bitmapEntry(folder + "/temp", CleanupKind::File);
            OutputFile out;
            if (!out.open(target)) return 10;
            out.write("half a video");
            ::raise(signalNumber);
            return 11;
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << signalNumber;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        expectSame(snapshot(target), before);
        EXPECT_EQ(leftovers({"s.BIN", "out.avi"}), std::vector<std::string>{}) << "signal " << signalNumber;
    }
}

TEST(CleanupOnSignal, AReleasedOrMovedEntryIsHeldOnce) {
    char name[] = "/tmp/pelix-cleanup-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    const std::string kept = std::string(name) + "/kept", gone = std::string(name) + "/gone";
    writeText(kept, "k");
    writeText(gone, "g");
    CleanupOnSignal released(kept, CleanupKind::File);
    released.release();
    CleanupOnSignal moved(gone, CleanupKind::File);
    CleanupOnSignal holder(std::move(moved));
    EXPECT_FALSE(moved.armed());
    EXPECT_TRUE(holder.armed());
    pelix::files::removeRegisteredTemporariesNow();
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_FALSE(fs::exists(gone));
    holder.release();
    fs::remove_all(name);
}

} // namespace
