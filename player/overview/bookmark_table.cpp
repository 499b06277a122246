#include "player/overview/bookmark_table.h"

#include "core/report/report_summary.h"
#include "core/review/display_text.h"

#include <QGuiApplication>
#include <QPalette>

#include <climits>

namespace pelix::overview {

namespace {
// A row holds one line; the whole note (up to this) is its tooltip.
constexpr std::size_t kRowNoteCharacters = 200;
constexpr std::size_t kTooltipNoteCharacters = 600;
} // namespace

BookmarkTable::BookmarkTable(QObject* parent) : QAbstractTableModel(parent) {}

void BookmarkTable::setBookmarks(BookmarkMarks marks, int32_t framesPerSecond) {
    beginResetModel();
    m_marks = std::move(marks);
    m_framesPerSecond = framesPerSecond;
    endResetModel();
}

bool BookmarkTable::outOfRange(int row) const {
    const auto& all = m_marks.all();
    return row >= 0 && static_cast<std::size_t>(row) < all.size() &&
           review::isOutOfRange(all[static_cast<std::size_t>(row)], m_marks.frameCount());
}

int BookmarkTable::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(std::min<std::size_t>(m_marks.all().size(), INT_MAX));
}

int BookmarkTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant BookmarkTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const review::Bookmark& mark = m_marks.all()[static_cast<std::size_t>(index.row())];
    const bool outside = review::isOutOfRange(mark, m_marks.frameCount());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Frame:
            return QString::number(mark.frame);
        case Time:
            return outside ? QStringLiteral("out of range")
                           : QString::fromStdString(report::frameTimeText(mark.frame, m_framesPerSecond));
        case Note:
            return QString::fromStdString(review::shortenedForDisplay(mark.text, kRowNoteCharacters));
        default:
            return {};
        }
    case Qt::ForegroundRole:
        if (outside) return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == Note ? QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter)
                                      : QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole: {
        QString tip = outside ? QStringLiteral("Frame %1 is not in this recording of %2 frames.")
                                    .arg(mark.frame)
                                    .arg(m_marks.frameCount())
                              : QStringLiteral("Frame %1").arg(mark.frame);
        if (!mark.created.empty())
            tip += QStringLiteral(", added %1").arg(QString::fromStdString(mark.created));
        if (!mark.text.empty())
            tip += QStringLiteral("\n") +
                   QString::fromStdString(review::shortenedForDisplay(mark.text, kTooltipNoteCharacters));
        // As rich text the tooltip wraps a long note instead of running off the screen.
        return QStringLiteral("<p>%1</p>")
            .arg(tip.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    }
    default:
        return {};
    }
}

QVariant BookmarkTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const char* const kTitles[kColumns] = {"Frame", "Time", "Note"};
    return section >= 0 && section < kColumns ? QString::fromLatin1(kTitles[section]) : QVariant();
}

} // namespace pelix::overview
