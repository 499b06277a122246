// The texts of the picture at any device pixel ratio: each covers, at ratio r,
// the device pixels it covers at 100 % scaled by r, whatever else the picture
// holds. Pictures are compared by where their text pixels are.
#include "ascanview/render/control_layout.h"
#include "ascanview/render/surface_rasterizer.h"

#include "support/temp_folder.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace pelix::ascanview;

namespace {

constexpr Rgb kRed = rgb(255, 0, 0);

// The picture of the curve samples in the player's window at its starting size.
constexpr double kSurfaceWidth = 6984;
constexpr double kSurfaceHeight = 5724;
const QSize kLogicalSize(466, 382);

struct PlacedLabel {
    const char* text;
    double x; // twips, top-left corner
    double y;
};

// Where the curve samples put their labels: JIS "L", "M", "H" down the left
// edge, the custom JIS offsets and CN "EL" on the top edge, a DGS reflector
// size at the far right, DAC offsets inside the picture.
const PlacedLabel kLabels[] = {
    {"L", 10, 4583.756965},        {"M", 10, 3438.96342},          {"H", 10, 1154.8},
    {"+6.0dB", 2184.622048, 10},   {"-10.0dB", 10, 4285.929814},   {"EL", 1878.239047, 10},
    {"2.00mm", 6474, 4791.271541}, {"0.338us", 6474, 4300.502697}, {"+6.0dB", 2613.947893, 814.1675624},
    {"-12.0dB", 10, 4583.756965},
};

const double kRatios[] = {1.25, 1.5, 2.0, 3.0};

// The box of every pixel that is not the background (empty when none is).
QRect inkBox(const QImage& image) {
    const QRgb background = qRgb(255, 255, 255);
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

QImage rasterizeOne(const PlacedLabel& label, qreal ratio) {
    DrawingSurface surface;
    surface.setScale(kSurfaceWidth, kSurfaceHeight);
    surface.clear();
    surface.setForeground(kRed);
    surface.text(label.x, label.y, label.text, 7);
    SurfaceRasterizer rasterizer;
    return rasterizer.rasterize(surface, kLogicalSize, ratio).copy();
}

// Glyph edges may land a hinting step apart: one logical pixel, and one more
// device pixel for the rounding of the scaled box.
int tolerance(double ratio) {
    return static_cast<int>(std::ceil(ratio)) + 1;
}

void expectScaledBox(const QRect& normal, const QRect& scaled, double ratio, const std::string& what) {
    ASSERT_FALSE(scaled.isEmpty()) << what << ": no text at ratio " << ratio;
    const int t = tolerance(ratio);
    EXPECT_NEAR(scaled.left(), normal.left() * ratio, t) << what << " at ratio " << ratio;
    EXPECT_NEAR(scaled.top(), normal.top() * ratio, t) << what << " at ratio " << ratio;
    EXPECT_NEAR(scaled.right() + 1, (normal.right() + 1) * ratio, t) << what << " at ratio " << ratio;
    EXPECT_NEAR(scaled.bottom() + 1, (normal.bottom() + 1) * ratio, t) << what << " at ratio " << ratio;
}

TEST(TextAtAnyRatio, EachLabelCoversItsHundredPercentBoxScaled) {
    for (const PlacedLabel& label : kLabels) {
        const QRect normal = inkBox(rasterizeOne(label, 1.0));
        const std::string what =
            std::string(label.text) + " at " + std::to_string(label.x) + "," + std::to_string(label.y);
        ASSERT_FALSE(normal.isEmpty()) << what;
        // A 7-point label is about 9 pixels tall at 100 %.
        EXPECT_GE(normal.height(), 5) << what;
        EXPECT_LE(normal.height(), 13) << what;
        for (const double ratio : kRatios)
            expectScaledBox(normal, inkBox(rasterizeOne(label, ratio)), ratio, what);
    }
}

// A host scale other than twips: the text still sits at the same fraction of
// the picture and keeps its point size.
TEST(TextAtAnyRatio, HostScaleMovesTheTextButKeepsItsSize) {
    auto render = [](qreal ratio) {
        DrawingSurface surface;
        surface.setScale(1000, 400);
        surface.clear();
        surface.setForeground(kRed);
        surface.text(500, 200, "+12.0dB", 7);
        SurfaceRasterizer rasterizer;
        return inkBox(rasterizer.rasterize(surface, QSize(300, 200), ratio).copy());
    };
    const QRect normal = render(1.0);
    EXPECT_NEAR(normal.left(), 150, 2);
    EXPECT_NEAR(normal.top(), 100, 3);
    EXPECT_LE(normal.height(), 13);
    expectScaledBox(normal, render(2.0), 2.0, "+12.0dB on a host scale");
}

// --- The player's picture through the command-line tool, under the scale
// factor a HiDPI desktop sets. Text is drawn with anti-aliasing, so its edges
// are colours each found on few pixels; the backgrounds, the grid, the trace,
// the gates and the curves are drawn without blending, in colours that cover
// many pixels at 100 % and are the same colours at any ratio.

std::set<QRgb> solidColours(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    std::set<QRgb> solid{qRgb(255, 0, 0)};
    for (const auto& [colour, count] : counts)
        if (count >= image.width() * image.height() / 2000) solid.insert(colour);
    return solid;
}

// The blended pixels left of `right` (in 100 % pixels), on the 100 % grid of
// `size`: the A-scan picture with its title and scale labels. The panel on the
// right is the toolkit's own labels.
std::vector<bool> textMask(const QImage& image, const std::set<QRgb>& solid, double ratio, QSize size,
                           int right) {
    std::vector<bool> mask(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int u = static_cast<int>(x / ratio);
            const int v = static_cast<int>(y / ratio);
            if (u >= right || v >= size.height() || solid.count(image.pixel(x, y)) != 0) continue;
            mask[static_cast<std::size_t>(v * size.width() + u)] = true;
        }
    return mask;
}

// How many marked cells of `from` have no marked cell of `to` within `reach`.
int unmatched(const std::vector<bool>& from, const std::vector<bool>& to, QSize size, int reach) {
    const int width = size.width();
    const int height = size.height();
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (!from[static_cast<std::size_t>(y * width + x)]) continue;
            bool found = false;
            for (int v = std::max(0, y - reach); v <= std::min(height - 1, y + reach) && !found; ++v)
                for (int u = std::max(0, x - reach); u <= std::min(width - 1, x + reach) && !found; ++u)
                    found = to[static_cast<std::size_t>(v * width + u)];
            if (!found) ++count;
        }
    return count;
}

class PlayerPictureAtAnyRatio : public ::testing::TestWithParam<const char*> {
  protected:
    static QString tool() { return QStringLiteral(PELIX_BIN_DIR "/pelix"); }

