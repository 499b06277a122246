// Arbitrary bytes as a recording, for its readings: the recorded readings of
// every frame as pelix readings makes its table (streamed header scan, slot
// names and value texts), then a gate drag in the player's window as
// pelix render --gate-a/--gate-b leaves it: the gate-changed handler measures
// both gates on the frame's samples and the calculation library makes the
// seven readings, panel rows and carets of it.
//
// Parameters (14 bytes before the recording): gate A start and gate B start
// (float, display units), gate A and gate B threshold (signed byte, percent,
// held to -100..100 as the control's drag leaves it), which gates are dragged
// (bit 0 gate A, bit 1 gate B), a spare byte, and the frame dragged on
// (16 bits, taken modulo the frame count).
#include "core/evaluation/recorded_readings.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_window.h"
#include "tools/pelix/window_session.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace pelix;
using namespace pelix::recording;

const std::size_t pelix::fuzz::kParameterBytes = 14;

namespace {

std::optional<tool::DraggedGate> draggedGate(bool dragged, float start, int8_t threshold) {
    // A drag leaves a finite start (pelix render refuses any other).
    if (!dragged || !std::isfinite(start)) return std::nullopt;
    return tool::DraggedGate{start, static_cast<int16_t>(std::clamp<int>(threshold, -100, 100))};
}

void recordedReadingsOfEveryFrame(const OpenRecording& rec) {
    evaluation::RecordedReadingTexts texts(rec.header(), rec.derived().velocity);
    const int64_t last = std::min<int64_t>(rec.FrameCount(), 4096);
    scanFrameHeaders(rec.file(), frameRecordLayout(rec), 1, last, [&](int64_t, const uint8_t* bytes) {
        const FrameHeader frame = decodeFrameHeader(bytes);
        (void)texts.names(frame);
        for (std::size_t slot = 0; slot < kReadingSlots; ++slot) {
            const evaluation::RecordedReading r = evaluation::recordedReading(rec.header(), frame, slot);
            (void)texts.valueText(slot, r);
            (void)evaluation::readingHeld(r);
        }
        return true;
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The control and the calculation library are loaded by name: before the first input.
    (void)fuzz::offscreenPlayer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const auto startA = input.take<float>();
    const auto startB = input.take<float>();
    const auto thresholdA = input.take<int8_t>();
    const auto thresholdB = input.take<int8_t>();
    const auto which = input.take<uint8_t>();
    (void)input.take<uint8_t>();
    const auto frameChoice = input.take<uint16_t>();
    const std::string& path = input.writeRecording();

    {
        const OpenOutcome outcome = OpenRecording::open(path);
        if (!outcome.recording) return 0;
        recordedReadingsOfEveryFrame(*outcome.recording);
    }

    fuzz::OffscreenPlayer& player = fuzz::offscreenPlayer();
    if (!player.open(path)) return 0;
    frmPlayer& window = player.window();
    const int32_t frame = 1 + frameChoice % player.frameCount();
    window.jumpToFrame(frame);
    tool::leaveGatesDragged(window, draggedGate(which & 1, startA, thresholdA),
                            draggedGate(which & 2, startB, thresholdB));
    QApplication::processEvents();
    // The next frame shows its recorded readings again.
    window.jumpToFrame(frame % player.frameCount() + 1);
    return 0;
}
