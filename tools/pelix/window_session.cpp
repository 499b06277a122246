#include "tools/pelix/window_session.h"

#include "player/display/frame_display.h"
#include "player/ui/frm_player.h"
#include "tools/pelix/headless_application.h"
#include "tools/pelix/subcommands.h"

#include <QApplication>

#include <exception>
#include <iostream>

namespace pelix::tool {

int runWithApplication(const char* command, bool useDisplayAtHand, const std::function<int()>& work) {
    if (!useDisplayAtHand && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = startHeadlessApplication();
    try {
        return work();
    } catch (const std::exception& e) {
        std::cerr << "pelix " << command << ": " << e.what() << "\n";
        return kExitWriteFailed;
    }
}

void MessagesToStderr::report() const {
    for (const auto& text : texts())
        std::cerr << text.toStdString() << "\n";
}

void leaveGatesDragged(frmPlayer& window, const std::optional<DraggedGate>& gateA,
                       const std::optional<DraggedGate>& gateB) {
    player::AscanPort& port = window.display().port();
    const auto place = [&port](const DraggedGate& g, const char* start, const char* newStart,
                               const char* thresh, const char* newThresh, bool wide) {
        port.set(start, g.start);
        port.set(newStart, g.start);
        // The control keeps gate A's threshold in 16 bits and gate B's in 32.
        if (wide)
            port.set(thresh, QVariant::fromValue<qint32>(g.threshold));
        else
            port.set(thresh, QVariant::fromValue<qint16>(g.threshold));
        port.set(newThresh, QVariant::fromValue<qint32>(g.threshold));
    };
    if (gateA) place(*gateA, "fGateAStart", "newGateAStart", "iGateAThresh", "newGateAThresh", false);
    if (gateB) place(*gateB, "fGateBStart", "newGateBStart", "iGateBThresh", "newGateBThresh", true);
    QMetaObject::invokeMethod(window.controls().Ascan, "MouseUp", Qt::DirectConnection);
}

} // namespace pelix::tool
