// The reviewer's bookmarks as the overview strip and the B-scan mark them:
// the list as the window was given it (its order is the index an edit or a
// delete names) and, in frame order, those that point at a frame of the
// recording, for drawing and for naming the bookmark under the pointer.
#pragma once

#include "core/review/review_file.h"

#include <QColor>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pelix::overview {

using SharedBookmarks = std::shared_ptr<const std::vector<review::Bookmark>>;

class BookmarkMarks {
  public:
    BookmarkMarks() = default;
    BookmarkMarks(SharedBookmarks marks, int32_t frameCount);

    const std::vector<review::Bookmark>& all() const;
    const SharedBookmarks& shared() const { return m_marks; }
    int32_t frameCount() const { return m_frameCount; }
    // The frames of the bookmarks inside the recording, ascending (a frame as
    // often as it is bookmarked).
    const std::vector<int32_t>& frames() const { return m_frames; }
    // How many bookmarks point at no frame of the recording.
    std::size_t outOfRange() const { return all().size() - m_frames.size(); }

    // The bookmarks on frames first..last: the first of them (its place in
    // all()) and how many there are; nothing when there is none.
    struct Found {
        std::size_t index = 0;
        std::size_t count = 0;
    };
    std::optional<Found> between(int32_t first, int32_t last) const;

  private:
    SharedBookmarks m_marks;
    int32_t m_frameCount = 0;
    std::vector<int32_t> m_frames;
    std::vector<std::size_t> m_index; // m_frames[k] is the frame of all()[m_index[k]]
};

// What a status line adds for the bookmarks on frames first..last:
// "Bookmark 3 (frame 120): weld root" with "and 2 more" when they are several;
// empty when there is none.
QString bookmarkHoverText(const BookmarkMarks& marks, int32_t first, int32_t last);

// The colour of bookmark marks: gold, apart from the gates' green and blue,
// the flags' red, the matches' orange and the indications' purple, and above
// the B-scan's cells rather than over them (where the colour map ends in yellow).
QColor bookmarkColour();
QColor bookmarkOutline();

} // namespace pelix::overview
