// Draws the overview strip: amplitude 0..100 % of screen height upwards, the
// recording from left to right; gate A and gate B as filled low..high bands per
// pixel column in the control's gate colours, flags as marks along the top,
// search matches along the bottom, indications as bands with a tick at their
// peak, bookmarks as small triangles hanging from the top edge, and the frame on screen as a cursor. The
// tool window and `pelix overview -o` both draw through here.
#pragma once

#include "core/overview/overview_columns.h"
#include "core/overview/overview_series.h"

#include <QColor>
#include <QRect>

#include <cstdint>
#include <vector>

class QPainter;

namespace pelix::overview {

// An indication on the strip: its drop extent as a band behind the series, its peak as a tick.
struct IndicationMark {
    int32_t dropFirst = 0;
    int32_t dropLast = 0;
    int32_t peakFrame = 0;
};

struct OverviewMarks {
    int32_t currentFrame = 0;           // 0: no cursor
    std::vector<int32_t> searchMatches; // frame numbers, any order
    std::vector<IndicationMark> indications;
    std::vector<int32_t> bookmarks; // frame numbers, ascending; frames outside the recording are not drawn
};

// The colour of indication marks, apart from the gates', the flags' and the search matches'.
QColor indicationColour();

// The plot area inside `bounds` (the part that maps to frames: a click maps through it).
QRect plotArea(const QRect& bounds);

// Both gates' columns for a plot `width` pixels wide: a pass over every frame,
// so a widget keeps them while its width and series stay the same.
struct OverviewColumns {
    int width = -1;
    std::vector<ColumnSpan> gateA, gateB;
};
OverviewColumns overviewColumns(const OverviewSeries& series, int width);

// `columns`, when given, must be those of `series` for the plot width of `bounds`.
void paintOverview(QPainter& painter, const QRect& bounds, const OverviewSeries& series,
                   const OverviewMarks& marks, const OverviewColumns* columns = nullptr);

} // namespace pelix::overview
