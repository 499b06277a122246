#include "tools/pelix-synth/recording_synth.h"

#include "core/recording/frame_header.h"

#include <algorithm>
#include <cmath>

namespace pelix::synth {

using namespace pelix::recording;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Every word goes into the byte order its record's layout gives it.
void put(uint8_t* record, const layout::Field& field, int32_t value, std::size_t index = 0) {
    layout::write(record, field, value, index);
}

// A plate of 25 mm scanned with a 45 degree shear-wave probe, or with a
// straight longitudinal probe when the angle is 0.
struct Setup {
    int32_t velocity; // 0.1 m/s
    int32_t probeDelay_ns;
    int32_t displayDelay_ns;
    int32_t displayRange_um;
    int32_t thickness_um;
};

Setup setupFor(const SynthOptions& o) {
    Setup s{};
    s.velocity = o.angle_01deg > 0 ? 32300 : 59200;
    s.probeDelay_ns = 8520;
    s.displayDelay_ns = o.angle_01deg > 0 ? 620 : 340;
    s.displayRange_um = o.angle_01deg > 0 ? 100000 : 60000;
    s.thickness_um = 25000;
    return s;
}

double displayDelay_mm(const Setup& s) {
    return s.velocity / 10.0 * s.displayDelay_ns / 1000.0 / 2000.0;
}

// Round-trip time in ns of a sound path in micrometres, probe delay included.
double timeOfPath_ns(const Setup& s, double path_um) {
    return path_um * 20000.0 / s.velocity + s.probeDelay_ns;
}

int32_t tofTicks(const Setup& s, double path_um) {
    // T(x) = (5x + 1) / 2 ns, so x = (2t - 1) / 5.
    return static_cast<int32_t>(std::lround((2.0 * timeOfPath_ns(s, path_um) - 1.0) / 5.0));
}

int32_t pathOfTicks_um(const Setup& s, int32_t ticks) {
    const double t = (5.0 * ticks + 1.0) / 2.0;
    return static_cast<int32_t>((t - s.probeDelay_ns) * s.velocity / 20000.0);
}

} // namespace

bool RecordingSynth::isFlagged(int32_t frame) const {
    return std::find(m_flagged.begin(), m_flagged.end(), frame) != m_flagged.end();
}

RecordingSynth::RecordingSynth(const SynthOptions& options) : m_options(options), m_random(options.seed) {
    const int32_t flagged = std::clamp(options.flaggedFrames, 0, std::max(options.frames, 0));
    for (int32_t k = 0; k < flagged; ++k) {
        // Spread over the recording with a little jitter, as an operator would press the key.
        const double centre = (k + 0.5) * options.frames / flagged;
        int32_t frame = static_cast<int32_t>(centre) + 1 + m_random.below(3) - 1;
        frame = std::clamp(frame, 1, options.frames);
        if (!isFlagged(frame)) m_flagged.push_back(frame);
    }
    std::sort(m_flagged.begin(), m_flagged.end());
}

