// The Qt application of the subcommands that draw (render, export, report,
// overview -o): headless unless a display is at hand; the rest of the tool
// never starts Qt and runs without a display or Qt platform.
#pragma once

#include <QApplication>

#include <memory>

namespace pelix::tool {

std::unique_ptr<QApplication> startHeadlessApplication();

} // namespace pelix::tool
