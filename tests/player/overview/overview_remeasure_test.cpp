// The overview window's whole-recording parts: every frame re-measured with
// the gates where a drag left them (against `pelix overview --json --gate-a`),
// a cancelled run keeping what it measured, the way back to the recorded
// amplitudes, and the indications list (against `pelix indications --json`)
// with its marks on the strip and its clicks.
#include "core/overview/overview_series.h"
#include "core/recording/open_recording.h"
#include "platform/message_service.h"
#include "platform/track_bar.h"
#include "player/display/frame_display.h"
#include "player/overview/indication_table.h"
#include "player/overview/indications_panel.h"
#include "player/overview/overview_painter.h"
#include "player/overview/overview_window.h"
#include "player/tool_test_support.h"
#include "player/ui/frm_player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include <gtest/gtest.h>

#include <filesystem>

namespace pelix::overview {
namespace {

using player::DraggedGates;

class OverviewRemeasureTest : public player::ToolTest {
  protected:
    void SetUp() override {
        player::ToolTest::SetUp();
        window = std::make_unique<frmPlayer>();
        ASSERT_TRUE(window->ascanError().isEmpty());
        ASSERT_EQ(window->openRecording(demo()), player::OpenResult::Opened);
        window->toggleOverview();
        ASSERT_TRUE(waitFor([&] { return overview().strip().series() != nullptr; }));
        recorded = overview().strip().series();
    }
    void TearDown() override { window.reset(); }

    static QString demo() { return QStringLiteral(PELIX_SAMPLES_DIR "/DEMO.BIN"); }
    OverviewWindow& overview() { return window->overview(); }
    QPushButton* button(const char* name) {
        return overview().findChild<QPushButton*>(QString::fromLatin1(name));
    }

