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

    void fill(std::uint32_t pixel);
    // Inclusive corners, in pixels; clipped.
    void fillRect(long long left, long long top, long long right, long long bottom, std::uint32_t pixel);
    // Both end points drawn; a pen of `pen` x `pen` pixels whose top-left
    // corner follows the line. Coordinates are pixel positions, any size.
    void line(double x0, double y0, double x1, double y1, std::uint32_t pixel, int pen);

  private:
    void plot(long long x, long long y, std::uint32_t pixel, int pen);

    std::uint32_t* m_bits;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride; // pixels per row
};

} // namespace pelix::ascanview
