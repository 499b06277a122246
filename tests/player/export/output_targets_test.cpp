// Every subcommand that writes a file, run as a program against hostile
// output targets: the recording under another name, things that are not
// regular files, and a file that exists when the run fails. Each is refused
// or fails with exit status 1 and a message naming the file; the recording
// and the target are left exactly as they were, and nothing else is left over.
#include "player/window_test_support.h"
#include "support/file_state.h"
#include "support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace pelix::player::test {
namespace {

namespace fs = std::filesystem;

using pelix::testing::FileState;

FileState stateOf(const std::string& path) {
    return pelix::testing::fileStateOf(path);
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        // Qt's own runtime folder (made under TMPDIR when XDG_RUNTIME_DIR is unset) is not ours.
        if (!e.path().filename().string().starts_with("runtime-"))
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct ToolResult {
    int status = -1;
    QString err;
};

class OutputTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(tmp());
        std::ofstream out(recording(), std::ios::binary);
        synth::RecordingSynth(recordingOptions(25)).write(out);
    }
    std::string recording() const { return dir.file("s.BIN"); }
    std::string tmp() const { return dir.file("tmp"); }

    QProcess* start(const QStringList& args, const std::function<void()>& inChild = {}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("TMPDIR", QString::fromStdString(tmp()));
        // As in a plain console: the tool makes its own runtime folder under TMPDIR, which
        // must go with everything else.
        env.remove("XDG_RUNTIME_DIR");
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(QString::fromStdString(dir.path().string()));
        if (inChild) p->setChildProcessModifier(inChild);
        p->start(QStringLiteral(PELIX_BIN_DIR "/pelix"), args);
        return p;
    }
    ToolResult run(const QStringList& args, const std::function<void()>& inChild = {}) {
        std::unique_ptr<QProcess> p(start(args, inChild));
        EXPECT_TRUE(p->waitForFinished(120000));
        return {p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1,
                QString::fromLocal8Bit(p->readAllStandardError())};
    }

    pelix::testing::TempFolder dir;
};

struct Command {
    const char* name;
    QStringList args; // REC and OUT stand for the recording and the target
};

const Command kCommands[] = {
    {"renderPicture", {"render", "REC", "1", "-o", "OUT"}},
    {"renderOps", {"render", "REC", "1", "--ops", "OUT"}},
    {"renderState", {"render", "REC", "1", "--state", "OUT"}},
    {"overview", {"overview", "REC", "-o", "OUT"}},
    {"report", {"report", "REC", "-o", "OUT", "--frames", "1"}},
    {"export", {"export", "REC", "-o", "OUT", "--to", "3"}},
};

struct Target {
    const char* name;
    // Makes the target in `folder` beside s.BIN; returns the name to give, "" when it cannot be made here.
    std::function<std::string(const std::string& folder)> make;
    const char* reason; // empty: the run fails while writing
};

