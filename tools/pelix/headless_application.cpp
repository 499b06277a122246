#include "tools/pelix/headless_application.h"

#include "core/files/signal_cleanup.h"
#include "platform/numeric_locale.h"
#include "platform/runtime_folder.h"

namespace pelix::tool {

std::unique_ptr<QApplication> startHeadlessApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Removed at exit, and by the signal handler when a signal ends the run.
    static const files::CleanupOnSignal runtimeFolder(platform::ensureRuntimeFolder(),
                                                      files::CleanupKind::Folder);
    // QApplication keeps references to these for its whole life.
    static int argc = 1;
    static char name[] = "pelix";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QApplication>(argc, argv);
    platform::keepNumbersInCLocale();
    return app;
}

} // namespace pelix::tool
