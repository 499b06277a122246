// `pelix indications` on recordings whose gate amplitudes and readings are
// written frame by frame, against an indication search written here from the
// rules alone: runs of frames that count, merged across short gaps but never
// across a frame without amplitude, kept by length, peaked at the first
// largest amplitude and sized by the drop below that peak.
#include "core/recording/record_layout.h"
#include "support/recording_files.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace pelix::recording;
using pelix::testing::pelix;
using pelix::testing::putLittleEndian;
using pelix::testing::TempFile;
using pelix::testing::ToolRun;

constexpr int kOff = -1;  // the gate is off in that frame
constexpr int kNoDb = -1; // the dB-to-reference slot shows no value

// The synthesised recording's reading slots: SA, A%A, DA, PA, SB, dBrA, LA.
constexpr std::size_t kSlotSA = 0, kSlotDA = 2, kSlotPA = 3, kSlotDbrA = 5;

struct CraftedFrame {
    int a = 0;        // gate A amplitude, or kOff
    int b = 0;        // gate B amplitude, or kOff
    int dbTenths = 0; // dBrA in 0.1 dB, or kNoDb
};

// A 50 frames-a-second mm recording with the given frames; frame f's SA reads
// (10000 + 10 f) um, its DA (5000 + f) um, and PA shows no value.
class CraftedRecording {
  public:
    explicit CraftedRecording(const std::vector<CraftedFrame>& frames, int thresholdA = 50,
                              int thresholdB = 50) {
        pelix::synth::SynthOptions options;
        options.frames = static_cast<int32_t>(frames.size());
        options.flaggedFrames = 0;
        std::string bytes = pelix::testing::synthesize(options);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const auto f = static_cast<int32_t>(i + 1);
            const std::size_t at = kRecordingHeaderBytes + i * kFrameRecordBytes;
            const auto put = [&](std::size_t offset, int32_t v) { putLittleEndian(bytes, at + offset, v); };
            const CraftedFrame& c = frames[i];
            put(fh::GateAOn, c.a == kOff ? 0 : 1);
            put(fh::GateAAmplitude, c.a == kOff ? 0 : c.a);
            put(fh::GateBOn, c.b == kOff ? 0 : 1);
            put(fh::GateBAmplitude, c.b == kOff ? 0 : c.b);
            put(fh::GateAThreshold, thresholdA);
            put(fh::GateBThreshold, thresholdB);
            const auto reading = [&](std::size_t slot, int32_t kind, int32_t value, bool none) {
                put(fh::ReadingNoValue.at(slot), none ? 1 : 0);
                put(fh::ReadingLive.at(slot), 1);
                put(fh::ReadingValue.at(slot), value);
                put(fh::ReadingKind.at(slot), kind);
                put(fh::ReadingClipped.at(slot), 0);
            };
            reading(kSlotSA, 2, 10000 + 10 * f, false);
            reading(kSlotDA, 2, 5000 + f, false);
            reading(kSlotPA, 2, 0, true);
            reading(kSlotDbrA, 4, c.dbTenths == kNoDb ? 0 : c.dbTenths, c.dbTenths == kNoDb);
        }
        m_file.write(bytes);
    }
    const std::string& path() const { return m_file.path(); }

  private:
    TempFile m_file;
};

struct Found {
    int first, last, peak, amplitude, dropFirst, dropLast;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << "{" << f.first << ".." << f.last << " peak " << f.peak << "=" << f.amplitude << " drop "
               << f.dropFirst << ".." << f.dropLast << "}";
}

struct Search {
    char gate = 'a';
    std::optional<int> level; // percent; none: by the dB-to-reference reading
    double aboveReference = 0.0;
    int merge = 0, minFrames = 1;
    double drop = 6.0;
    int from = 1, to = 0; // 0: the last frame
};

