// Frame numbers of the operator's flags. Entry 0 holds no flag; entries the
// scan did not fill read as 0. Only the flags found are stored, so a recorded
// FlagCount of any size costs nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace pelix::recording {

class FlagIndex {
  public:
    FlagIndex() = default;
    explicit FlagIndex(int32_t flagCount) : m_count(flagCount < 0 ? 0 : flagCount) {}

    // Number of flags the index has room for (the recorded FlagCount, never negative).
    int32_t count() const { return m_count; }
    int32_t found() const { return static_cast<int32_t>(m_frames.size()); }
    bool full() const { return found() >= m_count; }
    void add(int32_t frame) { m_frames.push_back(frame); }

    // FlagIndex[k]: frame of the k-th flag, 0 for k = 0, k beyond the flags found or out of range.
    int32_t at(int64_t k) const {
        if (k < 1 || k > static_cast<int64_t>(m_frames.size())) return 0;
        return m_frames[static_cast<std::size_t>(k - 1)];
    }

  private:
    int32_t m_count = 0;
    std::vector<int32_t> m_frames;
};

} // namespace pelix::recording