    QImage render(const char* sample, const char* scaleFactor) {
        const QString out = QString::fromStdString(dir.file(std::string("picture-") + scaleFactor + ".png"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_SCALE_FACTOR", scaleFactor);
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        p.setProcessEnvironment(env);
        p.start(tool(), {"render", QStringLiteral(PELIX_SAMPLES_DIR "/") + sample, "5", "-o", out});
        EXPECT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QImage(out);
    }

    pelix::testing::TempFolder dir;
};

TEST_P(PlayerPictureAtAnyRatio, TextPixelsLieWhereTheyLieAtHundredPercentScaled) {
    ASSERT_TRUE(QFile::exists(tool())) << "build the pelix target first";
    const QImage normal = render(GetParam(), "1");
    ASSERT_FALSE(normal.isNull());
    const QSize size = normal.size();
    const ControlLayout layout = computeControlLayout(size.width() * DrawingSurface::kTwipsPerPixel,
                                                      size.height() * DrawingSurface::kTwipsPerPixel);
    const int right = static_cast<int>(std::lround((layout.picAscan.left + layout.picAscan.width) /
                                                   DrawingSurface::kTwipsPerPixel)) +
                      2;
    const std::set<QRgb> solid = solidColours(normal);
    const std::vector<bool> normalText = textMask(normal, solid, 1.0, size, right);
    ASSERT_GT(std::count(normalText.begin(), normalText.end(), true), 100)
        << "the sample shows texts at 100 %";

    for (const auto& [factor, ratio] : {std::pair{"1.5", 1.5}, std::pair{"2", 2.0}}) {
        const QImage scaled = render(GetParam(), factor);
        ASSERT_NEAR(scaled.width(), size.width() * ratio, 1) << factor;
        ASSERT_NEAR(scaled.height(), size.height() * ratio, 1) << factor;
        const std::vector<bool> scaledText = textMask(scaled, solid, ratio, size, right);
        // Nothing lost (a missing label), nothing added (a text too large or elsewhere).
        EXPECT_EQ(unmatched(normalText, scaledText, size, 2), 0) << GetParam() << " at " << factor;
        EXPECT_EQ(unmatched(scaledText, normalText, size, 2), 0) << GetParam() << " at " << factor;
    }
}

INSTANTIATE_TEST_SUITE_P(CurveSamples, PlayerPictureAtAnyRatio,
                         ::testing::Values("JIS_DAC.BIN", "JIS_CUSTOM.BIN", "DGS_BACKWALL.BIN",
                                           "DAC_STRAIGHT_BEA.BIN"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
