// Which frames an inspection report shows: a list the user gives ("12",
// "3,7,20-25"), or by default every flagged frame, or frame 1 when the
// operator flagged none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelix::report {

// Frame numbers in the order given, repeats dropped; nullopt with `error`
// set when the list is malformed or names a frame outside 1..frameCount.
std::optional<std::vector<int32_t>> parseFrameList(const std::string& text, int32_t frameCount,
                                                   std::string& error);

std::vector<int32_t> defaultReportFrames(const std::vector<int32_t>& flaggedFrames);

// A report of more pages than this is refused: each page holds a picture of the window.
inline constexpr std::size_t kMaxReportFrames = 2000;

} // namespace pelix::report
