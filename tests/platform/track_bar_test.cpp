#include "platform/track_bar.h"
#include "platform/up_down.h"

#include <QToolButton>

#include <gtest/gtest.h>

namespace pelix::platform {
namespace {

TEST(TrackBar, ChangeOnEveryNewPositionScrollOnlyForTheUsersMoves) {
    TrackBar bar;
    bar.setRange(1, 100);
    int changes = 0;
    int scrolls = 0;
    QObject::connect(&bar, &TrackBar::Change, [&] { ++changes; });
    QObject::connect(&bar, &TrackBar::Scroll, [&] { ++scrolls; });

    bar.setValue(10); // the program's own moves raise Change too
    bar.setValue(10); // the same position is no change
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(scrolls, 0);

    bar.setSliderDown(true);
    bar.setSliderPosition(20);
    bar.setSliderPosition(30);
    bar.setSliderDown(false);
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(bar.value(), 30);

    bar.triggerAction(QAbstractSlider::SliderPageStepAdd); // a click in the channel, Page Down
    EXPECT_EQ(scrolls, 3);
    EXPECT_EQ(changes, 4);
}

TEST(TrackBar, TicksPagesAndSelection) {
    TrackBar bar;
    bar.setRange(1, 1234);
    bar.setTickFrequency(123);
    bar.setLargeChange(123);
    EXPECT_EQ(bar.tickFrequency(), 123);
    EXPECT_EQ(bar.pageStep(), 123);
    bar.setTickFrequency(0); // a zero spacing would draw nothing useful
    EXPECT_EQ(bar.tickFrequency(), 1);

    EXPECT_FALSE(bar.selectRange());
    bar.setSelStart(10);
    bar.setSelLength(40);
    bar.setSelectRange(true);
    EXPECT_EQ(bar.selStart(), 10);
    EXPECT_EQ(bar.selLength(), 40);
    bar.resize(300, 40);
    EXPECT_FALSE(bar.grab().isNull()); // paints the band without complaint
}

TEST(UpDown, ArrowsNotify) {
    UpDown arrows;
    arrows.resize(20, 24);
    int up = 0;
    int down = 0;
    QObject::connect(&arrows, &UpDown::UpClick, [&] { ++up; });
    QObject::connect(&arrows, &UpDown::DownClick, [&] { ++down; });
    arrows.upButton()->click();
    arrows.downButton()->click();
    arrows.downButton()->click();
    EXPECT_EQ(up, 1);
    EXPECT_EQ(down, 2);
}

} // namespace
} // namespace pelix::platform