HeaderRecord RecordingSynth::header() const {
    const SynthOptions& o = m_options;
    const Setup s = setupFor(o);
    HeaderRecord h{};
    uint8_t* b = h.data();
    std::copy(std::begin(kMagicBytes), std::end(kMagicBytes), b);
    put(b, rh::Version, o.version);
    put(b, rh::FlagCount, o.flagCount >= 0 ? o.flagCount : static_cast<int32_t>(m_flagged.size()));
    put(b, rh::RateSelect, o.framesPerSecond == 10 ? 1 : 0);
    put(b, rh::Units, o.units);
    put(b, rh::DisplayRange_um, s.displayRange_um);
    put(b, rh::ProbeDelay, s.probeDelay_ns);
    put(b, rh::DisplayDelay_ns, s.displayDelay_ns);
    put(b, rh::Velocity, s.velocity);
    put(b, rh::Rectification, o.rectification);
    put(b, rh::GateBTrigger, 0);
    put(b, rh::PathAsZoneNumber, 0);
    put(b, rh::ZoneLengthsVariable, 1);
    // Zone lengths are written in the instrument's native (little-endian) order.
    for (std::size_t k = 0; k < kZoneLengths; ++k)
        put(b, rh::ZoneLengths, 10000 + 2500 * static_cast<int32_t>(k), k);
    const int32_t codes[kReadingSlots] = {3, 1, 6, 7, 4, 17, 9};
    const int32_t modes[kReadingSlots] = {2, 1, 1, 1, 3, 1, 1};
    put(b, rh::ReadingSlotCount, static_cast<int32_t>(kReadingSlots));
    for (std::size_t i = 0; i < kReadingSlots; ++i) {
        put(b, rh::ReadingCodes, codes[i], i);
        put(b, rh::ReadingModes, modes[i], i);
    }
    const EvaluationSetup& e = o.evaluation;
    put(b, rh::EvalMode, e.evalMode);
    put(b, rh::TCGMode, e.tcgMode);
    put(b, rh::TCGDisplay, e.tcgDisplay);
    put(b, rh::DACCurveType, e.dacCurveType);
    for (std::size_t j = 0; j < kCurveOffsets; ++j)
        put(b, rh::CurveOffsets, e.curveOffsets[j], j);
    put(b, rh::TCGCurveStatus, e.tcgCurveStatus);
    // Side-drilled holes recorded as DAC reference points, the echo falling with depth.
    put(b, rh::ulNumOfStoredPoints, e.points);
    const int32_t stored = std::clamp(e.points, 0, 16);
    for (int32_t k = 0; k < stored; ++k) {
        const auto point = [&](const layout::Field& f, int32_t v) {
            layout::writeTcgPoint(b, static_cast<std::size_t>(k), f, v);
        };
        const double hole_um = stored <= 4 ? 12500.0 * (k + 1) : 10000.0 + 45000.0 * k / (stored - 1);
        const int32_t firstFour[4] = {800, 640, 480, 360};
        const int32_t amp =
            k < 4 ? firstFour[k] : static_cast<int32_t>(std::lround(800.0 * std::pow(0.8, k)));
        const int32_t gain = 420;
        point(tp::ulRecordedAMP_01PCT, amp);
        point(tp::ulRecordedGain_01dB, gain);
        point(tp::ulHardwareTOF_20ns, static_cast<int32_t>(std::lround(timeOfPath_ns(s, hole_um) / 20.0)));
        point(tp::ulFinalGain_01dB,
              gain + static_cast<int32_t>(std::lround(200.0 * std::log10(800.0 / amp))));
        point(tp::ulAmpAtRefGain_01PCT, amp);
    }
    put(b, rh::PrbAngle, o.angle_01deg);
    put(b, rh::TrigThk, s.thickness_um);
    put(b, rh::ProbeXValue, 12000);
    put(b, rh::TrigColorLeg, o.angle_01deg > 0 ? 1 : 0);
    put(b, rh::ODiameter, 0);
    put(b, rh::BEA, e.bea);
    const bool dgs = e.evalMode == 1;
    put(b, rh::DGSMode, e.dgsMode);
    put(b, rh::DGSRefStatus, dgs ? 1 : 0);
    put(b, rh::DGSProbeNum, e.dgsProbeNum);
    put(b, rh::NumOfDGSDrawPnts, 0);
    put(b, rh::DGSCurve, e.dgsCurve);
    put(b, rh::DGSXtalFreq, 400);
    put(b, rh::DGSEffeDiam, 10000);
    put(b, rh::DGSDelayVel, 27300);
    put(b, rh::DGSRefType, e.dgsRefType);
    put(b, rh::DGSRefSize, e.dgsRefSize);
    put(b, rh::DGSRefAtten, 0);
    put(b, rh::DGSAmplCorr, 0);
    put(b, rh::DGSTestAtten, 0);
    put(b, rh::DGSRefDist, 50000);
    put(b, rh::DGSRefAmp, 800);
    put(b, rh::DGSBaseGain, 400);
    put(b, rh::DGSRefGain, 300);
    put(b, rh::FilterSetup, e.filterSetup);
    put(b, rh::GateBRelative, 0);
    put(b, rh::JISEnable, e.jisEnable);
    put(b, rh::JISBoldLine, e.jisBoldLine);
    put(b, rh::Envelope, o.envelope ? 1 : 0);
    put(b, rh::CNDACRegs, e.cnDacRegs);
    put(b, rh::BWGain, e.bwGain);
    return h;
}

