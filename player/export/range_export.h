// A range of frames to video without a user at the window: the range is
// marked on the position slider as the user marks it, the window's own
// export records it, and the playback steps run back to back instead of
// waiting for the playback timer (one capture per step either way).
#pragma once

#include "player/controls/player_controls.h"

#include <QString>

#include <cstdint>
#include <string>

namespace pelix::player {

class AviExport;
class PlaybackController;
struct PlayerSession;

struct RangeExportRequest {
    int32_t from = 1;
    int32_t to = 1;
    std::string output; // the video: the name's bytes, exactly as given
    int framesPerSecond = 10;
};

enum class RangeExportResult {
    Written,    // every frame of the range is in the file
    NotStarted, // the output was refused or could not be created (nothing was written)
    Failed,     // a frame or the end of the file could not be written; nothing was written
};

// The recording is open in the window and from..to lies inside it.
RangeExportResult exportRange(const PlayerControls& controls, PlayerSession& session,
                              PlaybackController& playback, AviExport& avi,
                              const RangeExportRequest& request);

} // namespace pelix::player
