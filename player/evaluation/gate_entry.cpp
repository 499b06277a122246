#include "player/evaluation/gate_entry.h"

#include <limits>

namespace pelix::player {

namespace {

std::size_t at(GateField f) {
    return static_cast<std::size_t>(f);
}

} // namespace

bool GateEntryResult::accepted() const {
    return noneRefused(refusals);
}

GateEntry::GateEntry(const frame::FrameView& view, const GatesOnScreen& now)
    : m_view(view.gates), m_now(now) {
    if (view.setup) {
        const float velocity = view.derived ? view.derived->velocity : 0.0F;
        m_units = TypedUnits::of(view.setup->Units, velocity);
        m_rf = view.setup->Rectification == 0;
        m_gateBRelative = view.setup->GateBTrigger != 0;
    }
    // The frame puts gate B at its echo origin plus the start the instrument set.
    if (m_gateBRelative) m_gateBOrigin = m_view.fGateBStart - m_view.gateBStartAsSet;
    m_texts[GateField::AStart] = m_units.text(now.gateAStart);
    m_texts[GateField::AThreshold] = std::to_string(now.gateAThresh);
    m_texts[GateField::BStart] = m_units.text(static_cast<double>(now.gateBStart) - m_gateBOrigin);
    m_texts[GateField::BThreshold] = std::to_string(now.gateBThresh);
}

std::string GateEntry::widthText(bool gateA) const {
    return m_units.text(gateA ? m_view.fGateAWidth : m_view.fGateBWidth);
}

TypedRange GateEntry::startRange(bool gateA) const {
    const double origin = gateA ? 0.0 : m_gateBOrigin;
    const double left = static_cast<double>(m_now.displayDelay) - origin;
    return typedRange(m_units, left, left + static_cast<double>(m_now.displayRange));
}

GateEntryResult GateEntry::read(const GateEntryTexts& typed) const {
    GateEntryResult out;
    const auto gate = [&](bool gateA, GateField startField, GateField thresholdField, float start,
                          int32_t threshold) -> std::optional<frame::DraggedGate> {
        if (!shown(gateA)) return std::nullopt;
        frame::DraggedGate g{start, 0};
        const std::string& startText = typed[startField];
        if (startText != m_texts[startField]) {
            out.changed = true;
            const TypedValue v = readTyped(startText, startRange(gateA), m_units.decimals, m_units.symbol());
            out.refusals[at(startField)] = v.refusal;
            const double origin = gateA ? 0.0 : m_gateBOrigin;
            if (v.value) g.start = static_cast<float>(m_units.display(*v.value) + origin);
        }
        const std::string& thresholdText = typed[thresholdField];
        if (thresholdText != m_texts[thresholdField]) {
            out.changed = true;
            const TypedValue v = readWhole(thresholdText, lowestThreshold(), highestThreshold(), "percent");
            out.refusals[at(thresholdField)] = v.refusal;
            if (v.value) threshold = static_cast<int32_t>(*v.value);
        }
        // A threshold the gate holds now beyond 16 bits cannot be carried by a drag.
        if (threshold < std::numeric_limits<int16_t>::min() ||
            threshold > std::numeric_limits<int16_t>::max()) {
            out.refusals[at(thresholdField)] = "Out of reach: type a whole percent between " +
                                               std::to_string(lowestThreshold()) + " and 100";
            return std::nullopt;
        }
        g.threshold = static_cast<int16_t>(threshold);
        return g;
    };
    out.gates.gateA =
        gate(true, GateField::AStart, GateField::AThreshold, m_now.gateAStart, m_now.gateAThresh);
    out.gates.gateB =
        gate(false, GateField::BStart, GateField::BThreshold, m_now.gateBStart, m_now.gateBThresh);
    return out;
}

} // namespace pelix::player
