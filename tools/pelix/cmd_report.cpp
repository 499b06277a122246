// pelix report: an inspection report of a recording as a PDF — a summary page
// with the overview strip, then one page per chosen frame with the player's
// window as it shows that frame and the frame's readings.
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

namespace {} // namespace

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
    if (flags && listGiven) return usage("--frames and --flags exclude each other");

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
    for (const int32_t f : outcome.cutShortFrames)
        std::cerr << "pelix report: frame " << f
                  << " is cut short by the end of the file; its page has no picture\n";
    return outcome.cutShortFrames.empty() ? kExitOk : kExitFrameCutShort;
}

} // namespace pelix::tool
