// The result of the last search as the window shows it: the matching frames
// in search order, listed as "1.  Frame 57" entries (or the single entry
// "Not found."), and marked on the strip under the position slider.
#pragma once

#include <QAbstractListModel>

#include <cstdint>
#include <vector>

namespace pelix::player {

class SearchResults : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void clear();
    // A search over `frameCount` frames begins: no entries yet.
    void begin(int32_t frameCount);
    void append(const std::vector<int32_t>& frames, std::size_t from);
    // The search ended after testing frames 1 .. framesSearched (fewer than
    // the frame count when it was cancelled): with no match the list says so.
    void finish(int32_t framesSearched);
    // The line under the list: how many matches, and where a cancelled search
    // stopped; empty while no finished search is shown.
    QString summary() const;

    const std::vector<int32_t>& matches() const { return m_matches; }
    int32_t frameCount() const { return m_frameCount; }
    // The frame of list row `row`; 0 for "Not found." or a row past the list.
    int32_t frameAt(int row) const;

  private:
    std::vector<int32_t> m_matches;
    int32_t m_frameCount = 0;
    int32_t m_framesSearched = 0;
    bool m_notFound = false;
    bool m_finished = false;
};

} // namespace pelix::player
