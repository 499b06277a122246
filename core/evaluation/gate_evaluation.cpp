#include "core/evaluation/gate_evaluation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelix::evaluation {

namespace {

// The 800 displayed samples span 110 % of the recorded display range.
constexpr double kScreenSpan = 1.1;
constexpr int32_t kLastSample = GateEvaluation::kDisplayedSamples - 1;
// RF recordings hold the positive half-wave in the upper half of the samples.
constexpr int32_t kRfPositiveHalf = 800;
// A percent of screen height on the sample scale (4080 / 100, as the instrument rounds it).
constexpr int64_t kSampleScalePerPercent = 41;

// Nearest whole number, halves to even, within [lo, hi]; not-a-number gives lo.
double roundClamped(double value, double lo, double hi) {
    if (std::isnan(value)) return lo;
    return std::clamp(std::nearbyint(value), lo, hi);
}

int32_t sampleIndex(double position) {
    return static_cast<int32_t>(roundClamped(position, 0.0, kLastSample));
}

// The largest of samples from..to and where it first stands; 0 at index 0 while none is above 0.
// A table of a whole recording asks this of every frame's gates, so where the processor can, eight
// samples are compared at once: first the largest, then the first place that holds it.
struct Largest {
    int32_t value = 0;
    int32_t index = 0;
};

Largest firstLargest(const int16_t* samples, int32_t from, int32_t to) {
    if (to < from) return {};
    int32_t largest = 0;
    int32_t i = from;
#if defined(__SSE2__)
    constexpr int32_t kLanes = 8;
    const auto load = [samples](int32_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + at));
    };
    __m128i lanes = _mm_setzero_si128();
    for (; i + kLanes - 1 <= to; i += kLanes)
        lanes = _mm_max_epi16(lanes, load(i));
    lanes = _mm_max_epi16(lanes, _mm_shuffle_epi32(lanes, 0x4E));
    lanes = _mm_max_epi16(lanes, _mm_shuffle_epi32(lanes, 0xB1));
    lanes = _mm_max_epi16(lanes, _mm_shufflelo_epi16(lanes, 0xB1));
    largest = static_cast<int16_t>(_mm_cvtsi128_si32(lanes) & 0xFFFF);
#endif
    for (int32_t k = i; k <= to; ++k)
        largest = std::max<int32_t>(largest, samples[k]);
    if (largest <= 0) return {};
    int32_t at = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<int16_t>(largest));
    for (; at + kLanes - 1 <= to; at += kLanes) {
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi16(load(at), wanted));
        if (found != 0) return {largest, at + std::countr_zero(static_cast<unsigned>(found)) / 2};
    }
#endif
    while (samples[at] != largest)
        ++at;
    return {largest, at};
}

} // namespace

void GateEvaluation::setRecording(const recording::RecordingHeader& setup) {
    const int64_t delayTerm = m_delayTerm_ns;
    const float velocity = m_velocity, range = m_range_mm;
    m_rectification = setup.Rectification;
    m_inch = setup.isInch();
    m_gateBRelative = setup.GateBRelative;
    m_delayTerm_ns = static_cast<int64_t>(setup.ProbeDelay) + setup.DisplayDelay_ns;
    m_velocity = static_cast<float>(setup.Velocity / 10.0);
    m_delay_mm =
        static_cast<float>(setup.DisplayDelay_ns * static_cast<double>(m_velocity) / 2000.0 / 1000.0);
    m_range_mm = static_cast<float>(setup.DisplayRange_um / 1000.0);
    // The same setup again (every frame of a recording hands it over) keeps the times worked out.
    const bool sameTimes = delayTerm == m_delayTerm_ns &&
                           std::bit_cast<uint32_t>(velocity) == std::bit_cast<uint32_t>(m_velocity) &&
                           std::bit_cast<uint32_t>(range) == std::bit_cast<uint32_t>(m_range_mm);
    if (!sameTimes || !m_sampleTimesValid) {
        m_sampleTimes.fill(std::nan(""));
        m_sampleTimesValid = true;
    }
}

