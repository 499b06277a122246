// The B-scan picture: its size follows the cells, each cell is drawn in the
// map's colour of its value, a column without cells in the background, and
// the gates of a column's first frame cross the cells in the gates' colours.
#include "ascanview/render/ascan_colors.h"
#include "core/bscan/bscan_scan.h"
#include "core/bscan/cell_colours.h"
#include "core/recording/open_recording.h"
#include "support/recording_files.h"
#include "tools/pelix/bscan_picture.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using namespace pelix::recording;
using pelix::testing::putBigEndian;

TEST(BscanPicture, CellsMapToTheirColours) {
    // Full-wave rectified, 12 frames, samples rising along the trace; the file ends inside frame 12.
    std::string bytes = pelix::testing::rawRecording(12 * kFrameRecordBytes);
    putBigEndian(bytes, rh::Rectification, 3);
    for (std::size_t f = 0; f < 12; ++f)
        for (std::size_t i = 0; i < kSampleBlockBytes; ++i)
            bytes[kRecordingHeaderBytes + f * kFrameRecordBytes + kFrameHeaderBytes + i] =
                static_cast<char>((i * 7 + f * 13) % 256);
    bytes.resize(bytes.size() - 10);
    pelix::testing::TempFile file;
    file.write(bytes);
    OpenOutcome opened = OpenRecording::open(file.path());
    ASSERT_TRUE(opened.recording);
    const pelix::bscan::BscanResult scan =
        pelix::bscan::scanBscan(*opened.recording, {.width = 12, .height = 200});
    ASSERT_EQ(scan.end, pelix::bscan::BscanEnd::CutShort);
    const auto& grid = scan.grid;

    const QImage picture = pelix::tool::bscanPicture(*opened.recording, grid);
    EXPECT_GT(picture.width(), grid.width() + pelix::tool::kCellsLeft);
    EXPECT_GT(picture.height(), grid.height() + pelix::tool::kCellsTop);
    int checked = 0;
    for (int32_t c = 0; c < grid.width(); ++c)
        for (int32_t r = 0; r < grid.height(); ++r) {
            const QRgb pixel =
                picture.pixel(pelix::tool::kCellsLeft + c, pelix::tool::kCellsTop + r) & 0xffffff;
            if (!grid.hasValue(c)) {
                EXPECT_EQ(pixel, 0xe0e0e0U) << c; // the background of a column no whole frame fills
                continue;
            }
            // The gates, off in these frames, cross no cell.
            EXPECT_EQ(pixel, pelix::bscan::cellColour(grid.cell(r, c) / 100.0)) << r << "," << c;
            ++checked;
        }
    EXPECT_EQ(checked, 11 * grid.height()); // the last column holds the frame cut short
}

TEST(BscanPicture, GatesCrossTheirColumns) {
    // The generator keeps gate A on in every frame.
    pelix::synth::SynthOptions options;
    options.frames = 20;
    pelix::testing::TempFile file;
    file.write(pelix::testing::synthesize(options));
    OpenOutcome opened = OpenRecording::open(file.path());
    ASSERT_TRUE(opened.recording);
    const auto scan = pelix::bscan::scanBscan(*opened.recording, {.width = 20, .height = 400});
    const QImage picture = pelix::tool::bscanPicture(*opened.recording, scan.grid);
    const QRgb gateA = pelix::ascanview::ascan_colors::kGateA;
    int rowsWithGateA = 0;
    for (int r = 0; r < scan.grid.height(); ++r)
        rowsWithGateA +=
            (picture.pixel(pelix::tool::kCellsLeft + 3, pelix::tool::kCellsTop + r) & 0xffffff) == gateA;
    EXPECT_GE(rowsWithGateA, 1); // gate A's start and end, each a thin line
    EXPECT_LE(rowsWithGateA, 4);
}

} // namespace
