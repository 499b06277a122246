// The colours of a B-scan's cells: a perceptual map whose lightness rises
// steadily from dark violet through blue and green to yellow, so that a higher
// echo always reads brighter, in print in grey and to colour-blind eyes too.
// No Qt: a colour is 0xRRGGBB.
#pragma once

#include <cstdint>

namespace pelix::bscan {

// The map at `t` in 0..1 (clamped): t = 0 is the weakest cell, 1 full scale.
uint32_t cellColour(double t);

} // namespace pelix::bscan
