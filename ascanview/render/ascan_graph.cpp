#include "ascanview/render/ascan_graph.h"

#include "ascanview/render/checked_math.h"

#include <cmath>

namespace pelix::ascanview {

namespace {

// Envelope samples sit this far above the live ones in the sample array.
constexpr std::int64_t kEnvelopeOffset = 1600;
// Below this many percent an RF peak counts as noise on the zero line.
constexpr double kNoisePercent = 2.0;
// Surface units below the centre line within which the pen still counts as
// coming from the upper half; decides which RF peak a column visits first.
constexpr double kPenBelowCentre = 100.0;

} // namespace

AscanGraph::AscanGraph(ControlProperties& props, GateDragState& drag, DrawingSurface& surface)
    : m_props(props), m_drag(drag), m_surface(surface) {}

AscanMapping AscanGraph::mapping() const {
    AscanMapping m;
    m.width = m_surface.scaleWidth();
    m.height = m_surface.scaleHeight();
    m.delay = m_props.fAscanDelay;
    m.range = m_props.fAscanRange;
    m.rf = isRf();
    return m;
}

bool AscanGraph::resetDragFlags() {
    if (m_props.gatea_move_flag == 0) m_drag.gateADragging = 0;
    if (m_props.gateb_move_flag == 0) m_drag.gateBDragging = 0;
    return true;
}

bool AscanGraph::drawGraticule() {
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    const double d = h / 20.0;
    const std::int32_t type = m_props.iGridType;
    if (type != 1 && type != 2 && type != 3) return true;
    using ascan_colors::kGraticule;
    if (type == 3) {
        for (int i = 1; i <= 3; ++i) {
            m_surface.segment(0, i * h / 4.0, w, i * h / 4.0, kGraticule);
            m_surface.segment(i * w / 4.0, 0, i * w / 4.0, h, kGraticule);
        }
        return true;
    }
    for (int i = 1; i <= 3; ++i) {
        const double yi = i * h / 4.0;
        const double xi = i * w / 4.0;
        m_surface.segment(0, yi, d, yi, kGraticule);
        m_surface.segment(w - d, yi, w, yi, kGraticule);
        m_surface.segment(xi, 0, xi, d, kGraticule);
        m_surface.segment(xi, h, xi, h - d, kGraticule);
    }
    if (type == 2) {
        for (int i = 1; i <= 3; ++i) {
            const double yi = i * h / 4.0;
            for (int j = 1; j <= 3; ++j) {
                const double xj = j * w / 4.0;
                m_surface.segment(xj - d, yi, xj + d, yi, kGraticule);
                m_surface.segment(xj, yi - d, xj, yi + d, kGraticule);
            }
        }
    }
    return true;
}

bool AscanGraph::updateSearchLimits(const SearchBoxGeometry& box) {
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    const auto lowWidth = divide(box.left, w);
    const auto upWidth = divide(box.left + box.width, w);
    if (!lowWidth || !upWidth || h == 0.0) return false;
    const double top = box.top;
    const double bottom = box.top + box.height;
    double up = m_props.SearchUphightlimit;
    double low = m_props.SearchLowhightlimit;
    if (!isRf()) {
        up = 100.0 - top / h * 100.0;
        low = 100.0 - bottom / h * 100.0;
    } else {
        const double half = h / 2.0;
        if (top < half && bottom <= half) {
            up = 100.0 - top / half * 100.0;
            low = 100.0 - bottom / half * 100.0;
        } else if (top >= half && bottom > half) {
            up = (top - half + box.height) / half * 100.0;
            low = (top - half) / half * 100.0;
        }
        // A box across the centre line keeps the amplitude window it had.
    }
    if (!isFiniteValue(up) || !isFiniteValue(low)) return false;
    m_props.SearchLowwidthRange = *lowWidth * 800.0;
    m_props.SearchUpwidthRange = *upWidth * 800.0;
    m_props.SearchUphightlimit = up;
    m_props.SearchLowhightlimit = low;
    return true;
}

bool AscanGraph::hasSamples(std::int64_t first, std::int64_t last) const {
    return last < first || (m_props.iPointArray.has(first) && m_props.iPointArray.has(last));
}

bool AscanGraph::sample(double index, double& value) const {
    const double rounded = std::nearbyint(index);
    if (!(rounded >= 0.0 && rounded < static_cast<double>(m_props.iPointArray.size()))) return false;
    value = m_props.iPointArray.at(static_cast<std::size_t>(rounded));
    return true;
}

bool AscanGraph::drawSolidBars() {
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    const std::int32_t n = m_props.iNumPoints;
    const auto step = divide(w - 2.0, n);
    if (!step) return false;
    if (!hasSamples(0, n - 1)) return false;
    double x = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
        const double x1 = x;
        x += *step;
        const auto right = roundToLong(x);
        if (!right) return false;
        double x2 = static_cast<double>(*right) - 1.0;
        if (x2 < x1) x2 = x1;
        const double y = h - m_props.iPointArray.at(static_cast<std::size_t>(i)) * h / 100.0;
        m_surface.box(x1, h, x2, y, ascan_colors::kTrace);
    }
    return true;
}

