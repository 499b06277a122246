// The command-line renderer and the display pipeline on the real A-scan control.
#include "core/recording/open_recording.h"
#include "platform/component_registry.h"
#include "platform/control_binding.h"
#include "player/display/frame_display.h"

#include "player/display_test_support.h"
#include "player/tool_test_support.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace pelix::player {
namespace {

const QString kSamples = QStringLiteral(PELIX_SAMPLES_DIR);

TEST(RealControlTest, EveryNameAndValueTheDisplayHandsOverIsAccepted) {
    test::ensureApplication();
    std::unique_ptr<QWidget> control(
        platform::ComponentRegistry::instance().create(QStringLiteral("AscanView.OroAscanCtl")));
    ASSERT_TRUE(control) << platform::ComponentRegistry::instance().lastError().toStdString();
    control->resize(944, 420);
    for (const char* sample : {"PLAIN_SCAN.BIN", "RF_INCH_V7.BIN", "ENVELOPE_US.BIN"}) {
        auto outcome = recording::OpenRecording::open((kSamples + "/" + sample).toStdString());
        ASSERT_TRUE(outcome.recording) << sample;
        FrameDisplayTargets targets;
        targets.ascan = control.get();
        targets.ascanWidget = control.get();
        FrameDisplay display(targets);
        display.setRecording(outcome.recording.get());
        display.refreshUnitRows();
        ASSERT_NO_THROW(EXPECT_TRUE(display.ShowFrame(3))) << sample;

        const bool envelope = outcome.recording->header().isEnvelope();
        EXPECT_EQ(platform::controlProperty(control.get(), "iPointArray").toList().size(),
                  envelope ? 3201 : 1601);
        // The display hands over no gate-drag flag: the playback controller alone sets them.
        EXPECT_EQ(platform::controlProperty(control.get(), "gatea_move_flag").toInt(), 0);
        const auto* gain = control->findChild<QLabel*>(QStringLiteral("lblParamTitle2"));
        ASSERT_TRUE(gain);
        EXPECT_EQ(gain->text(), "Gain(dB):");
        EXPECT_TRUE(gain->isVisibleTo(control.get()));
    }
}

TEST_F(RenderToolTest, WritesPictureOperationsAndState) {
    ASSERT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "120", "-o", path("a.png"), "--ops",
                   path("ops.json"), "--state", path("state.json")}),
              0);
    const QImage picture(path("a.png"));
    EXPECT_FALSE(picture.isNull());

    QFile ops(path("ops.json"));
    ASSERT_TRUE(ops.open(QIODevice::ReadOnly));
    const QJsonDocument opsJson = QJsonDocument::fromJson(ops.readAll());
    EXPECT_FALSE(opsJson.isNull());

    QFile stateFile(path("state.json"));
    ASSERT_TRUE(stateFile.open(QIODevice::ReadOnly));
    const QJsonObject state = QJsonDocument::fromJson(stateFile.readAll()).object();
    const QJsonObject props = state["properties"].toObject();
    EXPECT_EQ(props["tiControlTitle"].toString(), "120/3000 Frames   2/60 Seconds");
    EXPECT_EQ(props["iPointArray"].toArray().size(), 1601);
    EXPECT_EQ(props["gateb_move_flag"].toInt(), 1);
    const QJsonArray panel = state["panel"].toArray();
    ASSERT_EQ(panel.size(), 16);
    EXPECT_EQ(panel[4]["caption"]["text"].toString(), "Units:");
    EXPECT_EQ(panel[4]["value"]["text"].toString(), "MM");
    EXPECT_TRUE(panel[4]["value"]["visible"].toBool());
    EXPECT_FALSE(panel[15]["value"]["visible"].toBool());
    EXPECT_EQ(state["lblControlTitle"]["text"].toString(), "120/3000 Frames   2/60 Seconds");
    EXPECT_FALSE(state["lblAscanWidth"]["text"].toString().isEmpty());
}

TEST_F(RenderToolTest, SizeAndWindowPictures) {
    ASSERT_EQ(run({"render", kSamples + "/RF_INCH_V7.BIN", "7", "-o", path("small.png"), "--width", "640",
                   "--height", "360"}),
              0);
    EXPECT_EQ(QImage(path("small.png")).size(), QSize(640, 360));
    ASSERT_EQ(run({"render", kSamples + "/RF_INCH_V7.BIN", "7", "--window", "-o", path("window.png")}), 0);
    ASSERT_EQ(run({"render", kSamples + "/RF_INCH_V7.BIN", "7", "-o", path("control.png")}), 0);
    const QSize window = QImage(path("window.png")).size();
    const QSize control = QImage(path("control.png")).size();
    EXPECT_GT(window.width() * window.height(), control.width() * control.height());
}

TEST_F(RenderToolTest, UsageAndRejectedRecordings) {
    QString err;
    EXPECT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "1"}, &err), 2); // nothing to write
    EXPECT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "0", "-o", path("x.png")}), 2);
    EXPECT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "3001", "-o", path("x.png")}), 2);
    EXPECT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "1", "-o", path("x.png"), "--width", "10"}), 2);

    QFile bad(path("BAD.BIN"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(4096, '\x11'));
    bad.close();
    EXPECT_EQ(run({"render", path("BAD.BIN"), "1", "-o", path("x.png")}, &err), 3);
    EXPECT_TRUE(err.contains("File format is not correct")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("x.png")));
}

// The first `records` whole records of a sample and a little over half of the next.
QString cutRecording(const QString& sample, int records, const QString& to) {
    QFile source(kSamples + "/" + sample);
    EXPECT_TRUE(source.open(QIODevice::ReadOnly));
    const auto cut =
        static_cast<qint64>(recording::kRecordingHeaderBytes + records * recording::kFrameRecordBytes +
                            recording::kFrameRecordBytes / 2 + 100);
    QFile shortFile(to);
    EXPECT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(source.read(cut));
    return to;
}

TEST_F(RenderToolTest, AFrameCutShortByTheEndOfTheFileIsRefusedNotDrawnFromTheFrameBefore) {
    // Three whole frames and a little over half of a fourth: the frame count rounds up to four.
    const QString file = cutRecording("PLAIN_SCAN.BIN", 3, path("SHORT.BIN"));
    EXPECT_EQ(run({"render", file, "3", "-o", path("whole.png")}), 0);
    QString err;
    EXPECT_EQ(run({"render", file, "4", "-o", path("cut.png"), "--ops", path("cut.json")}, &err), 4);
    EXPECT_TRUE(err.contains("cut short")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("cut.png")));
    EXPECT_FALSE(QFile::exists(path("cut.json")));
}

TEST_F(RenderToolTest, AnEnvelopeFrameWhoseSecondRecordIsCutShortIsDrawnFromItsOwnLiveTrace) {
    // Five whole records and a half: six records, three frames; frame 3's envelope record is cut.
    const QString file = cutRecording("ENVELOPE_US.BIN", 5, path("SHORT_ENV.BIN"));
    EXPECT_EQ(run({"render", file, "3", "-o", path("env.png")}), 0);
    EXPECT_TRUE(QFile::exists(path("env.png")));
}

} // namespace
} // namespace pelix::player
