// What the main window knows about the recording it plays: the open recording
// (if any), the frame on screen or about to be shown, and the AVI range.
#pragma once

#include "core/recording/frame_timing.h"
#include "core/recording/open_recording.h"

#include <cstdint>
#include <memory>

namespace pelix::player {

struct AviRange {
    int32_t startFrame = 0;
    int32_t endFrame = 0;
    bool recording = false; // true while an export plays the range
};

struct PlayerSession {
    std::unique_ptr<recording::OpenRecording> recording;
    int32_t CurrentFrame = 1;
    // The rate of the last recording opened; speeds before the first open use 50 frames/s.
    int32_t RateSelect = 0;
    AviRange avi;

    bool isOpen() const { return recording != nullptr; }
    int32_t FrameCount() const { return recording ? recording->FrameCount() : 0; }
    int32_t TotalSeconds() const { return recording ? recording->TotalSeconds() : 0; }
    int32_t FlagCount() const { return recording ? recording->FlagCount() : 0; }
    int32_t framesPerSecond() const { return RateSelect != 0 ? 10 : 50; }
    int64_t timeIndex(int32_t frame) const { return recording::timeIndexOf(frame, framesPerSecond()); }
};

} // namespace pelix::player
