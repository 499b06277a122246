#include "player/window_test_support.h"
#include "support/case_names.h"

#include "core/playback/navigation.h"
#include "platform/track_bar.h"
#include "platform/up_down.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pelix::player::test {
namespace {

// A recording, the jump typed into the quick-move group, and where it lands.
struct JumpCase {
    const char* label;
    int32_t frames;
    int32_t framesPerSecond;
    int32_t flagged;
    int32_t flagCount; // -1: as flagged
    const char* option;
    const char* box;
    const char* entry;
    int32_t frame;       // expected frame, 0 when refused
    const char* message; // expected refusal
};

class Jump : public WindowTest, public ::testing::WithParamInterface<JumpCase> {};

TEST_P(Jump, LandsOrIsRefused) {
    const JumpCase& c = GetParam();
    auto options = recordingOptions(c.frames, c.framesPerSecond, c.flagged);
    options.flagCount = c.flagCount;
    open(files.write(QStringLiteral("JUMP.BIN"), options));
    ASSERT_TRUE(waitForFlags());
    control<platform::TrackBar>("Slider")->setValue(2);

    control<QRadioButton>(c.option)->setChecked(true);
    control<QLineEdit>(c.box)->setText(QString::fromLatin1(c.entry));
    control<QPushButton>("cmdGo")->click();

    if (c.frame == 0) {
        EXPECT_EQ(messages.texts(), QStringList{c.message});
        EXPECT_EQ(session().CurrentFrame, 2);
        return;
    }
    EXPECT_TRUE(messages.messages().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(session().CurrentFrame, c.frame);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->value(), c.frame);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), QString::number(c.frame));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Jump,
    ::testing::Values(
        JumpCase{"frame", 100, 50, 0, -1, "OptFrame", "txtFrameIdx", "17", 17, ""},
        JumpCase{"frameZero", 100, 50, 0, -1, "OptFrame", "txtFrameIdx", "0", 0, "Not valid frame"},
        JumpCase{"framePastEnd", 100, 50, 0, -1, "OptFrame", "txtFrameIdx", "101", 0, "Not valid frame"},
        JumpCase{"time50", 1234, 50, 0, -1, "OptTime", "txtTimeIdx", "12", 601, ""},
        JumpCase{"time10", 1234, 10, 0, -1, "OptTime", "txtTimeIdx", "12", 121, ""},
        JumpCase{"timeZero", 1234, 10, 0, -1, "OptTime", "txtTimeIdx", "0", 1, ""},
        JumpCase{"timeNegative", 1234, 10, 0, -1, "OptTime", "txtTimeIdx", "-1", 0, "Not valid time"},
        JumpCase{"timePastEnd", 1234, 50, 0, -1, "OptTime", "txtTimeIdx", "25", 0, "Not valid time"},
        // 500 frames at 50/s: second 10 would start at frame 501.
        JumpCase{"timeLastSecond", 500, 50, 0, -1, "OptTime", "txtTimeIdx", "10", 500, ""},
        JumpCase{"flagNone", 100, 50, 0, -1, "OptFlag", "txtFlagIdx", "1", 0, "Not valid flag"},
        JumpCase{"flagPastCount", 100, 50, 2, -1, "OptFlag", "txtFlagIdx", "3", 0, "Not valid flag"},
        // The header counts five flags; the scan found two.
        JumpCase{"flagNotFound", 100, 50, 2, 5, "OptFlag", "txtFlagIdx", "3", 0, "Not valid flag"}),
    [](const ::testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.label); });

TEST_F(WindowTest, FlagJumpGoesToTheFlaggedFrame) {
    open(files.write(QStringLiteral("FLAGS.BIN"), recordingOptions(300, 50, 3)));
    ASSERT_TRUE(waitForFlags());
    const int32_t second = session().recording->flags().at(2);
    ASSERT_GT(second, 0);
    control<QRadioButton>("OptFlag")->setChecked(true);
    control<QLineEdit>("txtFlagIdx")->setText("2");
    control<QPushButton>("cmdGo")->click();
    EXPECT_EQ(session().CurrentFrame, second);
}