std::vector<RecordingSynth::Echo> RecordingSynth::echoesAt(int32_t frame) {
    const Setup s = setupFor(m_options);
    const double t = static_cast<double>(frame - 1) / m_options.framesPerSecond;
    std::vector<Echo> echoes;
    // Corner echo: one leg of the plate (or its back wall), steady with coupling variations.
    const double leg_mm = m_options.angle_01deg > 0
                              ? s.thickness_um / 1000.0 / std::cos(m_options.angle_01deg * kPi / 1800.0)
                              : s.thickness_um / 1000.0;
    echoes.push_back({leg_mm, 62.0 + 8.0 * std::sin(t * 0.7) + 4.0 * m_random.uniform()});
    if (m_options.angle_01deg == 0) echoes.push_back({2 * leg_mm, 30.0 + 3.0 * m_random.uniform()});
    // The flaw: the probe moves over it and away again, so its echo wanders
    // along the time axis and rises and falls, sometimes beyond full screen.
    const double tf = t + m_options.flawLead_ms / 1000.0;
    const double path = 19.0 + 11.0 * std::sin(tf * 0.45);
    const double presence = std::max(0.0, std::sin(tf * 0.31 + 0.4));
    const double amp = 115.0 * presence * presence + 6.0 * m_random.uniform();
    if (amp > 8.0) echoes.push_back({path, amp});
    return echoes;
}

void RecordingSynth::fillSamples(const std::vector<Echo>& echoes, uint8_t* block) {
    const Setup s = setupFor(m_options);
    const double start = displayDelay_mm(s);
    const double span = s.displayRange_um / 1000.0 * 1.1;
    for (std::size_t p = 0; p < kSamplePairs; ++p) {
        const double path = start + span * static_cast<double>(p) / kSamplePairs;
        double x = 0;
        for (const Echo& e : echoes) {
            const double d = (path - e.path_mm) / span * kSamplePairs; // in samples
            if (std::fabs(d) > 20) continue;
            x += e.amplitude_pct * std::exp(-d * d / 18.0) * std::cos(2 * kPi * d / 4.6);
        }
        // Grass: small random noise in both half-waves.
        const double grass = 2.5 * m_random.uniform();
        const double pos = std::max(0.0, x) + grass + 1.5 * m_random.uniform();
        const double neg = std::max(0.0, -x) + grass + 1.5 * m_random.uniform();
        block[2 * p] = static_cast<uint8_t>(std::clamp(std::lround(neg * 2.55), 0L, 255L));
        block[2 * p + 1] = static_cast<uint8_t>(std::clamp(std::lround(pos * 2.55), 0L, 255L));
    }
}

