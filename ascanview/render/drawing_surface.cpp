#include "ascanview/render/drawing_surface.h"

#include "core/text/json_string.h"

#include <charconv>
#include <cmath>

namespace pelix::ascanview {

namespace {

// A full redraw of an RF frame with envelope needs about 6,500 operations.
constexpr std::size_t kReservedOps = 16384;
constexpr std::size_t kReservedTexts = 16;
constexpr std::size_t kMaxTexts = std::size_t{1} << 24;

void appendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0.0) value = 0.0; // no "-0"
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendColor(std::string& out, Rgb color) {
    static const char* const digits = "0123456789abcdef";
    out += "\"#";
    for (int shift = 20; shift >= 0; shift -= 4)
        out += digits[(color >> shift) & 0xF];
    out += '"';
}

void appendField(std::string& out, const char* name, double value) {
    out += ", \"";
    out += name;
    out += "\": ";
    appendNumber(out, value);
}

const char* opName(SurfaceOpKind kind) {
    switch (kind) {
    case SurfaceOpKind::Clear:
        return "clear";
    case SurfaceOpKind::Segment:
        return "segment";
    case SurfaceOpKind::LineTo:
        return "lineto";
    case SurfaceOpKind::Box:
        return "box";
    case SurfaceOpKind::Text:
        return "text";
    }
    return "unknown";
}

} // namespace

DrawingSurface::DrawingSurface() {
    m_ops.reserve(kReservedOps);
    m_texts.reserve(kReservedTexts);
}

void DrawingSurface::clear() {
    m_ops.clear();
    m_texts.clear();
    append(SurfaceOpKind::Clear, m_background);
    m_penX = 0.0;
    m_penY = 0.0;
}

void DrawingSurface::text(double x, double y, const std::string& utf8, double pointSize) {
    // A text's place must fit its field; no picture holds that many.
    if (m_texts.size() >= kMaxTexts) return;
    SurfaceOp& op = append(SurfaceOpKind::Text, m_foreground);
    op.x1 = x;
    op.y1 = y;
    op.text = static_cast<std::uint32_t>(m_texts.size());
    m_texts.push_back({utf8, pointSize});
}

const SurfaceText& DrawingSurface::textOf(const SurfaceOp& op) const {
    static const SurfaceText none;
    if (op.kind != SurfaceOpKind::Text || op.text >= m_texts.size()) return none;
    return m_texts[op.text];
}

std::string DrawingSurface::toJson() const {
    std::string out;
    out.reserve(64 + m_ops.size() * 110);
    out += "{\"width\": ";
    appendNumber(out, m_width);
    out += ", \"height\": ";
    appendNumber(out, m_height);
    out += ", \"ops\": [";
    bool first = true;
    for (const SurfaceOp& op : m_ops) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"op\": \"";
        out += opName(op.kind);
        out += "\", \"color\": ";
        appendColor(out, op.color);
        switch (op.kind) {
        case SurfaceOpKind::Clear:
            break;
        case SurfaceOpKind::Segment:
        case SurfaceOpKind::LineTo:
        case SurfaceOpKind::Box:
            appendField(out, "x1", op.x1);
            appendField(out, "y1", op.y1);
            appendField(out, "x2", op.x2);
            appendField(out, "y2", op.y2);
            break;
        case SurfaceOpKind::Text:
            appendField(out, "x", op.x1);
            appendField(out, "y", op.y1);
            out += ", \"text\": ";
            text::appendJsonString(out, textOf(op).text);
            appendField(out, "size", textOf(op).size);
            break;
        }
        out += '}';
    }
    out += first ? "]}" : "\n]}";
    return out;
}

} // namespace pelix::ascanview
