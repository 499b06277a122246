// pelix export, run as a program: exit codes, and what a finished video holds.
#include "player/window_test_support.h"
#include "support/avi_probe.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExportUsage,
    ::testing::Values(UsageCase{"fromZero", {"REC", "-o", "OUT", "--from", "0"}},
                      UsageCase{"toPastTheEnd", {"REC", "-o", "OUT", "--to", "26"}},
                      UsageCase{"fromPastTheEnd", {"REC", "-o", "OUT", "--from", "26"}},
                      UsageCase{"reversed", {"REC", "-o", "OUT", "--from", "9", "--to", "8"}},
                      UsageCase{"noOutput", {"REC"}}, UsageCase{"noFile", {"-o", "OUT"}},
                      UsageCase{"rateNotANumber", {"REC", "-o", "OUT", "--fps", "ten"}},
                      UsageCase{"unknownOption", {"REC", "-o", "OUT", "--speed", "2"}},
                      UsageCase{"losslessAvi", {"REC", "-o", "OUT", "--lossless"}},
                      UsageCase{"rateGivenTwice", {"REC", "-o", "OUT", "--fps", "5", "--rate", "5"}}),
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
        testing::FileSizeLimit limited(300000);
        EXPECT_EQ(run({recording, "-o", path("full.avi")}), 1);
    }
    EXPECT_FALSE(QFile::exists(path("full.avi")));
}

// The name's extension chooses H.264; everything else about the export is the AVI's.
TEST_F(ExportToolTest, AnMp4OrMkvNameWritesH264AtTheAskedRate) {
    QString err;
    ASSERT_EQ(run({recording, "-o", path("r.mp4"), "--from", "3", "--to", "9", "--rate", "2"}, &err), 0)
        << err.toStdString();
    AviProbe p = probeAvi(path("r.mp4"));
    EXPECT_EQ(p.container, "mov,mp4,m4a,3gp,3g2,mj2");
    EXPECT_EQ(p.codec, "h264");
    EXPECT_EQ(p.rate.num, 2);
    EXPECT_EQ(p.packets, 7);
    EXPECT_EQ(p.keyFrames, (std::vector<int64_t>{0}));
    EXPECT_TRUE(err.isEmpty()) << "the libraries' own chatter stays off: " << err.toStdString();

    ASSERT_EQ(run({recording, "-o", path("all.MKV"), "--fps", "1", "--lossless"}), 0);
    p = probeAvi(path("all.MKV"));
    EXPECT_EQ(p.container, "matroska,webm");
    EXPECT_EQ(p.packets, 25);
    EXPECT_EQ(p.keyFrames, (std::vector<int64_t>{0, 5, 10, 15, 20})) << "every 5 s of video";
}

TEST_F(ExportToolTest, AnMp4NeverReplacesTheRecordingAndAFailedOneLeavesNothing) {
    // The recording under a video's name: refused by what the file is, not by its name.
    ASSERT_TRUE(QFile::link(recording, path("link.mp4")));
    const QByteArray before = [&] {
        QFile f(recording);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QString err;
    EXPECT_EQ(run({recording, "-o", path("link.mp4")}, &err), 1);
    EXPECT_TRUE(err.contains("is the recording being read; nothing written")) << err.toStdString();
    QFile after(recording);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    {
        testing::FileSizeLimit limited(20000);
        EXPECT_EQ(run({recording, "-o", path("full.mp4"), "--lossless"}, &err), 1);
    }
    EXPECT_TRUE(err.contains("pelix export: " + path("full.mp4") + ": cannot be written ("))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("full.mp4")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList{"link.mp4"})
        << "no temporary file left";
}

} // namespace
} // namespace pelix::player::test
