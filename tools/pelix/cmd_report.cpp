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

#include <QApplication>

#include <iostream>

namespace pelix::tool {

namespace {

const char* kHelp =
    "usage: pelix report FILE -o REPORT.pdf [--frames LIST | --flags]\n"
    "Writes an inspection report: page 1 summarises the recording (file, size, version, units,\n"
    "velocity, rectification, probe angle, gates, evaluation mode, frames, rate, length, flags) with\n"
    "the overview strip; then one page per chosen frame with the player's window showing it, the\n"
    "frame number and time and the seven readings. Pages are numbered; the footer holds the file\n"
    "name and the date of the report.\n"
    "  --frames LIST   the frames to show, e.g. 12 or 3,7,20-25 (at most 2000)\n"
    "  --flags         every flagged frame (the default); frame 1 when the operator flagged none\n"
    "The report never replaces the recording, a read-only file, a folder, a device, a FIFO or a\n"
    "socket, and replaces an existing file only once it is complete.\n"
    "Exit status 0 written, 1 refused or not written (nothing is written), 2 usage, 3 recording\n"
    "rejected, 4 a chosen frame is cut short by the end of the file (its page says so; the report is\n"
    "written).\n";

} // namespace

int runReport(const Args& args) {
    const ParsedArgs parsed = parseArgs(args, {"-o", "--frames"}, {"--flags"});
    const bool flags = parsed.has("--flags");
    if (parsed.help) {
        std::cout << kHelp;
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix report: " << why << "\n" << kHelp;
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    std::string output, frameList;
    bool listGiven = false;
    for (const auto& [name, value] : parsed.options) {
        if (name == "-o") {
            output = value;
        } else {
            frameList = value;
            listGiven = true;
        }
    }
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
                report::parseFrameList(frameList, outcome.recording->FrameCount(), error);
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
