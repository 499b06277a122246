// Open dialog driven like the instrument software's common dialog: a filter in
// the "Desc|pattern|Desc|pattern" form, ShowOpen, then FileName (empty when
// the user cancelled). Tests answer it without a modal dialog through
// setOpenAnswer().
#pragma once

#include "platform/export.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace pelix::platform {

// "Pelix Video Files (*.BIN)|*.BIN|All Files (*.*)|*.*" as name filters of
// the file dialog. Patterns also match the other letter case (the instrument
// writes upper-case names, copies often end up lower-case), and "*.*" means
// every file, dotted or not.
PELIX_PLATFORM_API QStringList nameFiltersFromCommonDialogFilter(const QString& filter);

// The extension a name filter's first pattern gives ("avi" for "AVI Files
// (*.avi *.AVI)"); empty when it names no one extension ("*", "*.*", "*.b?n").
PELIX_PLATFORM_API QString defaultSuffixOfNameFilter(const QString& nameFilter);

// The save dialog: a title, a filter in the "Desc|pattern" form and the folder
// it starts in. The chosen name is returned as the user gave it (an existing
// file may be chosen; the folder must exist); empty when the user cancelled.
struct SaveRequest {
    QString title;
    QString filter;
    QString folder;
};
using SaveAnswer = std::function<QString(const SaveRequest& request)>;
PELIX_PLATFORM_API QString getSaveFileName(QWidget* owner, const SaveRequest& request);
// Replaces the modal save dialog (tests); an empty function restores it.
PELIX_PLATFORM_API void setSaveAnswer(SaveAnswer answer);

class PELIX_PLATFORM_API CommonDialog : public QObject {
    Q_OBJECT
  public:
    using OpenAnswer = std::function<QString(const CommonDialog& dialog)>;

    explicit CommonDialog(QObject* parent = nullptr);

    void setFilter(const QString& filter) { m_filter = filter; }
    const QString& filter() const { return m_filter; }
    void setDialogTitle(const QString& title) { m_title = title; }
    const QString& dialogTitle() const { return m_title; }

    // The folder the dialog starts in; the folder of each file chosen in it
    // becomes the next one (empty: the working folder).
    void setInitDir(const QString& folder) { m_initDir = folder; }
    const QString& InitDir() const { return m_initDir; }

    // Shows the open dialog over `owner`; FileName is the chosen path, empty on cancel.
    void ShowOpen(QWidget* owner = nullptr);
    const QString& FileName() const { return m_fileName; }

    // Replaces the modal dialog for every CommonDialog (tests); an empty function restores it.
    static void setOpenAnswer(OpenAnswer answer);

  private:
    QString m_filter;
    QString m_title;
    QString m_fileName;
    QString m_initDir;
};

} // namespace pelix::platform
