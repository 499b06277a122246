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
    // The range typed ("Video range…"): frames first to last, already checked against the recording.
    void setRange(int32_t first, int32_t last);

  private:
    void showSelection();

    PlayerControls m_c;
    PlayerSession& m_session;
};

} // namespace pelix::player
