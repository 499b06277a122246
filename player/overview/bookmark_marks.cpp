#include "player/overview/bookmark_marks.h"

#include "core/review/display_text.h"

#include <algorithm>

namespace pelix::overview {

namespace {
// A status line has room for a short note only.
constexpr std::size_t kHoverNoteCharacters = 60;
} // namespace

BookmarkMarks::BookmarkMarks(SharedBookmarks marks, int32_t frameCount)
    : m_marks(std::move(marks)), m_frameCount(std::max(frameCount, 0)) {
    const std::vector<review::Bookmark>& list = all();
    m_index.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!review::isOutOfRange(list[i], m_frameCount)) m_index.push_back(i);
    // The review keeps its marks by frame already; a list from elsewhere is put in order here.
    std::stable_sort(m_index.begin(), m_index.end(),
                     [&list](std::size_t a, std::size_t b) { return list[a].frame < list[b].frame; });
    m_frames.reserve(m_index.size());
    for (const std::size_t i : m_index)
        m_frames.push_back(static_cast<int32_t>(list[i].frame));
}

const std::vector<review::Bookmark>& BookmarkMarks::all() const {
    static const std::vector<review::Bookmark> none;
    return m_marks ? *m_marks : none;
}

std::optional<BookmarkMarks::Found> BookmarkMarks::between(int32_t first, int32_t last) const {
    if (last < first) return std::nullopt;
    const auto from = std::lower_bound(m_frames.begin(), m_frames.end(), first);
    const auto to = std::upper_bound(from, m_frames.end(), last);
    if (from == to) return std::nullopt;
    const auto k = static_cast<std::size_t>(from - m_frames.begin());
    // The first in the list of those found: stable sorting keeps it first among equal frames only.
    std::size_t index = m_index[k];
    for (auto it = from; it != to; ++it)
        index = std::min(index, m_index[static_cast<std::size_t>(it - m_frames.begin())]);
    return Found{index, static_cast<std::size_t>(to - from)};
}

QString bookmarkHoverText(const BookmarkMarks& marks, int32_t first, int32_t last) {
    const auto found = marks.between(first, last);
    if (!found) return {};
    const review::Bookmark& mark = marks.all()[found->index];
    QString text = QStringLiteral("Bookmark %1 (frame %2)").arg(found->index + 1).arg(mark.frame);
    if (!mark.text.empty())
        text += QStringLiteral(": ") +
                QString::fromStdString(review::shortenedForDisplay(mark.text, kHoverNoteCharacters));
    if (found->count > 1) text += QStringLiteral(" and %1 more").arg(found->count - 1);
    return text;
}

QColor bookmarkColour() {
    return QColor(242, 183, 5);
}

QColor bookmarkOutline() {
    return QColor(96, 64, 0);
}

} // namespace pelix::overview
