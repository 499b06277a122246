// The bookmark dialog: the frame and its time, shown, and a note of several
// lines. The same dialog adds a bookmark at the frame on screen and changes
// the note of one already kept.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace pelix::player {

class BookmarkDialog : public QDialog {
    Q_OBJECT
  public:
    // `where` says which frame, e.g. "Frame 57 at 1 s"; `note` prefills the note.
    BookmarkDialog(const QString& title, const QString& where, const QString& note,
                   QWidget* parent = nullptr);

    QString note() const;
    // True when the note was typed into: an untouched note keeps its bytes exactly,
    // even those the edit shows differently.
    bool noteChanged() const { return note() != m_given; }
    QPlainTextEdit& noteEdit() { return *m_note; }

  private:
    QPlainTextEdit* m_note = nullptr;
    QString m_given; // the note as the edit holds it before any typing
};

} // namespace pelix::player
