// `pelix summary` over a folder of good, cut-short and rejected recordings made
// by pelix-synth: every row agrees with what `pelix info`, `pelix overview
// --json` and `pelix indications` say of the same file alone, the rows keep the
// order the files were given under any number of workers, a refused file gets
// its row and the exit status 1, and a folder is refused before anything is read.
#include "core/recording/record_layout.h"
#include "support/recording_files.h"
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using pelix::testing::pelix;
using pelix::testing::TempFolder;
using pelix::testing::ToolRun;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> out(1);
    for (const char c : text) {
        if (c == separator)
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out = split(text, '\n');
    if (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

// The whole number after "KEY": in a JSON text (the first such key).
std::optional<long long> jsonNumber(const std::string& json, const std::string& key) {
    const std::size_t at = json.find('"' + key + "\":");
    if (at == std::string::npos) return std::nullopt;
    return std::stoll(json.substr(at + key.size() + 3));
}

// The elements of the array after "KEY": (null kept as the text "null").
std::vector<std::string> jsonArray(const std::string& json, const std::string& key) {
    const std::size_t at = json.find('"' + key + "\":");
    const std::size_t open = json.find('[', at);
    const std::size_t close = json.find(']', open);
    if (at == std::string::npos || open == std::string::npos || close == std::string::npos) return {};
    std::string inside = json.substr(open + 1, close - open - 1);
    inside.erase(std::remove(inside.begin(), inside.end(), ' '), inside.end());
    return inside.empty() ? std::vector<std::string>{} : split(inside, ',');
}

struct Sample {
    std::string name;
    bool read; // the reader takes it
};

class SummaryFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        pelix::synth::SynthOptions plain;
        pelix::synth::SynthOptions envelope;
        envelope.envelope = true;
        envelope.framesPerSecond = 10;
        envelope.seed = 2;
        envelope.frames = 450;
        pelix::synth::SynthOptions inch;
        inch.units = 1;
        inch.rectification = 0;
        inch.seed = 3;
        inch.frames = 900;
        inch.flaggedFrames = 9;
        inch.flawLead_ms = 2000;
        pelix::synth::SynthOptions cut;
        cut.seed = 4;
        cut.frames = 300;
        cut.extraBytes = 777;
        std::string wrongMagic = pelix::testing::rawRecording(2 * pelix::recording::kFrameRecordBytes);
        wrongMagic[1] = '?';
        add("plain.BIN", pelix::testing::synthesize(plain), true);
        add("not a recording.BIN", wrongMagic, false);
        add("envelope.BIN", pelix::testing::synthesize(envelope), true);
        add("no-frames.BIN", pelix::testing::rawRecording(0), false);
        add("inch,rf.BIN", pelix::testing::synthesize(inch), true);
        add("cut.BIN", pelix::testing::synthesize(cut), true);
    }

    void add(const std::string& name, const std::string& bytes, bool read) {
        std::ofstream(m_folder.file(name), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        m_samples.push_back({name, read});
    }
    std::string path(const Sample& s) const { return m_folder.file(s.name); }
    std::string quoted(const Sample& s) const { return "'" + path(s) + "'"; }
    std::string allFiles() const {
        std::string words;
        for (const Sample& s : m_samples)
            words += " " + quoted(s);
        return words;
    }

    TempFolder m_folder;
    std::vector<Sample> m_samples;
};

// Column positions in the CSV header.
std::size_t column(const std::vector<std::string>& header, const std::string& name) {
    const auto it = std::find(header.begin(), header.end(), name);
    EXPECT_NE(it, header.end()) << name;
    return static_cast<std::size_t>(it - header.begin());
}

// A CSV row split at commas outside quotes.
std::vector<std::string> csvCells(const std::string& row) {
    std::vector<std::string> cells(1);
    bool inQuotes = false;
    for (const char c : row) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == ',' && !inQuotes)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

TEST_F(SummaryFolder, EveryRowAgreesWithTheCommandsThatReadOneFile) {
    const ToolRun run = pelix("summary --csv" + allFiles());
    EXPECT_EQ(run.status, 1) << "two files are rejected:\n" << run.out;
    const std::vector<std::string> rows = lines(run.out);
    ASSERT_EQ(rows.size(), m_samples.size() + 1) << run.out;
    const std::vector<std::string> header = split(rows[0], ',');
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        const Sample& s = m_samples[i];
        SCOPED_TRACE(s.name);
        const std::vector<std::string> cells = csvCells(rows[i + 1]);
        ASSERT_EQ(cells.size(), header.size());
        const auto cell = [&](const std::string& name) { return cells[column(header, name)]; };
        EXPECT_EQ(cell("File"), path(s));
        if (!s.read) {
            // The reason is the reader's own, word for word as `pelix info` gives it.
            const ToolRun info = pelix("info " + quoted(s));
            EXPECT_EQ(info.status, 3);
            EXPECT_EQ(cell("Status"), "rejected");
            EXPECT_EQ(path(s) + ": " + cell("Reason") + "\n", info.out);
            EXPECT_EQ(cell("SizeBytes"), std::to_string(std::filesystem::file_size(path(s))));
            EXPECT_EQ(cell("Frames"), "");
            continue;
        }
        EXPECT_EQ(cell("Status"), s.name == "cut.BIN" ? "cut-short" : "read");
        EXPECT_EQ(cell("TrailingBytes"), s.name == "cut.BIN" ? "777" : "0");

        const ToolRun info = pelix("info --json " + quoted(s));
        ASSERT_EQ(info.status, 0) << info.out;
        EXPECT_EQ(cell("Frames"), std::to_string(*jsonNumber(info.out, "FrameCount")));
        EXPECT_EQ(cell("FramesPerSecond"), std::to_string(*jsonNumber(info.out, "FramesPerSecond")));
        EXPECT_EQ(cell("Version"), std::to_string(*jsonNumber(info.out, "Version")));
        EXPECT_EQ(cell("FlagCount"), std::to_string(*jsonNumber(info.out, "FlagCount")));
        EXPECT_EQ(cell("SizeBytes"), std::to_string(*jsonNumber(info.out, "FileLength")));

        const ToolRun overview = pelix("overview --json " + quoted(s));
        ASSERT_EQ(overview.status, 0) << overview.out;
        EXPECT_EQ(cell("Flags"), std::to_string(jsonArray(overview.out, "Flags").size()));
        for (const std::string gate : {"A", "B"}) {
            SCOPED_TRACE(gate);
            const std::vector<std::string> series = jsonArray(overview.out, "Gate" + gate + "Amplitude");
            ASSERT_EQ(std::to_string(series.size()), cell("Frames"));
            std::optional<long long> largest;
            std::size_t largestFrame = 0;
            for (std::size_t f = 0; f < series.size(); ++f)
                if (series[f] != "null" && (!largest || std::stoll(series[f]) > *largest)) {
                    largest = std::stoll(series[f]);
                    largestFrame = f + 1;
                }
            EXPECT_EQ(cell("Gate" + gate + "Largest"), largest ? std::to_string(*largest) : "");
            EXPECT_EQ(cell("Gate" + gate + "LargestFrame"), largest ? std::to_string(largestFrame) : "");

            const std::string letter = gate == "A" ? "a" : "b";
            const ToolRun found = pelix("indications --csv --gate " + letter + " " + quoted(s));
            ASSERT_EQ(found.status, 0) << found.out;
            EXPECT_EQ(cell("Gate" + gate + "Indications"), std::to_string(lines(found.out).size() - 1));
            const ToolRun atLevel = pelix("indications --csv --gate " + letter + " --level 30 " + quoted(s));
            const ToolRun summaryAtLevel =
                pelix("summary --csv --level 30 --gate " + letter + " " + quoted(s));
            const std::vector<std::string> levelRows = lines(summaryAtLevel.out);
            ASSERT_EQ(levelRows.size(), 2u) << summaryAtLevel.out;
            const std::vector<std::string> levelHeader = split(levelRows[0], ',');
            const std::vector<std::string> levelCells = csvCells(levelRows[1]);
            EXPECT_EQ(levelCells[column(levelHeader, "Gate" + gate + "Indications")],
                      std::to_string(lines(atLevel.out).size() - 1));
            EXPECT_EQ(levelCells[column(levelHeader, "Gate" + gate + "Level")], "30");
        }
    }
}

