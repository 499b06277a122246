// Arbitrary bytes as a recording, through the player's own window as
// pelix render draws it: the open sequence, then the first frames and the last
// through the display pipeline into the A-scan control (trace, gates, carets,
// panel, leg colours and the evaluation curves the control computes through
// the calculation library), and the last picture rasterised.
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_window.h"

#include <QApplication>
#include <QPixmap>

#include <algorithm>

const std::size_t pelix::fuzz::kParameterBytes = 0;

namespace {

// Enough frames for the curves and panel rows to follow a changing setup
// without every input costing a whole recording's redraws.
constexpr int32_t kFramesShown = 40;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The control and the calculation library are loaded by name: before the first input.
    (void)pelix::fuzz::offscreenPlayer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pelix::fuzz::FuzzInput input(data, size);
    pelix::fuzz::OffscreenPlayer& player = pelix::fuzz::offscreenPlayer();
    if (!player.open(input.writeRecording())) return 0;
    frmPlayer& window = player.window();
    const int32_t count = player.frameCount();
    for (int32_t n = 2; n <= std::min(count, kFramesShown); ++n)
        window.jumpToFrame(n);
    if (count > kFramesShown) window.jumpToFrame(count);
    QApplication::processEvents();
    QWidget* control = window.controls().Ascan;
    (void)control->grab();
    QString ops;
    QMetaObject::invokeMethod(control, "surfaceOperationsJson", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, ops));
    return 0;
}
