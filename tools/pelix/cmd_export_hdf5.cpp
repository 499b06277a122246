// pelix export FILE -o OUT.h5: the frames of a recording as HDF5, written here
// without Qt or FFmpeg. Any other output is a video and is handed over to the
// drawing program.
#include "core/hdf5/recording_export.h"
#include "core/recording/open_recording.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/hand_over.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace pelix::tool {

namespace {

int exportHdf5(const ParsedArgs& parsed, const std::string& output) {
    auto usage = [](const std::string& why) {
        std::cerr << "pelix export: " << why << "\n" << helpText(kExportCommand);
        return kExitUsage;
    };
    if (parsed.positional.size() != 1) return usage("expects one FILE");
    for (const char* videoOnly : {"--fps", "--window"})
        if (parsed.has(videoOnly)) return usage(std::string(videoOnly) + " applies to a video, not to HDF5");

    const recording::OpenOutcome outcome =
        recording::OpenRecording::open(parsed.positional[0], recording::OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    const recording::OpenRecording& rec = *outcome.recording;
    std::string spanError;
    const std::optional<FrameSpan> span =
        frameSpan(parsed.number("--from"), parsed.number("--to"), rec.FrameCount(), spanError);
    if (!span) {
        std::cerr << "pelix export: " << rec.path() << ": " << spanError << "\n";
        return kExitUsage;
    }

    hdf5::ExportOptions options;
    options.first = span->first;
    options.last = span->last;
    options.compression = static_cast<int>(parsed.number("--compress").value_or(hdf5::kDefaultCompression));
    const bool terminal = isatty(STDERR_FILENO) != 0;
    if (terminal)
        options.progress = [](int64_t done, int64_t total) {
            std::cerr << "\rpelix export: frame " << done << " of " << total << std::flush;
        };
    // A file-size limit makes the write fail with an error instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const hdf5::ExportResult result = hdf5::exportRecording(rec, output, options);
    if (terminal) std::cerr << "\n";
    if (result.end == hdf5::ExportEnd::Written) return kExitOk;
    std::cerr << "pelix export: " << result.error << "\n";
    return kExitWriteFailed;
}

} // namespace

int runExportHereOrDrawing(const Args& args) {
    const ParsedArgs parsed = parseArgs(kExportCommand, args);
    const std::string* output = parsed.text("-o");
    if (parsed.help || !parsed.error.empty() || !parsed.argumentError.empty() || output == nullptr ||
        !hdf5::isHdf5Name(*output)) {
        // A video, or a command line the drawing program answers as it always has.
        if (!parsed.help && parsed.error.empty() && parsed.argumentError.empty() &&
            parsed.has("--compress")) {
            std::cerr << "pelix export: --compress applies to HDF5 (-o OUT.h5), not to a video\n"
                      << helpText(kExportCommand);
            return kExitUsage;
        }
        return handOverToDrawing(kExportCommand, args);
    }
    return exportHdf5(parsed, *output);
}

} // namespace pelix::tool
