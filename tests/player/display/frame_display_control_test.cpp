// What the A-scan control holds after ShowFrame is the frame's description:
// every gate, caret, trace, panel and setup property over frames of the
// bundled samples, with the setup handed over once per recording.
#include "core/recording/open_recording.h"
#include "platform/component_registry.h"
#include "platform/control_binding.h"
#include "player/display/frame_display.h"

#include "player/display_test_support.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace pelix::player {
namespace {

using P = AscanProperty;
using recording::OpenRecording;

QVariant property(QWidget* control, AscanProperty p) {
    return platform::controlProperty(control, nameOf(p));
}

QString labelText(QWidget* control, const char* kind, std::size_t row) {
    const auto* label = control->findChild<QLabel*>(QStringLiteral("lblParam%1%2").arg(kind).arg(row));
    return label ? label->text() : QStringLiteral("(no label)");
}

std::vector<int32_t> integers(const QVariant& list) {
    std::vector<int32_t> out;
    for (const QVariant& v : list.toList())
        out.push_back(v.toInt());
    return out;
}

class ControlHoldsTheFrameViewTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ControlHoldsTheFrameViewTest, AfterEveryShownFrame) {
    test::ensureApplication();
    std::unique_ptr<QWidget> control(
        platform::ComponentRegistry::instance().create(QStringLiteral("AscanView.OroAscanCtl")));
    ASSERT_TRUE(control);
    control->resize(944, 420);
    auto outcome = OpenRecording::open(std::string(PELIX_SAMPLES_DIR) + "/" + GetParam());
    ASSERT_TRUE(outcome.recording);
    const OpenRecording& rec = *outcome.recording;
    FrameDisplayTargets targets;
    targets.ascan = control.get();
    targets.ascanWidget = control.get();
    FrameDisplay display(targets);
    display.setRecording(outcome.recording.get());
    display.refreshUnitRows();

    const int32_t step = std::max(1, rec.FrameCount() / 12);
    for (int32_t n = 1; n <= rec.FrameCount(); n += step) {
        SCOPED_TRACE("frame " + std::to_string(n));
        ASSERT_TRUE(display.ShowFrame(n));
        const frame::FrameView& v = display.view();
        QWidget* c = control.get();
        const frame::GateView& g = v.gates;
        EXPECT_EQ(property(c, P::ShowGateA).toBool(), g.ShowGateA);
        EXPECT_EQ(property(c, P::ShowGateB).toBool(), g.ShowGateB);
        EXPECT_EQ(property(c, P::DrawCaratOne).toBool(), g.DrawCaratOne);
        EXPECT_EQ(property(c, P::DrawCaratTwo).toBool(), g.DrawCaratTwo);
        EXPECT_EQ(property(c, P::fGateAStart).toFloat(), g.fGateAStart);
        EXPECT_EQ(property(c, P::fGateAWidth).toFloat(), g.fGateAWidth);
        EXPECT_EQ(property(c, P::fGateBStart).toFloat(), g.fGateBStart);
        EXPECT_EQ(property(c, P::fGateBWidth).toFloat(), g.fGateBWidth);
        EXPECT_EQ(property(c, P::iGateAThresh).toInt(), g.iGateAThresh);
        EXPECT_EQ(property(c, P::iGateBThresh).toInt(), g.iGateBThresh);
        EXPECT_EQ(property(c, P::fCaretOne).toFloat(), g.fCaretOne);
        EXPECT_EQ(property(c, P::fCaretTwo).toFloat(), g.fCaretTwo);
        EXPECT_EQ(property(c, P::Gain).toInt(), v.frameGain);
        EXPECT_EQ(property(c, P::tiControlTitle).toString().toStdString(), v.title);

        const auto points = property(c, P::iPointArray).value<QList<qint16>>();
        const std::span<const int16_t> expected = v.pointArray();
        EXPECT_TRUE(std::equal(points.begin(), points.end(), expected.begin(), expected.end()));
        if (v.traceDecoded) {
            EXPECT_EQ(property(c, P::iNumPoints).toInt(), v.trace.mode.iNumPoints);
        }

        // Rows the frame wrote show its texts (the control shows a decimal point).
        for (std::size_t row = 0; row < v.panel.size(); ++row) {
            const frame::PanelRowView& r = v.panel[row];
            if (r.hasTitle) {
                EXPECT_EQ(labelText(c, "Title", row).toStdString(), std::string(r.title)) << row;
            }
            if (r.hasValue) {
                EXPECT_EQ(labelText(c, "Value", row).toStdString(), r.value.text) << row;
            }
        }
        if (v.unitRows) {
            EXPECT_EQ(property(c, P::fAscanDelay).toFloat(), v.scale.fAscanDelay);
            EXPECT_EQ(property(c, P::fAscanRange).toFloat(), v.scale.fAscanRange);
            EXPECT_EQ(property(c, P::msAscanStartLabel).toString().toStdString(),
                      v.scale.msAscanStartLabel.text);
        }

        // The setup, handed over with the first frame, still stands.
        const recording::RecordingHeader& h = *v.setup;
        EXPECT_EQ(property(c, P::Velocity).toDouble(), static_cast<double>(v.derived->velocity));
        EXPECT_EQ(property(c, P::DisplayRange).toDouble(), static_cast<double>(v.derived->displayRange));
        EXPECT_EQ(property(c, P::ttVelocity).toDouble(), h.Velocity);
        EXPECT_EQ(property(c, P::Unit).toInt(), h.Units);
        EXPECT_EQ(property(c, P::EvalMode).toInt(), h.EvalMode);
        EXPECT_EQ(property(c, P::Curve5Offset).toInt(), h.CurveOffsets[5]);
        EXPECT_EQ(property(c, P::DGSRefSize).toInt(), h.DGSRefSize);
        EXPECT_EQ(property(c, P::BEA).toInt(), h.BEA);
        EXPECT_EQ(property(c, P::GateTriggerB).toInt(), h.GateBTrigger);
        EXPECT_EQ(property(c, P::JISDACMode).toInt(), h.JISEnable & 1);
        EXPECT_EQ(property(c, P::Envelope).toInt(), h.Envelope);
        const auto& tof = h.TCGPoints.ulHardwareTOF_20ns;
        EXPECT_EQ(integers(property(c, P::ulHardwareTOF_20ns)), std::vector<int32_t>(tof.begin(), tof.end()));
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, ControlHoldsTheFrameViewTest,
                         ::testing::Values("DEMO.BIN", "RF_INCH_V7.BIN", "ENVELOPE_US.BIN", "NEG_V6.BIN",
                                           "DAC_STRAIGHT_BEA.BIN", "JIS_DAC.BIN",
                                           "DGS_HOLE_LISTED_PROBE.BIN"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove_if(name.begin(), name.end(),
                                                       [](char ch) { return ch == '_' || ch == '.'; }),
                                        name.end());
                             return name;
                         });

