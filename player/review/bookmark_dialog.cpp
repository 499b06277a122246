#include "player/review/bookmark_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pelix::player {

BookmarkDialog::BookmarkDialog(const QString& title, const QString& where, const QString& note,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dlgBookmark"));
    setWindowTitle(title);
    auto* place = new QLabel(where, this);
    place->setObjectName(QStringLiteral("lblBookmarkFrame"));
    auto* caption = new QLabel(QStringLiteral("&Note:"), this);
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("txtBookmarkNote"));
    m_note->setPlainText(note);
    m_given = m_note->toPlainText();
    // Tab moves on to the buttons; a note that needs a tab gets it pasted.
    m_note->setTabChangesFocus(true);
    caption->setBuddy(m_note);
    const QFontMetrics metrics(m_note->font());
    m_note->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 48, metrics.lineSpacing() * 5);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(place);
    layout->addWidget(caption);
    layout->addWidget(m_note, 1);
    layout->addWidget(buttons);
    m_note->setFocus();
}

QString BookmarkDialog::note() const {
    return m_note->toPlainText();
}

} // namespace pelix::player
