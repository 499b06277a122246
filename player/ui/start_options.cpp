#include "player/ui/start_options.h"

#include "player/ui/frm_player.h"

namespace pelix::player {

StartOptions parseStartOptions(const QStringList& args) {
    StartOptions options;
    const auto isOption = [](const QString& word) { return word.startsWith(QLatin1Char('-')); };
    if (args.size() == 3 && !isOption(args.at(2))) {
        options.overview = args.at(1) == QLatin1String("--overview");
        options.bscan = args.at(1) == QLatin1String("--bscan");
        options.valid = options.overview || options.bscan;
    } else {
        options.valid = args.size() <= 2 && (args.size() < 2 || !isOption(args.at(1)));
    }
    if (options.valid && args.size() >= 2) options.file = args.last();
    return options;
}

void showStartWindows(frmPlayer& window, const StartOptions& options) {
    if (options.overview) window.toggleOverview();
    if (options.bscan) window.toggleBscan();
}

} // namespace pelix::player
