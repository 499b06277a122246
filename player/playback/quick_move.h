// The "Quick Move" group: jumps to a frame number, a time in whole seconds or
// an operator flag, the up-down arrows beside the three entry boxes, Enter in
// a box, and the check that an entry box always holds a number.
#pragma once

#include "core/playback/navigation.h"
#include "player/controls/player_controls.h"
#include "player/playback/player_session.h"

#include <QObject>

class QLineEdit;

namespace pelix::player {

class PlaybackController;

class QuickMove : public QObject {
    Q_OBJECT
  public:
    QuickMove(const PlayerControls& controls, PlayerSession& session, PlaybackController& playback,
              QObject* parent = nullptr);

    void cmdGo_Click();
    void upDown(playback::JumpKind kind, bool up);
    // Enter in an entry box: its option is selected and Go pressed.
    void enterPressed(playback::JumpKind kind);
    // Runs on every change of an entry box's text.
    void checkEntry(playback::JumpKind kind);

    playback::JumpKind selectedKind() const;

  private:
    void selectOption(playback::JumpKind kind);
    QLineEdit* entryBox(playback::JumpKind kind) const;
    QString resetText(playback::JumpKind kind) const;

    PlayerControls m_c;
    PlayerSession& m_session;
    PlaybackController& m_playback;
};

} // namespace pelix::player