// The rules, frame by frame, over a plain vector.
std::vector<Found> expectedIndications(const std::vector<CraftedFrame>& frames, const Search& s) {
    const int to = s.to == 0 ? static_cast<int>(frames.size()) : s.to;
    const auto amp = [&](int f) -> std::optional<int> {
        if (f < s.from || f > to) return std::nullopt;
        const int v = s.gate == 'a' ? frames[f - 1].a : frames[f - 1].b;
        if (v == kOff) return std::nullopt;
        return v;
    };
    const auto counts = [&](int f) {
        if (!amp(f)) return false;
        if (s.level) return *amp(f) >= *s.level;
        const int tenths = frames[f - 1].dbTenths;
        return tenths != kNoDb && tenths > 0 && tenths / 10.0 >= s.aboveReference - 1e-9;
    };
    // Plain runs first, then merged when the gap is short and every gap frame has an amplitude.
    std::vector<std::pair<int, int>> runs;
    for (int f = s.from; f <= to; ++f) {
        if (!counts(f)) continue;
        if (!runs.empty() && runs.back().second == f - 1)
            runs.back().second = f;
        else
            runs.emplace_back(f, f);
    }
    std::vector<std::pair<int, int>> merged;
    for (const auto& run : runs) {
        bool join = !merged.empty() && run.first - merged.back().second - 1 <= s.merge;
        for (int g = join ? merged.back().second + 1 : run.first; join && g < run.first; ++g)
            join = amp(g).has_value();
        if (join)
            merged.back().second = run.second;
        else
            merged.push_back(run);
    }
    std::vector<Found> found;
    for (const auto& [first, last] : merged) {
        if (last - first + 1 < s.minFrames) continue;
        Found f{first, last, first, *amp(first), 0, 0};
        for (int g = first; g <= last; ++g)
            if (*amp(g) > f.amplitude) f.peak = g, f.amplitude = *amp(g);
        const auto within = [&](int g) {
            return amp(g) && *amp(g) * std::pow(10.0, s.drop / 20.0) >= f.amplitude;
        };
        f.dropFirst = f.dropLast = f.peak;
        while (within(f.dropFirst - 1))
            --f.dropFirst;
        while (within(f.dropLast + 1))
            ++f.dropLast;
        found.push_back(f);
    }
    return found;
}

std::string optionsOf(const Search& s) {
    std::ostringstream o;
    o << " --gate " << s.gate;
    if (s.level)
        o << " --level " << *s.level;
    else
        o << " --above-reference " << s.aboveReference;
    o << " --merge " << s.merge << " --min-frames " << s.minFrames << " --drop " << s.drop;
    o << " --from " << s.from;
    if (s.to > 0) o << " --to " << s.to;
    return o.str();
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        out.push_back(part);
    if (!text.empty() && text.back() == separator) out.emplace_back();
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out = split(text, '\n');
    if (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

// The indications of the --csv table, and the table's rows as they stand.
std::vector<Found> foundByTool(const std::string& file, const Search& s,
                               std::vector<std::string>* table = nullptr) {
    const ToolRun run = pelix("indications " + file + optionsOf(s) + " --csv");
    EXPECT_EQ(run.status, 0) << run.out;
    std::vector<std::string> rows = lines(run.out);
    EXPECT_FALSE(rows.empty());
    std::vector<Found> found;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> c = split(rows[i], ',');
        EXPECT_EQ(c.size(), 17U) << rows[i];
        if (c.size() < 6) continue;
        found.push_back({std::stoi(c[0]), std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]), std::stoi(c[4]),
                         std::stoi(c[5])});
    }
    if (table) *table = rows;
    return found;
}

std::vector<CraftedFrame> gateA(const std::vector<int>& amplitudes) {
    std::vector<CraftedFrame> frames;
    for (const int a : amplitudes)
        frames.push_back({a, 0, 0});
    return frames;
}

struct SeriesCase {
    const char* name;
    std::vector<int> amplitudes; // gate A
    Search search;
    std::vector<Found> expected; // written out by hand; also checked against the rules above
};

class IndicationsOnCraftedSeries : public ::testing::TestWithParam<SeriesCase> {};

TEST_P(IndicationsOnCraftedSeries, MatchTheRules) {
    const SeriesCase& c = GetParam();
    const std::vector<CraftedFrame> frames = gateA(c.amplitudes);
    ASSERT_EQ(expectedIndications(frames, c.search), c.expected)
        << "the hand-written case disagrees with the rules";
    const CraftedRecording recording(frames);
    EXPECT_EQ(foundByTool(recording.path(), c.search), c.expected);
}

