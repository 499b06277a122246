#include "ascanview/render/pixel_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace pelix::ascanview {

void PixelCanvas::fill(std::uint32_t pixel) {
    m_run.pending = false; // covered anyway
    if (m_width <= 0 || m_height <= 0) return;
    // One row is written and copied to the others: the library's block copy
    // keeps its speed wherever the linker happens to place this loop.
    std::fill_n(m_bits, m_width, pixel);
    const std::size_t rowBytes = static_cast<std::size_t>(m_width) * sizeof(std::uint32_t);
    for (int y = 1; y < m_height; ++y)
        std::memcpy(m_bits + y * m_stride, m_bits, rowBytes);
}

void PixelCanvas::paintRect(long long left, long long top, long long right, long long bottom,
                            std::uint32_t pixel) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    left = std::max(left, 0LL);
    top = std::max(top, 0LL);
    right = std::min(right, static_cast<long long>(m_width) - 1);
    bottom = std::min(bottom, static_cast<long long>(m_height) - 1);
    if (left > right || top > bottom) return;
    if (left == right) {
        // Vertical strokes are most of an RF trace.
        std::uint32_t* p = m_bits + top * m_stride + left;
        for (long long y = top; y <= bottom; ++y, p += m_stride)
            *p = pixel;
        return;
    }
    for (long long y = top; y <= bottom; ++y)
        std::fill(m_bits + y * m_stride + left, m_bits + y * m_stride + right + 1, pixel);
}

void PixelCanvas::plot(long long x, long long y, std::uint32_t pixel, int pen) {
    if (pen == 1) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height) m_bits[y * m_stride + x] = pixel;
        return;
    }
    paintRect(x, y, x + pen - 1, y + pen - 1, pixel);
}

namespace {

// Liang-Barsky: shortens the line to the part inside [minX, maxX] x [minY, maxY].
bool clip(double& x0, double& y0, double& x1, double& y1, double minX, double minY, double maxX,
          double maxY) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - minX, maxX - x0, y0 - minY, maxY - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    // Clamped as well: with coordinates far beyond the picture the products
    // lose the precision that would put them exactly on the border.
    const double ax = std::clamp(x0 + t0 * dx, minX, maxX);
    const double ay = std::clamp(y0 + t0 * dy, minY, maxY);
    x1 = std::clamp(x0 + t1 * dx, minX, maxX);
    y1 = std::clamp(y0 + t1 * dy, minY, maxY);
    x0 = ax;
    y0 = ay;
    return true;
}

} // namespace

void PixelCanvas::lineClipped(double x0, double y0, double x1, double y1, std::uint32_t pixel, int pen) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
    // A margin of a few pixels keeps the clipped ends where the full line would put them.
    const double margin = pen + 2.0;
    const double minX = -margin, minY = -margin, maxX = m_width + margin, maxY = m_height + margin;
    // Lines along an axis clip exactly, however far their ends lie.
    if (x0 == x1 || y0 == y1) {
        if (x0 == x1 && (x0 < minX || x0 > maxX)) return;
        if (y0 == y1 && (y0 < minY || y0 > maxY)) return;
        const long long left = pixelOf(std::clamp(std::min(x0, x1), minX, maxX));
        const long long right = pixelOf(std::clamp(std::max(x0, x1), minX, maxX));
        const long long top = pixelOf(std::clamp(std::min(y0, y1), minY, maxY));
        const long long bottom = pixelOf(std::clamp(std::max(y0, y1), minY, maxY));
        fillRect(left, top, right + pen - 1, bottom + pen - 1, pixel);
        return;
    }
    if (!clip(x0, y0, x1, y1, minX, minY, maxX, maxY)) return;
    const long long ax = pixelOf(x0);
    const long long ay = pixelOf(y0);
    const long long bx = pixelOf(x1);
    const long long by = pixelOf(y1);
    if (ax == bx || ay == by) {
        fillRect(std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + pen - 1, std::max(ay, by) + pen - 1,
                 pixel);
        return;
    }
    stroke(ax, ay, bx, by, pixel, pen);
}

void PixelCanvas::stroke(long long ax, long long ay, long long bx, long long by, std::uint32_t pixel,
                         int pen) {
    const long long dx = std::llabs(bx - ax);
    const long long dy = -std::llabs(by - ay);
    const long long sx = ax < bx ? 1 : -1;
    const long long sy = ay < by ? 1 : -1;
    long long error = dx + dy;
    while (true) {
        plot(ax, ay, pixel, pen);
        if (ax == bx && ay == by) break;
        const long long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            ax += sx;
        }
        if (twice <= dx) {
            error += dx;
            ay += sy;
        }
    }
}

} // namespace pelix::ascanview
