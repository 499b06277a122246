#include "tools/pelix/window_session.h"

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

} // namespace pelix::tool
