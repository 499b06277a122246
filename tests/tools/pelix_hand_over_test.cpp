// The subcommands that draw reach pelix-draw through the hand-over, in the
// build tree and in the installed layout, or say plainly that they cannot.
#include "support/temp_folder.h"
#include "tools/tool_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

using pelix::testing::ProcessRequest;
using pelix::testing::ProcessResult;
using pelix::testing::runProcess;
using pelix::testing::TempFolder;

const std::string kBin = PELIX_BIN_DIR;
const std::string kDemo = std::string(PELIX_SAMPLES_DIR) + "/DEMO.BIN";

ProcessResult runPelixAt(const std::string& program, std::vector<std::string> args) {
    ProcessRequest r;
    r.program = program;
    r.args = std::move(args);
    r.env = {{"QT_QPA_PLATFORM", "offscreen"}, {"ASAN_OPTIONS", "detect_leaks=0"}};
    return runProcess(r);
}

TEST(PelixHandOverTest, WithoutItsDrawingProgramPelixDrawsNothingAndSaysSo) {
    const TempFolder dir;
    const std::filesystem::path bin = dir.path() / "bin";
    std::filesystem::create_directories(bin);
    std::filesystem::copy_file(kBin + "/pelix", bin / "pelix");
    const std::string pelix = (bin / "pelix").string();
    const std::string out = dir.file("out.png");
    const std::vector<std::string> drawing[] = {
        {"render", kDemo, "1", "-o", out},
        {"overview", kDemo, "-o", out},
        {"export", kDemo, "-o", dir.file("out.avi")},
        {"report", kDemo, "-o", dir.file("out.pdf")},
    };
    for (const auto& args : drawing) {
        const ProcessResult run = runPelixAt(pelix, args);
        EXPECT_EQ(run.exitStatus, 1) << args[0] << ": " << run.err;
        EXPECT_NE(run.err.find("pelix " + args[0] + ": the drawing part of pelix cannot be started ("),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(bin.string() + "/pelix-draw: No such file or directory"), std::string::npos)
            << run.err;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "nothing written";
    // What needs no drawing still runs, and the drawing commands' help comes from the table.
    const std::vector<std::string> reading[] = {
        {"info", kDemo}, {"overview", kDemo, "--json"}, {"render", "--help"}, {"overview", kDemo, "-o"}};
    const int expected[] = {0, 0, 0, 2};
    for (std::size_t i = 0; i < std::size(reading); ++i)
        EXPECT_EQ(runPelixAt(pelix, reading[i]).exitStatus, expected[i]) << reading[i][0];
}

TEST(PelixHandOverTest, AnInstalledPelixFindsItsDrawingProgramInLibexec) {
    const TempFolder dir;
    const std::filesystem::path bin = dir.path() / "bin", libexec = dir.path() / "libexec" / "pelix";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(libexec);
    std::filesystem::copy_file(kBin + "/pelix", bin / "pelix");
    std::filesystem::create_symlink(kBin + "/pelix-draw", libexec / "pelix-draw");
    // A usage error found by pelix-draw speaks as pelix and keeps its status.
    const ProcessResult refused = runPelixAt((bin / "pelix").string(), {"render", kDemo, "1", "--csv"});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.err.rfind("pelix render: unknown option --csv\nusage: pelix render FILE N", 0), 0U)
        << refused.err;
    const std::string out = dir.file("strip.png");
    const ProcessResult drawn = runPelixAt((bin / "pelix").string(), {"overview", kDemo, "-o", out});
    EXPECT_EQ(drawn.exitStatus, 0) << drawn.err;
    EXPECT_GT(std::filesystem::exists(out) ? std::filesystem::file_size(out) : 0U, 0U);
}

} // namespace
