// The re-measure of moved gates as a function of the frame's description gives
// what the window's gate-change handler shows for the same frames and drags.
#include "core/frame/gate_remeasure.h"
#include "core/recording/open_recording.h"
#include "platform/track_bar.h"
#include "player/display/frame_display.h"

#include "player/window_test_support.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace pelix::player {
namespace {

using evaluation::CalReadings;
using evaluation::GateEvaluation;
using evaluation::MovedGates;

class GateRemeasureTest : public test::WindowTest {
  protected:
    QWidget* ascan() const { return window->controls().Ascan; }
    QString row(std::size_t r) const {
        const auto* label = ascan()->findChild<QLabel*>(QStringLiteral("lblParamValue%1").arg(r));
        return label ? label->text() : QString("?");
    }
    // Leaves both gates where a completed drag would and raises the control's MouseUp.
    void drag(const MovedGates& g) {
        ascan()->setProperty("fGateAStart", g.newGateAStart);
        ascan()->setProperty("newGateAStart", g.newGateAStart);
        ascan()->setProperty("iGateAThresh",
                             QVariant::fromValue<qint16>(static_cast<qint16>(g.newGateAThresh)));
        ascan()->setProperty("newGateAThresh", g.newGateAThresh);
        ascan()->setProperty("fGateBStart", g.newGateBStart);
        ascan()->setProperty("newGateBStart", g.newGateBStart);
        ascan()->setProperty("iGateBThresh", g.newGateBThresh);
        ascan()->setProperty("newGateBThresh", g.newGateBThresh);
        ASSERT_TRUE(QMetaObject::invokeMethod(ascan(), "MouseUp", Qt::DirectConnection));
    }
};

TEST_F(GateRemeasureTest, SameReadingsRowsAndCaretsAsTheWindowsHandler) {
    const std::string path = std::string(PELIX_SAMPLES_DIR) + "/PLAIN_SCAN.BIN";
    open(QString::fromStdString(path));
    auto outcome = recording::OpenRecording::open(path, recording::OpenRecording::FlagScan::Skip);
    ASSERT_TRUE(outcome.recording);
    GateEvaluation evaluation; // keeps a hidden gate's results as the window's does
    CalReadings cal;
    ASSERT_TRUE(cal.bind()) << cal.failure();

    const struct {
        int32_t frame;
        MovedGates gates;
    } drags[] = {
        {1200, {10.0F, 40.0F, 30, 20, false, false}}, {1200, {25.0F, 55.0F, 60, 80, false, false}},
        {1500, {5.0F, 30.0F, 15, 10, false, false}},  {2000, {40.0F, 70.0F, 100, 5, false, false}},
        {2600, {0.0F, 90.0F, 50, 50, false, false}},
    };
    for (const auto& d : drags) {
        SCOPED_TRACE("frame " + std::to_string(d.frame));
        window->controls().Slider->setValue(d.frame);
        ASSERT_EQ(session().CurrentFrame, d.frame);
        frame::FrameView view = frame::frameView(*outcome.recording, d.frame);
        MovedGates gates = d.gates;
        gates.ShowGateA = view.gates.ShowGateA;
        gates.ShowGateB = view.gates.ShowGateB;
        drag(gates);

        const std::optional<frame::Remeasured> r = frame::remeasureGates(view, gates, evaluation, cal);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->headerBytes, window->display().measuredFrameHeader());
        EXPECT_EQ(evaluation.gateData(), window->GateDataArray());
        for (std::size_t slot = 0; slot < r->readings.size(); ++slot) {
            EXPECT_EQ(window->controls().lblRdValue[slot]->text().toStdString(), r->readings[slot].text)
                << slot;
            EXPECT_EQ(window->display().readings().held(slot), !r->readings[slot].current) << slot;
        }
        for (std::size_t n = 0; n < r->rows.size(); ++n)
            if (r->rows[n].hasValue) {
                EXPECT_EQ(row(n).toStdString(), r->rows[n].value.text) << n;
            }
        EXPECT_EQ(ascan()->property("DrawCaratOne").toBool(), r->DrawCaratOne);
        EXPECT_EQ(ascan()->property("fCaretOne").toFloat(), r->fCaretOne);
        EXPECT_EQ(ascan()->property("DrawCaratTwo").toBool(), r->DrawCaratTwo);
        EXPECT_EQ(ascan()->property("fCaretTwo").toFloat(), r->fCaretTwo);
    }
}

TEST(GateRemeasureFunctionTest, NothingWithoutAFrame) {
    GateEvaluation evaluation;
    CalReadings cal;
    EXPECT_FALSE(frame::remeasureGates(frame::FrameView{}, MovedGates{}, evaluation, cal));
}

} // namespace
} // namespace pelix::player
