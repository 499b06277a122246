// `pelix bscan -o` draws through the window's own B-scan drawing: every cell
// of the picture it writes is the map's colour of the value `pelix bscan
// --json` gives that cell (the background for a column without cells), for
// both scales, and a gate line reads on every colour of the map.
#include "ascanview/render/ascan_colors.h"
#include "core/bscan/bscan_grid.h"
#include "core/bscan/cell_colours.h"
#include "core/recording/record_layout.h"
#include "player/bscan/bscan_painter.h"
#include "player/tool_test_support.h"
#include "support/recording_files.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fstream>
#include <limits>

namespace pelix::player {
namespace {

using namespace pelix::recording;

struct PictureCase {
    const char* name;
    int32_t rectification;
    int32_t width, height;
    bool cutShort; // the file ends inside the last frame
};

class BscanPictureCliTest : public ToolTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(BscanPictureCliTest, EveryCellIsTheColourOfItsJsonValue) {
    const PictureCase k = GetParam();
    synth::SynthOptions options;
    options.frames = 37;
    options.rectification = k.rectification;
    std::string bytes = testing::synthesize(options);
    // Both gates off, so that no gate line crosses a cell.
    for (int32_t f = 0; f < options.frames; ++f) {
        const std::size_t at = 1024 + static_cast<std::size_t>(f) * kFrameRecordBytes;
        testing::putLittleEndian(bytes, at + fh::GateAOn.offset, 0);
        testing::putLittleEndian(bytes, at + fh::GateBOn.offset, 0);
    }
    if (k.cutShort) bytes.resize(bytes.size() - 100);
    const std::string recording = dir.file("R.BIN");
    std::ofstream(recording, std::ios::binary) << bytes;
    const QStringList size{"--width", QString::number(k.width), "--height", QString::number(k.height)};
    const int expectedStatus = k.cutShort ? 4 : 0;

    QByteArray json;
    ASSERT_EQ(run(QStringList{"bscan", QString::fromStdString(recording), "--json"} + size, nullptr, &json),
              expectedStatus);
    ASSERT_EQ(run(QStringList{"bscan", QString::fromStdString(recording), "-o", path("b.png")} + size),
              expectedStatus);
    const QJsonArray rows = QJsonDocument::fromJson(json).object().value("Cells").toArray();
    ASSERT_EQ(rows.size(), k.height);
    QImage picture(path("b.png"));
    ASSERT_FALSE(picture.isNull());
    const int full = k.rectification == 0 ? 50 : 100;
    int withCells = 0;
    for (int r = 0; r < k.height; ++r) {
        const QJsonArray row = rows.at(r).toArray();
        ASSERT_EQ(row.size(), k.width);
        for (int c = 0; c < k.width; ++c) {
            const QRgb pixel =
                picture.pixel(bscan::kPictureCellsLeft + c, bscan::kPictureCellsTop + r) & 0xffffff;
            const QJsonValue cell = row.at(c);
            const QRgb expected = cell.isNull() ? 0xe0e0e0U : bscan::cellColour(cell.toInt() / double(full));
            withCells += cell.isNull() ? 0 : 1;
            ASSERT_EQ(pixel, expected) << "row " << r << ", column " << c;
        }
    }
    EXPECT_GT(withCells, 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, BscanPictureCliTest,
                         ::testing::Values(PictureCase{"FullWave", 3, 100, 120, false},
                                           PictureCase{"RfFewerFramesThanColumns", 0, 80, 64, false},
                                           PictureCase{"NegativeCutShort", 1, 37, 800, true}),
                         [](const ::testing::TestParamInfo<PictureCase>& info) {
                             return std::string(info.param.name);
                         });

// Gate B's dark blue on the map's dark violet, and gate A's light green on its
// yellow: each line keeps a halo that contrasts with it, so it reads on both.
TEST(BscanPictureGates, EachGateLineHasAHaloThatContrastsWithIt) {
    auto grid = std::make_shared<bscan::BscanGrid>(4, 100, 1, 4, bscan::CellScale::Rectified);
    std::array<uint8_t, bscan::kDisplayedSamples> silence{}, full{};
    full.fill(255);
    grid->setColumn(0, silence.data());
    grid->setColumn(1, silence.data());
    grid->setColumn(2, full.data());
    grid->setColumn(3, full.data());
    bscan::SampleAxis axis;
    axis.displayStart = 0.0;
    axis.displaySpan = 100.0;
    std::vector<bscan::GateEdges> gates(4);
    for (auto& g : gates) {
        g.aStart = 20.0F;
        g.aEnd = 40.0F;
        g.bStart = 60.0F;
        g.bEnd = 80.0F;
    }
    const QImage image = bscan::bscanImage(bscan::makeBscanPicture(grid, gates, axis, 50, 4));
    const auto at = [&](int c, int r) {
        return image.pixel(bscan::kPictureCellsLeft + c, bscan::kPictureCellsTop + r) & 0xffffff;
    };
    const QRgb gateA = ascanview::ascan_colors::kGateA, gateB = ascanview::ascan_colors::kGateB;
    for (const int column : {0, 3}) { // on the darkest and on the lightest colour of the map
        for (const int row : {20, 40}) {
            EXPECT_EQ(at(column, row), gateA) << column << "," << row;
            EXPECT_EQ(at(column, row - 1), 0x000000U) << column << "," << row;
            EXPECT_EQ(at(column, row + 1), 0x000000U) << column << "," << row;
        }
        for (const int row : {60, 80}) {
            EXPECT_EQ(at(column, row), gateB) << column << "," << row;
            EXPECT_EQ(at(column, row - 1), 0xffffffU) << column << "," << row;
            EXPECT_EQ(at(column, row + 1), 0xffffffU) << column << "," << row;
        }
        // Two rows away the cells are untouched.
        EXPECT_EQ(at(column, 50), bscan::cellColour(column == 0 ? 0.0 : 1.0));
    }
}

// A hostile header can put a gate anywhere: an edge outside the display window
// is not drawn, nor its halo along the top or bottom row.
TEST(BscanPictureGates, EdgesOutsideTheWindowLeaveTheCellsAlone) {
    auto grid = std::make_shared<bscan::BscanGrid>(3, 50, 1, 3, bscan::CellScale::Rectified);
    std::array<uint8_t, bscan::kDisplayedSamples> silence{};
    for (int32_t c = 0; c < 3; ++c)
        grid->setColumn(c, silence.data());
    bscan::SampleAxis axis;
    axis.displaySpan = 100.0;
    std::vector<bscan::GateEdges> gates(3);
    gates[0] = {-0.5F, 1e30F, 100.5F, -1e30F};
    gates[1] = {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), -3e9F, 3e9F};
    const QImage image = bscan::bscanImage(bscan::makeBscanPicture(grid, gates, axis, 50, 3));
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 50; ++r)
            ASSERT_EQ(image.pixel(bscan::kPictureCellsLeft + c, bscan::kPictureCellsTop + r) & 0xffffff,
                      bscan::cellColour(0.0))
                << c << "," << r;
}

} // namespace
} // namespace pelix::player
