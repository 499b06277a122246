#include "player/review/inspection_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pelix::player {

namespace {

constexpr std::string_view kNotesKey = "Notes";

QLineEdit* shownOnly(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true); // selectable and copied, never typed into
    return edit;
}

QString textOf(const review::InspectionField& field, const QWidget* edit) {
    return field.key == kNotesKey ? static_cast<const QPlainTextEdit*>(edit)->toPlainText()
                                  : static_cast<const QLineEdit*>(edit)->text();
}

} // namespace

InspectionDialog::InspectionDialog(const review::InspectionDetails& details, QWidget* parent)
    : QDialog(parent), m_given(details) {
    setObjectName(QStringLiteral("dlgInspection"));
    setWindowTitle(QStringLiteral("Inspection details"));
    const QFontMetrics metrics(font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));

    auto* recording = new QGroupBox(QStringLiteral("Recording"), this);
    auto* recordingForm = new QFormLayout(recording);
    m_name = shownOnly(recording, "txtInspectionRecordingName");
    m_size = shownOnly(recording, "txtInspectionRecordingSize");
    m_sha256 = shownOnly(recording, "txtInspectionRecordingSha256");
    // The whole SHA-256 in sight: 64 digits.
    m_sha256->setMinimumWidth(charWidth * 66);
    recordingForm->addRow(QStringLiteral("Name:"), m_name);
    recordingForm->addRow(QStringLiteral("Size:"), m_size);
    recordingForm->addRow(QStringLiteral("SHA-256:"), m_sha256);

    auto* form = new QFormLayout;
    for (const review::InspectionField& field : review::inspectionFields()) {
        const QString value = QString::fromStdString(details.*field.value);
        const QString name = QStringLiteral("txtInspection") +
                             QString::fromLatin1(field.key.data(), static_cast<int>(field.key.size()));
        QWidget* edit = nullptr;
        if (field.key == kNotesKey) {
            auto* notes = new QPlainTextEdit(this);
            notes->setPlainText(value);
            notes->setTabChangesFocus(true);
            notes->setMinimumHeight(metrics.lineSpacing() * 5);
            edit = notes;
        } else {
            auto* line = new QLineEdit(this);
            line->setText(value);
            edit = line;
        }
        edit->setObjectName(name);
        form->addRow(QString::fromUtf8(field.caption.data(), static_cast<int>(field.caption.size())) +
                         QLatin1Char(':'),
                     edit);
        m_edits.push_back({&field, edit, textOf(field, edit)});
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(recording);
    layout->addLayout(form, 1);
    layout->addWidget(buttons);
    if (!m_edits.empty()) m_edits.front().edit->setFocus();
}

void InspectionDialog::showRecording(const review::RecordingIdentity& recording) {
    m_name->setText(QString::fromStdString(recording.name));
    m_size->setText(QStringLiteral("%1 bytes").arg(recording.size));
    m_sha256->setText(recording.sha256.empty() ? QStringLiteral("computing\u2026")
                                               : QString::fromStdString(recording.sha256));
}

review::InspectionDetails InspectionDialog::details() const {
    review::InspectionDetails out = m_given;
    for (const Edit& e : m_edits) {
        // A detail left untouched keeps its bytes exactly, even those the edit shows differently.
        const QString text = textOf(*e.field, e.edit);
        if (text != e.given) out.*e.field->value = text.toStdString();
    }
    return out;
}

QWidget* InspectionDialog::fieldEdit(std::string_view key) const {
    for (const Edit& e : m_edits)
        if (e.field->key == key) return e.edit;
    return nullptr;
}

} // namespace pelix::player
