// What the tool reads and where its answers go, as a hostile or unlucky user
// meets them: recordings that are not files, file names that are not UTF-8,
// standard output that is full or closed, and the shape of the command line.
#include "core/recording/record_layout.h"
#include "support/temp_folder.h"
#include "tools/tool_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using pelix::testing::pelixRequest;
using pelix::testing::ProcessRequest;
using pelix::testing::ProcessResult;
using pelix::testing::runProcess;
using pelix::testing::StdoutTo;
using pelix::testing::TempFolder;

const std::string kSamples = PELIX_SAMPLES_DIR;
const std::string kDemo = kSamples + "/DEMO.BIN";
const std::string kSmall = kSamples + "/NEG_V6.BIN";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string explain(const ProcessRequest& r, const ProcessResult& run) {
    std::string line;
    for (const auto& a : r.args)
        line += a + ' ';
    return line + "\nstatus " + std::to_string(run.exitStatus) + " signal " + std::to_string(run.signal) +
           (run.timedOut ? " TIMED OUT" : "") + "\nstderr: " + run.err;
}

// Every subcommand, with FILE where the recording goes and OUT where an output goes.
std::vector<std::vector<std::string>> everySubcommand(const std::string& file, const std::string& out) {
    return {{"info", file},
            {"frame", file, "1"},
            {"readings", file},
            {"search", file, "--box", "100,200,10,90"},
            {"overview", file},
            {"render", file, "1", "-o", out + ".png"},
            {"export", file, "-o", out + ".avi"},
            {"report", file, "-o", out + ".pdf"}};
}

TEST(PelixInputTest, ARecordingThatIsNoFileIsRefusedAtOnceByEverySubcommand) {
    const TempFolder dir;
    const std::string fifo = dir.file("f.BIN");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* kind;
    } inputs[] = {
        {fifo, "is a FIFO, not a recording file"},
        {"/dev/null", "is a character device, not a recording file"},
        {dir.path().string(), "is a folder, not a recording file"},
    };
    for (const auto& input : inputs) {
        for (const auto& args : everySubcommand(input.path, dir.file("out"))) {
            ProcessRequest r = pelixRequest(args);
            r.deadlineSeconds = 20;
            const ProcessResult run = runProcess(r);
            ASSERT_FALSE(run.timedOut) << explain(r, run);
            EXPECT_EQ(run.exitStatus, 3) << explain(r, run);
            EXPECT_TRUE(contains(run.err, input.path + ": " + input.kind)) << explain(r, run);
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "nothing written";
}

TEST(PelixInputTest, AFileNameThatIsNotUtf8OpensByteForByte) {
    const TempFolder dir;
    const std::string bad = dir.file("bad\xff.BIN");
    std::filesystem::copy_file(kSmall, bad);
    const std::string out = dir.file("out");
    const std::vector<std::string> cases[] = {
        {"info", bad},
        {"render", bad, "1", "-o", out + ".png"},
        {"export", bad, "--from", "1", "--to", "2", "-o", out + ".avi"},
        {"report", bad, "--frames", "1", "-o", out + ".pdf"},
    };
    for (const auto& args : cases) {
        const ProcessRequest r = pelixRequest(args);
        const ProcessResult run = runProcess(r);
        EXPECT_EQ(run.exitStatus, 0) << explain(r, run);
    }
    for (const char* written : {".png", ".avi", ".pdf"})
        EXPECT_GT(std::filesystem::file_size(out + written), 0U) << written;
}

// The subcommands that answer on standard output, each in every form it has.
const std::vector<std::string> kPrinting[] = {
    {"info", kDemo},
    {"info", kDemo, "--json"},
    {"frame", kDemo, "7"},
    {"frame", kDemo, "7", "--json"},
    {"readings", kDemo},
    {"readings", kDemo, "--csv"},
    {"readings", kDemo, "--json"},
    {"search", kDemo, "--box", "100,400,5,100"},
    {"search", kDemo, "--box", "100,400,5,100", "--json"},
    {"overview", kDemo},
    {"overview", kDemo, "--json"},
    {"--version"},
    {"info", "--help"},
};

TEST(PelixOutputTest, AFullStandardOutputIsAFailureWithItsReason) {
    for (const auto& args : kPrinting) {
        ProcessRequest r = pelixRequest(args);
        r.stdoutTo = StdoutTo::File;
        r.stdoutFile = "/dev/full";
        const ProcessResult run = runProcess(r);
        EXPECT_EQ(run.exitStatus, 1) << explain(r, run);
        EXPECT_TRUE(contains(run.err, "pelix: cannot write to standard output: No space left on device"))
            << explain(r, run);
    }
}

TEST(PelixOutputTest, AClosedPipeEndsTheCommandQuietlyAsItEndsCat) {
    for (const auto& args : kPrinting) {
        ProcessRequest r = pelixRequest(args);
        r.stdoutTo = StdoutTo::ClosedPipe;
        r.deadlineSeconds = 30;
        const ProcessResult run = runProcess(r);
        ASSERT_FALSE(run.timedOut) << explain(r, run);
        EXPECT_EQ(run.signal, SIGPIPE) << explain(r, run);
        EXPECT_EQ(run.err, "") << explain(r, run);
    }
}

TEST(PelixArgumentsTest, EachSubcommandTakesItsOwnOptionsOnce) {
    const TempFolder dir;
    const std::string out = dir.file("x");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"export", kDemo, "--fps", "10", "--fps", "20", "-o", out + ".avi"},
         2,
         "pelix export: option --fps given twice"},
        {{"info", kDemo, "--json", "--json"}, 2, "option --json given twice"},
        {{"readings", kDemo, "--from", "1", "--from", "2"}, 2, "option --from given twice"},
        {{"render", kDemo, "1", "-o", out + ".png", "-o", out + "2.png"}, 2, "option -o given twice"},
        {{"export", kDemo, "--json", "-o", out + ".avi"}, 2, "unknown option --json"},
        {{"report", kDemo, "--json", "-o", out + ".pdf"}, 2, "unknown option --json"},
        {{"render", kDemo, "1", "--csv", "-o", out + ".png"}, 2, "unknown option --csv"},
        {{"info", kDemo, "--csv"}, 2, "unknown option --csv"},
        {{"search", kDemo, "--box", "400,100,5,100"}, 2, "--box limits reversed"},
        {{"search", kDemo, "--box", "100,400,90,10"}, 2, "--box limits reversed"},
        {{"export", kDemo, "--fps", "100"}, 2, "--fps 100 is outside 1..30; the video plays at 30"},
        {{"info", "--", "--json"}, 3, "--json"},
        {{"--version"}, 0, "pelix "},
    };
    for (const auto& c : cases) {
        const ProcessRequest r = pelixRequest(c.args);
        const ProcessResult run = runProcess(r);
        EXPECT_EQ(run.exitStatus, c.status) << explain(r, run);
        EXPECT_TRUE(contains(run.err + run.out, c.says)) << explain(r, run);
    }
    EXPECT_FALSE(std::filesystem::exists(out + ".avi"));
    EXPECT_FALSE(std::filesystem::exists(out + ".png"));
}

