// Choosing the range of frames an AVI export records: AVI_Select arms the
// range on the position slider, optStart / optEnd pick which end the slider
// moves. The export itself runs elsewhere.
#pragma once

#include "player/controls/player_controls.h"
#include "player/playback/player_session.h"

#include <QObject>

#include <cstdint>

namespace pelix::player {

class AviRangeMarker : public QObject {
    Q_OBJECT
  public:
    AviRangeMarker(const PlayerControls& controls, PlayerSession& session, QObject* parent = nullptr);

    // Runs on every change of the check box, by the user or by the program.
    void AVI_Select_Click();
    void optStart_Click();
    void optEnd_Click();
    // Arms the range (as AVI_Select does) from `start` to `end`, frames of the open
    // recording with start <= end; false, and nothing changed, for any other range.
    bool selectRange(int32_t start, int32_t end);

  private:
    void showSelection();

    PlayerControls m_c;
    PlayerSession& m_session;
};

} // namespace pelix::player
