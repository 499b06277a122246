// The one drawing of a B-scan, for the B-scan window and for `pelix bscan -o`:
// the cells in the perceptual colour map, the colour bar with its scale, the
// frame axis in frames and seconds, the sample axis in the recording's units,
// the gate edges of each column's first frame, and in the window the current
// frame's cursor, the range being dragged and the bookmarks.
#pragma once

#include "core/bscan/bscan_grid.h"
#include "player/bscan/bscan_axis.h"
#include "player/bscan/bscan_columns.h"
#include "player/bscan/bscan_gate_edges.h"

#include <QImage>
#include <QRect>

#include <memory>
#include <vector>

class QPainter;

namespace pelix::bscan {

// Where the cells lie in the command line's picture: cell (row r, column c)
// is pixel (kPictureCellsLeft + c, kPictureCellsTop + r).
inline constexpr int kPictureCellsLeft = 64;
inline constexpr int kPictureCellsTop = 24;

// What one scan gives to draw; made once a scan, drawn at any size.
struct BscanPicture {
    std::shared_ptr<const BscanGrid> grid;
    QImage cells;                 // one pixel a cell, in the map's colours
    std::vector<GateEdges> gates; // one entry a column; empty: no gate lines
    SampleAxis axis;
    int32_t framesPerSecond = 50;
    int32_t frameCount = 0; // of the whole recording, for the title
};

BscanPicture makeBscanPicture(std::shared_ptr<const BscanGrid> grid, std::vector<GateEdges> gates,
                              const SampleAxis& axis, int32_t framesPerSecond, int32_t frameCount);

// The window's marks over the cells.
struct BscanMarks {
    int32_t cursorFrame = 0;        // 0: no cursor
    FrameSpan selection;            // the frames a drag covers so far; first 0: none
    std::vector<int32_t> bookmarks; // bookmarked frames, ascending: a small triangle above their columns
};

// The part of `area` the cells fill, leaving room for the title, the axes and
// the colour bar.
QRect bscanCellsIn(const QRect& area);

// The columns of `picture` laid over `cells`.
BscanColumns bscanColumns(const BscanPicture& picture, const QRect& cells);

// Draws `picture` into `area` (white behind it) with its cells stretched over `cells`.
void paintBscan(QPainter& painter, const QRect& area, const QRect& cells, const BscanPicture& picture,
                const BscanMarks& marks = {});

// The command line's picture: one pixel a cell, the axes and the bar around them.
QImage bscanImage(const BscanPicture& picture);

} // namespace pelix::bscan
