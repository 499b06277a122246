#include "player/ui/typed_field.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pelix::player {

QString TypedField::text() const {
    return edit->text();
}

void TypedField::setRefusal(const std::string& reason) const {
    refusal->setText(caption + QStringLiteral(": ") + QString::fromStdString(reason));
    refusal->setVisible(!reason.empty());
}

TypedField addTypedField(QGridLayout& grid, int row, int column, const QString& name, const QString& text,
                         int refusalRow, const QString& caption) {
    QWidget* parent = grid.parentWidget();
    TypedField field;
    field.caption = caption;
    field.edit = new QLineEdit(text, parent);
    field.edit->setObjectName(name);
    field.edit->setAlignment(Qt::AlignRight);
    field.refusal = new QLabel(parent);
    field.refusal->setObjectName(name + QStringLiteral("Refusal"));
    field.refusal->setStyleSheet(QStringLiteral("color: #c00000;"));
    field.refusal->hide();
    grid.addWidget(field.edit, row, column);
    grid.addWidget(field.refusal, refusalRow, 1, 1, -1);
    return field;
}

EntryLayout startEntryLayout(QDialog& dialog) {
    EntryLayout layout;
    layout.outer = new QVBoxLayout(&dialog);
    layout.outer->setSizeConstraint(QLayout::SetMinimumSize);
    layout.grid = new QGridLayout;
    layout.outer->addLayout(layout.grid);
    return layout;
}

void addNotesAndButtons(QDialog& dialog, QBoxLayout& outer, const QString& notes, const QString& notesName) {
    auto* label = new QLabel(notes, &dialog);
    label->setObjectName(notesName);
    outer.addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    outer.addWidget(buttons);
}

} // namespace pelix::player
