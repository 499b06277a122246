// pelix report: an inspection report of a recording as a PDF — the inspection
// details, the recording with its SHA-256 and overview strip, the indications
// and the bookmarks, then one page per chosen frame with the player's window
// as it shows that frame, its bookmark notes and its readings.
#include "core/indications/indication.h"
#include "core/recording/open_recording.h"
#include "core/report/report_frames.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "player/report/inspection_report.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/headless_application.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"

#include <QApplication>

#include <iostream>

namespace pelix::tool {

int runReport(const Args& args) {
    const ParsedArgs parsed = parseArgs(kReportCommand, args);
    const bool flags = parsed.has("--flags");
    if (parsed.help) {
        std::cout << helpText(kReportCommand);
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix report: " << why << "\n" << helpText(kReportCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    const std::string output = parsed.has("-o") ? *parsed.text("-o") : std::string();
    const std::string* frameList = parsed.text("--frames");
    const bool listGiven = frameList != nullptr;
    if (output.empty()) return usage("-o REPORT.pdf is needed");
    const bool bookmarks = parsed.has("--bookmarks");
    const bool indicationPeaks = parsed.has("--indications");
    if (int(flags) + int(listGiven) + int(bookmarks) + int(indicationPeaks) > 1)
        return usage("--frames, --flags, --bookmarks and --indications exclude each other");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    report::IndicationChoice table;
    if (const std::string* gate = parsed.text("--gate")) {
        if (*gate == "a" || *gate == "A")
            table.gate = indications::Gate::A;
        else if (*gate == "b" || *gate == "B")
            table.gate = indications::Gate::B;
        else
            return usage("--gate must be a or b");
    }
    if (const std::optional<int64_t> level = parsed.number("--level"))
        table.level = static_cast<int32_t>(*level);
    if (const std::string* text = parsed.text("--drop")) {
        const std::optional<double> drop = parseDecimal(*text);
        if (!drop || *drop < 0.0 || *drop > indications::kLargestDropDb)
            return usage("--drop must be a number of dB within 0..200");
        table.dropDb = *drop;
    }

    // Reject what the player rejects, with its own texts, before Qt starts.
    std::vector<int32_t> frames;
    {
        const recording::OpenOutcome outcome =
            recording::OpenRecording::open(parsed.positional[0], recording::OpenRecording::FlagScan::Skip);
        if (!outcome.recording) return reportRejected(outcome);
        if (listGiven) {
            std::string error;
            const auto parsedFrames =
                report::parseFrameList(*frameList, outcome.recording->FrameCount(), error);
            if (!parsedFrames) return usage("--frames: " + error);
            frames = *parsedFrames;
        }
    }

    const auto app = startHeadlessApplication();
    report::ReportRequest request;
    request.recording = platform::pathFromBytes(parsed.positional[0]);
    request.output = output;
    request.frames = frames;
    request.choice = bookmarks         ? report::FrameChoice::Bookmarks
                     : indicationPeaks ? report::FrameChoice::Indications
                                       : report::FrameChoice::Listed;
    request.indications = table;
    const report::ReportOutcome outcome = report::writeInspectionReport(request);
    switch (outcome.status) {
    case report::ReportStatus::Written:
        break;
    case report::ReportStatus::Rejected:
        std::cerr << outcome.error.toStdString() << "\n";
        return kExitRejected;
    case report::ReportStatus::BadFrames:
        return usage(outcome.error.toStdString());
    case report::ReportStatus::WriteFailed:
    case report::ReportStatus::Cancelled:
        // The error names the file and says what went wrong.
        std::cerr << "pelix report: " << outcome.error.toStdString() << "\n";
        return kExitWriteFailed;
    }
    // The report is written without the review, and says why on its first page: a note, not a failure.
    if (!outcome.reviewNote.isEmpty())
        std::cerr << "pelix report: " << outcome.reviewNote.toStdString() << "\n";
    if (outcome.frames.empty() && (bookmarks || indicationPeaks))
        std::cerr << "pelix report: " << (bookmarks ? "no frame has a bookmark" : "no indication was found")
                  << ": the report has no frame pages\n";
    for (const int32_t f : outcome.cutShortFrames)
        std::cerr << "pelix report: frame " << f
                  << " is cut short by the end of the file; its page has no picture\n";
    return outcome.cutShortFrames.empty() ? kExitOk : kExitFrameCutShort;
}

} // namespace pelix::tool
