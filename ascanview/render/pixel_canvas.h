// Aliased drawing straight into 32-bit pixels: the few primitives the A-scan
// needs (fill, box, line), clipped to the image, at a fixed square pen size.
// Far cheaper per frame than a general painter for thousands of short strokes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelix::ascanview {

class PixelCanvas {
  public:
    PixelCanvas(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride)
        : m_bits(bits), m_width(width), m_height(height), m_stride(stride) {}
    ~PixelCanvas() { flush(); }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    void fill(std::uint32_t pixel);
    // Inclusive corners, in pixels; clipped.
    void fillRect(long long left, long long top, long long right, long long bottom, std::uint32_t pixel) {
        flush();
        paintRect(left, top, right, bottom, pixel);
    }
    // Both end points drawn; a pen of `pen` x `pen` pixels whose top-left
    // corner follows the line. Coordinates are pixel positions, any size.
    void line(double x0, double y0, double x1, double y1, std::uint32_t pixel, int pen) {
        // Most strokes of a curve lie inside the picture and within one pixel column or
        // row; they need no clipping and become one run. The far end is taken as the start
        // plus the whole difference, which is where clipping would put it.
        const double margin = pen + 2.0;
        const double maxX = m_width + margin;
        const double maxY = m_height + margin;
        if (x0 >= -margin && x0 <= maxX && x1 >= -margin && x1 <= maxX && y0 >= -margin && y0 <= maxY &&
            y1 >= -margin && y1 <= maxY) {
            const bool diagonal = x0 != x1 && y0 != y1;
            const long long ax = pixelOf(x0);
            const long long ay = pixelOf(y0);
            const long long bx = pixelOf(diagonal ? clampTo(x0 + (x1 - x0), -margin, maxX) : x1);
            const long long by = pixelOf(diagonal ? clampTo(y0 + (y1 - y0), -margin, maxY) : y1);
            if (ax == bx) {
                columnRun(ax, ay < by ? ay : by, (ay < by ? by : ay) + pen - 1, pixel, pen);
                return;
            }
            if (ay == by) {
                fillRect(ax < bx ? ax : bx, ay, (ax < bx ? bx : ax) + pen - 1, ay + pen - 1, pixel);
                return;
            }
            flush();
            stroke(ax, ay, bx, by, pixel, pen);
            return;
        }
        flush();
        lineClipped(x0, y0, x1, y1, pixel, pen);
    }

    // Paints what is still held back; needed before anyone else draws on the pixels.
    void flush() {
        if (!m_run.pending) return;
        m_run.pending = false;
        paintRect(m_run.x, m_run.top, m_run.x + m_run.pen - 1, m_run.bottom, m_run.pixel);
    }

  private:
    // Strokes of one colour that meet in one pixel column are painted as one run: a
    // curve drawn a column of its own units at a time puts a dozen strokes in each.
    void columnRun(long long x, long long top, long long bottom, std::uint32_t pixel, int pen) {
        if (m_run.pending && m_run.x == x && m_run.pixel == pixel && m_run.pen == pen &&
            top <= m_run.bottom + 1 && bottom + 1 >= m_run.top) {
            if (top < m_run.top) m_run.top = top;
            if (bottom > m_run.bottom) m_run.bottom = bottom;
            return;
        }
        flush();
        m_run = {x, top, bottom, pixel, pen, true};
    }

    void paintRect(long long left, long long top, long long right, long long bottom, std::uint32_t pixel);

    // The pixel holding a coordinate; the value is already clipped to a small range.
    static long long pixelOf(double v) {
        const auto truncated = static_cast<long long>(v);
        return v < static_cast<double>(truncated) ? truncated - 1 : truncated;
    }
    static double clampTo(double v, double lo, double hi) { return v < lo ? lo : (hi < v ? hi : v); }

    // A line with an end beyond the margins, or not finite.
    void lineClipped(double x0, double y0, double x1, double y1, std::uint32_t pixel, int pen);
    // The pixels from (ax, ay) to (bx, by), both ends included, for ends in different rows and columns.
    void stroke(long long ax, long long ay, long long bx, long long by, std::uint32_t pixel, int pen);
    void plot(long long x, long long y, std::uint32_t pixel, int pen);

    std::uint32_t* m_bits;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride; // pixels per row
    struct {
        long long x = 0;
        long long top = 0;
        long long bottom = 0; // rows, both included
        std::uint32_t pixel = 0;
        int pen = 1;
        bool pending = false;
    } m_run;
};

} // namespace pelix::ascanview
