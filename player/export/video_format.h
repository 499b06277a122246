// Which video a name asks for: its extension chooses, for the window's save
// dialog and the command line alike. ".mp4" and ".mkv" (any letter case) are
// H.264; every other name, ".avi" or not, is the instrument's AVI.
#pragma once

#include "platform/video/h264_file.h"

#include <optional>
#include <string_view>

namespace pelix::player {

enum class VideoFormat { Avi, Mp4, Matroska };

VideoFormat videoFormatOf(std::string_view name);

// The H.264 container of a compact format; none for AVI.
std::optional<platform::video::CompactContainer> compactContainer(VideoFormat format);

} // namespace pelix::player
