// `pelix bscan -o`: a B-scan's cells drawn as the B-scan window draws them
// (player/bscan/bscan_painter.*), one pixel a cell. Needs Qt, so only
// pelix-draw has it.
#pragma once

#include "player/bscan/bscan_painter.h"
#include "tools/pelix/subcommands.h"

class QImage;

namespace pelix::tool {

// Where the cells lie in the picture: cell (row r, column c) is pixel
// (kCellsLeft + c, kCellsTop + r).
inline constexpr int kCellsLeft = bscan::kPictureCellsLeft;
inline constexpr int kCellsTop = bscan::kPictureCellsTop;

// The picture of `grid`, read from `rec` (the gates of each column's first frame).
QImage bscanPicture(recording::OpenRecording& rec, const bscan::BscanGrid& grid);

// Draws `grid` and writes it to `png`, committed.
bool writeBscanPicture(recording::OpenRecording& rec, const bscan::BscanGrid& grid, files::OutputFile& png);

} // namespace pelix::tool
