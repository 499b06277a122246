// The overview window's bookmarks list: how many there are, the table, and
// Edit and Delete for the selected one. A click on a row asks for its frame,
// a double-click or Edit asks to edit it, the Delete key or Delete asks to
// delete it; the window that owns the review answers (the list only shows).
#pragma once

#include "player/overview/bookmark_marks.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;
class QTableView;

namespace pelix::overview {

class BookmarkTable;

class BookmarksPanel : public QWidget {
    Q_OBJECT
  public:
    explicit BookmarksPanel(QWidget* parent = nullptr);

    void setBookmarks(BookmarkMarks marks, int32_t framesPerSecond);
    const BookmarkTable& table() const { return *m_model; }
    QTableView& view() { return *m_view; }
    // The selected row (its index in the list given), -1 when none is.
    int selectedRow() const;
    QString countText() const;

  signals:
    // The user clicked a bookmark of the recording: show its frame.
    void frameRequested(int32_t frame);
    void editRequested(int index);
    void deleteRequested(int index);

  private:
    void updateButtons();
    void editSelected();
    void deleteSelected();

    QLabel* m_count = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QTableView* m_view = nullptr;
    BookmarkTable* m_model = nullptr;
};

} // namespace pelix::overview
