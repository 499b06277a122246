// An entry box for a typed value with the reason it is refused shown beside
// it: the dialogs that stand in for a mouse drag (gates, search box, video
// range) refuse a value out of reach instead of clamping it silently.
#pragma once

#include <QString>

#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;

namespace pelix::player {

struct TypedField {
    QLineEdit* edit = nullptr;
    QLabel* refusal = nullptr; // under the box; hidden while there is nothing to say

    QString text() const;
    void setRefusal(const std::string& reason) const;
};

// The box at (row, column) of `grid` and its refusal in the row below it.
// `name` names the box ("txtGateAStart"); the refusal is named name + "Refusal".
TypedField addTypedField(QGridLayout& grid, int row, int column, const QString& name, const QString& text);

} // namespace pelix::player
