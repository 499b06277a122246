// The bookmarks list as a table: one row per bookmark in the order the
// window was given them (a row's number is the index an edit or a delete
// names), with its frame, the recording time of that frame and its note on
// one line. A bookmark beyond the recording keeps its row, greyed, its time
// "out of range".
#pragma once

#include "player/overview/bookmark_marks.h"

#include <QAbstractTableModel>

namespace pelix::overview {

class BookmarkTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Frame, Time, Note, kColumns };

    explicit BookmarkTable(QObject* parent = nullptr);

    void setBookmarks(BookmarkMarks marks, int32_t framesPerSecond);
    const BookmarkMarks& bookmarks() const { return m_marks; }
    bool outOfRange(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    BookmarkMarks m_marks;
    int32_t m_framesPerSecond = 50;
};

} // namespace pelix::overview
