#include "player/ui/search_box_dialog.h"

#include <QGridLayout>
#include <QLabel>

namespace pelix::player {

SearchBoxDialog::SearchBoxDialog(const SearchBoxEntry& entry, bool rf, QWidget* parent)
    : QDialog(parent), m_entry(entry) {
    setObjectName(QStringLiteral("SearchBoxDialog"));
    setWindowTitle(QStringLiteral("Search box"));
    const QString unit = QString::fromUtf8(entry.units().symbol());

    const EntryLayout parts = startEntryLayout(*this);
    QBoxLayout* outer = parts.outer;
    QGridLayout* grid = parts.grid;
    grid->addWidget(new QLabel(QStringLiteral("From"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("To"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Position (%1)").arg(unit), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Amplitude (%)"), this), 4, 0);
    const auto field = [&](SearchField f, int row, int column, const char* name, int refusalRow,
                           const QString& caption) {
        m_fields[static_cast<std::size_t>(f)] =
            addTypedField(*grid, row, column, QString::fromLatin1(name),
                          QString::fromStdString(entry.text(f)), refusalRow, caption);
    };
    field(SearchField::From, 1, 1, "txtSearchFrom", 2, QStringLiteral("Position from"));
    field(SearchField::To, 1, 2, "txtSearchTo", 3, QStringLiteral("Position to"));
    field(SearchField::Lowest, 4, 1, "txtSearchLowest", 5, QStringLiteral("Lowest amplitude"));
    field(SearchField::Highest, 4, 2, "txtSearchHighest", 6, QStringLiteral("Highest amplitude"));

    QString note =
        QStringLiteral("A frame matches where its trace passes inside the box\n(its edges excluded).");
    if (rf)
        note += QStringLiteral("\nIn RF the amplitudes count from the centre line,\n"
                               "in the half of the A-scan the box is in.");
    addNotesAndButtons(*this, *outer, note, QStringLiteral("lblSearchBoxNotes"));
}

void SearchBoxDialog::accept() {
    SearchBoxEntryResult read = m_entry.read(typedTexts(m_fields));
    showRefusals(m_fields, read.refusals);
    adjustSize();
    if (!read.accepted()) return;
    m_result = std::move(read);
    QDialog::accept();
}

} // namespace pelix::player