void GateEvaluation::setFrame(const recording::FrameHeader& frame,
                              const std::array<int16_t, recording::kAscanPointCount>& AscanRaw) {
    m_gateAThreshold = frame.GateAThreshold;
    m_gateAWidth_um = frame.GateAWidth_um;
    m_gateBWidth_um = frame.GateBWidth_um;
    m_gateAMode = frame.GateAMode;
    m_raw = AscanRaw;
    m_block = nullptr;
}

void GateEvaluation::setFrameBlock(const recording::FrameHeader& frame, const uint8_t* sampleBlock) {
    m_gateAThreshold = frame.GateAThreshold;
    m_gateAWidth_um = frame.GateAWidth_um;
    m_gateBWidth_um = frame.GateBWidth_um;
    m_gateAMode = frame.GateAMode;
    m_block = sampleBlock;
}

int32_t GateEvaluation::GetAscanAmp(int32_t index) const {
    int64_t at = index;
    if (m_rectification == 0) {
        if (m_gateAThreshold >= 0) at += kRfPositiveHalf;
    } else if (m_rectification < 1 || m_rectification > 3) {
        return 0;
    }
    if (at < 0 || at >= static_cast<int64_t>(m_raw.size())) return 0;
    return m_raw[static_cast<std::size_t>(at)];
}

PointRange GateEvaluation::GetPointRange(int32_t start_um, int32_t width_um) const {
    const double span = static_cast<double>(m_range_mm) * kScreenSpan;
    const double delay = m_delay_mm;
    const double start = start_um / 1000.0;
    const double end = start + width_um / 1000.0;
    return {sampleIndex((start - delay) * kDisplayedSamples / span),
            sampleIndex((end - delay) * kDisplayedSamples / span)};
}

int64_t GateEvaluation::levelOf(int32_t threshold) const {
    const int64_t level = std::llabs(static_cast<int64_t>(threshold)) * kSampleScalePerPercent;
    if (!rf()) return level;
    return static_cast<int64_t>(std::nearbyint(static_cast<double>(level) / 2.0));
}

double GateEvaluation::timeOfIndex(int32_t k) const {
    if (k < 0 || k >= kDisplayedSamples || !m_sampleTimesValid) return computeTimeOfIndex(k);
    double& time = m_sampleTimes[static_cast<std::size_t>(k)];
    if (std::isnan(time)) time = computeTimeOfIndex(k);
    return time;
}

double GateEvaluation::computeTimeOfIndex(int32_t k) const {
    // Path from the display start in micrometres, then the round trip in ns.
    const double range_um = static_cast<double>(m_range_mm) * 1000.0;
    const double q = std::nearbyint((k * 600.0 / 800.0 * range_um - 273.0) / 546.0);
    const double v = m_velocity;
    const double sample_ns = v > 0.0 && std::isfinite(v) ? std::nearbyint(q * 2000.0 / v) : 0.0;
    const double ticks =
        std::nearbyint((20.0 * (sample_ns + static_cast<double>(m_delayTerm_ns)) + 25.0) / 50.0);
    // Below 0 (a negative display delay) is the start of the time base; above
    // 31 bits the value would read as "nothing found".
    return roundClamped(ticks, 0.0, kNothingFoundMark - 1.0);
}

double GateEvaluation::FindGateAMP(int32_t start_um, int32_t width_um, int32_t threshold) const {
    const PointRange r = GetPointRange(start_um, width_um);
    int32_t max = 0;
    for (int32_t i = r.from; i <= r.to; ++i)
        max = std::max(max, GetAscanAmp(i));
    const double amplitude = max;
    return max < levelOf(threshold) ? amplitude + kNothingFoundMark : amplitude;
}

double GateEvaluation::FindGateTOF(int32_t start_um, int32_t width_um, int32_t threshold) const {
    const PointRange r = GetPointRange(start_um, width_um);
    const int64_t level = levelOf(threshold);
    if (flankSearch()) {
        // A crossing needs a sample below the level first; the last displayed
        // sample has no successor inside the trace.
        for (int32_t i = r.from; i <= std::min(r.to, kLastSample - 1); ++i)
            if (GetAscanAmp(i) < level && GetAscanAmp(i + 1) >= level) return timeOfIndex(i + 1);
        return timeOfIndex(0) + kNothingFoundMark;
    }
    // Peak search: the time of the largest sample, which is no echo when it
    // stays below the gate's level (the same rule as the peak time's).
    int32_t max = 0, k = 0;
    for (int32_t i = r.from; i <= r.to; ++i) {
        const int32_t a = GetAscanAmp(i);
        if (a > max) {
            max = a;
            k = i;
        }
    }
    const double time = timeOfIndex(k);
    return max < level ? time + kNothingFoundMark : time;
}

