// An entry box for a typed value with the reason it is refused shown beside
// it: the dialogs that stand in for a mouse drag (gates, search box, video
// range) refuse a value out of reach instead of clamping it silently.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <string>

class QBoxLayout;
class QDialog;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace pelix::player {

struct TypedField {
    QLineEdit* edit = nullptr;
    QLabel* refusal = nullptr; // in a row of its own under the box; hidden while there is nothing to say
    QString caption;           // what the refusal names ("Gate A start")

    QString text() const;
    void setRefusal(const std::string& reason) const;
};

// The box at (row, column) of `grid`, and its refusal in `refusalRow` from
// column 1 across the rest of the grid. `name` names the box ("txtGateAStart");
// the refusal is named name + "Refusal".
TypedField addTypedField(QGridLayout& grid, int row, int column, const QString& name, const QString& text,
                         int refusalRow, const QString& caption);
// What a typed-entry dialog is laid out in: a column (`outer`) that grows when refusals appear
// (and shrinks back when they go), its first row the grid of the boxes.
struct EntryLayout {
    QBoxLayout* outer = nullptr;
    QGridLayout* grid = nullptr;
};
EntryLayout startEntryLayout(QDialog& dialog);
// What a typed-entry dialog ends with: its notes (a label named `notesName`) and OK and Cancel,
// which accept and reject `dialog`.
void addNotesAndButtons(QDialog& dialog, QBoxLayout& outer, const QString& notes, const QString& notesName);

// The texts typed into `fields`, in order.
template <std::size_t N> std::array<std::string, N> typedTexts(const std::array<TypedField, N>& fields) {
    std::array<std::string, N> texts;
    for (std::size_t i = 0; i < N; ++i)
        texts[i] = fields[i].text().toStdString();
    return texts;
}

// Shows each field's refusal (none for an empty reason).
template <std::size_t N>
void showRefusals(const std::array<TypedField, N>& fields, const std::array<std::string, N>& refusals) {
    for (std::size_t i = 0; i < N; ++i)
        fields[i].setRefusal(refusals[i]);
}

} // namespace pelix::player
