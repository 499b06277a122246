// Arbitrary bytes as a recording: open, flag scan, and every frame decoded.
#include "core/recording/open_recording.h"
#include "fuzz/fuzz_input.h"

using namespace pelix::recording;

const std::size_t pelix::fuzz::kParameterBytes = 0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pelix::fuzz::FuzzInput input(data, size);
    OpenOutcome outcome = OpenRecording::open(input.writeRecording());
    if (outcome.recording) {
        OpenRecording& rec = *outcome.recording;
        DecodedTrace trace;
        FrameHeaderBytes header{};
        const int32_t last = rec.FrameCount() < 4096 ? rec.FrameCount() : 4096;
        for (int32_t n = 1; n <= last; ++n) {
            for (std::size_t r = 0; r < recordsPerFrame(rec.header().isEnvelope()); ++r) {
                rec.seek(rec.recordOffset(n, r == 1));
                rec.readFrameHeader(header);
                (void)decodeFrameHeader(header);
                rec.readSampleBlock(trace);
            }
            (void)rec.timeIndex(n);
        }
        for (int64_t k = -1; k <= static_cast<int64_t>(rec.flags().count()) + 1 && k < 10000; ++k)
            (void)rec.flags().at(k);
    }
    return 0;
}