Search level(int percent) {
    Search s;
    s.level = percent;
    return s;
}
Search with(Search s, int merge, int minFrames, int from = 1, int to = 0, double drop = 6.0) {
    s.merge = merge;
    s.minFrames = minFrames;
    s.from = from;
    s.to = to;
    s.drop = drop;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IndicationsOnCraftedSeries,
    ::testing::Values(
        // Two frames share the peak: the first is the peak frame.
        SeriesCase{"PlateauTieTakesTheFirst", {10, 60, 80, 80, 70, 10}, level(50), {{2, 5, 3, 80, 2, 5}}},
        // 100 at 6 dB: 50.12 is the bound, so 51 stays within the drop and 50 does not.
        SeriesCase{"DropBoundUnrounded", {50, 51, 100, 51, 50}, level(90), {{3, 3, 3, 100, 2, 4}}},
        // The extent runs past the run on both sides while the echo stays within the drop.
        SeriesCase{
            "DropExtentPastTheRun", {30, 45, 46, 60, 90, 60, 46, 44}, level(55), {{4, 6, 5, 90, 3, 7}}},
        // Runs touching the range's first and last frame; the range cuts the drop extent too.
        SeriesCase{"RunsTouchTheRangeEnds",
                   {90, 90, 80, 10, 10, 70, 90, 95},
                   with(level(50), 0, 1, 2, 7),
                   {{2, 3, 2, 90, 2, 3}, {6, 7, 7, 90, 6, 7}}},
        SeriesCase{"MergeAcrossShortGapsOnly",
                   {60, 10, 60, 10, 10, 60},
                   with(level(50), 1, 1),
                   {{1, 3, 1, 60, 1, 1}, {6, 6, 6, 60, 6, 6}}},
        // Merged first, then measured against the minimum, gaps included.
        SeriesCase{"MinimumLengthAfterMerging",
                   {60, 10, 60, 10, 10, 10, 70, 70, 10, 10, 80},
                   with(level(50), 1, 3),
                   {{1, 3, 1, 60, 1, 1}}},
        // A gate switched off mid-run ends it, however long the merge gap, and stops the extent.
        SeriesCase{"GateOffEndsTheRun",
                   {60, 70, kOff, 80, 60},
                   with(level(50), 5, 1),
                   {{1, 2, 2, 70, 1, 2}, {4, 5, 4, 80, 4, 5}}},
        SeriesCase{"NothingAboveTheLevel", {10, 20, 30}, level(50), {}}),
    [](const ::testing::TestParamInfo<SeriesCase>& info) { return std::string(info.param.name); });

// A long series with every kind of edge, under several rule sets, gate A and gate B.
TEST(PelixIndicationsTest, LongSeriesAgreesWithTheRules) {
    std::vector<CraftedFrame> frames;
    uint32_t state = 12345;
    const auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % 1000);
    };
    int a = 20, b = 40;
    for (int f = 1; f <= 3000; ++f) {
        a = std::clamp(a + next() % 21 - 10, 0, 110);
        b = std::clamp(b + next() % 31 - 15, 0, 100);
        frames.push_back({next() < 15 ? kOff : a, next() < 30 ? kOff : b, next() % 120 - 20});
    }
    const CraftedRecording recording(frames);
    std::vector<Search> searches;
    for (const char gate : {'a', 'b'})
        for (const int lvl : {40, 60})
            for (const int merge : {0, 3})
                for (const int minimum : {1, 4}) {
                    Search s = with(level(lvl), merge, minimum, 1, 0, lvl == 40 ? 6.0 : 3.5);
                    s.gate = gate;
                    searches.push_back(s);
                }
    searches.push_back(with(level(50), 2, 2, 777, 2222, 12.0));
    for (const Search& s : searches) {
        const std::vector<Found> expected = expectedIndications(frames, s);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(foundByTool(recording.path(), s), expected) << optionsOf(s);
    }
}

// A frame counts by its recorded dBrA reading; one that shows no value never counts.
TEST(PelixIndicationsTest, AboveReferenceCountsTheRecordedReading) {
    const std::vector<CraftedFrame> frames = {{60, 0, 10}, {62, 0, 25},   {64, 0, 31}, {66, 0, kNoDb},
                                              {68, 0, 40}, {kOff, 0, 40}, {70, 0, 24}, {72, 0, 26},
                                              {40, 0, 0},  {50, 0, 30}};
    const CraftedRecording recording(frames);
    Search s;
    s.aboveReference = 2.5;
    const std::vector<Found> expected = {
        {2, 3, 3, 64, 1, 5}, {5, 5, 5, 68, 1, 5}, {8, 8, 8, 72, 7, 10}, {10, 10, 10, 50, 7, 10}};
    ASSERT_EQ(expectedIndications(frames, s), expected);
    EXPECT_EQ(foundByTool(recording.path(), s), expected);
    s.merge = 1; // the frame without a reading is a gap like any other
    EXPECT_EQ(foundByTool(recording.path(), s), expectedIndications(frames, s));
}

