// pelix overview: the recording at a glance, from the frame headers alone —
// every frame's recorded gate A and gate B amplitudes and the flagged frames,
// as numbers or drawn as the player's overview window draws them.
#include "core/files/output_file.h"
#include "core/overview/overview_series.h"
#include "core/recording/open_recording.h"
#include "player/export/output_device.h"
#include "player/overview/overview_painter.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/headless_application.h"
#include "tools/pelix/standard_output.h"
#include "tools/pelix/tool_outputs.h"

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <iostream>
#include <new>
#include <string>

namespace pelix::tool {

using namespace pelix::recording;
using overview::Gate;
using overview::OverviewSeries;

namespace {

// The strip keeps a band of 6 pixels above and below its plot for the flag and
// match marks, and a plot of a few rows between them.
constexpr int kLeastPixels = 16;

const char* kHelp =
    "usage: pelix overview FILE [--json | -o OUT.png [--width W --height H]]\n"
    "The recorded gate A and gate B echo amplitudes of every frame and the operator's flags, read\n"
    "from the frame headers (for envelope recordings, the first record of each pair).\n"
    "  --json          {\"FrameCount\": N, \"GateAAmplitude\": [...], \"GateBAmplitude\": [...],\n"
    "                  \"Flags\": [frame numbers]}: one amplitude (percent of screen height) per\n"
    "                  frame, null while that gate is off\n"
    "  -o OUT.png      the strip as the player's overview window draws it (default 1000 x 120 pixels)\n"
    "  --width W --height H   the strip's size with -o, 16..10000 pixels each\n"
    "Without --json or -o: frame count, flag count and each gate's highest amplitude.\n"
    "A frame whose header the end of the file cuts short counts as both gates off (noted on\n"
    "standard error, exit status 4). -o never replaces the recording, a read-only file, a folder, a\n"
    "device, a FIFO or a socket, and replaces an existing file only with a complete picture.\n"
    "Exit status 0 done, 1 output refused or not written (nothing is written), 2 usage, 3 recording\n"
    "rejected, 4 cut short.\n";

// False as soon as standard output refuses a block: the rest would go nowhere.
bool appendSeries(std::string& out, const OverviewSeries& s, Gate gate) {
    out += '[';
    for (int32_t f = 1; f <= s.frameCount(); ++f) {
        if (f > 1) out += ',';
        const auto a = s.amplitude(gate, f);
        out += a ? std::to_string(*a) : std::string("null");
        if (out.size() >= (1 << 20)) {
            if (!writeStandardOutput(out)) return false;
            out.clear();
        }
    }
    out += ']';
    return true;
}

// A failed write is reported once the command ends, as for every subcommand.
void writeJson(const OverviewSeries& s) {
    std::string out;
    out.reserve((1 << 20) + 64);
    out += "{\"FrameCount\": " + std::to_string(s.frameCount()) + ", \"GateAAmplitude\": ";
    if (!appendSeries(out, s, Gate::A)) return;
    out += ", \"GateBAmplitude\": ";
    if (!appendSeries(out, s, Gate::B)) return;
    out += ", \"Flags\": [";
    for (std::size_t i = 0; i < s.flags().size(); ++i) {
        if (i > 0) out += ',';
        out += std::to_string(s.flags()[i]);
    }
    out += "]}\n";
    writeStandardOutput(out);
}

void writeSummary(const OverviewSeries& s) {
    std::cout << "FrameCount\t" << s.frameCount() << "\nFlags\t" << s.flags().size() << "\n";
    for (const Gate gate : {Gate::A, Gate::B}) {
        std::optional<int32_t> high;
        int32_t at = 0;
        for (int32_t f = 1; f <= s.frameCount(); ++f) {
            const auto a = s.amplitude(gate, f);
            if (a && (!high || *a > *high)) {
                high = a;
                at = f;
            }
        }
        std::cout << (gate == Gate::A ? "GateA" : "GateB") << "\t";
        if (high)
            std::cout << "highest " << *high << " % at frame " << at << "\n";
        else
            std::cout << "off in every frame\n";
    }
}

bool writePng(const OverviewSeries& s, files::OutputFile& png, int width, int height) {
    const auto app = startHeadlessApplication();
    QImage image(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        overview::paintOverview(painter, image.rect(), s, {});
    }
    return player::saveImage(image, png) && png.commit();
}

} // namespace

int runOverview(const Args& args) {
    const ParsedArgs parsed = parseArgs(args, {"-o", "--width", "--height"}, {"--json"});
    if (parsed.help) {
        std::cout << kHelp;
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix overview: " << why << "\n" << kHelp;
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    std::string png;
    int width = 0, height = 0;
    for (const auto& [name, value] : parsed.options) {
        if (name == "-o") {
            png = value;
            continue;
        }
        const auto pixels = parsePixels(value, kLeastPixels);
        if (!pixels) return usage(name + " must be 16..10000 pixels");
        (name == "--width" ? width : height) = *pixels;
    }
    if (parsed.json && !png.empty()) return usage("--json and -o exclude each other");
    if ((width != 0 || height != 0) && png.empty()) return usage("--width and --height go with -o");

    // The scan below finds the flags itself: the open's own flag scan would read the file a second time.
    const OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    const OpenRecording& rec = *outcome.recording;
    files::OutputFile pngOutput;
    if (!png.empty() && !pngOutput.open(png, rec.file().identity()))
        return reportNotWritten("overview", pngOutput);
    OverviewSeries series;
    try {
        series = overview::scanOverview(rec.file(), frameRecordLayout(rec));
    } catch (const std::bad_alloc&) {
        std::cerr << "pelix overview: not enough memory for " << rec.FrameCount() << " frames\n";
        return kExitWriteFailed;
    }

    if (parsed.json)
        writeJson(series);
    else if (!png.empty() &&
             !writePng(series, pngOutput, width > 0 ? width : 1000, height > 0 ? height : 120))
        return reportNotWritten("overview", pngOutput);
    else if (png.empty())
        writeSummary(series);
    if (series.cutShortAt() > 0) {
        std::cerr << "pelix overview: " << rec.path() << ": the file ends inside frame "
                  << series.cutShortAt() << "'s header; from there on both gates count as off\n";
        return kExitFrameCutShort;
    }
    return kExitOk;
}

} // namespace pelix::tool
