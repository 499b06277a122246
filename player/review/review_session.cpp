#include "player/review/review_session.h"

#include "core/review/review_store.h"
#include "player/review/recording_hasher.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace pelix::player {

namespace {

review::RecordingIdentity nameAndSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return {
        std::filesystem::path(path).filename().string(), error ? 0 : static_cast<std::uint64_t>(size), {}};
}

} // namespace

ReviewSession::ReviewSession(QObject* parent)
    : QObject(parent),
      m_hasher(new RecordingHasher([this](review::IdentifiedRecording r) { hashed(std::move(r)); }, this)) {}

ReviewSession::~ReviewSession() {
    m_hasher->stop();
}

bool ReviewSession::hashing() const {
    return m_hasher->running();
}

bool ReviewSession::isPlain(const review::LastSession& last) {
    return last.frame == 1 && !last.gateA && !last.gateB && !last.searchBox && !last.aviRange &&
           (last.windows.empty() || last.windows == "{}");
}

void ReviewSession::open(const std::string& recordingPath) {
    if (isOpen()) close(std::nullopt);
    m_recordingPath = recordingPath;
    m_recording = nameAndSize(recordingPath);
    const review::ReviewLoad load = review::findReview(recordingPath, m_recording);
    if (load.problem == review::ReviewProblem::None) {
        m_review = *load.review;
        m_fileNamed = m_review.recording;
        m_lastRead = m_review.lastSession;
        m_foundAt = load.path;
    } else if (load.problem != review::ReviewProblem::NotFound) {
        refuse(load.path, load.reason);
    }
    emit bookmarksChanged();
    emit inspectionChanged();
    m_hasher->start(recordingPath);
}

void ReviewSession::close(const std::optional<review::LastSession>& last) {
    if (!isOpen()) return;
    // A file not applied was named when it was found, and each refused change was told.
    bool worthKeeping = m_held && m_notApplied.isEmpty();
    if (last) {
        m_review.lastSession = *last;
        // A review already kept follows where the window was left; none is made for a plain visit.
        const bool applied = !m_foundAt.empty() && m_notApplied.isEmpty();
        if ((applied && last != m_lastRead) || (!applied && m_notApplied.isEmpty() && !isPlain(*last)))
            worthKeeping = true;
    }
    // What the user added is worth the rest of the hash; where the window stood is not.
    if (worthKeeping && m_held && !m_identity) {
        if (auto result = m_hasher->finish()) hashed(std::move(*result));
    }
    if (worthKeeping && m_identity) keep(m_held ? m_heldWhat : QStringLiteral("The last session"));
    m_hasher->stop();
    m_recordingPath.clear();
    m_recording = {};
    m_identity.reset();
    m_hashError.clear();
    m_review = {};
    m_fileNamed.reset();
    m_lastRead.reset();
    m_foundAt.clear();
    m_notApplied.clear();
    m_held = false;
    m_heldWhat.clear();
    emit bookmarksChanged();
    emit inspectionChanged();
}

void ReviewSession::addBookmark(int64_t frame, const std::string& text) {
    if (!isOpen()) return;
    review::addBookmark(m_review, {frame, text, review::isoUtc(std::time(nullptr))});
    emit bookmarksChanged();
    keep(QStringLiteral("The bookmark"));
}

bool ReviewSession::editBookmark(int index, const std::string& text) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_review.bookmarks.size()) return false;
    m_review.bookmarks[static_cast<std::size_t>(index)].text = text;
    emit bookmarksChanged();
    keep(QStringLiteral("The changed bookmark"));
    return true;
}

bool ReviewSession::deleteBookmark(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_review.bookmarks.size()) return false;
    m_review.bookmarks.erase(m_review.bookmarks.begin() + index);
    emit bookmarksChanged();
    keep(QStringLiteral("The deletion of the bookmark"));
    return true;
}

void ReviewSession::setInspection(const review::InspectionDetails& details) {
    if (!isOpen() || details == m_review.inspection) return;
    m_review.inspection = details;
    emit inspectionChanged();
    keep(QStringLiteral("The inspection details"));
}

void ReviewSession::refuse(const std::string& path, const std::string& reason) {
    m_foundAt = path;
    m_notApplied = QString::fromStdString(reason);
    emit notice(QStringLiteral("The review file %1 is not applied and is left as it is: %2")
                    .arg(QString::fromStdString(path), m_notApplied));
}

void ReviewSession::hashed(review::IdentifiedRecording result) {
    if (!isOpen()) return;
    if (!result.identity) {
        m_hashError = result.error;
        if (!m_hashError.empty())
            emit notice(
                QStringLiteral("The review of %1 cannot be kept: its SHA-256 could not be computed (%2)")
                    .arg(QString::fromStdString(m_recording.name), QString::fromStdString(m_hashError)));
        return;
    }
    m_identity = result.identity;
    m_recording = *m_identity;
    if (m_fileNamed && m_notApplied.isEmpty()) {
        if (auto other =
                review::otherRecordingReason(review::ReviewFile{*m_fileNamed, {}, {}, {}}, *m_identity)) {
            // Taken on its size alone, the review turns out to be another recording's.
            m_review = {};
            m_fileNamed.reset();
            m_lastRead.reset();
            m_held = false;
            refuse(m_foundAt, *other);
            emit bookmarksChanged();
            emit inspectionChanged();
        }
    } else if (m_foundAt.empty()) {
        lookInDataFolder();
    }
    emit identified();
    if (m_held) keep(m_heldWhat);
}

void ReviewSession::lookInDataFolder() {
    const review::ReviewLoad load = review::findReview(m_recordingPath, *m_identity);
    if (load.problem == review::ReviewProblem::NotFound) return;
    if (load.problem != review::ReviewProblem::None) {
        refuse(load.path, load.reason);
        return;
    }
    // What the user did before it was found is added to it, not lost.
    review::ReviewFile found = *load.review;
    for (const review::Bookmark& mark : m_review.bookmarks)
        review::addBookmark(found, mark);
    if (m_review.inspection != review::InspectionDetails{}) found.inspection = m_review.inspection;
    m_review = std::move(found);
    m_fileNamed = m_review.recording;
    m_lastRead = m_review.lastSession;
    m_foundAt = load.path;
    emit bookmarksChanged();
    emit inspectionChanged();
    emit lateReviewApplied();
}

void ReviewSession::keep(const QString& what) {
    if (!m_identity) {
        if (!m_hashError.empty()) {
            emit notice(QStringLiteral("%1 is not kept: the recording's SHA-256 could not be computed (%2)")
                            .arg(what, QString::fromStdString(m_hashError)));
            return;
        }
        m_held = true;
        m_heldWhat = what;
        return;
    }
    review::ReviewFile out = m_review;
    out.recording = *m_identity;
    const review::ReviewSave saved = review::saveReview(out, m_recordingPath, m_foundAt);
    if (!saved.saved) {
        m_held = true;
        m_heldWhat = what;
        emit notice(QStringLiteral("%1 is not kept: %2").arg(what, QString::fromStdString(saved.error)));
        return;
    }
    m_held = false;
    m_heldWhat.clear();
    m_foundAt = saved.path;
    m_fileNamed = out.recording;
}

std::optional<review::ReviewFile> ReviewSession::heldReview() const {
    if (!isOpen() || !m_notApplied.isEmpty()) return std::nullopt;
    if (m_foundAt.empty() && m_review.bookmarks.empty() && m_review.inspection == review::InspectionDetails{})
        return std::nullopt;
    review::ReviewFile held = m_review;
    if (m_identity) held.recording = *m_identity;
    return held;
}

} // namespace pelix::player
