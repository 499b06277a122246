// pelix export, run as a program: exit codes, and what a finished video holds.
#include "player/window_test_support.h"
#include "support/avi_probe.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace pelix::player::test {
namespace {

using testing::AviProbe;
using testing::probeAvi;

class ExportToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFile::exists(tool())) << "build the pelix target first";
        recording = files.write(QStringLiteral("EXP.BIN"), recordingOptions(25));
    }
    static QString tool() { return QStringLiteral(PELIX_BIN_DIR "/pelix"); }
    int run(const QStringList& args, QString* err = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("TMPDIR", dir.path());
        p.setProcessEnvironment(env);
        p.start(tool(), QStringList{"export"} + args);
        EXPECT_TRUE(p.waitForFinished(120000));
        if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitCode();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    RecordingFiles files;
    QString recording;
};

TEST_F(ExportToolTest, WritesTheRangeAtTheAskedRate) {
    QString err;
    ASSERT_EQ(run({recording, "-o", path("r.avi"), "--from", "3", "--to", "9", "--fps", "25"}, &err), 0)
        << err.toStdString();
    const AviProbe p = probeAvi(path("r.avi"));
    EXPECT_EQ(p.container, "avi");
    EXPECT_EQ(p.streams, 1u);
    EXPECT_EQ(p.codec, "msvideo1");
    EXPECT_EQ(p.tag, "MSVC");
    EXPECT_EQ(p.rate.num, 25);
    EXPECT_EQ(p.packets, 7);
    EXPECT_EQ(p.keyPackets, 7);
    EXPECT_EQ(err.count("frame"), 0) << "no progress line when standard error is not a terminal";
}

TEST_F(ExportToolTest, WholeRecordingAtTheDefaultRateAndAClampedRate) {
    ASSERT_EQ(run({recording, "-o", path("all.avi")}), 0);
    EXPECT_EQ(probeAvi(path("all.avi")).packets, 25);
    EXPECT_EQ(probeAvi(path("all.avi")).rate.num, 10);
    ASSERT_EQ(run({recording, "-o", path("fast.avi"), "--from", "25", "--fps", "120"}), 0);
    EXPECT_EQ(probeAvi(path("fast.avi")).rate.num, 30);
    EXPECT_EQ(probeAvi(path("fast.avi")).packets, 1);
}

struct UsageCase {
    const char* name;
    QStringList args;
};

class ExportUsage : public ExportToolTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(ExportUsage, IsAUsageErrorAndWritesNothing) {
    QStringList args = GetParam().args;
    args.replaceInStrings("REC", recording);
    args.replaceInStrings("OUT", path("u.avi"));
    EXPECT_EQ(run(args), 2);
    EXPECT_FALSE(QFile::exists(path("u.avi")));
}

INSTANTIATE_TEST_SUITE_P(Arguments, ExportUsage,
                         ::testing::Values(UsageCase{"fromZero", {"REC", "-o", "OUT", "--from", "0"}},
                                           UsageCase{"toPastTheEnd", {"REC", "-o", "OUT", "--to", "26"}},
                                           UsageCase{"fromPastTheEnd", {"REC", "-o", "OUT", "--from", "26"}},
                                           UsageCase{"reversed",
                                                     {"REC", "-o", "OUT", "--from", "9", "--to", "8"}},
                                           UsageCase{"noOutput", {"REC"}}, UsageCase{"noFile", {"-o", "OUT"}},
                                           UsageCase{"rateNotANumber", {"REC", "-o", "OUT", "--fps", "ten"}},
                                           UsageCase{"unknownOption", {"REC", "-o", "OUT", "--speed", "2"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportToolTest, ARejectedRecordingExitsThree) {
    const QString junk = files.writeBytes(QStringLiteral("JUNK.BIN"), std::string(3000, 'x'));
    QString err;
    EXPECT_EQ(run({junk, "-o", path("j.avi")}, &err), 3);
    EXPECT_TRUE(err.contains("File format is not correct")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("j.avi")));
}

TEST_F(ExportToolTest, NeverReplacesTheRecordingItself) {
    QString err;
    EXPECT_EQ(run({recording, "-o", recording}, &err), 1);
    EXPECT_TRUE(
        err.contains("pelix export: " + recording + ": is the recording being read; nothing written\n"))
        << err.toStdString();
    EXPECT_GT(QFile(recording).size(), 0);
}

TEST_F(ExportToolTest, AWriteFailureExitsOneSaysWhatFailedAndLeavesNoFile) {
    QString err;
    EXPECT_EQ(run({recording, "-o", path("no/such/folder/x.avi")}, &err), 1);
    EXPECT_TRUE(err.contains("pelix export: " + path("no/such/folder/x.avi") +
                             ": cannot be written: its folder " + path("no/such/folder") +
                             " does not exist; nothing written\n"))
        << err.toStdString();
    EXPECT_FALSE(err.contains("please exit the Player"))
        << "the window's advice means nothing on a command line";

    // A disk that fills up halfway: the program inherits a file-size limit.
    {
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = 300000;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limited);
        const int status = run({recording, "-o", path("full.avi")});
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);
        EXPECT_EQ(status, 1);
    }
    EXPECT_FALSE(QFile::exists(path("full.avi")));
}

} // namespace
} // namespace pelix::player::test