double GateEvaluation::FindGatePeakTOF(int32_t start_um, int32_t width_um, int32_t threshold) const {
    PointRange r = GetPointRange(start_um, width_um);
    const int64_t level = levelOf(threshold);
    if (m_gateAMode == 2) {
        // Only the first excursion above the level: from the sample before it
        // rises to the sample after it falls.
        const int32_t lastPair = std::min(r.to, kLastSample - 1);
        for (int32_t i = r.from; i <= lastPair; ++i) {
            if (GetAscanAmp(i) < level && level <= GetAscanAmp(i + 1)) {
                r.from = i;
                break;
            }
        }
        for (int32_t i = r.from; i <= lastPair; ++i) {
            if (GetAscanAmp(i) >= level && level > GetAscanAmp(i + 1)) {
                r.to = i + 1;
                break;
            }
        }
    }
    int32_t max = 0, k = 0;
    for (int32_t i = r.from; i <= r.to; ++i) {
        const int32_t a = GetAscanAmp(i);
        if (a > max) {
            max = a;
            k = i;
        }
    }
    const double time = timeOfIndex(k);
    return max < level ? time + kNothingFoundMark : time;
}

int32_t GateEvaluation::toMicrometres(float start) const {
    const double perUnit = m_inch ? 25400.0 : 1000.0;
    return static_cast<int32_t>(
        roundClamped(static_cast<double>(start) * perUnit, -2147483648.0, 2147483647.0));
}

void GateEvaluation::measureGate(int32_t start_um, int32_t width_um, int32_t threshold, double* out) {
    const PointRange r = GetPointRange(start_um, width_um);
    // A rising flank and the end of a first excursion look one sample past the gate's end.
    if (m_block && r.from <= r.to)
        recording::composeRawSamples(m_rectification, m_block, m_raw, static_cast<std::size_t>(r.from),
                                     static_cast<std::size_t>(std::min(r.to + 1, kLastSample)));
    // The largest sample and where it first stands, read as GetAscanAmp reads them: the
    // amplitude, and the time of a peak search.
    Largest largest;
    if (m_rectification >= 0 && m_rectification <= 3)
        largest =
            firstLargest(m_raw.data() + (rf() && m_gateAThreshold >= 0 ? kRfPositiveHalf : 0), r.from, r.to);
    const int32_t max = largest.value, k = largest.index;
    const bool below = max < levelOf(threshold);
    out[0] = below ? max + kNothingFoundMark : max;
    const double peakTime = below ? timeOfIndex(k) + kNothingFoundMark : timeOfIndex(k);
    out[1] = flankSearch() ? FindGateTOF(start_um, width_um, threshold) : peakTime;
    out[2] = m_gateAMode == 2 ? FindGatePeakTOF(start_um, width_um, threshold) : peakTime;
}

void GateEvaluation::GetGateData(const MovedGates& gates) {
    const int32_t aStart = toMicrometres(gates.newGateAStart);
    const int32_t bStart = toMicrometres(gates.newGateBStart);
    if (gates.ShowGateA) measureGate(aStart, m_gateAWidth_um, gates.newGateAThresh, &m_gateData[0]);
    if (gates.ShowGateB) {
        measureGate(bStart, m_gateBWidth_um, gates.newGateBThresh, &m_gateData[3]);
        // The calculation library adds gate A's echo time back to gate B times
        // under the same condition; a gate B echo before gate A's stays absolute.
        if (m_gateBRelative != 0) {
            for (const std::size_t i : {std::size_t{4}, std::size_t{5}})
                if (m_gateData[i] < kNothingFoundMark - 1.0 && m_gateData[i] >= m_gateData[1])
                    m_gateData[i] -= m_gateData[1];
        }
    }
}

} // namespace pelix::evaluation
