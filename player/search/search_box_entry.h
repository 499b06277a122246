// The "Search box…" dialog without its widgets: the search box's limits as the
// user reads and types them, the position window in the recording's units
// (where the box's edges stand on the A-scan's scale) and the amplitude window
// in percent, converted exactly as the box is drawn. A field left as it was
// keeps its limit exactly.
#pragma once

#include "core/search/search_limits.h"
#include "player/evaluation/typed_units.h"

#include <array>
#include <string>

namespace pelix::player {

enum class SearchField { From, To, Lowest, Highest };
inline constexpr std::size_t kSearchFields = 4;

struct SearchBoxEntryResult {
    std::array<std::string, kSearchFields> refusals; // empty where the field's text is taken
    search::SearchLimits limits;
    bool changed = false;

    bool accepted() const;
    const std::string& refusal(SearchField f) const { return refusals[static_cast<std::size_t>(f)]; }
};

class SearchBoxEntry {
  public:
    // `delay` and `range`: the picture's left edge and its width, in display units.
    SearchBoxEntry(const TypedUnits& units, const search::SearchLimits& now, float delay, float range);

    const TypedUnits& units() const { return m_units; }
    const std::array<std::string, kSearchFields>& texts() const { return m_texts; }
    const std::string& text(SearchField f) const { return m_texts[static_cast<std::size_t>(f)]; }
    TypedRange positionRange() const;
    static TypedRange amplitudeRange() { return {0.0, 100.0}; }
    static constexpr int kAmplitudeDecimals = 1;

    // An edge of the box on the 0..800 scale as a position in typed units, and back.
    double positionOf(double limit) const;
    double limitOf(double typed) const;

    SearchBoxEntryResult read(const std::array<std::string, kSearchFields>& typed) const;

  private:
    TypedUnits m_units;
    search::SearchLimits m_now;
    double m_delay = 0.0;
    double m_range = 0.0;
    std::array<std::string, kSearchFields> m_texts;
};

} // namespace pelix::player
