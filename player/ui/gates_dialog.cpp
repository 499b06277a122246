#include "player/ui/gates_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace pelix::player {

namespace {

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

GatesDialog::GatesDialog(const GateEntry& entry, QWidget* parent) : QDialog(parent), m_entry(entry) {
    setObjectName(QStringLiteral("GatesDialog"));
    setWindowTitle(QStringLiteral("Gates"));
    const QString unit = QString::fromUtf8(entry.units().symbol());

    const EntryLayout parts = startEntryLayout(*this);
    QBoxLayout* outer = parts.outer;
    QGridLayout* grid = parts.grid;
    grid->addWidget(new QLabel(QStringLiteral("Start (%1)").arg(unit), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Width (%1)").arg(unit), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Threshold (%)"), this), 0, 3);

    const GateEntryTexts& texts = entry.texts();
    const auto gateRow = [&](bool gateA, int row) {
        const QString gate = gateA ? QStringLiteral("A") : QStringLiteral("B");
        const bool shown = entry.shown(gateA);
        auto* caption = new QLabel(shown ? QStringLiteral("Gate %1").arg(gate)
                                         : QStringLiteral("Gate %1 (off in this frame)").arg(gate),
                                   this);
        grid->addWidget(caption, row, 0);
        const GateField start = gateA ? GateField::AStart : GateField::BStart;
        const GateField threshold = gateA ? GateField::AThreshold : GateField::BThreshold;
        TypedField& s = m_fields[static_cast<std::size_t>(start)];
        s = addTypedField(*grid, row, 1, QStringLiteral("txtGate%1Start").arg(gate), qtext(texts[start]),
                          row + 1, QStringLiteral("Gate %1 start").arg(gate));
        auto* width = new QLineEdit(qtext(entry.widthText(gateA)), this);
        width->setObjectName(QStringLiteral("txtGate%1Width").arg(gate));
        width->setAlignment(Qt::AlignRight);
        width->setReadOnly(true);
        width->setEnabled(false);
        width->setToolTip(QStringLiteral("A drag keeps the gate's width as the instrument recorded it"));
        grid->addWidget(width, row, 2);
        TypedField& t = m_fields[static_cast<std::size_t>(threshold)];
        t = addTypedField(*grid, row, 3, QStringLiteral("txtGate%1Thresh").arg(gate), qtext(texts[threshold]),
                          row + 2, QStringLiteral("Gate %1 threshold").arg(gate));
        s.edit->setEnabled(shown);
        t.edit->setEnabled(shown);
    };
    gateRow(true, 1);
    gateRow(false, 4);

    const QString origin =
        entry.gateBRelative()
            ? QStringLiteral("Gate B's start counts from gate A's echo, as the instrument set it.")
            : QStringLiteral("Gate B's start is where it starts on the A-scan.");
    addNotesAndButtons(
        *this, *outer,
        origin + QLatin1Char('\n') +
            QStringLiteral("The widths stay as recorded: a drag does not change them.\n"
                           "The gates are applied as a drag to these values would leave them."),
        QStringLiteral("lblGatesNotes"));
}

void GatesDialog::accept() {
    GateEntryTexts typed;
    typed.fields = typedTexts(m_fields);
    GateEntryResult read = m_entry.read(typed);
    showRefusals(m_fields, read.refusals);
    adjustSize();
    if (!read.accepted()) return;
    m_result = std::move(read);
    QDialog::accept();
}

} // namespace pelix::player
