// The inspection report: a PDF whose first page summarises the recording with
// its overview strip, followed by one page per chosen frame showing the main
// window as the player draws that frame, the frame's number and time and its
// seven readings. Pages are numbered; the footer names the file and the date.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pelix::report {

struct ReportRequest {
    QString recording;           // the .BIN file
    std::string output;          // the PDF to write: the name's bytes, exactly as given
    std::vector<int32_t> frames; // empty: the flagged frames, or frame 1 when none is flagged
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
};

// Called after each page with the pages done and the total; returning false cancels.
using ReportProgress = std::function<bool(int done, int total)>;

// The frames are drawn by a hidden main window of its own, so a window the
// user is watching is never moved. Needs a running QApplication.
ReportOutcome writeInspectionReport(const ReportRequest& request, const ReportProgress& progress = {});

} // namespace pelix::report
