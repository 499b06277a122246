// The main window's controls as designed: names, captions, initial states and
// their design-time geometry in twips.
#pragma once

#include "player/controls/player_controls.h"

namespace pelix::player {

class FormScaler;

// The window's size at design time, in twips.
inline constexpr float kDesignWidthTwips = 14400.0f;
inline constexpr float kDesignHeightTwips = 11700.0f;

// Creates every named control of the main window as a child of `window` and
// places it (and `ascan`) through `scaler`.
PlayerControls buildPlayerControls(QWidget* window, QWidget* ascan, FormScaler& scaler);

} // namespace pelix::player
