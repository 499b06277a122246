// `pelix bscan -o`: a B-scan's cells drawn with their colour bar, the frame
// axis in frames and seconds, the sample axis in the recording's units and the
// gates of each column's first frame. Needs Qt, so only pelix-draw has it.
#pragma once

#include "tools/pelix/subcommands.h"

class QImage;

namespace pelix::tool {

// Where the cells lie in the picture: cell (row r, column c) is pixel
// (kCellsLeft + c, kCellsTop + r).
inline constexpr int kCellsLeft = 64;
inline constexpr int kCellsTop = 24;

// The picture of `grid`, read from `rec` (the gates of each column's first frame).
QImage bscanPicture(recording::OpenRecording& rec, const bscan::BscanGrid& grid);

// Draws `grid` and writes it to `png`, committed.
bool writeBscanPicture(recording::OpenRecording& rec, const bscan::BscanGrid& grid, files::OutputFile& png);

} // namespace pelix::tool
