// The seven reading slots of the main window (a name label and a value label
// each), refreshed for every shown frame with the instrument's recorded readings
// as the frame's description words them.
#pragma once

#include <QColor>

#include <array>
#include <cstddef>

class QLabel;
class QString;

namespace pelix::player {

class ReadingsPanel {
  public:
    using Labels = std::array<QLabel*, 7>;
    ReadingsPanel(const Labels& names, const Labels& values);

    // Empty captions, values on the button-face colour.
    void clear();

    // One value with its background: a held value (not live) stands out on the
    // highlight-text colour, live and missing values sit on the button face.
    // The readings recomputed after a gate drag arrive through here as well.
    void setValue(std::size_t slot, const QString& text, bool held);
    void setName(std::size_t slot, const QString& text);
    // Whether the slot's value is painted as held (highlight text).
    bool held(std::size_t slot) const { return slot < m_held.size() && m_held[slot]; }

    // The application's system colours the value labels are painted with.
    static QColor buttonFace();
    static QColor highlightText();
    // The system locale's decimal point, as the recorded numbers are written with it.
    char decimalPoint() const { return m_decimalPoint; }

  private:
    Labels m_names;
    Labels m_values;
    std::array<bool, 7> m_held{};
    char m_decimalPoint; // of the system's locale, for the number formats
};

} // namespace pelix::player
