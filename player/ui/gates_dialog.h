// "Gates…" (Ctrl+G): gate A and B start and threshold typed in the recording's
// units, for what otherwise only a drag reaches. The fields start with the
// gates as they are on screen; a value out of reach is refused beside its
// field. The widths are shown but not typed: a drag keeps a gate's width, and
// so does this dialog, so the re-measure is the one a drag makes.
#pragma once

#include "player/evaluation/gate_entry.h"
#include "player/ui/typed_field.h"

#include <QDialog>

#include <array>

namespace pelix::player {

class GatesDialog : public QDialog {
    Q_OBJECT
  public:
    GatesDialog(const GateEntry& entry, QWidget* parent);

    // What OK took; empty gates until it was accepted.
    const GateEntryResult& result() const { return m_result; }
    // OK: reads the fields; refused values are named beside their fields and the dialog stays.
    void accept() override;

  private:
    GateEntry m_entry;
    std::array<TypedField, kGateFields> m_fields;
    GateEntryResult m_result;
};

} // namespace pelix::player
