// Builds the raw records the player hands to the reading formatter and reads
// the results back, so tests speak in header words and gate values.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "pelix_cal.h"
#include "readings/readings_state.h"

namespace pelix::cal::testing {

// Recording header word offsets the readings use.
namespace rh {
constexpr std::size_t Units = 16, ProbeDelay = 24, DisplayDelay = 28, Velocity = 32, Rectification = 36;
constexpr std::size_t PathAsZoneNumber = 48, ZoneLengthsVariable = 52, ReadingSlotCount = 100;
constexpr std::size_t ReadingCodes = 104, EvalMode = 160, TCGMode = 164, DACCurveType = 172;
constexpr std::size_t CurveOffsets = 184, NumOfStoredPoints = 212;
constexpr std::size_t PrbAngle = 680, TrigThk = 684, ProbeXValue = 688, ODiameter = 696;
constexpr std::size_t DGSMode = 704, DGSProbeNum = 712, DGSEffeDiam = 728, DGSTestAtten = 752;
constexpr std::size_t DGSRefAmp = 760, DGSBaseGain = 764, DGSRefGain = 768, FilterSetup = 772;
constexpr std::size_t GateBRelative = 776, JISEnable = 780, JISBoldLine = 784, CNDACRegs = 792;
} // namespace rh

// Frame header word offsets.
namespace fh {
constexpr std::size_t GateAThreshold = 160, GateAOn = 168, GateBThreshold = 192, GateBOn = 200;
}

class RecordingHeaderBytes {
  public:
    RecordingHeaderBytes& word(std::size_t offset, int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
        return *this;
    }
    RecordingHeaderBytes& codes(std::initializer_list<int32_t> slots) {
        word(rh::ReadingSlotCount, static_cast<int32_t>(slots.size()));
        std::size_t i = 0;
        for (int32_t code : slots)
            word(rh::ReadingCodes + 4 * i++, code);
        return *this;
    }
    RecordingHeaderBytes& curveOffsets(std::array<int32_t, 6> offsets_01dB) {
        for (std::size_t j = 0; j < offsets_01dB.size(); ++j)
            word(rh::CurveOffsets + 4 * j, offsets_01dB[j]);
        return *this;
    }
    // A DAC point: time in 20 ns steps, final gain in 0.1 dB, amplitude in 0.1 %.
    RecordingHeaderBytes& dacPoint(std::size_t k, int32_t time_20ns, int32_t gain_01dB, int32_t amp_01pct) {
        const std::size_t at = 228 + 28 * k;
        return word(at + 12, time_20ns).word(at + 20, gain_01dB).word(at + 24, amp_01pct);
    }
    const uint8_t* data() const { return bytes_.data(); }

  private:
    std::array<uint8_t, PELIX_RECORDING_HEADER_BYTES> bytes_{};
};

class FrameHeaderBytes {
  public:
    FrameHeaderBytes& word(std::size_t offset, int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<uint8_t>(v >> (8 * i));
        return *this;
    }
    FrameHeaderBytes& gates(bool aOn, bool bOn) { return word(fh::GateAOn, aOn).word(fh::GateBOn, bOn); }
    const uint8_t* data() const { return bytes_.data(); }

  private:
    std::array<uint8_t, PELIX_FRAME_HEADER_BYTES> bytes_{};
};

// The mark the player adds to a gate value for "nothing found".
constexpr double kNothingFound = 2147483648.0;

// Raw amplitude (0..4095) of an echo whose height in whole percent is `percent`.
constexpr double rawForPercent(int percent) {
    return (percent * 10 * 4095 + 1049) / 1050;
}

struct GateValues {
    double amplitude = 0;
    double time = kNothingFound;
    double third = 0;
};

inline GateValues echo(double time_ticks, int percent = 50) {
    return {rawForPercent(percent), time_ticks, 0};
}
inline GateValues noEcho() {
    return {};
}

struct Shown {
    std::string text;
    int32_t current = -1;
    bool operator==(const Shown&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Shown& s) {
    return os << '"' << s.text << "\" flag " << s.current;
}

// Every test starts from a freshly loaded library.
class ReadingsTest : public ::testing::Test {
  protected:
    void SetUp() override { readings::resetReadingsState(); }

    void load() { SetHeaderData(header.data(), frame.data()); }
    void gates(GateValues a, GateValues b = {}) {
        const double values[PELIX_GATE_DATA_VALUES] = {a.amplitude, a.time, a.third,
                                                       b.amplitude, b.time, b.third};
        UpdateGateData(values);
    }
    Shown slot(int32_t slot) {
        ReadingResult result;
        std::memset(&result, 0x5A, sizeof result);
        EXPECT_EQ(FormatCVRsltValue(slot, &result), 1);
        EXPECT_EQ(result.secondText[0], '\0');
        EXPECT_NE(std::memchr(result.text, '\0', sizeof result.text), nullptr);
        return {result.text, result.current};
    }
    // The reading of one code (slot 0) for one frame's gates, on a freshly loaded setup.
    Shown readCode(int32_t c, GateValues a, GateValues b = {}) {
        header.codes({c});
        load();
        gates(a, b);
        return slot(0);
    }

    RecordingHeaderBytes header;
    FrameHeaderBytes frame;
};

} // namespace pelix::cal::testing
