#include "tools/pelix/bscan_picture.h"

#include "core/bscan/bscan_grid.h"
#include "core/files/output_file.h"
#include "core/recording/open_recording.h"
#include "player/export/output_device.h"
#include "tools/pelix/headless_application.h"

#include <QImage>

namespace pelix::tool {

using namespace pelix::recording;

QImage bscanPicture(OpenRecording& rec, const bscan::BscanGrid& grid) {
    // The grid is drawn where it lies: a picture of up to 20000 x 800 cells is not copied.
    const std::shared_ptr<const bscan::BscanGrid> cells(std::shared_ptr<const bscan::BscanGrid>(), &grid);
    const bscan::BscanPicture picture = bscan::makeBscanPicture(
        cells, bscan::columnGateEdges(rec.file(), frameRecordLayout(rec), rec.header(), grid),
        bscan::sampleAxisOf(rec.header(), rec.derived()), rec.framesPerSecond(), rec.FrameCount());
    return bscan::bscanImage(picture);
}

bool writeBscanPicture(OpenRecording& rec, const bscan::BscanGrid& grid, files::OutputFile& png) {
    const auto app = startHeadlessApplication();
    const QImage image = bscanPicture(rec, grid);
    return player::saveImage(image, png) && png.commit();
}

} // namespace pelix::tool
