// The inspection details dialog: every detail the report names, with its
// caption (the notes on several lines), and the recording it is about, by
// name, size and SHA-256, shown but not edited.
#pragma once

#include "core/review/review_file.h"

#include <QDialog>

#include <string_view>
#include <utility>
#include <vector>

class QLineEdit;

namespace pelix::player {

class InspectionDialog : public QDialog {
    Q_OBJECT
  public:
    InspectionDialog(const review::InspectionDetails& details, QWidget* parent = nullptr);

    // The recording's name and size; its SHA-256 when `recording.sha256` is
    // set, else "computing…".
    void showRecording(const review::RecordingIdentity& recording);
    review::InspectionDetails details() const;
    // The edit of the detail `key` (a QLineEdit, or a QPlainTextEdit for the notes).
    QWidget* fieldEdit(std::string_view key) const;

  private:
    struct Edit {
        const review::InspectionField* field;
        QWidget* edit;
        QString given; // the value as the edit holds it before any typing
    };
    std::vector<Edit> m_edits;
    review::InspectionDetails m_given;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_size = nullptr;
    QLineEdit* m_sha256 = nullptr;
};

} // namespace pelix::player
