#include "core/search/frame_test.h"

#include "core/recording/decoded_trace.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace pelix::search {

namespace {

using recording::kSamplePairs;

constexpr int kLastPair = static_cast<int>(kSamplePairs) - 1;      // 799
constexpr int kLastIndex = static_cast<int>(2 * kSamplePairs);     // 1600, always 0
constexpr int kFirstUpper = static_cast<int>(kSamplePairs);        // 800
constexpr int kLastUpper = static_cast<int>(2 * kSamplePairs) - 1; // 1599

// A sample pair as one 16-bit word: the negative half-wave's byte low, the positive one's high.
inline uint16_t pairAt(const uint8_t* pair) {
    return static_cast<uint16_t>(pair[0] | pair[1] << 8);
}

// Eight sample pairs as 16-bit lanes of one vector register.
using PairLanes = uint16_t __attribute__((vector_size(16)));
constexpr int kLanes = 8;

// Any pair in first..last for which `hit` holds; `hit` takes a pair word, or
// a vector of them, and answers non-zero (in each lane) for a hit. The frame
// stops at the first vector holding a match.
template <typename Hit> bool anyPair(const uint8_t* samples, int first, int last, Hit hit) {
    int p = first;
    if constexpr (std::endian::native == std::endian::little) {
        for (; p + kLanes <= last + 1; p += kLanes) {
            PairLanes words;
            std::memcpy(&words, samples + 2 * p, sizeof words);
            const auto hits = hit(words);
            uint64_t parts[sizeof hits / sizeof(uint64_t)];
            std::memcpy(parts, &hits, sizeof parts);
            uint64_t any = 0;
            for (const uint64_t part : parts)
                any |= part;
            if (any) return true;
        }
    }
    for (; p <= last; ++p)
        if (hit(pairAt(samples + 2 * p))) return true;
    return false;
}

// The integer range [lo, hi] cut to [min, max] as ints; false when empty.
bool clampRange(double lo, double hi, int min, int max, int& first, int& last) {
    if (!(lo <= hi) || hi < min || lo > max) return false;
    first = static_cast<int>(std::max<double>(lo, min));
    last = static_cast<int>(std::min<double>(hi, max));
    return first <= last;
}

} // namespace

FrameTest::FrameTest(int32_t rectification, const SearchLimits& limits) {
    switch (rectification) {
    case 0:
        m_kind = Kind::Rf;
        break;
    case 1:
        m_kind = Kind::Negative;
        break;
    case 2:
        m_kind = Kind::Positive;
        break;
    case 3:
        m_kind = Kind::FullWave;
        break;
    default:
        return; // no frame of an unknown rectification matches
    }

    const double h1 = limits.SearchLowhightlimit;
    const double h2 = limits.SearchUphightlimit;
    int lo = -1, hi = -1;
    for (int b = 0; b < 256; ++b) {
        const double percent = recording::screenPercent(static_cast<uint8_t>(b));
        if (h1 < percent && percent < h2) {
            if (lo < 0) lo = b;
            hi = b;
        }
    }
    m_anyAmplitude = lo >= 0;
    if (m_anyAmplitude) {
        m_lo = static_cast<uint8_t>(lo);
        m_span = static_cast<uint8_t>(hi - lo);
    }
    const bool zeroInside = h1 < 0.0 && 0.0 < h2;

    const double left = limits.SearchLowwidthRange;
    const double right = limits.SearchUpwidthRange;
    if (m_kind == Kind::Rf) {
        // Both halves share the pair's column; the position limits are strict.
        for (int p = 0; p <= kLastPair; ++p) {
            if (left < p && p < right) {
                if (m_pairFirst < 0) m_pairFirst = p;
                m_pairLast = p;
            }
        }
        return;
    }

    const double first = std::nearbyint(left);
    const double last = std::nearbyint(right);
    if (!clampRange(first, last, 0, kLastPair, m_pairFirst, m_pairLast)) m_pairFirst = m_pairLast = -1;
    int upperFirst = -1, upperLast = -1;
    const bool upper = clampRange(first, last, kFirstUpper, kLastUpper, upperFirst, upperLast);
    if (upper && m_kind == Kind::FullWave) {
        m_upperFirst = upperFirst - kFirstUpper;
        m_upperLast = upperLast - kFirstUpper;
    }
    const bool zeroIndex = (upper && m_kind != Kind::FullWave) || (first <= kLastIndex && kLastIndex <= last);
    m_everyFrame = zeroIndex && zeroInside;
}

bool FrameTest::matches(const uint8_t* samples) const {
    if (m_everyFrame) return true;
    if (m_kind == Kind::None || !m_anyAmplitude) return false;
    const uint16_t lo = m_lo, span = m_span;
    // Whether a byte value (or each lane's) lies in the amplitude window.
    const auto inside = [=](auto v) {
        if constexpr (std::is_integral_v<decltype(v)>)
            return static_cast<unsigned>(static_cast<uint16_t>(v - lo) <= span);
        else
            return static_cast<decltype(v)>(v - lo) <= span;
    };
    const auto low = [](auto w) { return static_cast<decltype(w)>(w & 0xFF); };
    const auto high = [](auto w) { return static_cast<decltype(w)>(w >> 8); };
    if (m_pairFirst >= 0) {
        bool hit = false;
        switch (m_kind) {
        case Kind::Rf:
            hit = anyPair(samples, m_pairFirst, m_pairLast,
                          [=](auto w) { return inside(low(w)) | inside(high(w)); });
            break;
        case Kind::Negative:
            hit = anyPair(samples, m_pairFirst, m_pairLast, [=](auto w) { return inside(low(w)); });
            break;
        case Kind::Positive:
            hit = anyPair(samples, m_pairFirst, m_pairLast, [=](auto w) { return inside(high(w)); });
            break;
        case Kind::FullWave:
            // The display keeps the larger half-wave; the percent never falls as the byte grows.
            hit = anyPair(samples, m_pairFirst, m_pairLast, [=](auto w) {
                const auto negative = low(w), positive = high(w);
                return inside(negative > positive ? negative : positive);
            });
            break;
        case Kind::None:
            break;
        }
        if (hit) return true;
    }
    if (m_upperFirst >= 0)
        return anyPair(samples, m_upperFirst, m_upperLast, [=](auto w) { return inside(high(w)); });
    return false;
}

} // namespace pelix::search
