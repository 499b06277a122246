#include "core/indications/indication_texts.h"

#include "core/numbers/number_format.h"

namespace pelix::indications {

std::string lengthSecondsText(const DropLength& length) {
    return numbers::formatFixed(length.seconds, 2);
}

std::string markedReadingText(std::string_view valueText, bool held) {
    if (!held) return std::string(valueText);
    // The percent text ends in a blank; the mark goes right after the unit.
    while (!valueText.empty() && valueText.back() == ' ')
        valueText.remove_suffix(1);
    return std::string(valueText) + '*';
}

std::string peakReadingsText(const std::vector<GateReading>& readings, std::string_view nameGap) {
    std::string text;
    for (const GateReading& r : readings) {
        if (!text.empty()) text += "  ";
        text += r.name;
        text += nameGap;
        text += markedReadingText(r.text, r.held);
    }
    return text;
}

} // namespace pelix::indications
