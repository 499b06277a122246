#include "tools/pelix/headless_application.h"

#include "core/files/signal_cleanup.h"
#include "platform/numeric_locale.h"
#include "platform/runtime_folder.h"

namespace pelix::tool {

std::unique_ptr<QApplication> startHeadlessApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A signal that ends the tool takes the private runtime folder with it, as an exit does.
    if (const std::string folder = platform::ensureRuntimeFolder(); !folder.empty()) {
        static const files::CleanupOnSignal removeOnSignal(folder, files::CleanupKind::Folder);
    }
    // QApplication keeps references to these for its whole life.
    static int argc = 1;
    static char name[] = "pelix";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QApplication>(argc, argv);
    platform::keepNumbersInCLocale();
    return app;
}

} // namespace pelix::tool