// The setup goes over with a recording's first frame; the frame's gain again
// whenever a frame brings another one; another recording hands over its own.
TEST(FrameDisplaySetupTest, HandedOverOncePerRecordingAndAgainWhenAFrameChangesIt) {
    test::RecordingBuilder b;
    b.setup(recording::rh::EvalMode, 1);
    for (const int32_t gain : {300, 300, 420, 420}) {
        auto& r = b.addRecord();
        test::RecordingBuilder::frame(r, recording::fh::Gain_01dB, gain);
    }
    auto outcome = OpenRecording::open(b.write("handover.bin"));
    ASSERT_TRUE(outcome.recording);
    auto fake = std::make_unique<test::FakeAscanPort>();
    test::FakeAscanPort& port = *fake;
    FrameDisplay display({}, std::move(fake));
    const auto writes = [&port](const char* name) {
        return std::count_if(port.journal.begin(), port.journal.end(),
                             [name](const test::FakeAscanPort::Write& w) { return w.name == name; });
    };

    display.setRecording(outcome.recording.get());
    for (int32_t n = 1; n <= 4; ++n)
        display.ShowFrame(n);
    EXPECT_EQ(writes("EvalMode"), 1);
    EXPECT_EQ(writes("ulRecordedAMP_01PCT"), 1);
    EXPECT_EQ(writes("Gain"), 2); // 300, then 420
    EXPECT_EQ(port.get("Gain").toInt(), 420);
    EXPECT_EQ(writes("temp_left"), 4); // the window may have moved
    EXPECT_EQ(port.redraws, 4);

    // The same gain after a recording is opened again: the whole setup goes over again.
    display.setRecording(outcome.recording.get());
    display.ShowFrame(4);
    EXPECT_EQ(writes("EvalMode"), 2);
    EXPECT_EQ(writes("Gain"), 3);
    EXPECT_EQ(port.get("EvalMode").toInt(), 1);
}

} // namespace
} // namespace pelix::player
