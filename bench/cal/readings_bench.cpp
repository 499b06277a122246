// One readings refresh as the player runs it after a gate drag: setup, gate
// results, the seven slots and the four panel rows, then the carets.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "pelix_cal.h"

namespace {

class RawHeader {
  public:
    void bigEndian(std::size_t offset, int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
    }
    void littleEndian(std::size_t offset, int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<uint8_t>(v >> (8 * i));
    }
    std::array<uint8_t, PELIX_RECORDING_HEADER_BYTES> bytes{};
};

struct Recording {
    RawHeader header;
    RawHeader frame;
};

// An angle-beam setup on a pipe with a DAC reference curve: the costliest readings.
Recording pipeWithDacCurve(int32_t evalMode) {
    Recording r;
    auto& h = r.header;
    h.bigEndian(32, 32300);
    h.bigEndian(36, 3);
    h.bigEndian(100, 7);
    const int32_t codes[7] = {3, 6, 7, 9, 10, 17, 19};
    for (int i = 0; i < 7; ++i)
        h.bigEndian(104 + 4 * i, codes[i]);
    h.bigEndian(160, evalMode);
    h.bigEndian(164, 2);
    h.bigEndian(212, 6);
    for (int k = 0; k < 6; ++k) {
        const std::size_t at = 228 + 28 * k;
        h.bigEndian(at + 12, 200 + 300 * k);
        h.bigEndian(at + 20, 400 + 10 * k);
        h.bigEndian(at + 24, 800 - 100 * k);
    }
    h.bigEndian(680, 450);
    h.bigEndian(684, 12000);
    h.bigEndian(696, 219000);
    h.bigEndian(764, 420);
    r.frame.littleEndian(160, 20);
    r.frame.littleEndian(168, 1);
    r.frame.littleEndian(192, 30);
    r.frame.littleEndian(200, 1);
    return r;
}

void BM_ReadingsRefresh(benchmark::State& state) {
    const Recording r = pipeWithDacCurve(static_cast<int32_t>(state.range(0)));
    const double gates[PELIX_GATE_DATA_VALUES] = {2600, 3200, 3300, 1800, 7400, 7500};
    ReadingResult result;
    int32_t aOn = 0, aCaret = 0, bOn = 0, bCaret = 0;
    for (auto _ : state) {
        SetHeaderData(r.header.bytes.data(), r.frame.bytes.data());
        UpdateGateData(gates);
        for (int32_t slot = 0; slot < 11; ++slot) {
            FormatCVRsltValue(slot, &result);
            benchmark::DoNotOptimize(result);
        }
        CVUpdatedCaret(&aOn, &aCaret, &bOn, &bCaret);
        benchmark::DoNotOptimize(aCaret);
        benchmark::DoNotOptimize(bCaret);
    }
}
// 0: DAC reference curve; 2: threshold rule.
BENCHMARK(BM_ReadingsRefresh)->Arg(0)->Arg(2);

} // namespace
