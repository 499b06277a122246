// The gate-changed handler: after a drag the readings panel, the control's
// panel rows and carets show what the calculation library makes of the gates
// measured on the shown frame.
#include "cal/include/pelix_cal.h"
#include "core/numbers/number_format.h"
#include "core/recording/open_recording.h"
#include "platform/library_binding.h"
#include "platform/track_bar.h"
#include "player/display/frame_display.h"
#include "player/evaluation/cal_readings.h"
#include "player/evaluation/gate_change_handler.h"

#include "player/display_test_support.h"
#include "player/window_test_support.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <algorithm>

namespace pelix::player {
namespace {

using namespace pelix::recording;
using numbers::formatFixed;
using numbers::shortestDecimal;
using test::FakeAscanPort;
using test::RecordingBuilder;

TEST(LeadingNumberTest, TakesTheNumberAReadingTextStartsWith) {
    const std::pair<const char*, double> cases[] = {
        {"29.74mm", 29.74}, {"0.117in", 0.117}, {"102%", 102}, {">104%", 0}, {"-----", 0},
        {"-----dB", 0},     {"-0.5dB", -0.5},   {"3", 3},      {"", 0},      {".5mm", 0.5},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
}

class GateChangeWindowTest : public test::WindowTest {
  protected:
    QWidget* ascan() const { return window->controls().Ascan; }
    QVariant prop(const char* name) const { return ascan()->property(name); }
    QString row(int r) const {
        const auto* label = ascan()->findChild<QLabel*>(QStringLiteral("lblParamValue%1").arg(r));
        return label ? label->text() : QString("?");
    }
    // Leaves gate A where a completed drag would and raises the control's MouseUp.
    void dragGateA(float start, int threshold) {
        ascan()->setProperty("fGateAStart", start);
        ascan()->setProperty("newGateAStart", start);
        ascan()->setProperty("iGateAThresh", QVariant::fromValue<qint16>(static_cast<qint16>(threshold)));
        ascan()->setProperty("newGateAThresh", threshold);
        ASSERT_TRUE(QMetaObject::invokeMethod(ascan(), "MouseUp", Qt::DirectConnection));
    }
};

TEST_F(GateChangeWindowTest, ReadingsRowsAndCaretsAreTheLibrarysForTheMeasuredGates) {
    open(files.write("gates.bin", test::recordingOptions(200)));
    window->controls().Slider->setValue(120);
    ASSERT_EQ(session().CurrentFrame, 120);
    const QString recordedSA = window->controls().lblRdValue[0]->text();

    dragGateA(10.0F, 30);

    // The amplitude is the largest measured sample inside the gate.
    const auto& raw = window->display().measuredRaw();
    const evaluation::PointRange range =
        window->GetPointRange(10000, window->display().panelFrame().GateAWidth_um);
    const int16_t largest = *std::max_element(raw.begin() + range.from, raw.begin() + range.to + 1);
    const evaluation::GateDataArray gates = window->GateDataArray();
    EXPECT_EQ(static_cast<int64_t>(gates[0]) & 0x7FFFFFFF, largest);

    // The same library instance, given the same setup and gates, formats the same texts.
    auto& cal = platform::LibraryBinding::pelixCal();
    auto setHeader = cal.resolve<void (*)(const uint8_t*, const uint8_t*)>("SetHeaderData");
    auto update = cal.resolve<void (*)(const double*)>("UpdateGateData");
    auto format = cal.resolve<int32_t (*)(int32_t, ReadingResult*)>("FormatCVRsltValue");
    ASSERT_TRUE(setHeader && update && format);
    FrameHeaderBytes header = window->display().measuredFrameHeader();
    EXPECT_EQ(decodeFrameHeader(header).GateAThreshold, 30);
    setHeader(session().recording->rawHeader().data(), header.data());
    update(gates.data());
    const auto text = [&](int32_t slot, bool* current = nullptr) {
        ReadingResult r{};
        format(slot, &r);
        if (current) *current = r.current != 0;
        return QString::fromLatin1(r.text).trimmed();
    };
    for (int32_t slot = 0; slot < 7; ++slot) {
        bool current = true;
        EXPECT_EQ(window->controls().lblRdValue[slot]->text(), text(slot, &current)) << slot;
        EXPECT_EQ(window->display().readings().held(slot), !current) << slot;
    }
    EXPECT_NE(window->controls().lblRdValue[0]->text(), QString()) << recordedSA.toStdString();

    const std::string sa = text(CalReadings::kSlotSA).toStdString();
    EXPECT_EQ(row(5), "10.00");
    EXPECT_EQ(row(7), "30");
    EXPECT_EQ(row(8), QString::fromStdString(formatFixed(leadingNumber(sa), 2)));
    EXPECT_EQ(row(9), QString::fromStdString(
                          shortestDecimal(leadingNumber(text(CalReadings::kSlotAmpA).toStdString()))));
    EXPECT_TRUE(prop("DrawCaratOne").toBool());
    EXPECT_FLOAT_EQ(prop("fCaretOne").toFloat(), static_cast<float>(leadingNumber(sa)));

    // Moving on shows the recorded readings again.
    window->controls().Slider->setValue(121);
    window->controls().Slider->setValue(120);
    EXPECT_EQ(window->controls().lblRdValue[0]->text(), recordedSA);
}

TEST_F(GateChangeWindowTest, AGateAboveEveryEchoIsMarkedAndItsRowsFollowTheDrag) {
    open(files.write("gates.bin", test::recordingOptions(200)));
    window->controls().Slider->setValue(120);
    dragGateA(90.0F, 100); // above full height: no sample reaches it
    EXPECT_GE(window->GateDataArray()[0], evaluation::kNothingFoundMark);
    EXPECT_EQ(row(5), "90.00");
    EXPECT_EQ(row(7), "100");
    EXPECT_EQ(prop("DrawCaratOne").toBool(), prop("fCaretOne").toFloat() != 0.0F);
}

// An envelope pair whose first record holds a 50 % echo and whose second a
// full-height one at another place; gate A covers both.
RecordingBuilder envelopePair() {
    RecordingBuilder b;
    b.setup(rh::Envelope, 1);
    b.setup(rh::Rectification, 2); // POS: the second byte of each pair
    auto& live = b.addRecord();
    RecordingBuilder::frame(live, fh::GateAOn, 1);
    RecordingBuilder::frame(live, fh::GateAWidth_um, 50000);
    RecordingBuilder::frame(live, fh::GateAThreshold, 20);
    RecordingBuilder::frame(live, fh::GateAMode, 1);
    RecordingBuilder::samplePair(live, 100, 0, 128);
    auto& envelope = b.addRecord();
    RecordingBuilder::frame(envelope, fh::GateAThreshold, 99);
    RecordingBuilder::samplePair(envelope, 300, 0, 255);
    return b;
}

TEST(GateChangeHandlerTest, EnvelopeFramesAreMeasuredOnTheirLiveRecord) {
    auto outcome = OpenRecording::open(envelopePair().write("envelope_gates.bin"));
    ASSERT_TRUE(outcome.recording);
    auto fake = std::make_unique<FakeAscanPort>();
    FakeAscanPort& port = *fake;
    FrameDisplay display({}, std::move(fake));
    display.setRecording(outcome.recording.get());
    ASSERT_TRUE(display.ShowFrame(1));

    port.set("newGateAStart", 0.0F);
    port.set("newGateAThresh", 25);
    port.set("newGateBThresh", -7);
    port.set("ShowGateB", false);
    port.journal.clear();
    GateChangeHandler handler(display);
    handler.Ascan_MouseUp();

    EXPECT_EQ(handler.evaluation().gateData()[0], 128 * 16); // not the envelope's 255
    const FrameHeader kept = decodeFrameHeader(display.measuredFrameHeader());
    EXPECT_EQ(kept.GateAThreshold, 25);
    EXPECT_EQ(kept.GateBThreshold, -7);
    EXPECT_EQ(kept.GateAWidth_um, 50000); // the live record's header, not the envelope's
    // A hidden gate's rows keep what they showed; the redraw comes last.
    for (const auto& w : port.journal)
        for (int r : {10, 12, 13, 14})
            EXPECT_NE(w.name, "pParamValue(" + std::to_string(r) + ")");
    EXPECT_TRUE(std::any_of(port.journal.begin(), port.journal.end(),
                            [](const FakeAscanPort::Write& w) { return w.name == "pParamValue(5)"; }));
    ASSERT_FALSE(port.journal.empty());
    EXPECT_EQ(port.journal.back().name, "UpdateAscanGraph");
}

TEST(GateChangeHandlerTest, NothingHappensWithoutARecording) {
    auto fake = std::make_unique<FakeAscanPort>();
    FakeAscanPort& port = *fake;
    FrameDisplay display({}, std::move(fake));
    GateChangeHandler handler(display);
    handler.Ascan_MouseUp();
    EXPECT_EQ(port.redraws, 0);
    EXPECT_TRUE(port.journal.empty());
}

} // namespace
} // namespace pelix::player
