#include "tools/pelix/overview_strip.h"

#include "core/files/output_file.h"
#include "core/overview/overview_series.h"
#include "player/export/output_device.h"
#include "player/overview/overview_painter.h"
#include "tools/pelix/headless_application.h"

#include <QImage>
#include <QPainter>

namespace pelix::tool {

bool writeOverviewStrip(const overview::OverviewSeries& series, files::OutputFile& png, int width,
                        int height) {
    const auto app = startHeadlessApplication();
    QImage image(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        overview::paintOverview(painter, image.rect(), series, {});
    }
    return player::saveImage(image, png) && png.commit();
}

} // namespace pelix::tool
