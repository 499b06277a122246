#include "tools/pelix/window_session.h"

#include "tools/pelix/subcommands.h"

#include <QApplication>

#include <exception>
#include <iostream>

namespace pelix::tool {

int runWithApplication(const char* command, bool useDisplayAtHand, const std::function<int()>& work) {
    const bool displayAtHand =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (!useDisplayAtHand || !displayAtHand))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pelix";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
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

} // namespace pelix::tool
