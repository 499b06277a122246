// What the player's command line asks for at start: a recording to open and
// the tool windows to show beside the main window. Checked before any window
// appears.
#pragma once

#include <QString>
#include <QStringList>

class frmPlayer;

namespace pelix::player {

struct StartOptions {
    bool valid = true; // false: the words are none the player takes (usage)
    QString file;      // empty: start without a recording
    bool overview = false;
    bool bscan = false;
};

// `args` as the program got them, its own name first:
// [FILE], --overview FILE or --bscan FILE.
StartOptions parseStartOptions(const QStringList& args);

// Shows the tool windows `options` ask for beside `window`.
void showStartWindows(frmPlayer& window, const StartOptions& options);

} // namespace pelix::player
