// "Search box…" (Ctrl+Shift+F): the search box's limits shown and typed: where
// its left and right edges stand in the recording's units, and its lowest and
// highest amplitude in percent. OK places the box at those limits.
#pragma once

#include "player/search/search_box_entry.h"
#include "player/ui/typed_field.h"

#include <QDialog>

#include <array>

namespace pelix::player {

class SearchBoxDialog : public QDialog {
    Q_OBJECT
  public:
    // `rf`: the amplitudes count from the centre line, in the half the box is in.
    SearchBoxDialog(const SearchBoxEntry& entry, bool rf, QWidget* parent);

    const SearchBoxEntryResult& result() const { return m_result; }
    void accept() override;

  private:
    SearchBoxEntry m_entry;
    std::array<TypedField, kSearchFields> m_fields;
    SearchBoxEntryResult m_result;
};

} // namespace pelix::player
