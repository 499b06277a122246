// The retained drawing surface of the A-scan picture: a pen, a foreground
// colour and the list of operations since the last clear, all in the surface's
// internal units (twips unless the host set its own scale). The list is what
// gets rasterised, what tests assert on and what the command-line tool prints.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/render/ascan_colors.h"
#include "core/geometry/twips.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelix::ascanview {

enum class SurfaceOpKind : std::uint8_t { Clear, Segment, LineTo, Box, Text };

// One operation, kept small: a redraw with curves records tens of thousands, so
// the rare text lives beside the list (see DrawingSurface::textOf).
struct SurfaceOp {
    double x1 = 0.0; // for a text: its top-left corner in x1, y1
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    Rgb color = 0;
    std::uint32_t text : 24 = 0; // a text's place among the surface's texts
    SurfaceOpKind kind : 8 = SurfaceOpKind::Clear;
};
static_assert(sizeof(SurfaceOp) == 40);

struct SurfaceText {
    std::string text;  // UTF-8
    double size = 0.0; // in points
};

class ASCANVIEW_API DrawingSurface {
  public:
    // Twips per screen pixel at the 96 dpi the control is laid out for.
    static constexpr double kTwipsPerPixel = geometry::kTwipsPerPixel;
    static constexpr Rgb kWindowBackground = rgb(255, 255, 255);
    static constexpr Rgb kWindowText = rgb(0, 0, 0);

    DrawingSurface();

    void setScale(double width, double height) {
        m_width = width;
        m_height = height;
    }
    double scaleWidth() const { return m_width; }
    double scaleHeight() const { return m_height; }

    Rgb foreground() const { return m_foreground; }
    void setForeground(Rgb color) { m_foreground = color; }
    Rgb background() const { return m_background; }

    double penX() const { return m_penX; }
    double penY() const { return m_penY; }
    void moveTo(double x, double y) {
        m_penX = x;
        m_penY = y;
    }

    void clear();
    // Inline: a curve records one stroke per column, tens of thousands a redraw.
    void segment(double x1, double y1, double x2, double y2, Rgb color) {
        appendFromTo(SurfaceOpKind::Segment, x1, y1, x2, y2, color);
    }
    void lineTo(double x, double y, Rgb color) {
        appendFromTo(SurfaceOpKind::LineTo, m_penX, m_penY, x, y, color);
    }
    void lineTo(double x, double y) { lineTo(x, y, m_foreground); }
    void box(double x1, double y1, double x2, double y2, Rgb color) {
        appendFromTo(SurfaceOpKind::Box, x1, y1, x2, y2, color);
    }
    void text(double x, double y, const std::string& utf8, double pointSize);

    const std::vector<SurfaceOp>& ops() const { return m_ops; }
    // The text and size of a text operation (empty for any other).
    const SurfaceText& textOf(const SurfaceOp& op) const;

    // {"width": W, "height": H, "ops": [...]}, coordinates in surface units.
    std::string toJson() const;

  private:
    SurfaceOp& append(SurfaceOpKind kind, Rgb color) {
        SurfaceOp& op = m_ops.emplace_back();
        op.kind = kind;
        op.color = color;
        return op;
    }
    void appendFromTo(SurfaceOpKind kind, double x1, double y1, double x2, double y2, Rgb color) {
        SurfaceOp& op = append(kind, color);
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        // Every line and box leaves the pen at its second corner.
        m_penX = x2;
        m_penY = y2;
    }

    double m_width = 0.0;
    double m_height = 0.0;
    double m_penX = 0.0;
    double m_penY = 0.0;
    Rgb m_foreground = kWindowText;
    Rgb m_background = kWindowBackground;
    std::vector<SurfaceOp> m_ops;
    std::vector<SurfaceText> m_texts;
};

} // namespace pelix::ascanview
