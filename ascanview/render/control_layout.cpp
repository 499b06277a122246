#include "ascanview/render/control_layout.h"

#include <algorithm>

namespace pelix::ascanview {

namespace {
constexpr double kPictureLeft = 96.0;
constexpr double kPictureTop = 288.0;
constexpr int kRows = 16;
constexpr double kRowDivisions = 17.0; // sixteen rows and a free seventeenth below them
} // namespace

ControlLayout computeControlLayout(double width, double height, const ControlLayoutSizes& sizes) {
    ControlLayout layout;
    layout.width = std::max(width, sizes.minWidth);
    layout.height = std::max(height, sizes.minHeight);
    const double uw = layout.width;
    const double uh = layout.height;

    layout.picAscan = {kPictureLeft, kPictureTop, uw / 2.0 - kPictureLeft, uh - 2.0 * kPictureTop};
    layout.controlTitle = {uw * 0.1, (kPictureTop - sizes.labelHeight) / 2.0, uw * 0.4, sizes.labelHeight};
    const TwipRect& pic = layout.picAscan;
    layout.ascanStart = {pic.left, pic.top + pic.height, sizes.scaleLabelWidth, sizes.labelHeight};
    layout.ascanWidth = {pic.left + pic.width - sizes.scaleLabelWidth, layout.ascanStart.top,
                         sizes.scaleLabelWidth, sizes.labelHeight};

    for (int i = 0; i < kRows; ++i) {
        const double top = i * uh / kRowDivisions;
        const double rowHeight = uh / kRowDivisions;
        const double titleLeft = uw / 2.0 + 96.0;
        const double valueLeft = uw * 3.0 / 4.0 + 20.0;
        layout.paramTitle[static_cast<std::size_t>(i)] = {titleLeft, top, uw * 3.0 / 4.0 - titleLeft - 20.0,
                                                          rowHeight};
        layout.paramValue[static_cast<std::size_t>(i)] = {valueLeft, top, uw - valueLeft, rowHeight};
    }
    return layout;
}

} // namespace pelix::ascanview
