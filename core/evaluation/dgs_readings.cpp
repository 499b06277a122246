#include "core/evaluation/dgs_readings.h"

#include "layout/evaluation_mode.h"

namespace pelix::evaluation {

curves::DgsSettings dgsSettingsOf(const recording::RecordingHeader& h) {
    curves::DgsSettings s;
    s.ProbeDelay = h.ProbeDelay;
    s.ttVelocity = h.Velocity;
    s.DGSMode = h.DGSMode;
    s.DGSRefStatus = h.DGSRefStatus;
    s.DGSProbeNum = h.DGSProbeNum;
    s.NumOfDGSDrawPnts = h.NumOfDGSDrawPnts;
    s.DGSCurve = h.DGSCurve;
    s.DGSXtalFreq = h.DGSXtalFreq;
    s.DGSEffeDiam = h.DGSEffeDiam;
    s.DGSDelayVel = h.DGSDelayVel;
    s.DGSRefType = h.DGSRefType;
    s.DGSRefSize = h.DGSRefSize;
    s.DGSRefAtten = h.DGSRefAtten;
    s.DGSAmplCorr = h.DGSAmplCorr;
    s.DGSTestAtten = h.DGSTestAtten;
    s.DGSRefDist = h.DGSRefDist;
    s.DGSRefAmp = h.DGSRefAmp;
    s.DGSBaseGain = h.DGSBaseGain;
    s.DGSRefGain = h.DGSRefGain;
    s.FilterSetup = h.FilterSetup;
    s.ttDisplayDelay = h.DisplayDelay_ns;
    s.ttDisplayRange = h.DisplayRange_um;
    return s;
}

void setUpDgsReadings(const recording::RecordingHeader& setup, CalReadings& cal) {
    if (layout::evaluationFamily(setup.EvalMode) != layout::EvaluationFamily::Dgs) return;
    curves::setUpDgsState(dgsSettingsOf(setup), cal.dgsExports());
}

} // namespace pelix::evaluation
