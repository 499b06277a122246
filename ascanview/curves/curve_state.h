// What the curve drawing leaves in the control after a redraw.
#pragma once

#include "cal/include/pelix_cal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pelix::ascanview {

// The label capture of the last straight DAC piece drawn: whether a first
// on-screen point was found, its amplitude (0.25 % steps) and its position.
struct DacLabelCapture {
    double firstOnScreen = 0.0;
    double amplitude0_25pcntSH = 0.0;
    double x = 0.0;
    double y = 0.0;
};

// What a DGS curve's sweep reads: the converted parameter block and points, the
// filter delay, the display window in 5 ns steps, the surface and the gain shift.
struct DgsCurveInputs {
    std::array<std::int32_t, PELIX_DGS_BLOCK_WORDS> block{};
    std::array<DGSPoint, PELIX_DGS_MAX_POINTS> points{};
    std::int32_t filterDelay = 0;
    std::int32_t start5 = 0;
    double range5 = 0.0;
    double width = 0.0;
    double height = 0.0;
    double gainShift = 0.0;

    // Bit for bit: a sweep from equal inputs draws the same strokes.
    bool operator==(const DgsCurveInputs& other) const {
        return block == other.block &&
               std::memcmp(points.data(), other.points.data(), sizeof(DGSPoint) * points.size()) == 0 &&
               filterDelay == other.filterDelay && start5 == other.start5 && sameBits(range5, other.range5) &&
               sameBits(width, other.width) && sameBits(height, other.height) &&
               sameBits(gainShift, other.gainShift);
    }

  private:
    static bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};

// The last sweep of one DGS curve: its inputs, the height of each column drawn, and whether
// it ran to the last column. A redraw with the same setup (every frame of a replay) draws
// these heights again instead of sweeping the library's curve afresh.
struct DgsCurveMemo {
    bool valid = false;
    DgsCurveInputs inputs;
    std::vector<double> heights;
    bool completed = false;
    double lastAmplitude = 0.0;
};

// One memory per curve, found by its offset (the ERS curve and four offset curves).
class DgsCurveMemos {
  public:
    DgsCurveMemo& curve(std::int32_t offset) {
        for (Slot& slot : m_slots)
            if (slot.used && slot.offset == offset) return slot.memo;
        Slot& slot = m_slots[m_next];
        m_next = (m_next + 1) % m_slots.size();
        slot.used = true;
        slot.offset = offset;
        slot.memo.valid = false;
        return slot.memo;
    }

  private:
    struct Slot {
        bool used = false;
        std::int32_t offset = 0;
        DgsCurveMemo memo;
    };
    std::array<Slot, 5> m_slots{};
    std::size_t m_next = 0;
};

struct CurveState {
    DacLabelCapture dacLabelCapture;
    DgsCurveMemos dgsCurves;
};

} // namespace pelix::ascanview
