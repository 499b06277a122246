// `pelix export -o OUT.h5` as a user runs it: what an HDF5 reader gets for a
// frame is what `pelix frame N --json` gives, and a refused or failing export
// says so in one line and leaves no file.
#include "support/file_state.h"
#include "support/hdf5_read.h"
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using pelix::testing::Hdf5Reader;
using pelix::testing::pelix;
using pelix::testing::TempFolder;
using pelix::testing::ToolRun;

const std::string kSamples = PELIX_SAMPLES_DIR;

// The whole numbers of `"key":[...]` (or the one number of `"key":n`) in a JSON
// text, searched from `from`.
std::vector<int32_t> jsonNumbers(const std::string& json, const std::string& key, std::size_t from = 0) {
    std::vector<int32_t> out;
    std::size_t at = json.find("\"" + key + "\":", from);
    if (at == std::string::npos) return out;
    at += key.size() + 3;
    const bool array = json[at] == '[';
    if (array) ++at;
    while (at < json.size()) {
        std::size_t used = 0;
        out.push_back(std::stoi(json.substr(at, 12), &used));
        at += used;
        if (!array || json[at] != ',') break;
        ++at;
    }
    return out;
}

std::vector<int32_t> row(const std::vector<uint8_t>& table, std::size_t r, std::size_t width) {
    return {table.begin() + long(r * width), table.begin() + long((r + 1) * width)};
}

struct FrameCase {
    const char* sample;
    int32_t from, to, frame;
    bool envelope;
    std::size_t samples;
};

TEST(PelixExportHdf5, EveryFrameHoldsWhatFrameJsonGives) {
    TempFolder folder;
    const FrameCase cases[] = {{"RF_INCH_V7.BIN", 10, 14, 12, false, 1600},
                               {"ENVELOPE_US.BIN", 1, 5, 3, true, 800},
                               {"PLAIN_SCAN.BIN", 2990, 3000, 3000, false, 800}};
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.sample);
        const std::string recording = kSamples + "/" + c.sample;
        const std::string out = folder.file(std::string(c.sample) + ".h5");
        const ToolRun run = pelix("export " + recording + " -o " + out + " --from " + std::to_string(c.from) +
                                  " --to " + std::to_string(c.to) + " --compress 3");
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_TRUE(run.out.empty()) << run.out;
        const ToolRun frame = pelix("frame " + recording + " " + std::to_string(c.frame) + " --json");
        ASSERT_EQ(frame.status, 0) << frame.out;

        Hdf5Reader h5(out);
        ASSERT_TRUE(h5.ok());
        const auto r = static_cast<std::size_t>(c.frame - c.from);
        EXPECT_EQ(h5.ints("/frames/number")[r], c.frame);
        const std::vector<int32_t> ascan = row(h5.bytes("/frames/ascan"), r, c.samples);
        if (c.envelope) {
            const std::vector<int32_t> both = jsonNumbers(frame.out, "EnvelopePoints");
            ASSERT_EQ(both.size(), 3201U);
            EXPECT_EQ(ascan, std::vector<int32_t>(both.begin(), both.begin() + long(c.samples)));
            const std::vector<int32_t> envelope = row(h5.bytes("/frames/ascan_envelope"), r, c.samples);
            EXPECT_EQ(envelope,
                      std::vector<int32_t>(both.begin() + 1600, both.begin() + 1600 + long(c.samples)));
            const std::size_t second = frame.out.find("\"SecondFrameHeader\"");
            EXPECT_EQ(h5.ints("/frames/SecondFrameHeader/GateBAmplitude")[r],
                      jsonNumbers(frame.out, "GateBAmplitude", second).at(0));
        } else {
            const std::vector<int32_t> points = jsonNumbers(frame.out, "AscanPoints");
            EXPECT_EQ(ascan, std::vector<int32_t>(points.begin(), points.begin() + long(c.samples)));
        }
        // Every frame header word by its name, single words and per-slot arrays alike.
        for (const char* field : {"FrameFlag", "Gain_01dB", "GateAStart_um", "GateBThreshold",
                                  "GateATOF_2_5ns", "GateBAmplitude", "GateBValid"})
            EXPECT_EQ(h5.ints(std::string("/frames/") + field)[r], jsonNumbers(frame.out, field).at(0))
                << field;
        for (const char* field : {"ReadingValue", "ReadingKind", "ReadingLive"}) {
            const auto all = h5.ints(std::string("/frames/") + field);
            EXPECT_EQ(std::vector<int32_t>(all.begin() + long(r * 7), all.begin() + long(r * 7 + 7)),
                      jsonNumbers(frame.out, field))
                << field;
        }
    }
}

TEST(PelixExportHdf5, RefusedOrFailingExportsLeaveNoFile) {
    TempFolder folder;
    const std::string recording = folder.file("scan.BIN");
    std::filesystem::copy_file(kSamples + "/PLAIN_SCAN.BIN", recording);
    const pelix::testing::FileState before = pelix::testing::fileStateOf(recording);
    const std::string out = folder.file("out.h5");
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"-o " + out + " --from 0", 2, "are not within 1..3000"},
        {"-o " + out + " --from 20 --to 3001", 2, "are not within 1..3000"},
        {"-o " + out + " --compress 10", 2, "--compress"},
        {"-o " + out + " --fps 5", 2, "applies to a video"},
        {"-o " + folder.file("out.avi") + " --compress 1", 2, "applies to HDF5"},
        {"-o " + folder.file("no/such/folder/x.h5"), 1, "does not exist; nothing written"},
        {"-o " + recording, 1, "nothing written"},
    };
    for (const auto& c : cases) {
        const ToolRun run = pelix("export " + recording + " " + c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << "\n" << run.out;
        if (c.status == 1) {
            EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line: " << run.out;
        }
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
            ++files;
        EXPECT_EQ(files, 1U) << c.args;
    }
    EXPECT_TRUE(pelix::testing::fileStateOf(recording) == before) << "the recording was touched";
}

} // namespace