bool AscanGraph::drawRectifiedTrace(bool envelope) {
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    const std::int32_t n = m_props.iNumPoints;
    const std::int64_t base = envelope ? kEnvelopeOffset : 0;
    const Rgb color = envelope ? ascan_colors::kEnvelope : ascan_colors::kTrace;
    // The whole trace or nothing: a short array leaves the trace undrawn.
    if (!hasSamples(base, base + std::max<std::int64_t>(n - 1, 0))) return false;
    const auto& values = m_props.iPointArray.values();
    m_surface.moveTo(DrawingSurface::kTwipsPerPixel, h - values[static_cast<std::size_t>(base)] * h / 100.0);
    for (std::int32_t i = 1; i < n; ++i) {
        const double s = values[static_cast<std::size_t>(base + i)];
        m_surface.lineTo(i * w / n, h - s * h / 100.0, color);
    }
    return true;
}

bool AscanGraph::drawRfTrace(bool envelope) {
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    const double n = m_props.iNumPoints;
    const double half = n / 2.0;
    const double base = envelope ? static_cast<double>(kEnvelopeOffset) : 0.0;
    const AscanMapping m = mapping();
    const double y0 = h / 2.0;

    // Every index the trace reads, checked before anything is drawn.
    double p = 0.0;
    double mm = 0.0;
    if (!sample(base, p) || !sample(base + half, mm)) return false;
    if (half - 1.0 >= 0.0) {
        const double lastColumn = std::floor(half - 1.0);
        double probe = 0.0;
        if (!sample(base + lastColumn, probe) || !sample(base + half + lastColumn, probe)) return false;
    }
    const Rgb color = envelope ? ascan_colors::kEnvelope : m_surface.foreground();

    double startY = m.upperY(p);
    if (mm < kNoisePercent && p < kNoisePercent)
        startY = y0;
    else if (p < mm)
        startY = m.lowerY(mm);
    m_surface.moveTo(DrawingSurface::kTwipsPerPixel, startY);

    for (double j = 0.0; j <= half - 1.0; j += 1.0) {
        if (!sample(base + j, p) || !sample(base + half + j, mm)) return false;
        const double x = j * w / half;
        const bool upperNoise = p < kNoisePercent;
        const bool lowerNoise = mm < kNoisePercent;
        if (lowerNoise && upperNoise) {
            m_surface.lineTo(x, y0, color);
        } else if (mm > kNoisePercent && upperNoise) {
            m_surface.lineTo(x, m.lowerY(mm), color);
        } else if (lowerNoise && p > kNoisePercent) {
            m_surface.lineTo(x, m.upperY(p), color);
        } else if (m_surface.penY() < y0 + kPenBelowCentre) {
            m_surface.lineTo(x, m.upperY(p), color);
            m_surface.lineTo(x, m.lowerY(mm), color);
        } else {
            m_surface.lineTo(x, m.lowerY(mm), color);
            m_surface.lineTo(x, m.upperY(p), color);
        }
    }
    return true;
}

bool AscanGraph::computedBar(GateId gate, Bar& bar) const {
    const AscanMapping m = mapping();
    const bool a = gate == GateId::A;
    const float start = a ? m_props.fGateAStart : m_props.fGateBStart;
    const float end = start + (a ? m_props.fGateAWidth : m_props.fGateBWidth);
    const double threshold = a ? m_props.iGateAThresh : m_props.iGateBThresh;
    bar = {m.x(start), m.x(end), m.y(threshold)};
    return isFiniteValue(bar.x1) && isFiniteValue(bar.x2) && isFiniteValue(bar.y);
}