TEST_F(SummaryFolder, RowsKeepTheGivenOrderUnderAnyNumberOfWorkers) {
    // The same file twice and the list reversed: rows follow the command line, not the finishing order.
    std::string files = allFiles();
    for (auto it = m_samples.rbegin(); it != m_samples.rend(); ++it)
        files += " " + quoted(*it);
    for (const std::string format : {"--csv", "--json", ""}) {
        const ToolRun one = pelix("summary -j 1 " + format + files);
        EXPECT_EQ(one.status, 1);
        for (const std::string workers : {"2", "5", "256"}) {
            const ToolRun many = pelix("summary -j " + workers + " " + format + files);
            EXPECT_EQ(many.status, 1);
            EXPECT_EQ(many.out, one.out) << format << " -j " << workers;
        }
        if (format == "--csv") {
            const std::vector<std::string> rows = lines(one.out);
            ASSERT_EQ(rows.size(), 2 * m_samples.size() + 1);
            for (std::size_t i = 0; i < m_samples.size(); ++i) {
                EXPECT_EQ(csvCells(rows[1 + i])[0], path(m_samples[i]));
                EXPECT_EQ(csvCells(rows[rows.size() - 1 - i])[0], path(m_samples[i]));
            }
        }
    }
}

TEST_F(SummaryFolder, TheTableEndsWithItsTotalsAndExitsZeroWhenEveryFileIsRead) {
    const ToolRun good = pelix("summary " + quoted(m_samples[0]) + " " + quoted(m_samples[5]));
    EXPECT_EQ(good.status, 0) << good.out;
    const std::vector<std::string> rows = lines(good.out);
    ASSERT_EQ(rows.size(), 4u) << good.out;
    EXPECT_EQ(rows[0].rfind("File", 0), 0u);
    EXPECT_NE(rows[2].find("777 bytes of a cut-short frame"), std::string::npos) << rows[2];
    EXPECT_EQ(rows[3], "2 recordings: 2 read (1 cut short), 0 rejected, 0 unreadable.");

    const ToolRun mixed = pelix("summary" + allFiles() + " '" + m_folder.file("missing.BIN") + "'");
    EXPECT_EQ(mixed.status, 1);
    const std::vector<std::string> mixedRows = lines(mixed.out);
    ASSERT_EQ(mixedRows.size(), m_samples.size() + 3) << mixed.out;
    EXPECT_NE(mixedRows[2].find("rejected"), std::string::npos);
    EXPECT_NE(mixedRows[2].find("File format is not correct"), std::string::npos);
    EXPECT_NE(mixedRows[m_samples.size() + 1].find("unreadable"), std::string::npos);
    EXPECT_EQ(mixedRows.back(), "7 recordings: 4 read (1 cut short), 2 rejected, 1 unreadable.");
}

