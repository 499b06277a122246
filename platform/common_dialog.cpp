#include "platform/common_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace pelix::platform {

namespace {
CommonDialog::OpenAnswer& openAnswer() {
    static CommonDialog::OpenAnswer answer;
    return answer;
}

SaveAnswer& saveAnswer() {
    static SaveAnswer answer;
    return answer;
}

QString withBothCases(const QString& patterns) {
    QStringList out;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = pattern.trimmed();
        if (p == QLatin1String("*.*") || p == QLatin1String("*")) {
            out << QStringLiteral("*");
            continue;
        }
        for (const QString& variant : {p, p.toLower(), p.toUpper()})
            if (!out.contains(variant)) out << variant;
    }
    return out.join(QLatin1Char(' '));
}
} // namespace

QStringList nameFiltersFromCommonDialogFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The file dialog reads the patterns from the parentheses, so the
        // description keeps its words and gets the real patterns.
        QString description = parts[i].trimmed();
        const qsizetype paren = description.lastIndexOf(QLatin1Char('('));
        if (paren > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(paren).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, withBothCases(parts[i + 1]));
    }
    return filters;
}

QString defaultSuffixOfNameFilter(const QString& nameFilter) {
    const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = nameFilter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) return {};
    const QString first = nameFilter.mid(open + 1, close - open - 1).section(QLatin1Char(' '), 0, 0);
    if (!first.startsWith(QLatin1String("*."))) return {};
    const QString suffix = first.mid(2);
    if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) return {};
    return suffix;
}

CommonDialog::CommonDialog(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("CommDlg"));
}

void CommonDialog::ShowOpen(QWidget* owner) {
    m_fileName.clear();
    if (openAnswer()) {
        m_fileName = openAnswer()(*this);
    } else {
        QFileDialog dialog(owner, m_title.isEmpty() ? QStringLiteral("Open") : m_title, m_initDir);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilters(nameFiltersFromCommonDialogFilter(m_filter));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            m_fileName = dialog.selectedFiles().constFirst();
    }
    if (!m_fileName.isEmpty()) m_initDir = QFileInfo(m_fileName).absolutePath();
}

void CommonDialog::setOpenAnswer(OpenAnswer answer) {
    openAnswer() = std::move(answer);
}

QString getSaveFileName(QWidget* owner, const SaveRequest& request) {
    if (saveAnswer()) return saveAnswer()(request);
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The caller decides what happens to an existing file of that name.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = nameFiltersFromCommonDialogFilter(request.filter);
    dialog.setNameFilters(filters);
    // A name typed without an extension gets the one of the file type picked,
    // so that picking a type is enough to choose it.
    dialog.setDefaultSuffix(defaultSuffixOfNameFilter(filters.value(0)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& picked) {
        dialog.setDefaultSuffix(defaultSuffixOfNameFilter(picked));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void setSaveAnswer(SaveAnswer answer) {
    saveAnswer() = std::move(answer);
}

} // namespace pelix::platform