// Without --level the gate's threshold in frame 1 is the level, as a height.
TEST(PelixIndicationsTest, DefaultLevelIsTheGateThresholdOfFrameOne) {
    const CraftedRecording recording(gateA({30, 45, 39, 50}), -40, 70);
    const ToolRun run = pelix("indications " + recording.path() + " --csv");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::vector<std::string> rows = lines(run.out);
    ASSERT_EQ(rows.size(), 3U) << run.out;
    EXPECT_EQ(rows[1].substr(0, 4), "2,2,");
    EXPECT_EQ(rows[2].substr(0, 4), "4,4,");
    const ToolRun text = pelix("indications " + recording.path());
    EXPECT_NE(text.out.find("level 40% (the gate's threshold in frame 1)"), std::string::npos) << text.out;
}

// The peak frame's readings, the length in frames, seconds and mm, in every format.
TEST(PelixIndicationsTest, PeakReadingsAndLengthInEveryFormat) {
    const CraftedRecording recording(gateA({10, 60, 90, 80, 50, 10}));
    const std::string args = "indications " + recording.path() + " --level 55 --scan-speed 25";

    const ToolRun json = pelix(args + " --json");
    ASSERT_EQ(json.status, 0) << json.out;
    EXPECT_EQ(
        json.out,
        "{\"Gate\":\"A\",\"Level\":55,\"AboveReference\":null,\"Drop\":6,\"Merge\":0,\"MinFrames\":1,"
        "\"ScanSpeed\":25,\"From\":1,\"To\":6,\"FramesPerSecond\":50,\"Indications\":[\n"
        "{\"First\":2,\"Last\":4,\"PeakFrame\":3,\"PeakAmplitude\":90,\"DropFirst\":2,\"DropLast\":5,"
        "\"LengthFrames\":4,\"LengthSeconds\":0.08,\"LengthMm\":2,\"Readings\":{"
        "\"SoundPath\":{\"name\":\"SA\",\"value\":\"10.03mm\",\"number\":10.03,\"unit\":\"mm\",\"held\":"
        "false},"
        "\"Depth\":{\"name\":\"DA\",\"value\":\"5.00mm\",\"number\":5,\"unit\":\"mm\",\"held\":false},"
        "\"Projection\":{\"name\":\"PA\",\"value\":\"-----\",\"number\":null,\"unit\":\"\",\"held\":false},"
        "\"DbToReference\":{\"name\":\"dBrA\",\"value\":\"-----dB\",\"number\":null,\"unit\":\"\","
        "\"held\":false}}}\n]}\n");

    std::vector<std::string> rows;
    Search s = level(55);
    foundByTool(recording.path(), s, &rows);
    ASSERT_GE(rows.size(), 2U);
    EXPECT_EQ(rows[0],
              "First,Last,PeakFrame,PeakAmplitude,DropFirst,DropLast,LengthFrames,LengthSeconds,LengthMm,"
              "SoundPath,SoundPathUnit,Depth,DepthUnit,Projection,ProjectionUnit,DbToReference,"
              "DbToReferenceUnit");
    EXPECT_EQ(rows[1], "2,4,3,90,2,5,4,0.08,,10.03,mm,5,mm,,,,");

    const ToolRun text = pelix(args);
    ASSERT_EQ(text.status, 0) << text.out;
    EXPECT_NE(text.out.find("~2.0"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("SA 10.03mm  DA 5.00mm"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("1 indication."), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("no encoder"), std::string::npos) << text.out;
}

TEST(PelixIndicationsTest, OptionsOutOfRangeAreUsageErrorsNamingTheOption) {
    const CraftedRecording recording(gateA({60, 70}));
    const struct {
        const char* options;
        const char* named;
    } cases[] = {
        {"--gate c", "--gate"},
        {"--level 101", "--level"},
        {"--level x", "--level"},
        {"--level 50 --above-reference 3", "--above-reference"},
        {"--above-reference 3dB", "--above-reference"},
        {"--drop -1", "--drop"},
        {"--drop 201", "--drop"},
        {"--drop nan", "--drop"},
        {"--merge -1", "--merge"},
        {"--min-frames 0", "--min-frames"},
        {"--min-frames x", "--min-frames"},
        {"--scan-speed 0", "--scan-speed"},
        {"--scan-speed inf", "--scan-speed"},
        {"--from 2 --to 1", "frames 2..1"},
        {"--to 3", "frames 1..3"},
        {"--csv --json", "--csv"},
    };
    for (const auto& c : cases) {
        const ToolRun run = pelix("indications " + recording.path() + " " + c.options);
        EXPECT_EQ(run.status, 2) << c.options << ": " << run.out;
        EXPECT_NE(run.out.find(c.named), std::string::npos) << c.options << ": " << run.out;
    }
}

// The amplitudes of a moved gate as the overview's re-measured series gives them (null: none).
std::vector<CraftedFrame> remeasuredSeries(const std::string& file, const std::string& gates) {
    const ToolRun run = pelix("overview " + file + " --json " + gates);
    EXPECT_EQ(run.status, 0) << run.out;
    std::vector<CraftedFrame> frames;
    const auto at = run.out.find("\"GateAAmplitude\": [");
    if (at == std::string::npos) return frames;
    const auto from = at + 19;
    for (const std::string& v : split(run.out.substr(from, run.out.find(']', from) - from), ','))
        frames.push_back({v.find("null") != std::string::npos ? kOff : std::stoi(v), kOff, kNoDb});
    return frames;
}

// With the chosen gate moved, every frame's amplitude is the re-measured one; the default level
// is the threshold as moved, and the readings at the peak are the re-measured ones.
TEST(PelixIndicationsTest, AMovedGateIsFollowedByItsRemeasuredAmplitude) {
    const std::string file = std::string(PELIX_SAMPLES_DIR) + "/RF_INCH_V7.BIN";
    const std::string gates = "--gate-a 0.5,30";
    const std::vector<CraftedFrame> series = remeasuredSeries(file, gates);
    ASSERT_EQ(series.size(), 400U);
    for (const Search& s : {Search{.level = 30}, Search{.level = 45, .merge = 3, .minFrames = 2, .drop = 3.0},
                            Search{.level = 20, .from = 50, .to = 300}}) {
        SCOPED_TRACE(optionsOf(s));
        const ToolRun run = pelix("indications " + file + optionsOf(s) + " " + gates + " --csv");
        ASSERT_EQ(run.status, 0) << run.out;
        std::vector<Found> found;
        for (const std::string& row : lines(run.out)) {
            const std::vector<std::string> c = split(row, ',');
            if (c.size() < 6 || c[0] == "First") continue;
            found.push_back({std::stoi(c[0]), std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]),
                             std::stoi(c[4]), std::stoi(c[5])});
        }
        EXPECT_EQ(found, expectedIndications(series, s));
    }
    // The level defaults to the moved threshold; the text says so.
    const ToolRun byDefault = pelix("indications " + file + " " + gates);
    ASSERT_EQ(byDefault.status, 0) << byDefault.out;
    EXPECT_NE(byDefault.out.find("Gate A moved to 0.5,30"), std::string::npos) << byDefault.out;
    EXPECT_NE(byDefault.out.find("level 30% (the gate's threshold as moved)"), std::string::npos)
        << byDefault.out;
    EXPECT_EQ(pelix("indications " + file + " " + gates + " --json").out,
              pelix("indications " + file + " " + gates + " --json --level 30").out);
    // Moving the other gate leaves the chosen one's recorded amplitudes.
    EXPECT_EQ(pelix("indications " + file + " --level 30 --json").out,
              pelix("indications " + file + " --level 30 --json --gate-b 1.5,20").out);
}

