// pelix bscan: the A-scans of a frame range side by side, reduced to a grid of
// cells (core/bscan), as numbers, or drawn as the B-scan window draws them
// (bscan_picture.cpp writes the picture, in pelix-draw).
#include "core/bscan/bscan_scan.h"
#include "core/files/output_file.h"
#include "core/recording/open_recording.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/hand_over.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/standard_output.h"
#include "tools/pelix/tool_outputs.h"

#include <array>
#include <iostream>
#include <new>
#include <string>

namespace pelix::tool {

using namespace pelix::recording;
using bscan::BscanEnd;
using bscan::BscanGrid;
using bscan::BscanRequest;
using bscan::BscanResult;

namespace {

// The grid's rows, one after the other; a column without a value is null in
// every row. False as soon as standard output refuses a block.
bool writeJson(const BscanGrid& grid) {
    std::array<std::string, 256> texts;
    for (std::size_t v = 0; v < texts.size(); ++v)
        texts[v] = std::to_string(v);
    std::string out;
    out.reserve((1 << 20) + 64);
    out += "{\"Width\":" + std::to_string(grid.width()) + ",\"Height\":" + std::to_string(grid.height()) +
           ",\"From\":" + std::to_string(grid.from()) + ",\"To\":" + std::to_string(grid.to()) +
           ",\"Cells\":[";
    for (int32_t r = 0; r < grid.height(); ++r) {
        out += r > 0 ? ",[" : "[";
        for (int32_t c = 0; c < grid.width(); ++c) {
            if (c > 0) out += ',';
            out += grid.hasValue(c) ? texts[grid.cell(r, c)] : std::string_view("null");
        }
        out += ']';
        if (out.size() >= (1 << 20)) {
            if (!writeStandardOutput(out)) return false;
            out.clear();
        }
    }
    out += "]}\n";
    return writeStandardOutput(out);
}

} // namespace

int runBscan(const Args& args, BscanPictureWriter writePicture) {
    const ParsedArgs parsed = parseArgs(kBscanCommand, args);
    if (parsed.help) {
        std::cout << helpText(kBscanCommand);
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix bscan: " << why << "\n" << helpText(kBscanCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    const std::string png = parsed.has("-o") ? *parsed.text("-o") : std::string();
    if (parsed.json && !png.empty()) return usage("--json and -o exclude each other");
    if (!parsed.json && png.empty()) return usage("expects --json or -o OUT.png");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    // Drawing needs Qt: pelix-draw does it, from the same words.
    if (!png.empty() && !writePicture) return handOverToDrawing(kBscanCommand, args);

    OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    OpenRecording& rec = *outcome.recording;
    const int32_t frames = rec.FrameCount();
    const std::optional<int64_t> from = parsed.number("--from"), to = parsed.number("--to");
    const int64_t first = from.value_or(1), last = to.value_or(frames);
    const auto outsideRange = [&](const char* option, int64_t frame) {
        std::cerr << "pelix bscan: " << option << " " << frame << ": " << rec.path() << " holds frames 1.."
                  << frames << "\n";
        return kExitUsage;
    };
    if (frames == 0) {
        std::cerr << "pelix bscan: " << rec.path() << " holds no frame\n";
        return kExitUsage;
    }
    if (first < 1 || first > frames) return outsideRange("--from", first);
    if (last < 1 || last > frames) return outsideRange("--to", last);
    if (first > last) {
        std::cerr << "pelix bscan: --from " << first << " comes after --to " << last << "\n";
        return kExitUsage;
    }

    files::OutputFile pngOutput;
    if (!png.empty() && !pngOutput.open(png, rec.file().identity()))
        return reportNotWritten("bscan", pngOutput);
    BscanRequest request;
    request.from = static_cast<int32_t>(first);
    request.to = static_cast<int32_t>(last);
    request.width = static_cast<int32_t>(parsed.number("--width").value_or(request.width));
    request.height = static_cast<int32_t>(parsed.number("--height").value_or(request.height));
    BscanResult result;
    try {
        result = bscan::scanBscan(rec, request);
    } catch (const std::bad_alloc&) {
        std::cerr << "pelix bscan: not enough memory for " << request.width << " x " << request.height
                  << " cells\n";
        return kExitWriteFailed;
    }

    if (result.end == BscanEnd::UnknownRectification)
        std::cerr << "pelix bscan: " << rec.path() << ": rectification " << rec.header().Rectification
                  << " is none the instrument draws; no column has cells\n";
    if (parsed.json) {
        // A table that could not be written is reported when the command ends.
        if (!writeJson(result.grid)) return kExitWriteFailed;
    } else if (!writePicture(rec, result.grid, pngOutput)) {
        return reportNotWritten("bscan", pngOutput);
    }
    if (result.end == BscanEnd::CutShort) {
        std::cerr << "pelix bscan: " << rec.path() << ": the file ends inside frame " << result.cutShortAt
                  << "; its columns and the later ones have no cells\n";
        return kExitFrameCutShort;
    }
    return kExitOk;
}

} // namespace pelix::tool
