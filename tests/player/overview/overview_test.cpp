// The overview: its series against the frame headers themselves, the min/max
// decimation, the mapping between strip columns and frames, and the tool
// window driving the player through the position slider.
#include "core/overview/overview_columns.h"
#include "core/overview/overview_series.h"
#include "core/recording/open_recording.h"
#include "platform/message_service.h"
#include "platform/track_bar.h"
#include "player/overview/overview_strip.h"
#include "player/overview/overview_window.h"
#include "player/tool_test_support.h"
#include "player/ui/frm_player.h"
#include "support/recording_files.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace pelix::overview {
namespace {

using namespace pelix::recording;

struct Layout {
    const char* name;
    bool envelope;
    int32_t version;
};

class OverviewSeriesTest : public ::testing::TestWithParam<Layout> {};

// Writes `bytes` as the recording R.BIN of `dir` and gives its path.
std::string writeRecording(const QTemporaryDir& dir, const std::string& bytes) {
    const std::string path = dir.filePath(QStringLiteral("R.BIN")).toStdString();
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

// Frame n's header bytes, found without the reader: the setup record is 1028
// bytes in version 7 and 1024 otherwise, envelope frames take two records.
std::size_t headerAt(const Layout& l, int32_t frame) {
    const std::size_t headerSize = l.version == 7 ? 1028 : 1024;
    return headerSize + static_cast<std::size_t>(frame - 1) * kFrameRecordBytes * (l.envelope ? 2 : 1);
}

TEST_P(OverviewSeriesTest, FollowsTheFrameHeadersWithGatesOffAsNothing) {
    const Layout l = GetParam();
    synth::SynthOptions options;
    options.envelope = l.envelope;
    options.version = l.version;
    options.frames = 700; // more than one read block of headers
    options.flaggedFrames = 3;
    std::string bytes = testing::synthesize(options);
    // Gate A off in every 7th frame, gate B off in every 5th; in envelope
    // recordings the second record of each pair says otherwise and must not count.
    for (int32_t f = 1; f <= options.frames; ++f) {
        const std::size_t at = headerAt(l, f);
        if (f % 7 == 0) testing::putLittleEndian(bytes, at + fh::GateAOn.offset, 0);
        if (f % 5 == 0) testing::putLittleEndian(bytes, at + fh::GateBOn.offset, 0);
        testing::putLittleEndian(bytes, at + fh::GateAAmplitude.offset, f % 97);
        if (l.envelope) {
            const std::size_t second = at + kFrameRecordBytes;
            testing::putLittleEndian(bytes, second + fh::GateAOn.offset, 1);
            testing::putLittleEndian(bytes, second + fh::GateAAmplitude.offset, 99);
            testing::putLittleEndian(bytes, second + fh::FrameFlag.offset, 1);
        }
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = writeRecording(dir, bytes);
    const OpenOutcome opened = OpenRecording::open(path);
    ASSERT_TRUE(opened.recording);
    const OpenRecording& rec = *opened.recording;
    ASSERT_EQ(rec.FrameCount(), options.frames);

    const OverviewSeries s = scanOverview(rec.file(), frameRecordLayout(rec));
    ASSERT_TRUE(s.complete());
    EXPECT_EQ(s.cutShortAt(), 0);
    ASSERT_EQ(s.frameCount(), options.frames);
    std::vector<int32_t> flagged;
    for (int32_t f = 1; f <= options.frames; ++f) {
        const auto* h = reinterpret_cast<const uint8_t*>(bytes.data()) + headerAt(l, f);
        const auto expect = [h](const layout::Field& on, const layout::Field& amp) {
            return layout::read(h, on) != 0 ? std::optional<int32_t>(layout::read(h, amp)) : std::nullopt;
        };
        ASSERT_EQ(s.amplitude(Gate::A, f), expect(fh::GateAOn, fh::GateAAmplitude)) << "frame " << f;
        ASSERT_EQ(s.amplitude(Gate::B, f), expect(fh::GateBOn, fh::GateBAmplitude)) << "frame " << f;
        if (layout::read(h, fh::FrameFlag) != 0) flagged.push_back(f);
    }
    EXPECT_FALSE(s.amplitude(Gate::A, 7));
    EXPECT_FALSE(s.amplitude(Gate::B, 5));
    EXPECT_EQ(s.flags(), flagged);
    EXPECT_EQ(flagged.size(), 3U);
}

INSTANTIATE_TEST_SUITE_P(Layouts, OverviewSeriesTest,
                         ::testing::Values(Layout{"Plain", false, 8}, Layout{"Envelope", true, 8},
                                           Layout{"Version7", false, 7}, Layout{"Version7Envelope", true, 7}),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             return std::string(info.param.name);
                         });

TEST(OverviewSeries, AFileThatShrankEndsTheSeriesWithGatesOff) {
    synth::SynthOptions options;
    options.frames = 50;
    const std::string bytes = testing::synthesize(options);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = writeRecording(dir, bytes);
    const OpenOutcome opened = OpenRecording::open(path);
    ASSERT_TRUE(opened.recording);
    FrameRecordLayout layout = frameRecordLayout(*opened.recording);
    // Cut inside frame 41's header, after the recording was opened.
    std::filesystem::resize_file(path, 1024 + 40 * kFrameRecordBytes + 100);
    const OverviewSeries s = scanOverview(opened.recording->file(), layout);
    EXPECT_TRUE(s.complete());
    EXPECT_EQ(s.cutShortAt(), 41);
    EXPECT_EQ(s.frameCount(), 50);
    EXPECT_TRUE(s.amplitude(Gate::B, 40).has_value());
    EXPECT_FALSE(s.amplitude(Gate::A, 41));
    EXPECT_FALSE(s.amplitude(Gate::B, 50));
}

TEST(OverviewDecimation, KeepsAOneFramePeakOnAHundredPixelStripOfAHundredThousandFrames) {
    constexpr int32_t kFrames = 100000;
    for (const int32_t peakFrame : {1, 54321, kFrames}) {
        OverviewSeries s(kFrames);
        for (int32_t f = 1; f <= kFrames; ++f)
            s.set(f, f == peakFrame ? 97 : 10 + f % 3, std::nullopt, false);
        const std::vector<ColumnSpan> a = decimate(s, Gate::A, 100);
        ASSERT_EQ(a.size(), 100U);
        const int peakColumn = columnOfFrame(peakFrame, 100, kFrames);
        for (int x = 0; x < 100; ++x) {
            ASSERT_TRUE(a[static_cast<std::size_t>(x)].any);
            EXPECT_EQ(a[static_cast<std::size_t>(x)].high, x == peakColumn ? 97 : 12) << "column " << x;
            EXPECT_EQ(a[static_cast<std::size_t>(x)].low, 10) << "column " << x;
        }
        // Gate B is off everywhere: no column shows it.
        for (const ColumnSpan& c : decimate(s, Gate::B, 100))
            EXPECT_FALSE(c.any);
    }
}

TEST(OverviewDecimation, AColumnWithTheGateOffInSomeFramesShowsTheOthers) {
    OverviewSeries s(4);
    s.set(1, std::nullopt, std::nullopt, false);
    s.set(2, 30, std::nullopt, false);
    s.set(3, std::nullopt, std::nullopt, false);
    s.set(4, 0, std::nullopt, false);
    const std::vector<ColumnSpan> c = decimate(s, Gate::A, 2);
    EXPECT_TRUE(c[0].any);
    EXPECT_EQ(c[0].low, 30);
    EXPECT_EQ(c[0].high, 30);
    EXPECT_EQ(c[1].low, 0); // a recorded 0 % is an amplitude, not an absent one
    EXPECT_TRUE(c[1].any);
}

struct Strip {
    const char* name;
    int64_t frames;
    int64_t width;
};

class OverviewColumnsTest : public ::testing::TestWithParam<Strip> {};

TEST_P(OverviewColumnsTest, AClickMapsToTheRightFrameAtBothEndsAndWithinItsColumn) {
    const Strip p = GetParam();
    EXPECT_EQ(frameAtColumn(0, p.width, p.frames), 1);
    if (p.width > 1) {
        EXPECT_EQ(frameAtColumn(p.width - 1, p.width, p.frames), p.frames);
    }
    EXPECT_EQ(frameAtColumn(-5, p.width, p.frames), 1);
    EXPECT_EQ(frameAtColumn(p.width + 50, p.width, p.frames), p.width > 1 ? p.frames : 1);
    for (int64_t x = 0; x < p.width; ++x) {
        const ColumnFrames c = framesOfColumn(x, p.width, p.frames);
        const int32_t f = frameAtColumn(x, p.width, p.frames);
        if (p.width > 1) {
            ASSERT_GE(f, c.first) << "column " << x;
            ASSERT_LE(f, c.last) << "column " << x;
        }
        // The cursor of the frame a click shows sits in a column that shows it.
        const ColumnFrames cursor = framesOfColumn(columnOfFrame(f, p.width, p.frames), p.width, p.frames);
        ASSERT_TRUE(cursor.first <= f && f <= cursor.last) << "column " << x;
        if (p.frames >= p.width) {
            ASSERT_EQ(columnOfFrame(f, p.width, p.frames), x);
        }
    }
    // Every frame lies in exactly the column its cursor is drawn in.
    for (int64_t f = 1; f <= p.frames; f += std::max<int64_t>(1, p.frames / 997)) {
        const ColumnFrames c = framesOfColumn(columnOfFrame(f, p.width, p.frames), p.width, p.frames);
        ASSERT_TRUE(c.first <= f && f <= c.last) << "frame " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, OverviewColumnsTest,
                         ::testing::Values(Strip{"ManyFramesAPixel", 100000, 100}, Strip{"Uneven", 3001, 977},
                                           Strip{"FewerFramesThanPixels", 7, 800}, Strip{"OneFrame", 1, 300},
                                           Strip{"SameCount", 640, 640}, Strip{"OnePixel", 500, 1}),
                         [](const ::testing::TestParamInfo<Strip>& info) {
                             return std::string(info.param.name);
                         });

class OverviewWindowTest : public ::testing::Test {
  protected:
    static void click(QWidget& w, QPoint at) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&w, &e);
        }
    }
    void SetUp() override { player::test::ensureApplication(); }
    static QString scan() { return QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN"); }
    // Waits for the background scan of the window's overview.
    static const OverviewSeries* waitForSeries(OverviewWindow& w) {
        QElapsedTimer t;
        t.start();
        while (!w.strip().series() && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return w.strip().series();
    }
};

TEST_F(OverviewWindowTest, ClicksShowFramesThroughTheSliderAndTheCursorFollowsIt) {
    platform::MessageLog messages;
    frmPlayer window;
    ASSERT_TRUE(window.ascanError().isEmpty());
    ASSERT_EQ(window.openRecording(scan()), player::OpenResult::Opened);
    OverviewWindow& overview = window.overview();
    // Hidden, it reads nothing; shown, it reads the recording in the background.
    QCoreApplication::processEvents();
    EXPECT_FALSE(overview.scanner().running());
    EXPECT_EQ(overview.strip().series(), nullptr);
    window.toggleOverview();
    EXPECT_TRUE(overview.isVisible());
    overview.resize(600, 150);
    const OverviewSeries* s = waitForSeries(overview);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->frameCount(), window.session().FrameCount());

    OverviewStrip& strip = overview.strip();
    const int n = window.session().FrameCount();
    const QRect plot = plotArea(strip.rect());
    click(strip, QPoint(plot.right(), plot.center().y()));
    EXPECT_EQ(window.session().CurrentFrame, n);
    EXPECT_EQ(window.controls().Slider->value(), n);
    click(strip, QPoint(plot.left(), plot.center().y()));
    EXPECT_EQ(window.session().CurrentFrame, 1);
    EXPECT_EQ(strip.marks().currentFrame, 1);

    // During playback a click stops it, as a drag of the slider does, and shows the frame.
    window.controls().cmdPlayStop->click();
    ASSERT_TRUE(window.controls().tmrPlay->isActive());
    click(strip, QPoint(plot.right(), plot.center().y()));
    EXPECT_FALSE(window.controls().tmrPlay->isActive());
    EXPECT_EQ(window.session().CurrentFrame, n);

    // Moving the slider anywhere else moves the cursor.
    window.controls().Slider->setValue(1234);
    EXPECT_EQ(strip.marks().currentFrame, 1234);
    overview.setSearchMatches({5, 50, 500});
    EXPECT_EQ(strip.marks().searchMatches, (std::vector<int32_t>{5, 50, 500}));
}

TEST_F(OverviewWindowTest, OpeningAnotherRecordingStartsAFreshOverview) {
    platform::MessageLog messages;
    frmPlayer window;
    window.overview().show();
    ASSERT_EQ(window.openRecording(scan()), player::OpenResult::Opened);
    // Opened again before the first scan could finish: only the latest result counts.
    ASSERT_EQ(window.openRecording(QStringLiteral(PELIX_SAMPLES_DIR "/NEG_V6.BIN")),
              player::OpenResult::Opened);
    const OverviewSeries* s = waitForSeries(window.overview());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->frameCount(), 250);
    EXPECT_TRUE(s->flags().empty());
}

