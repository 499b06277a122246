#include "core/indications/amplitude_series.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace pelix::indications {

AmplitudeSeries::AmplitudeSeries(int32_t firstFrame) : m_first(std::max(firstFrame, 1)) {}

void AmplitudeSeries::reserve(int64_t frames) {
    const auto wanted = static_cast<std::size_t>(std::clamp<int64_t>(frames, 0, INT32_MAX));
    m_codes.reserve(wanted);
    m_blockMin.reserve(wanted / kBlock + 1);
    m_superMin.reserve(wanted / kSuper + 1);
}

void AmplitudeSeries::append(std::optional<int32_t> amplitude, std::optional<double> dbToReference) {
    if (lastFrame() == INT32_MAX) return;
    const int64_t index = size();
    if (dbToReference && std::isfinite(*dbToReference) && !m_hasDb) {
        m_hasDb = true;
        m_dbTenths.assign(m_codes.size(), kNoDb);
    }
    if (m_hasDb) {
        int16_t tenths = kNoDb;
        if (dbToReference && std::isfinite(*dbToReference))
            tenths =
                static_cast<int16_t>(std::clamp(std::nearbyint(*dbToReference * 10.0), -32767.0, 32767.0));
        m_dbTenths.push_back(tenths);
    }

    int64_t key = kNoneKey;
    if (!amplitude) {
        m_codes.push_back(kNone);
    } else if (*amplitude >= 0 && *amplitude < kAside) {
        m_codes.push_back(static_cast<uint8_t>(*amplitude));
        key = *amplitude;
    } else {
        m_codes.push_back(kAside);
        m_aside.emplace_back(index, *amplitude);
        key = *amplitude;
    }
    const auto fold = [index, key](std::vector<int64_t>& minima, int shift) {
        if ((index & ((int64_t{1} << shift) - 1)) == 0)
            minima.push_back(key);
        else
            minima.back() = std::min(minima.back(), key);
    };
    fold(m_blockMin, kBlockShift);
    fold(m_superMin, kSuperShift);
}

int64_t AmplitudeSeries::keyAt(int64_t index) const {
    const uint8_t code = m_codes[static_cast<std::size_t>(index)];
    if (code == kNone) return kNoneKey;
    if (code != kAside) return code;
    const auto it =
        std::lower_bound(m_aside.begin(), m_aside.end(), index,
                         [](const std::pair<int64_t, int32_t>& e, int64_t i) { return e.first < i; });
    return it->second;
}

std::optional<int32_t> AmplitudeSeries::amplitude(int32_t frame) const {
    if (!contains(frame)) return std::nullopt;
    const int64_t key = keyAt(static_cast<int64_t>(frame) - m_first);
    if (key == kNoneKey) return std::nullopt;
    return static_cast<int32_t>(key);
}

std::optional<double> AmplitudeSeries::dbToReference(int32_t frame) const {
    if (!contains(frame) || !m_hasDb) return std::nullopt;
    const int16_t tenths = m_dbTenths[static_cast<std::size_t>(static_cast<int64_t>(frame) - m_first)];
    if (tenths == kNoDb) return std::nullopt;
    return tenths / 10.0;
}

bool AmplitudeSeries::blockHolds(int64_t index, int shift, int step, int64_t floor) const {
    const int64_t mask = (int64_t{1} << shift) - 1;
    // Only a walk that enters the block at its near edge may jump it.
    const bool entersAtEdge = step > 0 ? (index & mask) == 0 : (index & mask) == mask;
    if (!entersAtEdge) return false;
    const std::vector<int64_t>& minima = shift == kSuperShift ? m_superMin : m_blockMin;
    return minima[static_cast<std::size_t>(index >> shift)] >= floor;
}

int32_t AmplitudeSeries::reachAtLeast(int32_t from, int step, int64_t floor) const {
    step = step < 0 ? -1 : 1;
    const int64_t count = size();
    int64_t at = static_cast<int64_t>(from) - m_first;
    if (at < 0 || at >= count) return from;
    for (;;) {
        const int64_t next = at + step;
        if (next < 0 || next >= count) break;
        if (blockHolds(next, kSuperShift, step, floor)) {
            at = step > 0 ? std::min(next + kSuper - 1, count - 1) : next - kSuper + 1;
        } else if (blockHolds(next, kBlockShift, step, floor)) {
            at = step > 0 ? std::min(next + kBlock - 1, count - 1) : next - kBlock + 1;
        } else if (keyAt(next) >= floor) {
            at = next;
        } else {
            break;
        }
    }
    return static_cast<int32_t>(m_first + at);
}

} // namespace pelix::indications
