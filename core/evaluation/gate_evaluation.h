// Gate evaluation on a recorded A-scan: after the user has moved a gate, the
// readings the instrument recorded no longer apply, so both gates are measured
// again on the 800 displayed samples of the shown frame. The six results are
// the GateDataArray the calculation library takes. Qt-free.
#pragma once

#include "core/recording/decoded_trace.h"
#include "core/recording/frame_header.h"
#include "core/recording/recording_header.h"

#include <array>
#include <cstdint>

namespace pelix::evaluation {

// Gate A amplitude, flank time, peak time, then gate B's. Amplitudes on the
// sample scale (0..4080), times in 2.5 ns ticks.
using GateDataArray = std::array<double, 6>;

// Added to a result that found nothing: its 32-bit form then has bit 31 set.
inline constexpr double kNothingFoundMark = 2147483648.0;

inline bool isMarked(double value) {
    return value >= kNothingFoundMark;
}

// First and last sample index of a gate on the 800 displayed samples.
struct PointRange {
    int32_t from = 0;
    int32_t to = 0;
};

// The gates as the A-scan control holds them after a drag (display units,
// percent), and which of them are shown.
struct MovedGates {
    float newGateAStart = 0.0F;
    float newGateBStart = 0.0F;
    int32_t newGateAThresh = 0;
    int32_t newGateBThresh = 0;
    bool ShowGateA = false;
    bool ShowGateB = false;
};

class GateEvaluation {
  public:
    static constexpr int32_t kDisplayedSamples = 800;

    // The recording's setup.
    void setRecording(const recording::RecordingHeader& setup);
    // Forgets the results kept for hidden gates (another recording was opened).
    void clearGateData() { m_gateData = {}; }
    // The shown frame: its header as the window holds it (gate A's threshold
    // as dragged) and the samples measured, 16 x the recorded byte.
    void setFrame(const recording::FrameHeader& frame,
                  const std::array<int16_t, recording::kAscanPointCount>& AscanRaw);
    // The same from the frame's sample block as recorded (its first record's): GetGateData
    // decodes only the samples the shown gates read, so `sampleBlock` must stay unchanged until
    // it has run. The samples of other indices are those of an earlier frame.
    void setFrameBlock(const recording::FrameHeader& frame, const uint8_t* sampleBlock);

    // The sample a gate is measured on at a displayed index. In RF the sign of
    // gate A's threshold chooses the half-wave for both gates.
    int32_t GetAscanAmp(int32_t index) const;
    PointRange GetPointRange(int32_t start_um, int32_t width_um) const;
    // Largest sample in the gate, marked when below the threshold.
    double FindGateAMP(int32_t start_um, int32_t width_um, int32_t threshold) const;
    // Time of the first rising crossing of the threshold (flank search) or of
    // the largest sample (peak search), in ticks; marked when the flank search
    // finds no crossing or the largest sample stays below the threshold.
    double FindGateTOF(int32_t start_um, int32_t width_um, int32_t threshold) const;
    // Time of the largest sample, of the first excursion above the threshold
    // when gate A searches in mode 2; marked when that peak stays below it.
    double FindGatePeakTOF(int32_t start_um, int32_t width_um, int32_t threshold) const;

    // Measures the shown gates; a hidden gate's entries keep their last values.
    void GetGateData(const MovedGates& gates);
    const GateDataArray& gateData() const { return m_gateData; }

    // Sample-scale level of a threshold in percent (halved in RF).
    int64_t levelOf(int32_t threshold) const;
    // Time in ticks of a displayed sample index, never below 0.
    double timeOfIndex(int32_t k) const;

  private:
    bool flankSearch() const { return m_gateAMode == 1 || m_gateAMode == 2; }
    bool rf() const { return m_rectification == 0; }
    int32_t toMicrometres(float start) const;
    // The three results of one gate (amplitude, time, peak time) into `out`, as FindGateAMP,
    // FindGateTOF and FindGatePeakTOF give them, with one pass over the gate where they agree.
    void measureGate(int32_t start_um, int32_t width_um, int32_t threshold, double* out);
    // timeOfIndex worked out from the setup.
    double computeTimeOfIndex(int32_t k) const;

    // Setup, single precision as the instrument's window computes them.
    int32_t m_rectification = 0;
    bool m_inch = false;
    int32_t m_gateBRelative = 0;
    int64_t m_delayTerm_ns = 0; // probe delay + display delay
    float m_velocity = 0.0F;    // m/s
    float m_delay_mm = 0.0F;    // display start as a path
    float m_range_mm = 0.0F;    // recorded display range
    // The times of the displayed samples as far as asked for (not-a-number until then): a table of a
    // whole recording asks for the same few hundred times frame after frame.
    mutable std::array<double, kDisplayedSamples> m_sampleTimes{};
    bool m_sampleTimesValid = false; // set by setRecording

    // Frame.
    int32_t m_gateAThreshold = 0;
    int32_t m_gateAWidth_um = 0;
    int32_t m_gateBWidth_um = 0;
    int32_t m_gateAMode = 0;
    std::array<int16_t, recording::kAscanPointCount> m_raw{};
    const uint8_t* m_block = nullptr; // the recorded samples m_raw is decoded from on demand

    GateDataArray m_gateData{};
};

} // namespace pelix::evaluation