FrameRecord RecordingSynth::nextFrameRecord(int32_t frame, int32_t record) {
    const Setup s = setupFor(m_options);
    const std::vector<Echo> echoes = echoesAt(frame);
    FrameRecord r{};
    uint8_t* b = r.data();
    uint8_t* samples = b + kFrameHeaderBytes;
    fillSamples(echoes, samples);
    if (m_options.envelope) {
        if (record == 0)
            for (std::size_t i = 0; i < kSampleBlockBytes; ++i)
                m_envelope[i] = static_cast<uint8_t>(std::max<int>(m_envelope[i] * 31 / 32, samples[i]));
        else
            std::copy(m_envelope.begin(), m_envelope.end(), samples);
    }

    const double t = static_cast<double>(frame - 1) / m_options.framesPerSecond;
    // The operator nudges gate A once during the scan.
    const int32_t gateAStart = t < 20 ? 10000 : 9000;
    const int32_t gateAWidth = 20000;
    const int32_t gateAThreshold = 30;
    const int32_t gateBStart = 30000, gateBWidth = 12000, gateBThreshold = 25;
    const bool gateBOn = !(t > 8 && t < 11);
    const int32_t gateAMode = (t > 14 && t < 16) ? 1 : 0;

    // The instrument evaluates its gates on the digitised signal: the highest
    // sample inside the gate, if it reaches the threshold, is the gate's echo.
    const double start = displayDelay_mm(s);
    const double span = s.displayRange_um / 1000.0 * 1.1;
    struct GateEcho {
        bool found = false;
        double path_mm = 0;
        int32_t amplitude = 0; // percent of screen height, 104 when beyond the screen
    };
    auto evaluateGate = [&](int32_t start_um, int32_t width_um, int32_t threshold) {
        GateEcho g;
        const double first = (start_um / 1000.0 - start) / span * kSamplePairs;
        const double last = ((start_um + width_um) / 1000.0 - start) / span * kSamplePairs;
        int best = -1;
        std::size_t bestAt = 0;
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            if (p < first || p > last) continue;
            const int v = std::max(samples[2 * p], samples[2 * p + 1]);
            if (v > best) {
                best = v;
                bestAt = p;
            }
        }
        const int percent = best * 100 / 255;
        if (best < 0 || percent < threshold) return g;
        g.found = true;
        g.path_mm = start + span * static_cast<double>(bestAt) / kSamplePairs;
        g.amplitude = percent;
        if (best == 255) {
            // Saturated: the instrument still knows how far beyond the screen the echo went.
            double strongest = 0;
            for (const Echo& e : echoes)
                if (std::fabs(e.path_mm - g.path_mm) < 1.0) strongest = std::max(strongest, e.amplitude_pct);
            g.amplitude = static_cast<int32_t>(std::lround(std::clamp(strongest, 100.0, 104.0)));
        }
        return g;
    };
    const GateEcho gateA = evaluateGate(gateAStart, gateAWidth, gateAThreshold);
    const GateEcho gateB = gateBOn ? evaluateGate(gateBStart, gateBWidth, gateBThreshold) : GateEcho{};
    const GateEcho* a = gateA.found ? &gateA : nullptr;
    const GateEcho* bEcho = gateB.found ? &gateB : nullptr;

    put(b, fh::FrameFlag, record == 0 && isFlagged(frame) ? 1 : 0);
    put(b, fh::Gain_01dB, 420 + (frame / 200 % 2) * 20);
    put(b, fh::GateAStart_um, gateAStart);
    put(b, fh::GateAWidth_um, gateAWidth);
    put(b, fh::GateAThreshold, m_options.rectification == 0 ? -gateAThreshold : gateAThreshold);
    put(b, fh::GateAMode, gateAMode);
    put(b, fh::GateAOn, 1);
    const int32_t aTicks = a ? tofTicks(s, a->path_mm * 1000.0) : 0;
    const int32_t aAmp = a ? a->amplitude : 0;
    put(b, fh::GateATOF_2_5ns, aTicks);
    put(b, fh::GateAAmplitude, aAmp);
    put(b, fh::GateAValid, a ? 1 : 0);
    put(b, fh::GateBStart_um, gateBStart);
    put(b, fh::GateBWidth_um, gateBWidth);
    put(b, fh::GateBThreshold, gateBThreshold);
    put(b, fh::GateBMode, 0);
    put(b, fh::GateBOn, gateBOn ? 1 : 0);
    const int32_t bTicks = bEcho ? tofTicks(s, bEcho->path_mm * 1000.0) : 0;
    put(b, fh::GateBTOF_2_5ns, bTicks);
    put(b, fh::GateBAmplitude, bEcho ? bEcho->amplitude : 0);
    put(b, fh::GateBValid, bEcho ? 1 : 0);

    // The instrument's readings: SA, A%A, DA, PA, SB, dBrA, LA (see the header's codes).
    const double angle = m_options.angle_01deg * kPi / 1800.0;
    const int32_t sa = a ? pathOfTicks_um(s, aTicks) : 0;
    const double thick = s.thickness_um;
    const double depthRaw = sa * std::cos(angle);
    const int32_t leg = static_cast<int32_t>(depthRaw / thick);
    const double depthInLeg = std::fmod(depthRaw, thick);
    const int32_t depth = static_cast<int32_t>(leg % 2 == 0 ? depthInLeg : thick - depthInLeg);
    // The surface distance from the beam index; the reduced one (RA) would take ProbeXValue off.
    const int32_t projection = static_cast<int32_t>(sa * std::sin(angle));
    const int32_t sb = bEcho ? pathOfTicks_um(s, bTicks) : 0;
    const int32_t dbr =
        a ? static_cast<int32_t>(std::lround(200.0 * std::log10(std::max(1, aAmp) / 30.0))) : 0;
    const int32_t kinds[kReadingSlots] = {2, 1, 2, 2, 2, 4, 0};
    const int32_t values[kReadingSlots] = {sa, aAmp, depth, projection, sb, dbr, leg + 1};
    const bool fromGateB[kReadingSlots] = {false, false, false, false, true, false, false};
    // Depth, surface distance and leg need a beam angle: a straight-beam probe records none.
    const bool needsAngle[kReadingSlots] = {false, false, true, true, false, false, true};

    if (record == 0) m_framesSinceTrigger = a ? 0 : m_framesSinceTrigger + 1;
    for (std::size_t i = 0; i < kReadingSlots; ++i) {
        const bool triggered = fromGateB[i] ? bEcho != nullptr : a != nullptr;
        int32_t noValue = 0, live = 1, value = values[i];
        if (triggered) {
            if (!fromGateB[i] && record == 0) m_held[i] = value;
        } else if (!fromGateB[i] && m_framesSinceTrigger <= 25 && m_framesSinceTrigger > 0) {
            // Peak memory: the last value stays on the instrument's screen for half a second.
            live = 0;
            value = m_held[i];
        } else {
            noValue = 1;
            value = 0;
        }
        if (needsAngle[i] && m_options.angle_01deg == 0) {
            noValue = 1;
            value = 0;
        }
        put(b, fh::ReadingNoValue, noValue, i);
        put(b, fh::ReadingLive, live, i);
        put(b, fh::ReadingValue, value, i);
        put(b, fh::ReadingKind, kinds[i], i);
        put(b, fh::ReadingClipped, kinds[i] == 1 && a && a->amplitude > 100 ? 1 : 0, i);
    }
    return r;
}

void RecordingSynth::write(std::ostream& out) {
    const HeaderRecord h = header();
    out.write(reinterpret_cast<const char*>(h.data()), static_cast<std::streamsize>(h.size()));
    const char padding[4] = {0, 0, 0, 0};
    out.write(padding, static_cast<std::streamsize>(paddingBytes()));
    for (int32_t n = 1; n <= m_options.frames; ++n) {
        for (int32_t r = 0; r < recordsPerFrame(); ++r) {
            const FrameRecord rec = nextFrameRecord(n, r);
            out.write(reinterpret_cast<const char*>(rec.data()), static_cast<std::streamsize>(rec.size()));
        }
    }
    if (m_options.extraBytes > 0) {
        const FrameRecord tail = nextFrameRecord(m_options.frames + 1, 0);
        out.write(reinterpret_cast<const char*>(tail.data()),
                  std::min<std::streamsize>(m_options.extraBytes, static_cast<std::streamsize>(tail.size())));
    }
}

} // namespace pelix::synth
