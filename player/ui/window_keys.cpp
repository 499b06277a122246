#include "player/ui/window_keys.h"

namespace pelix::player {

namespace {

WindowKeyEntry entry(WindowKey id, QKeySequence key, QString does, bool repeats = false,
                     QString keyText = {}) {
    if (keyText.isEmpty()) keyText = key.toString(QKeySequence::NativeText);
    return WindowKeyEntry{id, std::move(key), std::move(keyText), std::move(does), repeats};
}

} // namespace

const std::vector<WindowKeyEntry>& windowKeys() {
    static const std::vector<WindowKeyEntry> keys{
        entry(WindowKey::PlayStop, QKeySequence(Qt::Key_Space), QStringLiteral("Play or stop"), true),
        entry(WindowKey::PreviousFrame, QKeySequence(Qt::Key_Left), QStringLiteral("Previous frame"), true),
        entry(WindowKey::NextFrame, QKeySequence(Qt::Key_Right), QStringLiteral("Next frame"), true),
        entry(WindowKey::PageBack, QKeySequence(Qt::Key_PageUp),
              QStringLiteral("Back by a page of the position slider"), true),
        entry(WindowKey::PageForward, QKeySequence(Qt::Key_PageDown),
              QStringLiteral("Forward by a page of the position slider"), true),
        entry(WindowKey::FirstFrame, QKeySequence(Qt::Key_Home), QStringLiteral("First frame"), true),
        entry(WindowKey::LastFrame, QKeySequence(Qt::Key_End), QStringLiteral("Last frame"), true),
        entry(WindowKey::QuickMoveGo, QKeySequence(Qt::Key_Return),
              QStringLiteral("Go to the frame, time or flag typed in that box"), false,
              QStringLiteral("Enter in a Quick Move box")),
        entry(WindowKey::NextFlag, QKeySequence(Qt::Key_F), QStringLiteral("Next flagged frame"), true),
        entry(WindowKey::PreviousFlag, QKeySequence(Qt::SHIFT | Qt::Key_F),
              QStringLiteral("Previous flagged frame"), true),
        entry(WindowKey::NextBookmark, QKeySequence(Qt::Key_B), QStringLiteral("Next bookmark"), true),
        entry(WindowKey::PreviousBookmark, QKeySequence(Qt::SHIFT | Qt::Key_B),
              QStringLiteral("Previous bookmark"), true),
        entry(WindowKey::NextSearchMatch, QKeySequence(Qt::Key_M), QStringLiteral("Next search match"), true),
        entry(WindowKey::PreviousSearchMatch, QKeySequence(Qt::SHIFT | Qt::Key_M),
              QStringLiteral("Previous search match"), true),
        entry(WindowKey::NextIndication, QKeySequence(Qt::Key_I),
              QStringLiteral("Peak of the next indication the overview lists"), true),
        entry(WindowKey::PreviousIndication, QKeySequence(Qt::SHIFT | Qt::Key_I),
              QStringLiteral("Peak of the previous indication the overview lists"), true),
        entry(WindowKey::Overview, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
              QStringLiteral("Open or close the overview window"), true),
        entry(WindowKey::Bscan, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
              QStringLiteral("Open or close the B-scan window"), true),
        entry(WindowKey::ApplyToAllFrames, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
              QStringLiteral("Apply the gates as left by the last drag to all frames (in the overview)")),
        entry(WindowKey::Report, QKeySequence(Qt::CTRL | Qt::Key_R),
              QStringLiteral("Report\u2026: write an inspection report (PDF)")),
        entry(WindowKey::CopyPicture, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
              QStringLiteral("Copy the window's picture of this frame to the clipboard")),
        entry(WindowKey::AddBookmark, QKeySequence(Qt::CTRL | Qt::Key_B),
              QStringLiteral("Add bookmark\u2026: mark this frame with a note")),
        entry(WindowKey::InspectionDetails, QKeySequence(Qt::CTRL | Qt::Key_I),
              QStringLiteral("Inspection details\u2026: part, procedure, operator, instrument")),
        entry(WindowKey::Gates, QKeySequence(Qt::CTRL | Qt::Key_G),
              QStringLiteral("Gates\u2026: type gate A and B start and threshold, applied as a drag")),
        entry(WindowKey::SearchBox, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
              QStringLiteral("Search box\u2026: type the search box's limits")),
        entry(WindowKey::VideoRange, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
              QStringLiteral("Video range\u2026: type the first and last frame of the video")),
        entry(WindowKey::KeyHelp, QKeySequence(Qt::Key_F1), QStringLiteral("Show or hide this list of keys")),
    };
    return keys;
}

QKeySequence keyOf(WindowKey id) {
    for (const WindowKeyEntry& k : windowKeys())
        if (k.id == id) return k.key;
    return {};
}

} // namespace pelix::player
