#include "readings/fixed_tables.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace pelix::cal::readings {

namespace {

constexpr int kQuarterTurn = 900;
constexpr int kFullTurn = 3600;

const std::array<int32_t, kQuarterTurn + 1>& sineTable() {
    static const auto table = [] {
        std::array<int32_t, kQuarterTurn + 1> t{};
        const long double pi = std::acos(-1.0L);
        for (int i = 0; i <= kQuarterTurn; ++i)
            t[static_cast<std::size_t>(i)] =
                static_cast<int32_t>(std::lround(std::sin(i * pi / 1800.0L) * kSineOne));
        return t;
    }();
    return table;
}

// Ratios are rounded to eight significant bits before the logarithm, so a
// ratio c = m * 2^j / 128 needs only the mantissas m = 128..256 of eight octaves.
constexpr int kOctaves = 8;
constexpr int kMantissas = 129;

const std::array<int16_t, kOctaves * kMantissas>& decibelTable() {
    static const auto table = [] {
        std::array<int16_t, kOctaves * kMantissas> t{};
        for (int octave = 0; octave < kOctaves; ++octave)
            for (int m = 128; m <= 256; ++m) {
                const long double ratio = std::ldexp(static_cast<long double>(m), octave) / 128.0L;
                t[static_cast<std::size_t>(octave * kMantissas + m - 128)] =
                    static_cast<int16_t>(std::lround(200.0L * std::log10(ratio)));
            }
        return t;
    }();
    return table;
}

constexpr int kAntilogSteps = 1100; // 110.0 dB in 0.1 dB steps

struct AntilogTables {
    std::array<int64_t, kAntilogSteps + 1> rising{};
    std::array<int64_t, kAntilogSteps + 1> falling{};
};

const AntilogTables& antilogTables() {
    static const auto tables = [] {
        AntilogTables t;
        for (int k = 0; k <= kAntilogSteps; ++k) {
            const long double exponent = k / 200.0L;
            t.rising[static_cast<std::size_t>(k)] =
                static_cast<int64_t>(std::floor(10000.0L * std::pow(10.0L, exponent)));
            t.falling[static_cast<std::size_t>(k)] =
                static_cast<int64_t>(std::floor(10000.0L * std::pow(10.0L, -exponent)));
        }
        return t;
    }();
    return tables;
}

constexpr std::array<int32_t, 10> FilterDelayTable = {64, 64, 64, 64, 64, 40, 64, 64, 64, 64};

} // namespace

int32_t fastSin(int64_t angle_01deg) {
    const auto& t = sineTable();
    const int64_t a = ((angle_01deg % kFullTurn) + kFullTurn) % kFullTurn;
    if (a <= 900) return t[static_cast<std::size_t>(a)];
    if (a <= 1800) return t[static_cast<std::size_t>(1800 - a)];
    if (a <= 2700) return -t[static_cast<std::size_t>(a - 1800)];
    return -t[static_cast<std::size_t>(3600 - a)];
}

int32_t fastCos(int64_t angle_01deg) {
    // 900 - a cannot overflow for the int64 range the callers use (angles are 32-bit words).
    return fastSin(900 - (angle_01deg % kFullTurn));
}

int32_t fastAsin(int64_t scaled) {
    if (scaled < 0) {
        const int64_t magnitude = scaled == INT64_MIN ? INT64_MAX : -scaled;
        return -fastAsin(magnitude);
    }
    const auto& t = sineTable();
    int lo = 0;
    int hi = kQuarterTurn;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int64_t entry = t[static_cast<std::size_t>(mid)];
        if (entry == scaled) return mid;
        if (entry < scaled)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    // Now t[hi] < scaled < t[lo]; beyond the ends the nearest end is the answer.
    if (lo > kQuarterTurn) return kQuarterTurn;
    if (hi < 0) return 0;
    const int64_t below = scaled - t[static_cast<std::size_t>(hi)];
    const int64_t above = t[static_cast<std::size_t>(lo)] - scaled;
    return above < below ? lo : hi;
}

int32_t decibelRatio(uint16_t a, uint16_t b) {
    if (a == 0 || b == 0) return 0;
    const int32_t larger = a >= b ? a : b;
    const int32_t smaller = a >= b ? b : a;
    int32_t c = larger * 128 / smaller;
    int32_t magnitude = 482;
    if (c <= 32767) {
        int octave = 0;
        if (c >= 256) {
            const int k = std::bit_width(static_cast<uint32_t>(c)) - 1;
            c += 1 << (k - 8);
            c &= ~((1 << (k - 7)) - 1);
            octave = k - 7;
            c >>= octave; // mantissa 128..256
        }
        magnitude = decibelTable()[static_cast<std::size_t>(octave * kMantissas + c - 128)];
    }
    return a >= b ? magnitude : -magnitude;
}

int64_t antilogRatio(int64_t level_001dB) {
    if (level_001dB > 10990 || level_001dB < -10990) return 0;
    const int64_t magnitude = std::llabs(level_001dB);
    const auto k = static_cast<std::size_t>(magnitude / 10);
    const int64_t f = magnitude % 10;
    const auto& t = antilogTables();
    if (level_001dB >= 0) return t.rising[k] + std::llabs(t.rising[k] - t.rising[k + 1]) * f / 10;
    return t.falling[k] - std::llabs(t.falling[k] - t.falling[k + 1]) * f / 10;
}

std::optional<int32_t> filterDelay(int32_t filterSetup) {
    if (filterSetup < 0 || filterSetup >= static_cast<int32_t>(FilterDelayTable.size())) return std::nullopt;
    return FilterDelayTable[static_cast<std::size_t>(filterSetup)];
}

} // namespace pelix::cal::readings
