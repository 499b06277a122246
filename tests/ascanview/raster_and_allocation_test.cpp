// The picture made from the operation list, and a redraw that allocates
// nothing once the first one has sized its buffers.
#include "ascan_fixture.h"

#include "ascanview/render/surface_rasterizer.h"

#include <atomic>
#include <cstdlib>
#include <new>

using namespace pelix::ascanview;

namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocations{0};
} // namespace

namespace {
void* countedAllocation(std::size_t size) noexcept {
    if (countingAllocations.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* countedAllocationOrThrow(std::size_t size) {
    if (void* p = countedAllocation(size)) return p;
    throw std::bad_alloc();
}
} // namespace

// Every unaligned form goes through malloc and free, so that they pair up.
void* operator new(std::size_t size) {
    return countedAllocationOrThrow(size);
}
void* operator new[](std::size_t size) {
    return countedAllocationOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {

QImage rasterize(const DrawingSurface& surface, QSize size, qreal dpr) {
    SurfaceRasterizer rasterizer;
    return rasterizer.rasterize(surface, size, dpr).copy();
}

DrawingSurface surfaceWithAHorizontalLine() {
    DrawingSurface surface;
    surface.setScale(1500, 1500); // 100 x 100 pixels
    surface.clear();
    surface.segment(150, 750, 1350, 750, rgb(255, 0, 0));
    return surface;
}

int redRowsAt(const QImage& image, int x) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == qRgb(255, 0, 0)) ++rows;
    return rows;
}

TEST(Rasterizer, LinesAreOneLogicalPixelWideAtEveryScale) {
    const DrawingSurface surface = surfaceWithAHorizontalLine();
    const QImage normal = rasterize(surface, QSize(100, 100), 1.0);
    EXPECT_EQ(normal.size(), QSize(100, 100));
    EXPECT_EQ(redRowsAt(normal, 50), 1);
    EXPECT_EQ(normal.pixel(50, 50), qRgb(255, 0, 0));
    EXPECT_EQ(normal.pixel(9, 50), qRgb(255, 255, 255)) << "ends where the segment ends";
    EXPECT_EQ(normal.pixel(10, 50), qRgb(255, 0, 0));
    EXPECT_EQ(normal.pixel(90, 50), qRgb(255, 0, 0)) << "end point included";

    const QImage doubled = rasterize(surface, QSize(100, 100), 2.0);
    EXPECT_EQ(doubled.size(), QSize(200, 200));
    EXPECT_DOUBLE_EQ(doubled.devicePixelRatio(), 2.0);
    EXPECT_EQ(redRowsAt(doubled, 100), 2);
    EXPECT_EQ(doubled.pixel(100, 100), qRgb(255, 0, 0));
    EXPECT_EQ(doubled.pixel(100, 101), qRgb(255, 0, 0));
}

TEST(Rasterizer, BoxesIncludeBothCornersAndFarCoordinatesAreClipped) {
    DrawingSurface surface;
    surface.setScale(1500, 1500);
    surface.clear();
    surface.box(0, 1500, 150, 750, rgb(0, 0, 0));
    surface.segment(-1e12, 300, 1e12, 300, rgb(0, 0, 255));
    surface.segment(750, -1e300, 750, 1e300, rgb(0, 255, 0));
    const QImage image = rasterize(surface, QSize(100, 100), 1.0);
    EXPECT_EQ(image.pixel(0, 99), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(10, 50), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(11, 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 20), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(99, 20), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(50, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(50, 99), qRgb(0, 255, 0));
}

// The image lives from one redraw to the next: a clear must cover every pixel
// of every row the last picture painted.
TEST(Rasterizer, AClearCoversThePreviousPictureEverywhere) {
    for (const QSize size : {QSize(1, 1), QSize(7, 5), QSize(33, 3), QSize(3, 40)}) {
        for (const qreal ratio : {1.0, 1.5}) {
            SurfaceRasterizer rasterizer;
            DrawingSurface painted;
            painted.setScale(size.width() * 15.0, size.height() * 15.0);
            painted.clear();
            painted.box(0, 0, size.width() * 15.0, size.height() * 15.0, rgb(0, 0, 0));
            rasterizer.rasterize(painted, size, ratio);
            DrawingSurface cleared;
            cleared.setScale(size.width() * 15.0, size.height() * 15.0);
            cleared.clear();
            const QImage& image = rasterizer.rasterize(cleared, size, ratio);
            int dark = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != qRgb(255, 255, 255)) ++dark;
            EXPECT_EQ(dark, 0) << size.width() << "x" << size.height() << " at " << ratio;
        }
    }
}

TEST(Rasterizer, ALineAtTheRightEdgeFallsJustOutsideThePicture) {
    DrawingSurface surface;
    surface.setScale(1500, 1500);
    surface.clear();
    surface.segment(1500, 0, 1500, 1500, rgb(0, 0, 0));
    surface.segment(0, 0, 0, 1500, rgb(0, 0, 255));
    const QImage image = rasterize(surface, QSize(100, 100), 1.0);
    EXPECT_EQ(image.pixel(99, 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 50), qRgb(0, 0, 255));
}

// Strokes of one colour that meet in one pixel column are painted together; what lies
// between them in drawing order must still come out on top or underneath as drawn.
TEST(Rasterizer, StrokesInOnePixelColumnKeepTheirDrawingOrder) {
    DrawingSurface surface;
    surface.setScale(1500, 1500); // 15 units a pixel
    surface.clear();
    const Rgb red = rgb(255, 0, 0), blue = rgb(0, 0, 255), green = rgb(0, 255, 0);
    // Column 10: red rows 10..12, blue row 11 over it, red rows 12..14 over that.
    surface.segment(150, 150, 151, 180, red);
    surface.segment(152, 165, 153, 165, blue);
    surface.segment(154, 180, 155, 210, red);
    // Column 20: two red strokes with a gap between them, then one that touches the first.
    surface.segment(300, 150, 301, 165, red); // rows 10..11
    surface.segment(302, 210, 303, 225, red); // rows 14..15
    surface.segment(304, 180, 305, 180, red); // row 12
    // Column 30: a red run held back, then a box and a text drawn over part of it.
    surface.segment(450, 150, 451, 300, red);
    surface.box(450, 225, 450, 225, green);
    const QImage image = rasterize(surface, QSize(100, 100), 1.0);

    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 11), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(10, 12), qRgb(255, 0, 0)) << "painted again after the blue stroke";
    EXPECT_EQ(image.pixel(10, 14), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 15), qRgb(255, 255, 255));

    EXPECT_EQ(image.pixel(20, 11), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(20, 12), qRgb(255, 0, 0)) << "touches the run above";
    EXPECT_EQ(image.pixel(20, 13), qRgb(255, 255, 255)) << "the gap stays empty";
    EXPECT_EQ(image.pixel(20, 14), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(20, 15), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(20, 16), qRgb(255, 255, 255));

    EXPECT_EQ(image.pixel(30, 14), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(30, 15), qRgb(0, 255, 0)) << "the box comes after the run";
    EXPECT_EQ(image.pixel(30, 16), qRgb(255, 0, 0));

    // At 200 % the pen is two pixels wide and the runs two pixels taller.
    const QImage doubled = rasterize(surface, QSize(100, 100), 2.0);
    EXPECT_EQ(doubled.pixel(21, 22), qRgb(0, 0, 255));
    EXPECT_EQ(doubled.pixel(21, 24), qRgb(255, 0, 0));
    EXPECT_EQ(doubled.pixel(40, 25), qRgb(255, 0, 0));
    EXPECT_EQ(doubled.pixel(40, 26), qRgb(255, 255, 255));
}

