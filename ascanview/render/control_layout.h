// Where the control's children go for a given control size, in twips.
#pragma once

#include "ascanview/interface/export.h"

#include <array>

namespace pelix::ascanview {

struct TwipRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

struct ControlLayout {
    double width = 0.0; // the control, after the minimum size is applied
    double height = 0.0;
    TwipRect picAscan;
    TwipRect controlTitle;
    TwipRect ascanStart;
    TwipRect ascanWidth;
    std::array<TwipRect, 16> paramTitle{};
    std::array<TwipRect, 16> paramValue{};
};

struct ControlLayoutSizes {
    double minWidth = 7200.0;
    double minHeight = 3500.0;
    double scaleLabelWidth = 1500.0; // the two scale labels under the picture
    double labelHeight = 270.0;      // title and scale labels
};

ASCANVIEW_API ControlLayout computeControlLayout(double width, double height,
                                                 const ControlLayoutSizes& sizes = ControlLayoutSizes{});

} // namespace pelix::ascanview
