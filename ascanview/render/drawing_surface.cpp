#include "ascanview/render/drawing_surface.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace pelix::ascanview {

namespace {

// A full redraw of an RF frame with envelope needs about 6,500 operations.
constexpr std::size_t kReservedOps = 16384;

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

void appendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
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
}

SurfaceOp& DrawingSurface::append(SurfaceOpKind kind, Rgb color) {
    SurfaceOp& op = m_ops.emplace_back();
    op.kind = kind;
    op.color = color;
    return op;
}

void DrawingSurface::clear() {
    m_ops.clear();
    append(SurfaceOpKind::Clear, m_background);
    m_penX = 0.0;
    m_penY = 0.0;
}

void DrawingSurface::appendFromTo(SurfaceOpKind kind, double x1, double y1, double x2, double y2, Rgb color) {
    SurfaceOp& op = append(kind, color);
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    // Every line and box leaves the pen at its second corner.
    m_penX = x2;
    m_penY = y2;
}

void DrawingSurface::segment(double x1, double y1, double x2, double y2, Rgb color) {
    appendFromTo(SurfaceOpKind::Segment, x1, y1, x2, y2, color);
}

void DrawingSurface::lineTo(double x, double y, Rgb color) {
    appendFromTo(SurfaceOpKind::LineTo, m_penX, m_penY, x, y, color);
}

void DrawingSurface::box(double x1, double y1, double x2, double y2, Rgb color) {
    appendFromTo(SurfaceOpKind::Box, x1, y1, x2, y2, color);
}

void DrawingSurface::text(double x, double y, const std::string& utf8, double pointSize) {
    SurfaceOp& op = append(SurfaceOpKind::Text, m_foreground);
    op.x1 = x;
    op.y1 = y;
    op.text = utf8;
    op.size = pointSize;
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
            appendJsonString(out, op.text);
            appendField(out, "size", op.size);
            break;
        }
        out += '}';
    }
    out += first ? "]}" : "\n]}";
    return out;
}

} // namespace pelix::ascanview