// On a DGS recording the dB-to-reference reading of the moved gate counts: frames of an
// indication found by it read at least that many dB, as the re-measured table shows them.
TEST(PelixIndicationsTest, AboveReferenceReadsTheRemeasuredDecibels) {
    const std::string file = std::string(PELIX_SAMPLES_DIR) + "/DGS_HOLE_LISTED_PROBE.BIN";
    const std::string gates = "--gate-a 10,30";
    const ToolRun run = pelix("indications " + file + " --above-reference -6 --json " + gates);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"Remeasured\":true"), std::string::npos) << run.out;
    const auto peak = run.out.find("\"DbToReference\":{");
    ASSERT_NE(peak, std::string::npos) << run.out;
    const ToolRun first = pelix("indications " + file + " --above-reference -6 --csv " + gates);
    const std::vector<std::string> rows = lines(first.out);
    ASSERT_GE(rows.size(), 2U) << first.out;
    const std::vector<std::string> c = split(rows[1], ',');
    ASSERT_EQ(c.size(), 17U);
    // The peak's dB to reference, re-measured, is a number of at least -6.
    ASSERT_FALSE(c[15].empty()) << rows[1];
    EXPECT_GE(std::stod(c[15]), -6.0);
    EXPECT_EQ(c[16], "dB");
}

TEST(PelixIndicationsTest, RejectedRecordingExitsThree) {
    TempFile junk;
    junk.write(std::string(100, 'x'));
    const ToolRun run = pelix("indications " + junk.path());
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_NE(run.out.find(junk.path()), std::string::npos) << run.out;
}

} // namespace
