// pelix frame: one frame's header fields and decoded trace, as the player holds
// them after showing that frame.
#include "core/recording/open_recording.h"
#include "core/recording/record_fields.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"

#include <algorithm>
#include <iostream>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

template <typename VisitWord, typename VisitArray>
void forEachFrameField(const FrameHeaderBytes& bytes, VisitWord&& visitWord, VisitArray&& visitArray) {
    recording::forEachFrameField(bytes.data(), visitWord, visitArray);
}

struct ShownFrame {
    FrameHeaderBytes header{};       // first record: panel, readings, flag
    FrameHeaderBytes secondHeader{}; // envelope recordings: the pair's second record
    DecodedTrace trace;
    bool shortRead = false;
};

ShownFrame showFrame(OpenRecording& rec, int32_t n) {
    ShownFrame out;
    rec.seek(rec.recordOffset(n));
    rec.readFrameHeader(out.header);
    rec.readSampleBlock(out.trace);
    out.shortRead = rec.lastReadShort();
    if (rec.header().isEnvelope()) {
        std::copy_n(out.trace.AscanPoints.begin(), 1600, out.trace.EnvelopePoints.begin());
        rec.seek(rec.recordOffset(n, true));
        rec.readFrameHeader(out.secondHeader);
        rec.readSampleBlock(out.trace);
        out.shortRead = out.shortRead || rec.lastReadShort();
        std::copy_n(out.trace.AscanPoints.begin(), 1600, out.trace.EnvelopePoints.begin() + 1600);
    }
    return out;
}

template <typename Array> void printArray(std::string_view name, const Array& a) {
    std::cout << name << ":";
    for (const auto v : a)
        std::cout << ' ' << v;
    std::cout << "\n";
}

void writeHeaderJson(JsonWriter& w, const FrameHeaderBytes& f) {
    w.beginObject();
    forEachFrameField(
        f, [&](std::string_view name, int32_t v) { w.field(name, v); },
        [&](std::string_view name, const std::vector<int32_t>& a) {
            w.key(name);
            w.array(a);
        });
    w.endObject();
}

} // namespace

int runFrame(const Args& args) {
    const ParsedArgs parsed = parseArgs(kFrameCommand, args);
    if (parsed.help) {
        std::cout << helpText(kFrameCommand);
        return kExitOk;
    }
    if (!parsed.error.empty() || parsed.positional.size() != 2) {
        std::cerr << "pelix frame: " << (parsed.error.empty() ? "expects FILE and N" : parsed.error) << "\n"
                  << helpText(kFrameCommand);
        return kExitUsage;
    }
    const auto n = parseWholeNumber(parsed.positional[1]);
    if (!n) {
        std::cerr << "pelix frame: N must be a whole number\n";
        return kExitUsage;
    }
    OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    OpenRecording& rec = *outcome.recording;
    if (*n < 1 || *n > rec.FrameCount()) {
        std::cerr << "pelix frame: " << rec.path() << ": frame " << *n << " is outside 1.."
                  << rec.FrameCount() << "\n";
        return kExitUsage;
    }
    const auto frame = static_cast<int32_t>(*n);
    const ShownFrame shown = showFrame(rec, frame);
    const bool envelope = rec.header().isEnvelope();
    // What the file holds of the frame is still printed; the status says it is not all of it.
    const int status = shown.shortRead ? kExitFrameCutShort : kExitOk;
    if (shown.shortRead)
        std::cerr << "pelix frame: " << rec.path() << ": frame " << frame
                  << " is cut short by the end of the file\n";

    if (parsed.json) {
        JsonWriter w;
        w.beginObject();
        w.field("Frame", frame);
        w.field("TimeIndex", rec.timeIndex(frame));
        w.field("Offset", rec.recordOffset(frame));
        w.field("ShortRead", shown.shortRead);
        w.key("FrameHeader");
        writeHeaderJson(w, shown.header);
        if (envelope) {
            w.key("SecondFrameHeader");
            writeHeaderJson(w, shown.secondHeader);
        }
        w.key("AscanPoints");
        w.array(shown.trace.AscanPoints);
        w.key("AscanRaw");
        w.array(shown.trace.AscanRaw);
        if (envelope) {
            w.key("EnvelopePoints");
            w.array(shown.trace.EnvelopePoints);
        }
        const auto& m = shown.trace.mode;
        const std::pair<const char*, int32_t> modes[] = {{"iAscanRectMode", m.iAscanRectMode},
                                                         {"iAscanDrawMode", m.iAscanDrawMode},
                                                         {"iNumPoints", m.iNumPoints}};
        for (const auto& [name, v] : modes) {
            // An unknown rectification leaves the control's values as they were.
            w.key(name);
            if (shown.trace.modeKnown)
                w.value(v);
            else
                w.value(std::string_view("unchanged"));
        }
        w.endObject();
        std::cout << w.text() << "\n";
        return status;
    }

    std::cout << "Frame: " << frame << " of " << rec.FrameCount() << "\n"
              << "TimeIndex: " << rec.timeIndex(frame) << "\n";
    if (shown.shortRead) std::cout << "ShortRead: the file ends inside this frame\n";
    forEachFrameField(
        shown.header, [](std::string_view name, int32_t v) { std::cout << name << ": " << v << "\n"; },
        [](std::string_view name, const std::vector<int32_t>& a) { printArray(name, a); });
    if (shown.trace.modeKnown)
        std::cout << "iAscanRectMode: " << shown.trace.mode.iAscanRectMode
                  << "\niAscanDrawMode: " << shown.trace.mode.iAscanDrawMode
                  << "\niNumPoints: " << shown.trace.mode.iNumPoints << "\n";
    else
        std::cout << "Trace mode: unchanged (unknown rectification)\n";
    printArray("AscanPoints", shown.trace.AscanPoints);
    printArray("AscanRaw", shown.trace.AscanRaw);
    if (envelope) printArray("EnvelopePoints", shown.trace.EnvelopePoints);
    return status;
}

} // namespace pelix::tool
