// Every key the main window answers, in one list: the window binds its
// shortcuts from it and the help overlay (F1) draws its table from it, so the
// two cannot tell different stories.
#pragma once

#include <QKeySequence>
#include <QString>

#include <vector>

namespace pelix::player {

enum class WindowKey {
    PlayStop,
    PreviousFrame,
    NextFrame,
    PageBack,
    PageForward,
    FirstFrame,
    LastFrame,
    QuickMoveGo, // bound by the Quick Move entry boxes themselves, not by a window shortcut
    // The walk from mark to mark: plain letters, which an entry box with the focus keeps as text.
    NextFlag,
    PreviousFlag,
    NextBookmark,
    PreviousBookmark,
    NextSearchMatch,
    PreviousSearchMatch,
    NextIndication,
    PreviousIndication,
    Overview,
    Bscan,
    ApplyToAllFrames,
    Report,
    CopyPicture,
    AddBookmark,
    InspectionDetails,
    Gates,
    SearchBox,
    VideoRange,
    KeyHelp,
};

struct WindowKeyEntry {
    WindowKey id;
    QKeySequence key;
    QString keyText; // the key as the help names it, in the platform's own words
    QString does;
    bool repeats; // held down, the key acts again and again
};

// In the order the help lists them.
const std::vector<WindowKeyEntry>& windowKeys();
QKeySequence keyOf(WindowKey id);

} // namespace pelix::player
