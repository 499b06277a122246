#include "player/display/frame_display.h"

#include "core/recording/open_recording.h"
#include "platform/control_binding.h"
#include "player/display_test_support.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

namespace pelix::player {
namespace {

using namespace pelix::recording;
using test::FakeAscanPort;
using test::RecordingBuilder;

// A recording open on a fake control; the port stays reachable for assertions.
struct Shown {
    std::unique_ptr<OpenRecording> recording;
    FakeAscanPort* port = nullptr;
    std::unique_ptr<FrameDisplay> display;

    Shown(const RecordingBuilder& builder, const std::string& name, std::size_t cut = 0,
          const FrameDisplayTargets& targets = {}) {
        OpenOutcome outcome = OpenRecording::open(builder.write(name, cut));
        EXPECT_TRUE(outcome.recording) << outcome.message;
        recording = std::move(outcome.recording);
        auto fake = std::make_unique<FakeAscanPort>();
        port = fake.get();
        display = std::make_unique<FrameDisplay>(targets, std::move(fake));
        display->setRecording(recording.get());
    }
};

// 2001 m/s and 10000 ns of display delay put the screen start at 10.005 mm,
// moved half a display step to 10.00 mm; the range is 50 mm.
RecordingBuilder tenToSixtyFive(int32_t units) {
    RecordingBuilder b;
    b.setup(rh::Units, units);
    b.setup(rh::Velocity, 20010);
    b.setup(rh::DisplayDelay_ns, 10000);
    b.setup(rh::DisplayRange_um, 50000);
    auto& r = b.addRecord();
    RecordingBuilder::frame(r, fh::Gain_01dB, 405);
    RecordingBuilder::frame(r, fh::GateAOn, 1);
    RecordingBuilder::frame(r, fh::GateAStart_um, 20000);
    RecordingBuilder::frame(r, fh::GateAWidth_um, 15000);
    RecordingBuilder::frame(r, fh::GateAThreshold, 40);
    RecordingBuilder::frame(r, fh::GateAAmplitude, 77);
    RecordingBuilder::frame(r, fh::GateBOn, 1);
    RecordingBuilder::frame(r, fh::GateBStart_um, 1005);
    RecordingBuilder::frame(r, fh::GateBWidth_um, 5000);
    RecordingBuilder::frame(r, fh::GateBThreshold, 30);
    RecordingBuilder::frame(r, fh::GateBAmplitude, 12);
    return b;
}

TEST(FrameDisplayTest, MillimetreUnitRowsScalesAndPanel) {
    Shown s(tenToSixtyFive(0), "mm.bin");
    ASSERT_TRUE(s.display->ShowFrame(1));
    const FakeAscanPort& p = *s.port;
    EXPECT_EQ(p.get("fAscanDelay").toFloat(), 10.0f);
    EXPECT_EQ(p.get("fAscanRange").toFloat(), 55.0f);
    EXPECT_EQ(p.get("msAscanStartLabel").toString(), "10.00"); // not through the separator conversion
    EXPECT_EQ(p.get("msAscanStartWidth").toString(), "65.00");
    const std::pair<const char*, const char*> rows[] = {
        {"Velocity(mm/s):", "2001"},
        {"Gain(dB):", "40.5"},
        {"Recification:", "FULLWAVE"},
        {"Units:", "MM"},
        {"Gate A Start:", "20,00"},
        {"Gate A Width:", "15,00"},
        {"Gate A Threshold(%):", "40"},
        {"SA:", "0.00"},
        {"Gate A Amplitude(%):", "77"},
        {"Gate B Start:", "1,01"},
        {"Gate B Width:", "5,00"},
        {"Gate B Threshold(%):", "30"},
        {"SB:", "0.00"},
        {"Gate B Amplitude(%):", "12"},
    };
    for (int row = 1; row <= 14; ++row) {
        EXPECT_EQ(p.title(row), rows[row - 1].first) << row;
        EXPECT_EQ(p.value(row), rows[row - 1].second) << row;
    }
    EXPECT_FALSE(p.hasValue(0));
    EXPECT_FALSE(p.hasValue(15));
    EXPECT_EQ(p.get("fGateBStart").toFloat(), 1.005f);
    EXPECT_FALSE(p.getBool("DrawCaratOne")); // no echo time: no caret
}

TEST(FrameDisplayTest, InchUnitRowsGoThroughTheSeparatorConversion) {
    Shown s(tenToSixtyFive(1), "inch.bin");
    ASSERT_TRUE(s.display->ShowFrame(1));
    const FakeAscanPort& p = *s.port;
    EXPECT_EQ(p.title(1), "Velocity(in/us):");
    EXPECT_EQ(p.value(1), "0.0788");
    EXPECT_EQ(p.value(4), "INCH");
    EXPECT_EQ(p.get("msAscanStartLabel").toString(), "0,393");
    EXPECT_EQ(p.get("msAscanStartWidth").toString(), "2,559");
    EXPECT_EQ(p.value(5), "0,787");
    EXPECT_EQ(p.value(6), "0,591");
    EXPECT_EQ(p.value(8), "0.000");
    EXPECT_FLOAT_EQ(p.get("fGateAStart").toFloat(), 20000.0f / 25400.0f);
}

RecordingBuilder caretRecording(int32_t rectification, int32_t aValid, int32_t threshold) {
    RecordingBuilder b;
    b.setup(rh::Rectification, rectification);
    b.setup(rh::Velocity, 59200);
    auto& r = b.addRecord();
    RecordingBuilder::frame(r, fh::GateAOn, 1);
    RecordingBuilder::frame(r, fh::GateAValid, aValid);
    RecordingBuilder::frame(r, fh::GateATOF_2_5ns, 4000);
    RecordingBuilder::frame(r, fh::GateAThreshold, threshold);
    RecordingBuilder::frame(r, fh::GateAStart_um, 25000);
    return b;
}

TEST(FrameDisplayTest, CaretOneAtTheGateAEcho) {
    Shown s(caretRecording(3, 1, 50), "caret.bin");
    s.display->ShowFrame(1);
    EXPECT_FLOAT_EQ(s.port->get("fCaretOne").toFloat(), 29.60148f);
    EXPECT_EQ(s.port->value(8), "29.60");
    EXPECT_TRUE(s.port->getBool("DrawCaratOne"));
    EXPECT_TRUE(s.port->getBool("ShowGateA"));
    EXPECT_FALSE(s.port->getBool("ShowGateB"));
    EXPECT_FALSE(s.port->hasValue(10)); // gate B off: its rows are never written
}

TEST(FrameDisplayTest, NoCaretWithoutAValidEcho) {
    Shown s(caretRecording(3, 0, 50), "nocaret.bin");
    s.display->ShowFrame(1);
    EXPECT_EQ(s.port->get("fCaretOne").toFloat(), 0.0f);
    EXPECT_EQ(s.port->value(8), "0.00");
    EXPECT_FALSE(s.port->getBool("DrawCaratOne"));
}

TEST(FrameDisplayTest, RfKeepsTheThresholdSign) {
    const struct {
        int32_t rectification;
        int expected;
    } cases[] = {{0, -20}, {2, 20}};
    for (const auto& c : cases) {
        Shown s(caretRecording(c.rectification, 1, -20),
                "threshold" + std::to_string(c.rectification) + ".bin");
        s.display->ShowFrame(1);
        EXPECT_EQ(s.port->get("iGateAThresh").value<qint16>(), c.expected);
        EXPECT_EQ(s.port->value(7), QString::number(c.expected));
    }
}

TEST(FrameDisplayTest, GateBRowsKeepTheirTextsWhileGateBIsOff) {
    RecordingBuilder b = tenToSixtyFive(0);
    auto& second = b.addRecord();
    RecordingBuilder::frame(second, fh::GateBOn, 0);
    RecordingBuilder::frame(second, fh::GateBStart_um, 7000);
    RecordingBuilder::frame(second, fh::GateBAmplitude, 99);
    RecordingBuilder::frame(second, fh::GateAOn, 1);
    RecordingBuilder::frame(second, fh::GateAAmplitude, 55);
    Shown s(b, "gateboff.bin");
    s.display->ShowFrame(1);
    s.display->ShowFrame(2);
    EXPECT_FALSE(s.port->getBool("ShowGateB"));
    EXPECT_EQ(s.port->value(10), "1,01");
    EXPECT_EQ(s.port->value(14), "12");
    EXPECT_EQ(s.port->value(9), "55");
    EXPECT_EQ(s.port->get("fGateBStart").toFloat(), 7.0f); // the gate itself follows the frame
}

TEST(FrameDisplayTest, TriggeredGateBWithoutGateAEchoStartsAfterGateAStart) {
    RecordingBuilder b = tenToSixtyFive(0);
    b.setup(rh::GateBTrigger, 1);
    auto& r = b.records[0];
    RecordingBuilder::frame(r, fh::GateBValid, 1);
    RecordingBuilder::frame(r, fh::GateBTOF_2_5ns, 3000);
    Shown s(b, "triggered.bin");
    s.display->ShowFrame(1);
    EXPECT_EQ(s.port->get("fGateBStart").toFloat(), 20.0f + 1.005f);
    EXPECT_EQ(s.port->get("fCaretTwo").toFloat(), 0.0f);
    EXPECT_FALSE(s.port->getBool("DrawCaratTwo"));
    EXPECT_EQ(s.port->value(10), "1,01"); // the panel shows the start relative to gate A
}

TEST(FrameDisplayTest, TheRedrawEndsTheFrameAndNoGateFlagIsWritten) {
    Shown s(caretRecording(3, 1, 50), "order.bin");
    s.display->ShowFrame(1);
    // The redraw ends the frame; whether a gate may be grabbed is the playback
    // controller's to say, never the display's.
    ASSERT_FALSE(s.port->journal.empty());
    EXPECT_EQ(s.port->journal.back().name, "UpdateAscanGraph");
    EXPECT_EQ(s.port->values.count("gatea_move_flag") + s.port->values.count("gateb_move_flag"), 0u);
    EXPECT_EQ(s.port->redraws, 1);
    // The trace and the title, the trace mode from the sample read.
    EXPECT_EQ(s.port->pointArray().size(), 1601u);
    EXPECT_EQ(s.port->get("iNumPoints").toInt(), 800);
    EXPECT_EQ(s.port->get("tiControlTitle").toString(), "1/1 Frames   0/0 Seconds");
}

TEST(FrameDisplayTest, ControlScreenPositionInTwips) {
    test::ensureApplication();
    QWidget window;
    window.move(100, 50);
    QWidget* control = new QWidget(&window);
    control->move(8, 8);
    FrameDisplayTargets targets;
    targets.window = &window;
    targets.ascanWidget = control;
    {
        Shown s(caretRecording(3, 1, 50), "position.bin", 0, targets);
        s.display->ShowFrame(1);
        EXPECT_EQ(s.port->get("temp_left").toInt(), (100 + 8) * 15);
        EXPECT_EQ(s.port->get("temp_top").toInt(), (50 + 8) * 15 + 400);
    }
    // The window's own twips layout, when it gives one, is exact where pixels are rounded.
    targets.ascanOriginTwips = [] { return QPointF(132.4, 120.6); };
    Shown s(caretRecording(3, 1, 50), "position.bin", 0, targets);
    s.display->ShowFrame(1);
    EXPECT_EQ(s.port->get("temp_left").toInt(), 1632);
    EXPECT_EQ(s.port->get("temp_top").toInt(), 1271);
}

TEST(FrameDisplayTest, EnvelopeFramePairsLiveAndEnvelopeTraces) {
    RecordingBuilder b;
    b.setup(rh::Envelope, 1);
    b.setup(rh::Rectification, 2); // POS: the second byte of each pair
    for (int frame = 0; frame < 2; ++frame) {
        auto& live = b.addRecord();
        RecordingBuilder::frame(live, fh::Gain_01dB, 100 + frame);
        RecordingBuilder::samplePair(live, 5, 0, 200);   // 78 %
        RecordingBuilder::samplePair(live, 799, 0, 255); // 100 %
        auto& envelope = b.addRecord();
        RecordingBuilder::frame(envelope, fh::Gain_01dB, 900);
        RecordingBuilder::samplePair(envelope, 5, 0, 41); // 16 %
        RecordingBuilder::samplePair(envelope, 0, 0, 3);  // 1 %
    }
    Shown s(b, "envelope.bin");
    ASSERT_TRUE(s.display->ShowFrame(2));
    const std::vector<int16_t> points = s.port->pointArray();
    ASSERT_EQ(points.size(), 3201u);
    EXPECT_EQ(points[5], 78);
    EXPECT_EQ(points[799], 100);
    EXPECT_EQ(points[1600], 1);
    EXPECT_EQ(points[1605], 16);
    EXPECT_EQ(points[3200], 0);
    EXPECT_EQ(s.port->value(2), "10.1"); // panel and gain from the pair's first record
    EXPECT_EQ(s.port->get("Gain").toInt(), 101);
    EXPECT_EQ(decodeFrameHeader(s.display->frameHeaderBytes()).Gain_01dB, 900);
    EXPECT_FALSE(s.port->hasValue(1)); // unit rows are left to open and play start
    EXPECT_EQ(s.port->get("tiControlTitle").toString(), "2/2 Frames   0/0 Seconds");
}

TEST(FrameDisplayTest, TruncatedEnvelopePairShowsItsLiveTraceAlone) {
    RecordingBuilder b;
    b.setup(rh::Envelope, 1);
    for (uint8_t record = 0; record < 4; ++record) {
        auto& r = b.addRecord();
        RecordingBuilder::frame(r, fh::Gain_01dB, 100 + record);
        RecordingBuilder::samplePair(r, 3, static_cast<uint8_t>(40 * (record + 1)), 0);
    }
    // The last record keeps its header and 600 bytes of samples: frame 2's envelope is cut short.
    Shown s(b, "envelope_cut.bin", 1000);
    ASSERT_EQ(s.recording->FrameCount(), 2);
    ASSERT_TRUE(s.display->ShowFrame(1));
    EXPECT_EQ(s.port->pointArray()[3], screenPercent(40));
    EXPECT_EQ(s.port->pointArray()[1603], screenPercent(80));
    EXPECT_FALSE(s.display->ShowFrame(2)); // playback stops here
    // Neither frame 1's picture nor frame 2's live trace with frame 1's envelope:
    // the trace on screen is frame 2's, under frame 2's panel.
    const std::vector<int16_t> points = s.port->pointArray();
    EXPECT_EQ(points[3], screenPercent(120));
    EXPECT_EQ(points[1603], screenPercent(120));
    EXPECT_EQ(s.port->value(2), "10.2");
    EXPECT_EQ(s.display->measuredRaw()[3], rawAmplitude(120));
}

TEST(FrameDisplayTest, TruncatedFrameKeepsThePreviousTrace) {
    RecordingBuilder b;
    for (uint8_t frame = 0; frame < 3; ++frame) {
        auto& r = b.addRecord();
        RecordingBuilder::samplePair(r, 10, static_cast<uint8_t>(100 + frame), 0);
    }
    // Three records less 900 bytes: frame 3 holds its header and part of its samples.
    Shown s(b, "truncated.bin", 900);
    ASSERT_EQ(s.recording->FrameCount(), 3);
    ASSERT_TRUE(s.display->ShowFrame(2));
    const std::vector<int16_t> before = s.port->pointArray();
    EXPECT_FALSE(s.display->ShowFrame(3));
    EXPECT_EQ(s.port->pointArray(), before);
    EXPECT_EQ(s.port->redraws, 2); // the rest of the frame still runs
    // A file that shrank under the player: nothing left of the frame at all.
    EXPECT_FALSE(s.display->ShowFrame(5));
    EXPECT_EQ(s.port->pointArray(), before);
    // Frame 0 (a flag index entry the scan left empty) lies before the first record.
    EXPECT_FALSE(s.display->ShowFrame(0));
    EXPECT_EQ(s.port->pointArray(), before);
}

TEST(FrameDisplayTest, UnknownRectificationDecodesNothingButShowsTheRest) {
    RecordingBuilder b;
    b.setup(rh::Rectification, 7);
    auto& r = b.addRecord();
    RecordingBuilder::samplePair(r, 0, 255, 255);
    RecordingBuilder::frame(r, fh::Gain_01dB, 20);
    Shown s(b, "rect7.bin");
    ASSERT_TRUE(s.display->ShowFrame(1));
    EXPECT_EQ(s.port->title(3), "Recification:");
    EXPECT_FALSE(s.port->hasValue(3));
    EXPECT_FALSE(s.port->get("iNumPoints").isValid());
    EXPECT_FALSE(s.port->get("iAscanRectMode").isValid());
    EXPECT_EQ(s.port->pointArray().at(0), 0);
    EXPECT_EQ(s.port->value(2), "2.0");
    EXPECT_EQ(s.port->redraws, 1);
}

TEST(FrameDisplayTest, ReadingsEntryBoxesAndBackgrounds) {
    test::ensureApplication();
    RecordingBuilder b;
    const int32_t codes[] = {6, 0, 17, 1, 3, 0, 0};
    for (std::size_t i = 0; i < 7; ++i) {
        b.setup(rh::ReadingCodes.at(i), codes[i]);
        b.setup(rh::ReadingModes.at(i), 2);
    }
    b.addRecord();
    auto& r = b.addRecord();
    RecordingBuilder::frame(r, fh::GateAMode, 1);
    RecordingBuilder::frame(r, fh::ReadingKind.at(2), 4); // slot 2: dB of 0
    RecordingBuilder::frame(r, fh::ReadingLive.at(2), 1);
    RecordingBuilder::frame(r, fh::ReadingKind.at(3), 1); // slot 3: clipped percent, held
    RecordingBuilder::frame(r, fh::ReadingValue.at(3), 104);
    RecordingBuilder::frame(r, fh::ReadingClipped.at(3), 1);
    RecordingBuilder::frame(r, fh::ReadingKind.at(4), 2); // slot 4: missing distance
    RecordingBuilder::frame(r, fh::ReadingNoValue.at(4), 1);

    std::array<std::unique_ptr<QLabel>, 14> labels;
    FrameDisplayTargets targets;
    for (std::size_t i = 0; i < 7; ++i) {
        labels[i] = std::make_unique<QLabel>("old");
        labels[7 + i] = std::make_unique<QLabel>("old");
        targets.lblRdName[i] = labels[i].get();
        targets.lblRdValue[i] = labels[7 + i].get();
    }
    QLineEdit frameBox, timeBox;
    targets.txtFrameIdx = &frameBox;
    targets.txtTimeIdx = &timeBox;
    Shown s(b, "readings.bin", 0, targets);
    s.display->ShowFrame(2);

    const char* names[] = {"DA/=", "", "dBrA^=", "A%A^=", "SA/=", "", ""};
    const char* values[] = {"0", "", "-----dB", ">104% ", "-----", "", ""};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(targets.lblRdName[i]->text(), names[i]) << i;
        EXPECT_EQ(targets.lblRdValue[i]->text(), values[i]) << i;
    }
    auto background = [&](std::size_t i) {
        const QLabel* l = targets.lblRdValue[i];
        EXPECT_TRUE(l->autoFillBackground());
        return l->palette().color(l->backgroundRole());
    };
    EXPECT_EQ(background(2), ReadingsPanel::buttonFace());    // live
    EXPECT_EQ(background(3), ReadingsPanel::highlightText()); // held
    EXPECT_EQ(background(4), ReadingsPanel::buttonFace());    // missing
    EXPECT_EQ(frameBox.text(), "2");
    EXPECT_EQ(timeBox.text(), "0");

    s.display->clearReadings();
    EXPECT_EQ(targets.lblRdName[0]->text(), "");
    EXPECT_EQ(background(3), ReadingsPanel::buttonFace());
}

} // namespace
} // namespace pelix::player

namespace pelix::player {
namespace {

TEST(FrameDisplayTest, MissingControlFailsLoudlyInsteadOfCrashing) {
    test::RecordingBuilder builder;
    builder.addRecord();
    auto outcome = recording::OpenRecording::open(builder.write("nocontrol.bin"));
    ASSERT_TRUE(outcome.recording);
    FrameDisplay display(FrameDisplayTargets{}); // the control could not be created
    display.setRecording(outcome.recording.get());
    EXPECT_THROW(display.ShowFrame(1), platform::ControlBindingError);
    EXPECT_THROW(display.port().set("Gain", 1), platform::ControlBindingError);
}

} // namespace
} // namespace pelix::player