// An arrow, the number in its box before, and the number after (same: at the limit).
struct ArrowCase {
    const char* arrow;
    const char* option;
    const char* box;
    bool up;
    const char* before;
    const char* after;
    int32_t frame; // frame shown afterwards
};

class Arrow : public WindowTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(Arrow, StepsWithinItsLimits) {
    const ArrowCase& c = GetParam();
    // 120 frames at 10/s: 12 s long; two flags.
    open(files.write(QStringLiteral("ARROW.BIN"), recordingOptions(120, 10, 2)));
    ASSERT_TRUE(waitForFlags());
    control<QRadioButton>("OptFrame")->setChecked(c.option != std::string("OptFrame"));
    control<QLineEdit>(c.box)->setText(c.before);
    const int32_t frameBefore = session().CurrentFrame;

    auto* arrow = control<platform::UpDown>(c.arrow);
    if (c.up)
        emit arrow->UpClick();
    else
        emit arrow->DownClick();

    EXPECT_TRUE(control<QRadioButton>(c.option)->isChecked());
    EXPECT_EQ(control<QLineEdit>(c.box)->text(), c.after);
    EXPECT_EQ(session().CurrentFrame, c.frame ? c.frame : frameBefore);
    EXPECT_TRUE(messages.messages().empty()) << messages.texts().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arrows, Arrow,
    ::testing::Values(ArrowCase{"FrameUpDown", "OptFrame", "txtFrameIdx", false, "1", "1", 0},
                      ArrowCase{"FrameUpDown", "OptFrame", "txtFrameIdx", true, "1", "2", 2},
                      ArrowCase{"FrameUpDown", "OptFrame", "txtFrameIdx", true, "120", "120", 0},
                      ArrowCase{"FrameUpDown", "OptFrame", "txtFrameIdx", false, "50", "49", 49},
                      ArrowCase{"TimeUpDown", "OptTime", "txtTimeIdx", false, "0", "0", 0},
                      ArrowCase{"TimeUpDown", "OptTime", "txtTimeIdx", true, "0", "1", 11},
                      ArrowCase{"TimeUpDown", "OptTime", "txtTimeIdx", true, "12", "12", 0},
                      ArrowCase{"FlagUpDown", "OptFlag", "txtFlagIdx", false, "1", "1", 0},
                      ArrowCase{"FlagUpDown", "OptFlag", "txtFlagIdx", true, "2", "2", 0}),
    [](const auto& info) {
        return std::string(info.param.arrow) + (info.param.up ? "Up" : "Down") + "From" + info.param.before;
    });

struct EntryCase {
    const char* box;
    const char* typed;
    const char* reset;
};

class EntryCheck : public WindowTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryCheck, NonNumberIsRefusedAndReset) {
    open(files.write(QStringLiteral("ENTRY.BIN"), recordingOptions(1234, 50, 2)));
    control<platform::TrackBar>("Slider")->setValue(777);
    control<QLineEdit>(GetParam().box)->setText(GetParam().typed);
    EXPECT_EQ(messages.texts(), QStringList{"Please input a number"});
    EXPECT_EQ(messages.messages().front().icon, platform::MessageIcon::Exclamation);
    // The time box goes back to the current frame's time index.
    const QString reset =
        GetParam().reset ? QString::fromLatin1(GetParam().reset) : QString::number(session().timeIndex(777));
    EXPECT_EQ(control<QLineEdit>(GetParam().box)->text(), reset);
}

INSTANTIATE_TEST_SUITE_P(Boxes, EntryCheck,
                         ::testing::Values(EntryCase{"txtFrameIdx", "x", "777"},
                                           EntryCase{"txtTimeIdx", "a", nullptr},
                                           EntryCase{"txtFlagIdx", "", "1"},
                                           EntryCase{"txtFrameIdx", "", "777"}),
                         [](const auto& info) {
                             return pelix::testing::caseName(
                                 info.param.box, "Typed", *info.param.typed ? info.param.typed : "Nothing");
                         });

TEST_F(WindowTest, NumberOutOfRangeIsLeftForTheJump) {
    open(files.write(QStringLiteral("ENTRY.BIN"), recordingOptions(50)));
    control<QLineEdit>("txtFrameIdx")->setText("5000");
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "5000");
}

} // namespace
} // namespace pelix::player::test
