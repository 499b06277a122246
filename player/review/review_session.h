// The review of the recording on screen: its bookmarks, inspection details and
// last session, read from the review file when the recording opens and kept
// there at once when they change (core/review/review_store.h decides where
// the file lives and never replaces one that is not this recording's).
//
// The recording's SHA-256 decides which review belongs to it. It is computed
// in the background; until it is known the review beside the recording is
// taken on its size alone, a review in the data folder cannot be found, and
// changes are held and kept as soon as it is. A review file that cannot be
// applied is left exactly as it is and the user is told why.
#pragma once

#include "core/review/review_store.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelix::player {

class RecordingHasher;

class ReviewSession : public QObject {
    Q_OBJECT
  public:
    explicit ReviewSession(QObject* parent = nullptr);
    ~ReviewSession() override;

    // A recording was opened: its review is read and its SHA-256 started.
    void open(const std::string& recordingPath);
    // The recording is closed or replaced. `last`, where the window was left,
    // is kept with the review; a plain last session (see isPlain) makes no new
    // review file. Held changes wait for the SHA-256 to be kept; nothing else does.
    void close(const std::optional<review::LastSession>& last);
    bool isOpen() const { return !m_recordingPath.empty(); }

    const std::vector<review::Bookmark>& bookmarks() const { return m_review.bookmarks; }
    // Adds a bookmark at `frame` (1-based), after those already there.
    void addBookmark(int64_t frame, const std::string& text);
    // `index` into bookmarks(); false when there is no such bookmark.
    bool editBookmark(int index, const std::string& text);
    bool deleteBookmark(int index);

    const review::InspectionDetails& inspection() const { return m_review.inspection; }
    void setInspection(const review::InspectionDetails& details);

    // The recording's name and size at once; its SHA-256 once hashed (empty until then).
    const review::RecordingIdentity& recording() const { return m_recording; }
    // Set once the SHA-256 is known.
    const std::optional<review::RecordingIdentity>& identity() const { return m_identity; }
    // The last session as the review file held it when it was applied.
    const std::optional<review::LastSession>& lastSession() const { return m_lastRead; }
    // Where the review file is; empty while there is none.
    const std::string& reviewPath() const { return m_foundAt; }
    // Why the review file there is not applied; empty when it is or when there is none.
    const QString& notApplied() const { return m_notApplied; }
    bool hashing() const;
    // The review as the window holds it (changes not yet kept included), for a report: none
    // while nothing was ever added and no file was found, and none for a file not applied,
    // which the report finds again and names.
    std::optional<review::ReviewFile> heldReview() const;

    // A session that says nothing a fresh open would not: frame 1, nothing moved, no tool window.
    static bool isPlain(const review::LastSession& last);

  Q_SIGNALS:
    void bookmarksChanged();
    void inspectionChanged();
    void identified();
    // A review found only once the SHA-256 was known (in the data folder) was applied.
    void lateReviewApplied();
    // Something the user must be told: a review not applied, a change not kept.
    void notice(const QString& text);

  private:
    void hashed(review::IdentifiedRecording result);
    void refuse(const std::string& path, const std::string& reason);
    void lookInDataFolder();
    // Keeps the review now, or holds it until the SHA-256 is known; `what` names the change.
    void keep(const QString& what);

    RecordingHasher* m_hasher = nullptr;
    std::string m_recordingPath;
    review::RecordingIdentity m_recording;
    std::optional<review::RecordingIdentity> m_identity;
    std::string m_hashError;
    review::ReviewFile m_review;
    // The recording the applied file named, checked against the SHA-256 once known.
    std::optional<review::RecordingIdentity> m_fileNamed;
    std::optional<review::LastSession> m_lastRead;
    std::string m_foundAt;
    QString m_notApplied;
    bool m_held = false; // a change waits to be kept
    QString m_heldWhat;
};

} // namespace pelix::player
