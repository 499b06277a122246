// The cells of a B-scan: the A-scans of frames From..To side by side, one
// column per group of frames and one row per group of the 800 displayed
// samples (row 0 is the start of the display window), each cell the largest
// screen amplitude of its frames and samples, so an echo of one frame in half
// a million still shows.
//
// Column c of W holds frames From + floor(c*N/W) .. From + floor((c+1)*N/W) - 1
// of the N in the range; with fewer frames than columns a frame spans whole
// columns (column c shows frame From + floor(c*N/W)). Row r of H holds
// samples floor(r*800/H) .. floor((r+1)*800/H) - 1.
//
// A cell's value, by the recording's rectification:
// - rectified (negative, positive or full wave): the largest `AscanPoints`
//   value, percent of screen height, 0..100;
// - RF: the A-scan draws the two half-waves of a sample index from a centre
//   line at half the screen height, each half-wave's `AscanPoints` value v
//   (0..100 of the first or second half of the array) reaching v/2 percent of
//   the screen height up or down. The cell is that distance |value - centre|,
//   the larger of both half-waves at the same index, in percent of the screen
//   height: 0..50, v/2 rounded to the nearest whole percent, halves to even.
// Envelope recordings show the live trace, the first record of each pair.
#pragma once

#include <cstdint>
#include <vector>

namespace pelix::bscan {

inline constexpr int32_t kDisplayedSamples = 800;
inline constexpr int32_t kMaxWidth = 20000;
inline constexpr int32_t kMaxHeight = kDisplayedSamples;

// How a recording's samples become cells.
enum class CellScale {
    Rectified, // 0..100 percent of screen height
    Rf,        // 0..50 percent of screen height from the centre line
};

struct SampleRows {
    int32_t first = 0; // 0-based sample index, inclusive
    int32_t last = 0;
};

// Samples of row r (0 <= r < height, 1 <= height <= 800).
SampleRows samplesOfRow(int32_t row, int32_t height);

// The largest value a cell of that scale can hold.
constexpr int32_t fullScale(CellScale scale) {
    return scale == CellScale::Rf ? 50 : 100;
}

// A cell's value from the largest sample byte of its frames and samples
// (for RF, of both half-waves).
uint8_t cellOfByte(uint8_t byte, CellScale scale);

class BscanGrid {
  public:
    BscanGrid() = default;
    // An empty grid (no column has a value yet) of frames from..to.
    BscanGrid(int32_t width, int32_t height, int32_t from, int32_t to, CellScale scale);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    int32_t from() const { return m_from; }
    int32_t to() const { return m_to; }
    CellScale scale() const { return m_scale; }

    // The frames column c holds (1-based, inclusive).
    int32_t firstFrameOf(int32_t column) const;
    int32_t lastFrameOf(int32_t column) const;

    // False while no whole frame of the column was read: a frame cut short by
    // the end of the file, a scan stopped before it, an unknown rectification.
    // Its cells then read 0 and are drawn as background.
    bool hasValue(int32_t column) const { return m_hasValue[static_cast<std::size_t>(column)] != 0; }
    uint8_t cell(int32_t row, int32_t column) const {
        return m_cells[static_cast<std::size_t>(column) * static_cast<std::size_t>(m_height) +
                       static_cast<std::size_t>(row)];
    }

    // Filled by the scan: a column's cells from its per-sample maximum bytes.
    void setColumn(int32_t column, const uint8_t* sampleMaxima);
    // Another column's cells and flag (fewer frames than columns: a frame spans columns).
    void copyColumn(int32_t from, int32_t to);

  private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_from = 0;
    int32_t m_to = 0;
    CellScale m_scale = CellScale::Rectified;
    // Column after column, so the scan writes a finished column in one run.
    std::vector<uint8_t> m_cells;
    std::vector<uint8_t> m_hasValue; // one a column
    std::vector<uint8_t> m_cellOfByte;
    std::vector<int32_t> m_rowStart; // first sample of each row, and 800 after the last
};

} // namespace pelix::bscan
