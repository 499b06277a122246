#include "player/search/search_box_entry.h"

#include "core/numbers/number_format.h"

namespace pelix::player {

namespace {

// The position window's scale across the picture.
constexpr double kScale = 800.0;

std::size_t at(SearchField f) {
    return static_cast<std::size_t>(f);
}

} // namespace

bool SearchBoxEntryResult::accepted() const {
    return noneRefused(refusals);
}

SearchBoxEntry::SearchBoxEntry(const TypedUnits& units, const search::SearchLimits& now, float delay,
                               float range)
    : m_units(units), m_now(now), m_delay(delay), m_range(range) {
    const auto position = [this](double limit) {
        return numbers::formatFixed(positionOf(limit), m_units.decimals);
    };
    m_texts[at(SearchField::From)] = position(now.SearchLowwidthRange);
    m_texts[at(SearchField::To)] = position(now.SearchUpwidthRange);
    m_texts[at(SearchField::Lowest)] = numbers::formatFixed(now.SearchLowhightlimit, kAmplitudeDecimals);
    m_texts[at(SearchField::Highest)] = numbers::formatFixed(now.SearchUphightlimit, kAmplitudeDecimals);
}

double SearchBoxEntry::positionOf(double limit) const {
    // The box's edge x on a surface W wide stands at range / W * x + delay, and the limit is x / W * 800.
    return m_units.typed(m_delay + m_range * limit / kScale);
}

double SearchBoxEntry::limitOf(double typed) const {
    return (m_units.display(typed) - m_delay) / m_range * kScale;
}

TypedRange SearchBoxEntry::positionRange() const {
    return typedRange(m_units, m_delay, m_delay + m_range);
}

SearchBoxEntryResult SearchBoxEntry::read(const std::array<std::string, kSearchFields>& typed) const {
    SearchBoxEntryResult out;
    out.limits = m_now;
    const auto field = [&](SearchField f, double& limit, bool position) {
        if (typed[at(f)] == m_texts[at(f)]) return;
        out.changed = true;
        const TypedValue v =
            position ? readTyped(typed[at(f)], positionRange(), m_units.decimals, m_units.symbol())
                     : readTyped(typed[at(f)], amplitudeRange(), kAmplitudeDecimals, "%");
        out.refusals[at(f)] = v.refusal;
        if (v.value) limit = position ? limitOf(*v.value) : *v.value;
    };
    field(SearchField::From, out.limits.SearchLowwidthRange, true);
    field(SearchField::To, out.limits.SearchUpwidthRange, true);
    field(SearchField::Lowest, out.limits.SearchLowhightlimit, false);
    field(SearchField::Highest, out.limits.SearchUphightlimit, false);
    // A box needs a width and a height; the second edge is the one named.
    if (out.refusal(SearchField::From).empty() && out.refusal(SearchField::To).empty() &&
        !(out.limits.SearchLowwidthRange < out.limits.SearchUpwidthRange))
        out.refusals[at(SearchField::To)] = "The box ends where it starts or before: type a larger value";
    if (out.refusal(SearchField::Lowest).empty() && out.refusal(SearchField::Highest).empty() &&
        !(out.limits.SearchLowhightlimit < out.limits.SearchUphightlimit))
        out.refusals[at(SearchField::Highest)] = "The box has no height: type a larger value than the lowest";
    return out;
}

} // namespace pelix::player
