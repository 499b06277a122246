// The first page of an inspection report in words: what the recording is and
// how the instrument was set up, as caption/value rows.
#pragma once

#include "core/recording/frame_header.h"
#include "core/recording/open_recording.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelix::report {

using SummaryRows = std::vector<std::pair<std::string, std::string>>;

// `firstFrame` is frame 1's header (its gates describe the gate setup); none
// when it could not be read. `flaggedFrames` are the frames the operator flagged.
SummaryRows recordingSummary(const recording::OpenRecording& rec,
                             const std::optional<recording::FrameHeader>& firstFrame,
                             const std::vector<int32_t>& flaggedFrames);

// The evaluation mode in words ("DGS", "TCG", "DAC", …): names the curves the display draws
// for the word, and the raw word when it is not one of the instrument's own codes (the readings
// then follow its low byte).
std::string evaluationModeText(int32_t evalMode, int32_t tcgMode);

// "12.34 s" — frame n's time from the start of the recording (exact: frames start on whole hundredths).
std::string frameTimeText(int64_t frame, int32_t framesPerSecond);

// Frame numbers as a short list: "3, 7, 20-25"; after `maxItems` items the rest is counted, not listed.
std::string frameListText(const std::vector<int32_t>& frames, std::size_t maxItems = SIZE_MAX);

} // namespace pelix::report
