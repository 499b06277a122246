// What the curve drawing leaves in the control after a redraw.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

// The heights of the last DGS curves drawn, step by step, with the gain and
// reference amplitude each came from. A redraw with the same setup (every
// frame of a replay) asks for the same powers of ten in the same order; an
// entry is used only when both inputs match exactly, so the curve is the one
// the arithmetic gives, only sooner.
class DgsHeightMemo {
  public:
    struct Entry {
        double gain = 0.0;
        double referenceAmplitude = 0.0;
        double amplitude = 0.0;
    };
    // The steps of the curve drawn with this offset (slots are reused in turn).
    std::vector<Entry>& curve(std::int32_t offset) {
        for (Slot& slot : m_slots)
            if (slot.used && slot.offset == offset) return slot.steps;
        Slot& slot = m_slots[m_next];
        m_next = (m_next + 1) % m_slots.size();
        slot.used = true;
        slot.offset = offset;
        slot.steps.clear();
        return slot.steps;
    }

  private:
    struct Slot {
        bool used = false;
        std::int32_t offset = 0;
        std::vector<Entry> steps;
    };
    // The ERS curve and four offset curves.
    std::array<Slot, 5> m_slots{};
    std::size_t m_next = 0;
};

struct CurveState {
    DacLabelCapture dacLabelCapture;
    DgsHeightMemo dgsHeights;
};

} // namespace pelix::ascanview
