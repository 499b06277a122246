// pelix export: a range of frames of a recording to a video, headless.
// The main window is built (hidden), the recording goes through the player's
// own open sequence, the range is marked on the position slider and the
// window's own export records it: the same pictures, capture and writer as a
// recording made by pressing "Save as AVI", one picture per frame. The
// output's name chooses the encoder (player/export/video_format.h).
#include "core/recording/open_recording.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "player/export/avi_decs.h"
#include "player/export/avi_export.h"
#include "player/export/range_export.h"
#include "player/export/video_format.h"
#include "player/ui/frm_player.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/window_session.h"

#include <QApplication>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <unistd.h>

namespace pelix::tool {

namespace {

struct ExportOptions {
    std::string file;
    std::string output;
    std::optional<int64_t> from, to;
    int framesPerSecond = player::AviExport::kWindowFramesPerSecond;
    bool window = false;
    bool lossless = false;
};

std::optional<int> parseExportArgs(const Args& args, ExportOptions& out) {
    const ParsedArgs parsed = parseArgs(kExportCommand, args);
    out.window = parsed.has("--window");
    out.lossless = parsed.has("--lossless");
    if (parsed.help) {
        std::cout << helpText(kExportCommand);
        return kExitOk;
    }
    auto usage = [](const std::string& why) {
        std::cerr << "pelix export: " << why << "\n" << helpText(kExportCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects one FILE");
    out.file = parsed.positional[0];
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    if (const std::string* output = parsed.text("-o")) out.output = *output;
    out.from = parsed.number("--from");
    out.to = parsed.number("--to");
    if (const auto n = parsed.number("--fps")) {
        out.framesPerSecond = static_cast<int>(
            std::clamp<int64_t>(*n, player::AVIDecs::kSlowestRate, player::AVIDecs::kFastestRate));
        if (out.framesPerSecond != *n)
            std::cerr << "pelix export: --fps " << *n << " is outside " << player::AVIDecs::kSlowestRate
                      << ".." << player::AVIDecs::kFastestRate << "; the video plays at "
                      << out.framesPerSecond << " frames per second\n";
    }
    if (out.output.empty()) return usage("-o OUT is needed");
    if (out.lossless && player::videoFormatOf(out.output) == player::VideoFormat::Avi)
        return usage("--lossless needs an .mp4 or .mkv output");
    return std::nullopt;
}

// Messages the player would show in a box go to standard error instead.
int exportVideo(const ExportOptions& o) {
    int32_t from = 0, to = 0;
    {
        const recording::OpenOutcome outcome =
            recording::OpenRecording::open(o.file, recording::OpenRecording::FlagScan::Skip);
        if (!outcome.recording) return reportRejected(outcome);
        std::string spanError;
        const std::optional<FrameSpan> span =
            frameSpan(o.from, o.to, outcome.recording->FrameCount(), spanError);
        if (!span) {
            std::cerr << "pelix export: " << o.file << ": " << spanError << "\n";
            return kExitUsage;
        }
        from = span->first;
        to = span->last;
    }
    MessagesToStderr messages;
    frmPlayer window;
    if (!window.ascanError().isEmpty()) {
        std::cerr << "pelix export: " << window.ascanError().toStdString() << "\n";
        return kExitWriteFailed;
    }
    if (!o.window) window.setAttribute(Qt::WA_DontShowOnScreen);
    window.aviExport().setUnattended(true);
    window.aviExport().setLossless(o.lossless);
    window.show();
    QApplication::processEvents();
    if (window.openRecording(platform::pathFromBytes(o.file)) != player::OpenResult::Opened) {
        messages.report();
        return kExitRejected;
    }

    const bool terminal = isatty(STDERR_FILENO) != 0;
    if (terminal)
        QObject::connect(&window.aviExport(), &player::AviExport::progress, [](int captured, int total) {
            std::cerr << "\rpelix export: frame " << captured << " of " << total << std::flush;
        });
    player::RangeExportRequest request;
    request.from = from;
    request.to = to;
    request.output = o.output;
    request.framesPerSecond = o.framesPerSecond;
    const player::RangeExportResult result = player::exportRange(
        window.controls(), window.session(), window.playback(), window.aviExport(), request);
    if (terminal) std::cerr << "\n";
    messages.report();
    const int32_t captured = window.aviExport().framesCaptured();
    if (result == player::RangeExportResult::Written && captured == to - from + 1) return kExitOk;
    // Whatever was begun is gone already: a partial video is no record of the range.
    if (result == player::RangeExportResult::Written)
        std::cerr << "pelix export: frame " << from + captured
                  << " is cut short by the end of the file; no video written\n";
    else if (!window.aviExport().failure().empty())
        std::cerr << "pelix export: " << window.aviExport().failure() << "\n";
    else
        std::cerr << "pelix export: " << o.output << ": cannot be written; nothing written\n";
    return kExitWriteFailed;
}

} // namespace

int runExport(const Args& args) {
    ExportOptions options;
    if (const auto status = parseExportArgs(args, options)) return *status;
    // A file-size limit makes the write fail with an error instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return runWithApplication("export", options.window, [&] { return exportVideo(options); });
}

} // namespace pelix::tool