using OverviewToolTest = player::ToolTest;

TEST_F(OverviewToolTest, JsonHoldsOneEntryPerFrameWithNullForAGateThatIsOff) {
    synth::SynthOptions options;
    options.frames = 30;
    options.flaggedFrames = 2;
    std::string bytes = testing::synthesize(options);
    const auto at = [](int32_t f) { return 1024 + static_cast<std::size_t>(f - 1) * kFrameRecordBytes; };
    testing::putLittleEndian(bytes, at(4) + fh::GateBOn.offset, 0);
    testing::putLittleEndian(bytes, at(9) + fh::GateAOn.offset, 0);
    testing::putLittleEndian(bytes, at(9) + fh::GateBAmplitude.offset, 77);
    {
        std::ofstream out(path("R.BIN").toStdString(), std::ios::binary);
        out << bytes;
    }
    QByteArray out;
    QString err;
    ASSERT_EQ(run({"overview", path("R.BIN"), "--json"}, &err, &out), 0) << err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(json.value("FrameCount").toInt(), 30);
    const QJsonArray a = json.value("GateAAmplitude").toArray();
    const QJsonArray b = json.value("GateBAmplitude").toArray();
    ASSERT_EQ(a.size(), 30);
    ASSERT_EQ(b.size(), 30);
    EXPECT_TRUE(b.at(3).isNull());
    EXPECT_TRUE(a.at(8).isNull());
    EXPECT_EQ(b.at(8).toInt(), 77);
    const auto* h = reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_EQ(a.at(0).toInt(), layout::read(h + at(1), fh::GateAAmplitude));
    QJsonArray flags;
    for (int32_t f = 1; f <= 30; ++f)
        if (layout::read(h + at(f), fh::FrameFlag) != 0) flags.append(f);
    EXPECT_EQ(json.value("Flags").toArray(), flags);
    EXPECT_EQ(flags.size(), 2);

    ASSERT_EQ(run({"overview", path("R.BIN"), "-o", path("O.png"), "--width", "300", "--height", "80"}, &err),
              0)
        << err.toStdString();
    EXPECT_EQ(QImage(path("O.png")).size(), QSize(300, 80));
    EXPECT_EQ(run({"overview", path("R.BIN"), "--json", "-o", path("O.png")}), 2);
    EXPECT_EQ(run({"overview", path("MISSING.BIN"), "--json"}), 3);
}

} // namespace
} // namespace pelix::overview
