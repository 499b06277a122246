// The inspection report: a PDF whose first pages hold the inspection details,
// the recording with its SHA-256, its summary and overview strip, the
// indications and the bookmarks with their notes, followed by one page per
// chosen frame showing the main window as the player draws that frame, the
// frame's number and time, its bookmark notes and its seven readings. Pages
// are numbered; the footer names the file and the date.
#pragma once

#include "core/report/report_indications.h"
#include "core/review/review_file.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelix::report {

// Which frames get a page of their own.
enum class FrameChoice {
    Listed,      // `frames`; when empty, the flagged frames, or frame 1 when none is flagged
    Bookmarks,   // each frame with a bookmark, once, in frame order
    Indications, // each indication's peak frame
};

struct ReportRequest {
    QString recording;           // the .BIN file
    std::string output;          // the PDF to write: the name's bytes, exactly as given
    std::vector<int32_t> frames; // with FrameChoice::Listed
    FrameChoice choice = FrameChoice::Listed;
    IndicationChoice indications; // the gate, level and drop of the indication table
    // What the window already knows of the recording's review. When not given, the report
    // computes the recording's SHA-256 itself and finds its review file as `pelix review` does.
    std::optional<review::ReviewFile> review;
    std::optional<review::RecordingIdentity> identity;
    QDateTime date = QDateTime::currentDateTime();
};

enum class ReportStatus {
    Written,
    Rejected,    // the recording cannot be opened; `error` holds the system's text
    BadFrames,   // a chosen frame is outside the recording
    WriteFailed, // the PDF was refused or could not be written; nothing was written
    Cancelled,   // nothing was written
};

struct ReportOutcome {
    ReportStatus status = ReportStatus::Written;
    QString error;
    int pages = 0;
    // Frames whose record the end of the file cuts short: their page says so instead of showing a picture.
    std::vector<int32_t> cutShortFrames;
    std::vector<int32_t> frames; // the frames given a page
    // Why the review file found is not applied (the report says so and goes on); empty otherwise.
    QString reviewNote;
};

// Called after each page with the pages done and the total; returning false cancels.
using ReportProgress = std::function<bool(int done, int total)>;
// Called while the recording's SHA-256 is computed, with the bytes read and the file's size;
// returning false cancels.
using HashingProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// The frames are drawn by a hidden main window of its own, so a window the
// user is watching is never moved. Needs a running QApplication.
ReportOutcome writeInspectionReport(const ReportRequest& request, const ReportProgress& progress = {},
                                    const HashingProgress& hashing = {});

} // namespace pelix::report
