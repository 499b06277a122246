#include "player/search/search_results.h"

#include "core/search/search_entries.h"

namespace pelix::player {

int SearchResults::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (m_notFound) return 1;
    return static_cast<int>(std::min<std::size_t>(m_matches.size(), INT32_MAX));
}

QVariant SearchResults::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    if (m_notFound) return QString::fromLatin1(search::kNotFound);
    const auto row = static_cast<std::size_t>(index.row());
    return QString::fromStdString(search::entryText(static_cast<int64_t>(row) + 1, m_matches[row]));
}

void SearchResults::clear() {
    beginResetModel();
    std::vector<int32_t>().swap(m_matches);
    m_notFound = false;
    m_finished = false;
    m_frameCount = 0;
    m_framesSearched = 0;
    endResetModel();
}

void SearchResults::begin(int32_t frameCount) {
    clear();
    m_frameCount = frameCount;
}

void SearchResults::append(const std::vector<int32_t>& frames, std::size_t from) {
    if (from >= frames.size()) return;
    const int first = rowCount();
    const auto added = static_cast<int>(std::min<std::size_t>(frames.size() - from, INT32_MAX - first));
    if (added <= 0) return;
    beginInsertRows(QModelIndex(), first, first + added - 1);
    m_matches.insert(m_matches.end(), frames.begin() + static_cast<std::ptrdiff_t>(from),
                     frames.begin() + static_cast<std::ptrdiff_t>(from) + added);
    endInsertRows();
}

void SearchResults::finish(int32_t framesSearched) {
    m_finished = true;
    m_framesSearched = framesSearched;
    if (!m_matches.empty()) return;
    beginInsertRows(QModelIndex(), 0, 0);
    m_notFound = true;
    endInsertRows();
}

QString SearchResults::summary() const {
    if (!m_finished) return {};
    return QString::fromStdString(
        search::summaryText(static_cast<int64_t>(m_matches.size()), m_framesSearched, m_frameCount));
}

int32_t SearchResults::frameAt(int row) const {
    if (m_notFound || row < 0 || static_cast<std::size_t>(row) >= m_matches.size()) return 0;
    return m_matches[static_cast<std::size_t>(row)];
}

} // namespace pelix::player
