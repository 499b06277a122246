#include "core/bscan/bscan_grid.h"

#include "core/overview/overview_columns.h"
#include "core/recording/decoded_trace.h"

#include <algorithm>
#include <cmath>

namespace pelix::bscan {

SampleRows samplesOfRow(int32_t row, int32_t height) {
    const int32_t first = row * kDisplayedSamples / height;
    const int32_t last = (row + 1) * kDisplayedSamples / height - 1;
    return {first, std::max(first, last)};
}

uint8_t cellOfByte(uint8_t byte, CellScale scale) {
    const int16_t percent = recording::screenPercent(byte);
    if (scale == CellScale::Rectified) return static_cast<uint8_t>(percent);
    return static_cast<uint8_t>(std::nearbyint(percent / 2.0));
}

BscanGrid::BscanGrid(int32_t width, int32_t height, int32_t from, int32_t to, CellScale scale)
    : m_width(std::clamp(width, 1, kMaxWidth)), m_height(std::clamp(height, 1, kMaxHeight)), m_from(from),
      m_to(std::max(from, to)), m_scale(scale),
      m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0),
      m_hasValue(static_cast<std::size_t>(m_width), 0), m_cellOfByte(256),
      m_rowStart(static_cast<std::size_t>(m_height) + 1) {
    for (int b = 0; b < 256; ++b)
        m_cellOfByte[static_cast<std::size_t>(b)] = cellOfByte(static_cast<uint8_t>(b), scale);
    for (int32_t r = 0; r < m_height; ++r)
        m_rowStart[static_cast<std::size_t>(r)] = samplesOfRow(r, m_height).first;
    m_rowStart.back() = kDisplayedSamples;
}

int32_t BscanGrid::firstFrameOf(int32_t column) const {
    return m_from - 1 + overview::framesOfColumn(column, m_width, int64_t{m_to} - m_from + 1).first;
}

int32_t BscanGrid::lastFrameOf(int32_t column) const {
    return m_from - 1 + overview::framesOfColumn(column, m_width, int64_t{m_to} - m_from + 1).last;
}

void BscanGrid::setColumn(int32_t column, const uint8_t* sampleMaxima) {
    const auto h = static_cast<std::size_t>(m_height);
    uint8_t* cells = m_cells.data() + static_cast<std::size_t>(column) * h;
    for (std::size_t r = 0; r < h; ++r) {
        const uint8_t largest =
            *std::max_element(sampleMaxima + m_rowStart[r], sampleMaxima + m_rowStart[r + 1]);
        cells[r] = m_cellOfByte[largest];
    }
    m_hasValue[static_cast<std::size_t>(column)] = 1;
}

void BscanGrid::copyColumn(int32_t from, int32_t to) {
    const auto h = static_cast<std::size_t>(m_height);
    std::copy_n(m_cells.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(from) * h),
                static_cast<std::ptrdiff_t>(h),
                m_cells.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(to) * h));
    m_hasValue[static_cast<std::size_t>(to)] = m_hasValue[static_cast<std::size_t>(from)];
}

} // namespace pelix::bscan
