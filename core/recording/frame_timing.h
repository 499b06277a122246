// Frame counts and times, with the instrument's rounding: halves go to the even neighbour.
#pragma once

#include <cstdint>

namespace pelix::recording {

// numerator / denominator rounded to nearest, halves to even (denominator > 0).
int64_t divideRoundHalfEven(int64_t numerator, int64_t denominator);

// Number of frames for a file of the given length: records after the header,
// halved for envelope recordings (two records per frame).
int64_t frameCountFor(int64_t fileLength, int32_t headerSize, bool envelope);

// Whole-second time index shown for frame n (1-based) at the given rate.
int64_t timeIndexOf(int64_t frame, int32_t framesPerSecond);

// Length of the recording in whole seconds, rounded down.
int64_t totalSecondsFor(int64_t frameCount, int32_t framesPerSecond);

} // namespace pelix::recording
