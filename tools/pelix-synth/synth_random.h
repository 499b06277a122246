// A small deterministic generator: the same seed gives the same recording on
// every platform and library (unlike the standard distributions).
#pragma once

#include <cstdint>

namespace pelix::synth {

class SynthRandom {
  public:
    explicit SynthRandom(uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    int32_t below(int32_t n) { return n <= 0 ? 0 : static_cast<int32_t>(next() % static_cast<uint64_t>(n)); }

  private:
    uint64_t m_state;
};

} // namespace pelix::synth