bool AscanGraph::drawGate(GateId gate) {
    const AscanMapping m = mapping();
    if (!(gate == GateId::A ? m_props.ShowGateA : m_props.ShowGateB)) return true;
    Bar bar{};
    if (!computedBar(gate, bar)) return false;
    if (gate == GateId::A) {
        if (m_drag.gateADragging == 0) {
            m_props.newGateAStart = m_props.fGateAStart;
            m_props.newGateAThresh = m_props.iGateAThresh;
            m_drag.gateADrawnBar = {bar.x1, bar.y, bar.x2, bar.y};
            m_surface.segment(bar.x1, bar.y, bar.x2, bar.y, ascan_colors::kGateA);
            return true;
        }
        const GateBar dragged = m_drag.gateADragBar;
        m_surface.segment(dragged.x1, dragged.y1, dragged.x2, dragged.y2, ascan_colors::kGateA);
        m_drag.gateADrawnBar = dragged;
        const auto threshold = m.threshold(dragged.y1);
        if (!threshold) return false;
        m_props.newGateAStart = static_cast<float>(m.u(dragged.x1));
        m_props.newGateAThresh = *threshold;
        m_props.fGateAStart = m_props.newGateAStart;
        // The gate A threshold is a 16-bit value; one that does not fit stays as it was.
        if (*threshold < -32768 || *threshold > 32767) return false;
        m_props.iGateAThresh = static_cast<std::int16_t>(*threshold);
        return true;
    }

    const auto pixelStart = roundToLong(bar.x1);
    const auto pixelEnd = roundToLong(bar.x2);
    if (!pixelStart || !pixelEnd) return false;
    m_drag.gateBPixelStart = *pixelStart;
    m_drag.gateBPixelEnd = *pixelEnd;
    bool completed = true;
    if (m_drag.gateBDragging == 0) {
        m_props.newGateBStart = m_props.fGateBStart;
        m_props.newGateBThresh = m_props.iGateBThresh;
        m_drag.gateBDrawnBar = {bar.x1, bar.y, bar.x2, bar.y};
        m_surface.segment(bar.x1, bar.y, bar.x2, bar.y, ascan_colors::kGateB);
    } else {
        const GateBar dragged = m_drag.gateBDragBar;
        if (m_props.BEA == 0)
            m_surface.segment(dragged.x1, dragged.y1, dragged.x2, dragged.y2, ascan_colors::kGateB);
        m_drag.gateBDrawnBar = dragged;
        const auto threshold = m.threshold(dragged.y1);
        if (threshold) {
            m_props.newGateBStart = static_cast<float>(m.u(dragged.x1));
            m_props.newGateBThresh = *threshold;
            m_props.fGateBStart = m_props.newGateBStart;
            m_props.iGateBThresh = m_props.newGateBThresh;
        } else {
            completed = false;
        }
    }
    if (m_props.BEA == 1) {
        const double h = m_surface.scaleHeight();
        m_surface.segment(bar.x1, 0, bar.x1, h, ascan_colors::kGateB);
        m_surface.segment(bar.x2, 0, bar.x2, h, ascan_colors::kGateB);
    }
    return completed;
}

bool AscanGraph::drawGateEndMarkers(GateId gate) {
    const bool a = gate == GateId::A;
    if (!(a ? m_props.ShowGateA : m_props.ShowGateB)) return true;
    Bar bar{};
    const bool dragging = a ? m_drag.gateADragging != 0 : (m_drag.gateBDragging != 0 && m_props.BEA == 0);
    if (dragging) {
        const GateBar& dragged = a ? m_drag.gateADragBar : m_drag.gateBDragBar;
        bar = {dragged.x1, dragged.x2, dragged.y1};
    } else if (!computedBar(gate, bar)) {
        return false;
    }
    const Rgb color = a ? ascan_colors::kGateA : ascan_colors::kGateB;
    const double w = m_surface.scaleWidth();
    const double arm = m_surface.scaleHeight() / 40.0;
    const double y = bar.y;
    // A gate reaching past an edge gets an arrow at that edge pointing out of
    // the picture; otherwise the arrows at its ends point along the gate.
    if (bar.x1 < 0) {
        m_surface.segment(0, y, arm, y + arm, color);
        m_surface.segment(0, y, arm, y - arm, color);
    } else {
        m_surface.segment(bar.x1, y, bar.x1 - arm, y + arm, color);
        m_surface.segment(bar.x1, y, bar.x1 - arm, y - arm, color);
    }
    if (bar.x2 > w) {
        m_surface.segment(w, y, w - arm, y + arm, color);
        m_surface.segment(w, y, w - arm, y - arm, color);
    } else {
        m_surface.segment(bar.x2, y, bar.x2 + arm, y + arm, color);
        m_surface.segment(bar.x2, y, bar.x2 + arm, y - arm, color);
    }
    return true;
}

bool AscanGraph::drawCaret(GateId gate) {
    const bool one = gate == GateId::A;
    const bool wanted =
        one ? (m_props.DrawCaratOne && m_props.ShowGateA) : (m_props.DrawCaratTwo && m_props.ShowGateB);
    if (!wanted) return true;
    const float position = one ? m_props.fCaretOne : m_props.fCaretTwo;
    const float windowEnd = m_props.fAscanDelay + m_props.fAscanRange;
    if (!(m_props.fAscanDelay < position && position < windowEnd)) return true;
    const double x = mapping().x(position);
    const auto depth = roundToInteger(m_surface.scaleHeight() / 40.0);
    const auto pixel = roundToInteger(DrawingSurface::kTwipsPerPixel);
    if (!depth || !pixel || *pixel <= 0 || !isFiniteValue(x)) return false;
    // Nested strokes fill a red triangle hanging from the top edge.
    for (std::int32_t k = 1; k <= *depth; k += *pixel) {
        m_surface.segment(x - k, 0, x, k, ascan_colors::kCaret);
        m_surface.lineTo(x + k, 0, ascan_colors::kCaret);
        m_surface.lineTo(x - k, 0, ascan_colors::kCaret);
    }
    return true;
}

} // namespace pelix::ascanview
