// pelix info: the setup record decoded, with what the player derives from it.
#include "core/recording/open_recording.h"
#include "core/recording/record_fields.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/info_summary.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"

#include <iostream>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

template <typename VisitWord, typename VisitArray>
void forEachHeaderField(const OpenRecording& rec, VisitWord&& visitWord, VisitArray&& visitArray) {
    forEachSetupField(rec.rawHeader().data(), rec.header(), visitWord, visitArray);
}

template <typename Visit> void forEachTcgColumn(const OpenRecording& rec, Visit&& visit) {
    recording::forEachTcgColumn(rec.rawHeader().data(), visit);
}

// FlagIndex[0 .. min(FlagCount, FrameCount)].
std::vector<int32_t> flagIndexOf(const OpenRecording& rec) {
    const int64_t last = std::min<int64_t>(rec.flags().count(), rec.FrameCount());
    std::vector<int32_t> index;
    for (int64_t k = 0; k <= last; ++k)
        index.push_back(rec.flags().at(k));
    return index;
}

template <typename Array> std::string joined(const Array& values) {
    std::string s;
    for (const auto v : values)
        s += (s.empty() ? "" : " ") + std::to_string(v);
    return s;
}

} // namespace

int runInfo(const Args& args) {
    const ParsedArgs parsed = parseArgs(kInfoCommand, args);
    if (parsed.help) {
        std::cout << helpText(kInfoCommand);
        return kExitOk;
    }
    if (!parsed.error.empty() || parsed.positional.size() != 1) {
        std::cerr << "pelix info: " << (parsed.error.empty() ? "expects one FILE" : parsed.error) << "\n"
                  << helpText(kInfoCommand);
        return kExitUsage;
    }
    if (parsed.json && parsed.has("--fields")) {
        std::cerr << "pelix info: --fields and --json exclude each other\n" << helpText(kInfoCommand);
        return kExitUsage;
    }
    const OpenOutcome outcome = OpenRecording::open(parsed.positional[0]);
    if (!outcome.recording) return reportRejected(outcome);
    const OpenRecording& rec = *outcome.recording;
    const RecordingHeader& h = rec.header();
    const DerivedSetup& d = rec.derived();
    const std::vector<int32_t> flagIndex = flagIndexOf(rec);

    if (parsed.json) {
        JsonWriter w;
        w.beginObject();
        w.key("RecordingHeader");
        w.beginObject();
        forEachHeaderField(
            rec, [&](std::string_view name, int32_t v) { w.field(name, v); },
            [&](std::string_view name, const std::vector<int32_t>& a) {
                w.key(name);
                w.array(a);
            });
        w.key("TCGPointTable");
        w.beginObject();
        w.field("ulNumOfStoredPoints", h.TCGPoints.ulNumOfStoredPoints);
        forEachTcgColumn(rec, [&](std::string_view name, const std::vector<int32_t>& a) {
            w.key(name);
            w.array(a);
        });
        w.endObject();
        w.endObject();
        w.key("Derived");
        w.beginObject();
        w.field("Unit", std::string(h.isInch() ? "inch" : "mm"));
        w.field("Velocity", d.velocity);
        w.field("DisplayDelay", d.displayDelay);
        w.field("DisplayRange", d.displayRange);
        w.endObject();
        w.field("HeaderSize", rec.HeaderSize());
        w.field("FrameCount", rec.FrameCount());
        w.field("FramesPerSecond", rec.framesPerSecond());
        w.field("TotalSeconds", rec.TotalSeconds());
        w.field("FlagCount", rec.FlagCount());
        w.key("FlagIndex");
        w.array(flagIndex);
        w.field("FileLength", rec.file().length());
        w.endObject();
        std::cout << w.text() << "\n";
        return kExitOk;
    }

    if (!parsed.has("--fields")) {
        std::cout << infoSummary(rec);
        return kExitOk;
    }

    std::cout << "File: " << rec.path() << "\n";
    forEachHeaderField(
        rec, [](std::string_view name, int32_t v) { std::cout << name << ": " << v << "\n"; },
        [](std::string_view name, const std::vector<int32_t>& a) {
            std::cout << name << ": " << joined(a) << "\n";
        });
    std::cout << "ulNumOfStoredPoints: " << h.TCGPoints.ulNumOfStoredPoints << "\n";
    forEachTcgColumn(rec, [](std::string_view name, const std::vector<int32_t>& a) {
        std::cout << name << ": " << joined(a) << "\n";
    });
    std::cout << "Derived velocity: " << d.velocity << (h.isInch() ? " in/us" : " m/s") << "\n"
              << "Derived display delay: " << d.displayDelay << (h.isInch() ? " in" : " mm") << "\n"
              << "Derived display range: " << d.displayRange << (h.isInch() ? " in" : " mm") << "\n"
              << "HeaderSize: " << rec.HeaderSize() << "\n"
              << "FrameCount: " << rec.FrameCount() << "\n"
              << "Rate: " << rec.framesPerSecond() << " frames/s\n"
              << "TotalSeconds: " << rec.TotalSeconds() << "\n"
              << "FlagCount: " << rec.FlagCount() << "\n"
              << "FlagIndex: " << joined(flagIndex) << "\n";
    return kExitOk;
}

} // namespace pelix::tool