TEST(PelixArgumentsTest, AFileNamedLikeAnOptionIsReadAfterTheEndOfOptions) {
    const TempFolder dir;
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::copy_file(kSmall, dir.path() / "-x.BIN");
    std::filesystem::current_path(dir.path());
    const ProcessResult refused = runProcess(pelixRequest({"info", "-x.BIN"}));
    const ProcessResult read = runProcess(pelixRequest({"info", "--json", "--", "-x.BIN"}));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(refused.exitStatus, 2) << refused.err;
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_TRUE(contains(read.out, "\"FrameCount\"")) << read.out;
}

TEST(PelixArgumentsTest, AFrameCutShortByTheEndOfTheFileExitsFour) {
    const TempFolder dir;
    using namespace pelix::recording;
    const std::string cut = dir.file("cut.BIN");
    std::filesystem::copy_file(kDemo, cut);
    // Three whole frames and a little over half of a fourth: the frame count rounds up to four.
    std::filesystem::resize_file(cut,
                                 kRecordingHeaderBytes + 3 * kFrameRecordBytes + kFrameRecordBytes / 2 + 100);
    const ProcessResult whole = runProcess(pelixRequest({"frame", cut, "3"}));
    const ProcessResult shortFrame = runProcess(pelixRequest({"frame", cut, "4", "--json"}));
    EXPECT_EQ(whole.exitStatus, 0) << whole.err;
    EXPECT_EQ(shortFrame.exitStatus, 4) << shortFrame.err;
    EXPECT_TRUE(contains(shortFrame.err, cut + ": frame 4 is cut short")) << shortFrame.err;
    EXPECT_TRUE(contains(shortFrame.out, "\"ShortRead\":true"));
}

TEST(PelixArgumentsTest, RejectedRecordingsAreNamedInTheMessage) {
    const TempFolder dir;
    const std::string junk = dir.file("junk.BIN");
    std::filesystem::copy_file(kSmall, junk);
    std::filesystem::resize_file(junk, 100);
    for (const char* command : {"info", "readings", "overview"}) {
        const ProcessResult run = runProcess(pelixRequest({command, junk}));
        EXPECT_EQ(run.exitStatus, 3) << command;
        EXPECT_TRUE(contains(run.err, junk + ": File format is not correct")) << command << ": " << run.err;
    }
}

TEST(PelixSynthArgumentsTest, UnknownOptionsAndNoFramesAreUsageErrors) {
    const TempFolder dir;
    const std::string out = dir.file("s.BIN");
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--bogus", "-o", out}, "unknown option --bogus"},
        {{"-o", out, "--bogus"}, "unknown option --bogus"},
        {{"-o", out, "--frames", "0"}, "--frames"},
        {{"-o", out, "--frames", "-5"}, "--frames"},
    };
    for (const auto& c : cases) {
        const ProcessRequest r = pelix::testing::programRequest("pelix-synth", c.args);
        const ProcessResult run = runProcess(r);
        EXPECT_EQ(run.exitStatus, 2) << explain(r, run);
        EXPECT_TRUE(contains(run.err, c.says)) << explain(r, run);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(PelixRuntimeFolderTest, TheDrawingSubcommandsNeedNoRuntimeFolderFromTheUser) {
    const TempFolder dir;
    const TempFolder tmp;
    ProcessRequest r = pelixRequest({"render", kSmall, "1", "-o", dir.file("x.png")});
    r.unset = {"XDG_RUNTIME_DIR"};
    r.env = {{"TMPDIR", tmp.path().string()}};
    const ProcessResult run = runProcess(r);
    EXPECT_EQ(run.exitStatus, 0) << explain(r, run);
    EXPECT_FALSE(contains(run.err, "XDG_RUNTIME_DIR")) << run.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 0)
        << "the folder is removed";
}

} // namespace