TEST_F(SummaryFolder, JsonHoldsOneObjectPerRecordingWithNullsWhereThereIsNothing) {
    const ToolRun run = pelix("summary --json --gate a " + quoted(m_samples[0]) + " " + quoted(m_samples[1]));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.front(), '[');
    EXPECT_EQ(run.out.substr(run.out.size() - 3), "\n]\n");
    EXPECT_NE(run.out.find("\"Status\":\"read\",\"Reason\":null"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Status\":\"rejected\",\"Reason\":\"File format is not correct\""),
              std::string::npos);
    EXPECT_NE(run.out.find("\"GateAIndications\":"), std::string::npos);
    EXPECT_EQ(run.out.find("GateB"), std::string::npos) << "--gate a leaves gate B out";
}

TEST_F(SummaryFolder, UsageErrorsReadNothing) {
    struct Case {
        std::string arguments;
        std::string said;
    };
    const std::string folder = "'" + m_folder.path().string() + "'";
    const std::vector<Case> cases = {
        {quoted(m_samples[0]) + " " + folder, "-exec pelix summary {} +"},
        {"-j 0 " + quoted(m_samples[0]), "-j must be 1..256 workers"},
        {"-j 257 " + quoted(m_samples[0]), "-j must be 1..256 workers"},
        {"-j many " + quoted(m_samples[0]), "-j must be 1..256 workers"},
        {"--level 101 " + quoted(m_samples[0]), "--level must be 0..100 percent"},
        {"--gate c " + quoted(m_samples[0]), "--gate must be a or b"},
        {"--csv --json " + quoted(m_samples[0]), "exclude each other"},
        {"", "expects one or more FILEs"},
    };
    for (const Case& c : cases) {
        const ToolRun run = pelix("summary " + c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.out;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << c.arguments << "\n" << run.out;
        EXPECT_EQ(run.out.find("plain.BIN  "), std::string::npos) << "no row is written";
    }
}

} // namespace
