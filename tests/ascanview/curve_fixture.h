// A control set up for curve tests: a 1000 x 400 surface showing 0..5000 ns
// (one surface unit per 5 ns step), no probe delay, filter 0 (380 ns), the
// reference gain equal to the gain, so a reference amplitude a (0.1 %) stands
// at y = 400 - 0.4 a.
#pragma once

#include "ascan_fixture.h"

#include "ascanview/curves/curve_setup.h"

#include <string>
#include <utility>

using namespace pelix::ascanview;

class CurveTest : public AscanControlTest {
  protected:
    static constexpr double kW = 1000.0;
    static constexpr double kH = 400.0;
    static constexpr double kFilterDelay = 380.0;

    void SetUp() override {
        AscanControlTest::SetUp();
        set("WidthX", QVariant::fromValue<qint16>(1000));
        set("PicCurrentHeight", kH);
        set("ttVelocity", 44000.0);
        set("ttDisplayRange", 10000.0);
        set("ttDisplayDelay", 0);
        set("ProbeDelay", 0);
        set("FilterSetup", 0);
        set("Gain", 400);
        set("BWGain", 400);
    }

    // Reference points as (time of flight in 20 ns, amplitude in 0.1 %), all
    // recorded at the reference gain.
    void setPoints(const std::vector<std::pair<int, int>>& points) {
        QList<int> tof, amp, gain;
        for (const auto& [t, a] : points) {
            tof << t;
            amp << a;
            gain << 400;
        }
        set("ulHardwareTOF_20ns", QVariant::fromValue(tof));
        set("ulAmpAtRefGain_01PCT", QVariant::fromValue(amp));
        set("ulRecordedAMP_01PCT", QVariant::fromValue(amp));
        set("ulFinalGain_01dB", QVariant::fromValue(gain));
        set("ulRecordedGain_01dB", QVariant::fromValue(gain));
        set("ulNumOfStoredPoints", static_cast<int>(points.size()));
    }

    void straightDacMode() {
        set("EvalMode", 0);
        set("TCGMode", 2);
        set("DACCurveType", 0);
        set("TCGCurveStatus", 2);
    }
    void curvedDacMode() {
        straightDacMode();
        set("DACCurveType", 1);
    }

    // A direct drawing call after a redraw that drew no curve.
    void blankPicture() {
        const QVariant mode = get("EvalMode");
        set("EvalMode", 2);
        redraw();
        set("EvalMode", mode);
    }

    std::vector<SurfaceOp> curveSegments(Rgb color = pelix::ascanview::kCurveRed) const {
        return ops(SurfaceOpKind::Segment, color);
    }
    std::vector<std::string> labels() const {
        std::vector<std::string> texts;
        for (const SurfaceOp& op : ctl.surface().ops())
            if (op.kind == SurfaceOpKind::Text) texts.push_back(ctl.surface().textOf(op).text);
        return texts;
    }
};
