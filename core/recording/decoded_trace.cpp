#include "core/recording/decoded_trace.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace pelix::recording {

namespace {
constexpr int16_t kRectified = 0, kRf = 1, kHollow = 0;

// screenPercent in a form the compiler can vectorise, (x * factor + offset) >> shift: exact for
// every byte. The vector forms below use the same three numbers.
constexpr int32_t kPercentFactor = 3197, kPercentOffset = 4000, kPercentShift = 13;

constexpr int16_t percentOf(uint32_t x) {
    return static_cast<int16_t>((x * kPercentFactor + kPercentOffset) >> kPercentShift);
}

constexpr bool percentFormIsExact() {
    for (uint32_t x = 0; x < 256; ++x)
        if (percentOf(x) != screenPercent(static_cast<uint8_t>(x))) return false;
    return true;
}
static_assert(percentFormIsExact());

// screenPercent in 16-bit arithmetic (a high-half multiply divides by 82), which the
// compiler vectorises on any x86-64: exact for every byte. It never falls as the byte
// rises, so the larger of two bytes has the larger percent. The high half is kept as
// a 16-bit value of its own: shifted on in 32 bits, the compiler widens every lane
// and the trace decodes at a third of the speed.
constexpr uint8_t percentByteOf(uint8_t x) {
    const auto n = static_cast<uint16_t>(x * 32u + 41u);
    const auto high = static_cast<uint16_t>((static_cast<uint32_t>(n) * 51151u) >> 16);
    return static_cast<uint8_t>(high >> 6);
}

// Eight full-wave pairs at once where the processor can: the percents as percentOf works them
// out (x * factor + offset as one multiply-add of the pair (x, 1) with (factor, offset)), the
// winning half-wave's byte and the positive one's, each times 16.
constexpr std::size_t kFullWavePairsAtOnce = 8;

inline void composeFullWave8(const uint8_t* pairs, int16_t* chosen, int16_t* positive) {
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs));
    const __m128i b0 = _mm_and_si128(bytes, _mm_set1_epi16(0x00FF)); // the pair's first byte
    const __m128i b1 = _mm_srli_epi16(bytes, 8);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i factors = _mm_set1_epi32((kPercentOffset << 16) | kPercentFactor);
    const auto percents = [&](__m128i x) {
        const __m128i low =
            _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(x, one), factors), kPercentShift);
        const __m128i high =
            _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(x, one), factors), kPercentShift);
        return _mm_packs_epi32(low, high);
    };
    const __m128i positiveWins = _mm_cmplt_epi16(percents(b0), percents(b1));
    const __m128i winner = _mm_or_si128(_mm_and_si128(positiveWins, b1), _mm_andnot_si128(positiveWins, b0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(chosen), _mm_slli_epi16(winner, 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(positive), _mm_slli_epi16(b1, 4));
#else
    for (std::size_t p = 0; p < kFullWavePairsAtOnce; ++p) {
        const uint32_t b0 = pairs[2 * p], b1 = pairs[2 * p + 1];
        chosen[p] = static_cast<int16_t>(16 * (percentOf(b0) < percentOf(b1) ? b1 : b0));
        positive[p] = static_cast<int16_t>(16 * b1);
    }
#endif
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PELIX_FULL_WAVE_AVX2 1
// percentOf of sixteen bytes, as composeFullWave8 works it out.
__attribute__((target("avx2"))) __m256i percents16(__m256i x) {
    const __m256i one = _mm256_set1_epi16(1);
    const __m256i factors = _mm256_set1_epi32((kPercentOffset << 16) | kPercentFactor);
    const __m256i low =
        _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(x, one), factors), kPercentShift);
    const __m256i high =
        _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(x, one), factors), kPercentShift);
    return _mm256_packs_epi32(low, high);
}

// Sixteen pairs at once on a processor with 256-bit integer vectors (the packs and unpacks work
// within each 128-bit half, so the lanes come back in order).
__attribute__((target("avx2"))) void composeFullWave16(const uint8_t* pairs, int16_t* chosen,
                                                       int16_t* positive) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs));
    const __m256i b0 = _mm256_and_si256(bytes, _mm256_set1_epi16(0x00FF));
    const __m256i b1 = _mm256_srli_epi16(bytes, 8);
    const __m256i positiveWins = _mm256_cmpgt_epi16(percents16(b1), percents16(b0));
    const __m256i winner = _mm256_blendv_epi8(b0, b1, positiveWins);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chosen), _mm256_slli_epi16(winner, 4));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(positive), _mm256_slli_epi16(b1, 4));
}

// Pairs first..end-1 sixteen at a time; returns the first pair not composed.
__attribute__((target("avx2"))) std::size_t composeFullWaveWide(const uint8_t* block, int16_t* raw,
                                                                std::size_t p, std::size_t end) {
    for (; p < end && end - p >= 16; p += 16)
        composeFullWave16(block + 2 * p, raw + p, raw + kSamplePairs + p);
    return p;
}

bool hasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}
#endif

constexpr bool percentByteFormIsExactAndRising() {
    for (uint32_t x = 0; x < 256; ++x) {
        if (percentByteOf(static_cast<uint8_t>(x)) != screenPercent(static_cast<uint8_t>(x)) ||
            (x > 0 && screenPercent(static_cast<uint8_t>(x)) < screenPercent(static_cast<uint8_t>(x - 1))))
            return false;
    }
    return true;
}
static_assert(percentByteFormIsExactAndRising());
} // namespace