// Small enough that no output fits: the run fails while writing.
void fileSizeLimitOf100Bytes() {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

const Target kTargets[] = {
    {"recordingByName", [](const std::string& d) { return d + "/s.BIN"; }, "is the recording being read"},
    {"hardLink",
     [](const std::string& d) {
         ::link((d + "/s.BIN").c_str(), (d + "/hl.pdf").c_str());
         return d + "/hl.pdf";
     },
     "is the recording being read"},
    {"symbolicLink",
     [](const std::string& d) {
         ::symlink("s.BIN", (d + "/sl.png").c_str());
         return d + "/sl.png";
     },
     "is the recording being read"},
    {"relativePath", [](const std::string&) { return std::string("./s.BIN"); },
     "is the recording being read"},
    {"fifo",
     [](const std::string& d) {
         ::mkfifo((d + "/fifo").c_str(), 0600);
         return d + "/fifo";
     },
     "is a FIFO, not a regular file"},
    {"deviceNode",
     [](const std::string& d) {
         return ::mknod((d + "/node").c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0 ? d + "/node"
                                                                                   : std::string();
     },
     "is a character device, not a regular file"},
    {"folder",
     [](const std::string& d) {
         fs::create_directory(d + "/out.d");
         return d + "/out.d";
     },
     "is a folder, not a regular file"},
    {"existingFileOnAFullDisk",
     [](const std::string& d) {
         std::ofstream(d + "/old.out") << "an earlier output";
         return d + "/old.out";
     },
     ""},
};

class HostileTargets : public OutputTargetTest,
                       public ::testing::WithParamInterface<std::tuple<Command, Target>> {};

TEST_P(HostileTargets, AreRefusedOrFailWithExitOneAndLeaveEverythingAsItWas) {
    const auto& [command, target] = GetParam();
    const std::string folder = dir.path().string();
    const std::string out = target.make(folder);
    if (out.empty()) GTEST_SKIP() << "a device node can only be made as root";
    const std::string absolute = out.starts_with('/') ? out : folder + "/" + out;
    const FileState recordingBefore = stateOf(recording());
    const FileState targetBefore = stateOf(absolute);
    const auto namesBefore = namesIn(dir.path());

    QStringList args = command.args;
    args.replaceInStrings("REC", QString::fromStdString(recording()));
    args.replaceInStrings("OUT", QString::fromStdString(out));
    const bool full = *target.reason == '\0';
    const ToolResult r = run(args, full ? fileSizeLimitOf100Bytes : std::function<void()>());

    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    const QString said = QStringLiteral("pelix %1: %2: ").arg(args[0], QString::fromStdString(out));
    if (full)
        EXPECT_TRUE(r.err.contains(said + "cannot be written") && r.err.contains("; nothing written\n"))
            << r.err.toStdString();
    else
        EXPECT_TRUE(r.err.contains(said + target.reason + "; nothing written\n")) << r.err.toStdString();
    EXPECT_TRUE(stateOf(recording()) == recordingBefore) << "the recording changed";
    EXPECT_TRUE(stateOf(absolute) == targetBefore) << "the target changed";
    EXPECT_EQ(namesIn(dir.path()), namesBefore);
    EXPECT_TRUE(namesIn(tmp()).empty());
}

INSTANTIATE_TEST_SUITE_P(EveryWritingSubcommand, HostileTargets,
                         ::testing::Combine(::testing::ValuesIn(kCommands), ::testing::ValuesIn(kTargets)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

// Stopped by a signal while the output is being written: no temporary file
// beside the target, no temporary folder, the earlier file as it was, and the
// program ends by that very signal.
class StoppedMidWrite : public OutputTargetTest,
                        public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(StoppedMidWrite, LeavesNothingBehindAndTheEarlierFileAsItWas) {
    const auto [signalNumber, exportNotReport] = GetParam();
    {
        std::ofstream out(recording(), std::ios::binary);
        synth::RecordingSynth(recordingOptions(400)).write(out);
    }
    const std::string target = dir.file(exportNotReport ? "old.avi" : "old.pdf");
    std::ofstream(target) << "an earlier output";
    const FileState before = stateOf(target);
    const QString rec = QString::fromStdString(recording()), out = QString::fromStdString(target);
    std::unique_ptr<QProcess> p(start(exportNotReport
                                          ? QStringList{"export", rec, "-o", out}
                                          : QStringList{"report", rec, "-o", out, "--frames", "1-300"}));
    ASSERT_TRUE(p->waitForStarted());
    // Wait until the output is under way: its temporary file beside the target
    // (and for a video, the capture folder) exists.
    bool underWay = false;
    for (int i = 0; i < 600 && !underWay && p->state() == QProcess::Running; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto names = namesIn(dir.path());
        const bool part = std::any_of(names.begin(), names.end(), [](const std::string& n) {
            return n.find(".part-") != std::string::npos;
        });
        underWay = part && (!exportNotReport || !namesIn(tmp()).empty());
    }
    ASSERT_TRUE(underWay) << "the output never started";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(static_cast<pid_t>(p->processId()), signalNumber);
    ASSERT_TRUE(p->waitForFinished(60000));
    EXPECT_EQ(p->exitStatus(), QProcess::CrashExit) << "ended by the signal, not by an exit";
    EXPECT_TRUE(stateOf(target) == before);
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{exportNotReport ? "old.avi" : "old.pdf", "s.BIN", "tmp"}));
    EXPECT_TRUE(namesIn(tmp()).empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedMidWrite,
                         ::testing::Combine(::testing::Values(SIGINT, SIGTERM, SIGHUP), ::testing::Bool()),
                         [](const auto& info) {
                             const int s = std::get<0>(info.param);
                             return std::string(s == SIGINT    ? "SIGINT"
                                                : s == SIGTERM ? "SIGTERM"
                                                               : "SIGHUP") +
                                    (std::get<1>(info.param) ? "_export" : "_report");
                         });

TEST_F(OutputTargetTest, AnExportThatFailsLeavesTheEarlierFileAsItWas) {
    // The recording ends before the range does.
    std::string bytes = stateOf(recording()).bytes;
    // Less than half a record: the last frame still counts, but the file ends inside it.
    bytes.resize(bytes.size() - 500);
    std::ofstream(dir.file("cut.BIN"), std::ios::binary) << bytes;
    const std::string target = dir.file("old.avi");
    std::ofstream(target) << "old";
    const FileState before = stateOf(target);
    const ToolResult r = run({"export", QString::fromStdString(dir.file("cut.BIN")), "-o",
                              QString::fromStdString(target), "--from", "20"});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("is cut short by the end of the file; no video written"))
        << r.err.toStdString();
    EXPECT_TRUE(stateOf(target) == before);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"cut.BIN", "old.avi", "s.BIN", "tmp"}));
}

TEST_F(OutputTargetTest, OutputsAreWrittenUnderExactlyTheNameGiven) {
    // A name that is not UTF-8 goes to the program as the bytes it is, through the shell.
    const std::string name = dir.file("bad\xff.png");
    const std::string command = "QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 " PELIX_BIN_DIR
                                "/pelix overview '" +
                                recording() + "' -o '" + name + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::is_regular_file(name));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"bad\xff.png", "s.BIN", "tmp"}));
}

} // namespace
} // namespace pelix::player::test