    template <typename Done> static bool waitFor(Done done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    bool waitForIndications() {
        return waitFor([&] {
            return !overview().indications().editPending() && !overview().indicationsFinder().running();
        });
    }

    // Gate A of the frame on screen moved as a drag leaves it, through the control's MouseUp.
    void dragGateA(float start, int threshold) {
        QWidget* ascan = window->controls().Ascan;
        ascan->setProperty("fGateAStart", start);
        ascan->setProperty("newGateAStart", start);
        ascan->setProperty("iGateAThresh", QVariant::fromValue<qint16>(static_cast<qint16>(threshold)));
        ascan->setProperty("newGateAThresh", threshold);
        ASSERT_TRUE(QMetaObject::invokeMethod(ascan, "MouseUp", Qt::DirectConnection));
    }
    // A gate start a little deeper than the recording's own, exact in binary and in decimal.
    float movedStart() const {
        return std::round((window->display().view().gates.fGateAStart + 1.5F) * 4.0F) / 4.0F;
    }

    QJsonObject toolJson(const QStringList& args) {
        QByteArray out;
        QString err;
        EXPECT_EQ(run(args, &err, &out), 0) << err.toStdString();
        return QJsonDocument::fromJson(out).object();
    }
    static std::optional<int32_t> entry(const QJsonArray& a, int32_t frame) {
        const QJsonValue v = a.at(frame - 1);
        return v.isNull() ? std::nullopt : std::optional<int32_t>(v.toInt());
    }

    platform::MessageLog messages;
    std::unique_ptr<frmPlayer> window;
    const OverviewSeries* recorded = nullptr;
};

TEST_F(OverviewRemeasureTest, ApplyToAllFramesDrawsTheSeriesTheCommandLineReMeasures) {
    EXPECT_FALSE(button("cmdApplyToAllFrames")->isEnabled()) << "nothing dragged yet";
    const float start = movedStart();
    dragGateA(start, 20);
    ASSERT_TRUE(button("cmdApplyToAllFrames")->isEnabled());
    button("cmdApplyToAllFrames")->click();
    EXPECT_TRUE(overview().remeasure().running());
    ASSERT_TRUE(waitFor([&] { return overview().remeasured() != nullptr; }));

    const RemeasuredSeries& r = *overview().remeasured();
    EXPECT_EQ(r.end, RemeasuredSeries::End::Done);
    EXPECT_EQ(overview().strip().series(), r.series.get());
    const QJsonObject doc =
        toolJson({"overview", demo(), "--json", "--gate-a", QStringLiteral("%1,20").arg(double(start))});
    ASSERT_EQ(doc["Remeasured"].toArray(), QJsonArray({"A"}));
    const QJsonArray a = doc["GateAAmplitude"].toArray();
    const QJsonArray b = doc["GateBAmplitude"].toArray();
    ASSERT_EQ(a.size(), r.series->frameCount());
    int32_t differing = 0;
    for (int32_t f = 1; f <= r.series->frameCount(); ++f) {
        ASSERT_EQ(r.series->amplitude(Gate::A, f), entry(a, f)) << "frame " << f;
        ASSERT_EQ(r.series->amplitude(Gate::B, f), entry(b, f)) << "frame " << f;
        differing += r.series->amplitude(Gate::A, f) != recorded->amplitude(Gate::A, f);
    }
    EXPECT_GT(differing, 0) << "the moved gate should measure something else than the recording";
    EXPECT_EQ(r.series->flags(), recorded->flags());
    const QString caption = overview().seriesCaption();
    EXPECT_TRUE(caption.startsWith(
        QStringLiteral("Re-measured with gate A at %1 mm, threshold 20 %").arg(start, 0, 'f', 2)))
        << caption.toStdString();
    EXPECT_FALSE(button("cmdApplyToAllFrames")->isEnabled()) << "already applied";

    // A new drag leaves the shown re-measure behind: it says so and offers to apply again.
    dragGateA(start + 1.0F, 25);
    EXPECT_TRUE(overview().remeasureStale());
    EXPECT_TRUE(overview().seriesCaption().contains(QStringLiteral("Out of date")));
    EXPECT_TRUE(button("cmdApplyToAllFrames")->isEnabled());

    // Back to the recorded values: the recorded series, every frame as the headers hold it.
    button("cmdRecordedValues")->click();
    EXPECT_EQ(overview().remeasured(), nullptr);
    const OverviewSeries* shown = overview().strip().series();
    ASSERT_NE(shown, nullptr);
    const QJsonObject plain = toolJson({"overview", demo(), "--json"});
    for (int32_t f = 1; f <= shown->frameCount(); ++f)
        ASSERT_EQ(shown->amplitude(Gate::A, f), entry(plain["GateAAmplitude"].toArray(), f)) << "frame " << f;
    EXPECT_TRUE(overview().seriesCaption().startsWith(QStringLiteral("Recorded amplitudes.")));
}

TEST_F(OverviewRemeasureTest, ACancelledRunShowsWhatItMeasuredAndWhereItStopped) {
    const float start = movedStart();
    dragGateA(start, 20);
    overview().remeasure().setSliceMs(0); // one frame a turn of the event loop
    // The main window's shortcut starts it as the overview's button does.
    QShortcut* shortcut = nullptr;
    for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
        if (s->key() == applyToAllFramesShortcut()) shortcut = s;
    ASSERT_NE(shortcut, nullptr);
    emit shortcut->activated();
    ASSERT_TRUE(waitFor([&] { return overview().remeasure().measuredFrames() >= 40; }));
    EXPECT_TRUE(overview().seriesCaption().startsWith(QStringLiteral("Re-measuring every frame")));
    button("cmdCancelRemeasure")->click();
    ASSERT_NE(overview().remeasured(), nullptr);
    const RemeasuredSeries& r = *overview().remeasured();
    EXPECT_EQ(r.end, RemeasuredSeries::End::Cancelled);
    ASSERT_GT(r.stoppedAt, 40);
    ASSERT_LT(r.stoppedAt, r.series->frameCount());

    const QJsonObject doc =
        toolJson({"overview", demo(), "--json", "--gate-a", QStringLiteral("%1,20").arg(double(start))});
    const QJsonArray a = doc["GateAAmplitude"].toArray();
    for (int32_t f = 1; f < r.stoppedAt; ++f)
        ASSERT_EQ(r.series->amplitude(Gate::A, f), entry(a, f)) << "frame " << f;
    // Past the stop the moved gate has nothing; the gate left alone keeps its recorded amplitude.
    for (int32_t f = r.stoppedAt; f <= r.series->frameCount(); ++f) {
        ASSERT_FALSE(r.series->amplitude(Gate::A, f)) << "frame " << f;
        ASSERT_EQ(r.series->amplitude(Gate::B, f), recorded->amplitude(Gate::B, f)) << "frame " << f;
    }
    EXPECT_TRUE(overview().seriesCaption().contains(
        QStringLiteral("cancelled at frame %1 of %2").arg(r.stoppedAt).arg(r.series->frameCount())));
    EXPECT_TRUE(button("cmdApplyToAllFrames")->isEnabled()) << "a cancelled run can be applied again";
}

TEST_F(OverviewRemeasureTest, AFileThatShrinksUnderTheRunEndsItWithWhatWasMeasured) {
    const QString copy = path("SHRINKS.BIN");
    ASSERT_TRUE(QFile::copy(demo(), copy));
    ASSERT_EQ(window->openRecording(copy), player::OpenResult::Opened);
    ASSERT_TRUE(waitFor([&] { return overview().strip().series() != nullptr; }));
    dragGateA(movedStart(), 20);
    overview().remeasure().setSliceMs(0);
    overview().applyToAllFrames();
    ASSERT_TRUE(waitFor([&] { return overview().remeasure().measuredFrames() >= 20; }));
    // Cut inside frame 2000's header while the run is well before it.
    std::filesystem::resize_file(copy.toStdString(), 1024 + 1999 * 2048 + 100);
    ASSERT_TRUE(waitFor([&] { return overview().remeasured() != nullptr; }));
    const RemeasuredSeries& r = *overview().remeasured();
    EXPECT_EQ(r.end, RemeasuredSeries::End::CutShort);
    EXPECT_EQ(r.stoppedAt, 2000);
    EXPECT_TRUE(r.series->amplitude(Gate::A, 1999).has_value());
    EXPECT_FALSE(r.series->amplitude(Gate::A, 2000));
    EXPECT_TRUE(overview().seriesCaption().contains(QStringLiteral("the file ends inside frame 2000")))
        << overview().seriesCaption().toStdString();
}

struct IndicationCase {
    const char* name;
    Gate gate;
    std::optional<int32_t> level; // none: the gate's threshold in frame 1
    double drop;
    std::optional<double> aboveReference = std::nullopt; // the dB-to-reference rule instead of a level
};

class OverviewIndicationsTest : public OverviewRemeasureTest,
                                public ::testing::WithParamInterface<IndicationCase> {};

TEST_P(OverviewIndicationsTest, TheListIsWhatTheCommandLineFindsAndAClickShowsThePeak) {
    const IndicationCase& c = GetParam();
    IndicationsPanel& panel = overview().indications();
    panel.setGate(c.gate);
    if (c.level) panel.setLevelPercent(*c.level);
    if (c.aboveReference) panel.setAboveReference(*c.aboveReference);
    panel.setDrop(c.drop);
    ASSERT_TRUE(waitForIndications());

    QStringList args{
        "indications",          demo(), "--json", "--gate", c.gate == Gate::A ? "a" : "b", "--drop",
        QString::number(c.drop)};
    if (c.level) args << "--level" << QString::number(*c.level);
    if (c.aboveReference) args << "--above-reference" << QString::number(*c.aboveReference);
    const QJsonObject doc = toolJson(args);
    const QJsonArray expected = doc["Indications"].toArray();
    const std::vector<indications::Indication>& found = panel.table().indications();
    ASSERT_EQ(found.size(), static_cast<std::size_t>(expected.size()));
    ASSERT_FALSE(found.empty()) << "the demo recording's flaw should give an indication";
    for (std::size_t i = 0; i < found.size(); ++i) {
        const QJsonObject e = expected.at(static_cast<qsizetype>(i)).toObject();
        const indications::Indication want{e["First"].toInt(),     e["Last"].toInt(),
                                           e["PeakFrame"].toInt(), e["PeakAmplitude"].toInt(),
                                           e["DropFirst"].toInt(), e["DropLast"].toInt()};
        ASSERT_EQ(found[i], want) << "indication " << i + 1;
    }
    // The strip marks each one.
    ASSERT_EQ(overview().strip().marks().indications.size(), found.size());
    EXPECT_EQ(overview().strip().marks().indications.back().peakFrame, found.back().peakFrame);

    // A click on a row shows its peak frame in the main window.
    QTableView& view = panel.view();
    view.resize(600, 200);
    const QModelIndex row = view.model()->index(static_cast<int>(found.size() - 1), 0);
    view.scrollTo(row);
    const QPoint at = view.visualRect(row).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(at), view.viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &e);
    }
    EXPECT_EQ(window->session().CurrentFrame, found.back().peakFrame);
    EXPECT_EQ(overview().strip().marks().currentFrame, found.back().peakFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, OverviewIndicationsTest,
    ::testing::Values(IndicationCase{"GateAAtItsThreshold", Gate::A, std::nullopt, 6.0},
                      IndicationCase{"GateALowLevelWideDrop", Gate::A, 30, 12.0},
                      IndicationCase{"GateBNarrowDrop", Gate::B, 15, 2.5},
                      // The recorded dBrA readings, read from the frame headers.
                      IndicationCase{"GateAAboveReference", Gate::A, std::nullopt, 6.0, 4.5}),
    [](const ::testing::TestParamInfo<IndicationCase>& info) { return std::string(info.param.name); });

TEST_F(OverviewRemeasureTest, IndicationsFollowTheReMeasuredSeries) {
    dragGateA(movedStart(), 20);
    overview().applyToAllFrames();
    ASSERT_TRUE(waitFor([&] { return overview().remeasured() != nullptr; }));
    ASSERT_TRUE(waitForIndications());
    // The level starts from the moved gate's threshold.
    EXPECT_EQ(overview().indications().rules().count.percent(), 20);
    // The list is found on the re-measured echo, not the recorded one.
    const RemeasuredSeries& r = *overview().remeasured();
    indications::AmplitudeSeries echo(1);
    for (int32_t f = 1; f <= r.series->frameCount(); ++f)
        echo.append(r.series->amplitude(Gate::A, f));
    indications::IndicationRules rules;
    rules.count = indications::CountRule::atLeastPercent(20);
    EXPECT_EQ(overview().indications().table().indications(), indications::findIndications(echo, rules));
}

TEST(OverviewPainterIndications, ABandCoversTheDropExtentAndNothingElse) {
    player::test::ensureApplication();
    OverviewSeries series(100);
    for (int32_t f = 1; f <= 100; ++f)
        series.set(f, std::nullopt, std::nullopt, false);
    series.finish(0);
    QImage image(214, 80, QImage::Format_RGB32);
    OverviewMarks marks;
    // Overlapping extents, one inside another, and one apart.
    marks.indications = {{40, 60, 50}, {45, 55, 50}, {50, 58, 52}, {80, 85, 82}};
    {
        QPainter p(&image);
        paintOverview(p, image.rect(), series, marks);
    }
    const QRect plot = plotArea(image.rect());
    const int y = plot.bottom() - 2; // below the peak tick, clear of the grid lines
    const auto tinted = [&](int32_t frame) {
        const int x = plot.left() + columnOfFrame(frame, plot.width(), 100);
        return image.pixel(x, y) != qRgb(255, 255, 255);
    };
    for (const int32_t f : {40, 50, 59, 60, 80, 85})
        EXPECT_TRUE(tinted(f)) << "frame " << f;
    for (const int32_t f : {1, 38, 62, 70, 78, 87, 100})
        EXPECT_FALSE(tinted(f)) << "frame " << f;
    const int peakX = plot.left() + columnOfFrame(50, plot.width(), 100);
    EXPECT_EQ(QColor(image.pixel(peakX, plot.top() + 1)), indicationColour());
}

} // namespace
} // namespace pelix::overview