QList<qint16> busyFrame() {
    QList<qint16> samples(3201, 0);
    for (int i = 0; i < 3201; ++i)
        samples[i] = static_cast<qint16>((i * 37) % 101);
    return samples;
}

class RedrawAllocationTest : public AscanControlTest {
  protected:
    long allocationsOfThreeRedraws() {
        redraw();
        allocations = 0;
        countingAllocations = true;
        for (int i = 0; i < 3; ++i)
            ctl.UpdateAscanGraph();
        countingAllocations = false;
        return allocations.load();
    }
};

TEST_F(RedrawAllocationTest, RfFrameWithEnvelopeAndEverythingOn) {
    set("iAscanRectMode", OroAscanCtl::RF);
    setSamples(busyFrame(), 1600);
    set("Envelope", 1);
    set("iGridType", OroAscanCtl::EDGE_AND_TICS);
    set("ShowGateA", true);
    set("ShowGateB", true);
    set("fGateBWidth", 30.0);
    set("BEA", 1);
    set("DrawCaratOne", true);
    set("fCaretOne", 20.0);
    set("msAscanStartLabel", "0.00");
    set("TrigColorLeg", 1);
    set("PrbAngle", 450);
    set("TrigThk", 10000.0);
    set("ttVelocity", 32300.0);
    set("DisplayRange", 100.0);
    EXPECT_EQ(allocationsOfThreeRedraws(), 0);
}

TEST_F(RedrawAllocationTest, RectifiedBars) {
    setSamples(busyFrame(), 800);
    set("iAscanDrawMode", OroAscanCtl::SOLID);
    EXPECT_EQ(allocationsOfThreeRedraws(), 0);
}

} // namespace
