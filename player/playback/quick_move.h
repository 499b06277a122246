// The "Quick Move" group: jumps to a frame number, a time in whole seconds or
// an operator flag, the up-down arrows beside the three entry boxes, and the
// check that an entry box always holds a number.
#pragma once

#include "player/controls/player_controls.h"
#include "player/playback/navigation.h"
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
    void upDown(JumpKind kind, bool up);
    // Runs on every change of an entry box's text.
    void checkEntry(JumpKind kind);

    JumpKind selectedKind() const;

  private:
    QLineEdit* entryBox(JumpKind kind) const;
    QString resetText(JumpKind kind) const;

    PlayerControls m_c;
    PlayerSession& m_session;
    PlaybackController& m_playback;
};

} // namespace pelix::player
