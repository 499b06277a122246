// Builds the raw records the player hands to the reading formatter and reads
// the results back, so tests speak in header words and gate values.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "layout/record_layout.h"
#include "pelix_cal.h"
#include "readings/readings_state.h"

namespace pelix::cal::testing {

// The fields of the two records, by the names the recording gives them.
namespace rh = layout::setup;
namespace fh = layout::frame;
namespace tp = layout::tcg_point;

class RecordingHeaderBytes {
  public:
    RecordingHeaderBytes& word(const layout::Field& field, int32_t value, std::size_t index = 0) {
        layout::write(bytes_.data(), field, value, index);
        return *this;
    }
    RecordingHeaderBytes& codes(std::initializer_list<int32_t> slots) {
        word(rh::ReadingSlotCount, static_cast<int32_t>(slots.size()));
        std::size_t i = 0;
        for (int32_t code : slots)
            word(rh::ReadingCodes, code, i++);
        return *this;
    }
    RecordingHeaderBytes& curveOffsets(std::array<int32_t, 6> offsets_01dB) {
        for (std::size_t j = 0; j < offsets_01dB.size(); ++j)
            word(rh::CurveOffsets, offsets_01dB[j], j);
        return *this;
    }
    // A DAC point: time in 20 ns steps, final gain in 0.1 dB, amplitude in 0.1 %.
    RecordingHeaderBytes& dacPoint(std::size_t k, int32_t time_20ns, int32_t gain_01dB, int32_t amp_01pct) {
        layout::writeTcgPoint(bytes_.data(), k, tp::ulHardwareTOF_20ns, time_20ns);
        layout::writeTcgPoint(bytes_.data(), k, tp::ulFinalGain_01dB, gain_01dB);
        layout::writeTcgPoint(bytes_.data(), k, tp::ulAmpAtRefGain_01PCT, amp_01pct);
        return *this;
    }
    const uint8_t* data() const { return bytes_.data(); }

  private:
    std::array<uint8_t, PELIX_RECORDING_HEADER_BYTES> bytes_{};
};

class FrameHeaderBytes {
  public:
    FrameHeaderBytes& word(const layout::Field& field, int32_t value, std::size_t index = 0) {
        layout::write(bytes_.data(), field, value, index);
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