bool composeSamples(int32_t rectification, const uint8_t* block, DecodedTrace& trace) {
    int16_t* points = trace.AscanPoints.data();
    int16_t* raw = trace.AscanRaw.data();
    constexpr std::size_t upper = kSamplePairs;
    switch (rectification) {
    case 0: // RF: the negative half-wave in the lower half, the positive one in the upper half
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            const uint32_t b0 = block[2 * p], b1 = block[2 * p + 1];
            points[p] = percentOf(b0);
            points[upper + p] = percentOf(b1);
            raw[p] = static_cast<int16_t>(16 * b0);
            raw[upper + p] = static_cast<int16_t>(16 * b1);
        }
        break;
    case 3: // Full wave: the larger half-wave by its scaled value; on a tie the negative one stays
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            const uint32_t b0 = block[2 * p], b1 = block[2 * p + 1];
            const int16_t s0 = percentOf(b0), s1 = percentOf(b1);
            const bool positiveWins = s0 < s1;
            points[p] = positiveWins ? s1 : s0;
            raw[p] = static_cast<int16_t>(16 * (positiveWins ? b1 : b0));
            points[upper + p] = s1;
            raw[upper + p] = static_cast<int16_t>(16 * b1);
        }
        break;
    case 1:
    case 2: {
        const std::size_t half = rectification == 1 ? 0 : 1;
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            const uint32_t b = block[2 * p + half];
            points[p] = percentOf(b);
            raw[p] = static_cast<int16_t>(16 * b);
        }
        break;
    }
    default:
        return false;
    }
    trace.mode.iAscanDrawMode = kHollow;
    if (rectification == 0) {
        trace.mode.iAscanRectMode = kRf;
        trace.mode.iNumPoints = 1600;
    } else {
        trace.mode.iAscanRectMode = kRectified;
        trace.mode.iNumPoints = 800;
    }
    trace.modeKnown = true;
    return true;
}

bool composeRawSamples(int32_t rectification, const uint8_t* block,
                       std::array<int16_t, kAscanPointCount>& out) {
    return composeRawSamples(rectification, block, out, 0, kSamplePairs - 1);
}

bool composeRawSamples(int32_t rectification, const uint8_t* block,
                       std::array<int16_t, kAscanPointCount>& out, std::size_t firstPair,
                       std::size_t lastPair) {
    int16_t* raw = out.data();
    constexpr std::size_t upper = kSamplePairs;
    const std::size_t end = std::min(lastPair, kSamplePairs - 1) + 1;
    switch (rectification) {
    case 0: // RF: the negative half-wave in the lower half, the positive one in the upper half
        for (std::size_t p = firstPair; p < end; ++p) {
            raw[p] = static_cast<int16_t>(16 * block[2 * p]);
            raw[upper + p] = static_cast<int16_t>(16 * block[2 * p + 1]);
        }
        return true;
    case 3: // Full wave: the larger half-wave by its screen percent; on a tie the negative one stays
    {
        std::size_t p = firstPair;
#if defined(PELIX_FULL_WAVE_AVX2)
        if (hasAvx2()) p = composeFullWaveWide(block, raw, p, end);
#endif
        for (; p < end && end - p >= kFullWavePairsAtOnce; p += kFullWavePairsAtOnce)
            composeFullWave8(block + 2 * p, raw + p, raw + upper + p);
        for (; p < end; ++p) {
            uint16_t pair = 0;
            std::memcpy(&pair, block + 2 * p, sizeof pair);
            constexpr bool little = std::endian::native == std::endian::little;
            const uint32_t b0 = little ? pair & 0xFFu : pair >> 8u, b1 = little ? pair >> 8u : pair & 0xFFu;
            raw[p] = static_cast<int16_t>(16 * (percentOf(b0) < percentOf(b1) ? b1 : b0));
            raw[upper + p] = static_cast<int16_t>(16 * b1);
        }
        return true;
    }
    case 1:
    case 2: {
        const std::size_t half = rectification == 1 ? 0 : 1;
        for (std::size_t p = firstPair; p < end; ++p)
            raw[p] = static_cast<int16_t>(16 * block[2 * p + half]);
        return true;
    }
    default:
        return false;
    }
}

bool composeScreenPercent(int32_t rectification, const uint8_t* block, uint8_t* out) {
    constexpr std::size_t upper = kSamplePairs;
    switch (rectification) {
    case 0: // RF: the negative half-wave in the lower half, the positive one in the upper half
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            out[p] = percentByteOf(block[2 * p]);
            out[upper + p] = percentByteOf(block[2 * p + 1]);
        }
        return true;
    case 3: // Full wave: the larger half-wave's percent, which is the larger byte's
        for (std::size_t p = 0; p < kSamplePairs; ++p)
            out[p] = percentByteOf(std::max(block[2 * p], block[2 * p + 1]));
        return true;
    case 1:
    case 2: {
        const std::size_t half = rectification == 1 ? 0 : 1;
        for (std::size_t p = 0; p < kSamplePairs; ++p)
            out[p] = percentByteOf(block[2 * p + half]);
        return true;
    }
    default:
        return false;
    }
}

} // namespace pelix::recording
