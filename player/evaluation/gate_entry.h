// The "Gates…" dialog without its widgets: the texts its fields start with for
// the gates on screen, the limits of each field, and the typed texts turned
// into the gates a drag at those values leaves. A field left as it was keeps
// the gate's value exactly, so confirming the dialog unchanged moves nothing.
#pragma once

#include "core/frame/frame_view.h"
#include "player/evaluation/dragged_gates.h"
#include "player/evaluation/typed_units.h"

#include <array>
#include <string>

namespace pelix::player {

// The gates as the A-scan control holds them now (where a drag left them) and
// the picture's window, in display units and percent.
struct GatesOnScreen {
    float gateAStart = 0.0F;
    float gateBStart = 0.0F; // on screen: absolute
    int32_t gateAThresh = 0;
    int32_t gateBThresh = 0;
    float displayDelay = 0.0F; // the picture's left edge
    float displayRange = 0.0F; // across the picture
};

enum class GateField { AStart, AThreshold, BStart, BThreshold };
inline constexpr std::size_t kGateFields = 4;

struct GateEntryTexts {
    std::array<std::string, kGateFields> fields; // in GateField order
    std::string& operator[](GateField f) { return fields[static_cast<std::size_t>(f)]; }
    const std::string& operator[](GateField f) const { return fields[static_cast<std::size_t>(f)]; }
};

struct GateEntryResult {
    std::array<std::string, kGateFields> refusals; // empty where the field's text is taken
    DraggedGates gates;                            // every shown gate, at the typed values
    bool changed = false;                          // a field differs from what it started with

    bool accepted() const;
    const std::string& refusal(GateField f) const { return refusals[static_cast<std::size_t>(f)]; }
};

class GateEntry {
  public:
    GateEntry(const frame::FrameView& view, const GatesOnScreen& now);

    const TypedUnits& units() const { return m_units; }
    bool shown(bool gateA) const { return gateA ? m_view.ShowGateA : m_view.ShowGateB; }
    // Gate B's start counts from gate A's echo (the instrument's triggered gate B),
    // as the panel shows it; otherwise it is where gate B starts on screen.
    bool gateBRelative() const { return m_gateBRelative; }
    // What the fields start with: the gates as they are now.
    const GateEntryTexts& texts() const { return m_texts; }
    // The widths, which a drag does not move: shown, not typed.
    std::string widthText(bool gateA) const;
    TypedRange startRange(bool gateA) const;
    int32_t lowestThreshold() const { return m_rf ? -100 : 0; }
    static constexpr int32_t highestThreshold() { return 100; }

    GateEntryResult read(const GateEntryTexts& typed) const;

  private:
    frame::GateView m_view;
    GatesOnScreen m_now;
    TypedUnits m_units;
    bool m_rf = false;
    bool m_gateBRelative = false;
    float m_gateBOrigin = 0.0F; // display units gate B's typed start counts from
    GateEntryTexts m_texts;
};

} // namespace pelix::player
