#include "player/export/video_format.h"

#include <algorithm>
#include <cctype>

namespace pelix::player {

namespace {

bool endsWithIgnoringCase(std::string_view name, std::string_view ending) {
    return name.size() >= ending.size() &&
           std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

VideoFormat videoFormatOf(std::string_view name) {
    if (endsWithIgnoringCase(name, ".mp4")) return VideoFormat::Mp4;
    if (endsWithIgnoringCase(name, ".mkv")) return VideoFormat::Matroska;
    return VideoFormat::Avi;
}

std::optional<platform::video::CompactContainer> compactContainer(VideoFormat format) {
    switch (format) {
    case VideoFormat::Mp4:
        return platform::video::CompactContainer::Mp4;
    case VideoFormat::Matroska:
        return platform::video::CompactContainer::Matroska;
    case VideoFormat::Avi:
        break;
    }
    return std::nullopt;
}

} // namespace pelix::player
