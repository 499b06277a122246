#include "core/recording/frame_timing.h"

#include "core/recording/record_layout.h"

namespace pelix::recording {

int64_t divideRoundHalfEven(int64_t numerator, int64_t denominator) {
    int64_t q = numerator / denominator;
    int64_t r = numerator % denominator; // same sign as the numerator
    const bool negative = r < 0;
    if (negative) r = -r;
    const int64_t twice = 2 * r;
    if (twice > denominator || (twice == denominator && (q % 2 != 0))) q += negative ? -1 : 1;
    return q;
}

int64_t frameCountFor(int64_t fileLength, int32_t headerSize, bool envelope) {
    // Records first, then frames: each count rounds its half to even on its own.
    const int64_t records =
        divideRoundHalfEven(fileLength - headerSize, static_cast<int64_t>(kFrameRecordBytes));
    return divideRoundHalfEven(records, static_cast<int64_t>(recordsPerFrame(envelope)));
}

int64_t timeIndexOf(int64_t frame, int32_t framesPerSecond) {
    return divideRoundHalfEven(frame - 1, framesPerSecond);
}

int64_t totalSecondsFor(int64_t frameCount, int32_t framesPerSecond) {
    if (frameCount <= 0) return 0;
    return frameCount / framesPerSecond;
}

} // namespace pelix::recording
