#include "player/display/readings_panel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPalette>

namespace pelix::player {

namespace {

void paintBackground(QLabel* label, const QColor& colour) {
    if (!label->autoFillBackground()) label->setAutoFillBackground(true);
    const QPalette::ColorRole role = label->backgroundRole();
    if (label->palette().color(role) == colour) return; // most frames keep their colour
    QPalette palette = label->palette();
    palette.setColor(role, colour);
    label->setPalette(palette);
}

void setText(QLabel* label, const QString& text) {
    if (label && label->text() != text) label->setText(text);
}

char localeDecimalPoint() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : '.';
}

} // namespace

ReadingsPanel::ReadingsPanel(const Labels& names, const Labels& values)
    : m_names(names), m_values(values), m_decimalPoint(localeDecimalPoint()) {}

QColor ReadingsPanel::buttonFace() {
    return QGuiApplication::palette().color(QPalette::Button);
}
QColor ReadingsPanel::highlightText() {
    return QGuiApplication::palette().color(QPalette::HighlightedText);
}

void ReadingsPanel::clear() {
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        setText(m_names[i], QString());
        if (m_values[i]) {
            setText(m_values[i], QString());
            paintBackground(m_values[i], buttonFace());
        }
        m_held[i] = false;
    }
}

void ReadingsPanel::setName(std::size_t slot, const QString& text) {
    if (slot < m_names.size()) setText(m_names[slot], text);
}

void ReadingsPanel::setValue(std::size_t slot, const QString& text, bool held) {
    QLabel* label = slot < m_values.size() ? m_values[slot] : nullptr;
    if (!label) return;
    m_held[slot] = held;
    setText(label, text);
    paintBackground(label, held ? highlightText() : buttonFace());
}

} // namespace pelix::player
