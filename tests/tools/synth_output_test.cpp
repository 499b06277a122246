// pelix-synth writes its recording the one safe way: an existing file is
// replaced whole (keeping who may read it), and anything that is not a
// regular file is refused and left alone.
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

int synth(const std::string& arguments) {
    const std::string command = std::string(PELIX_BIN_DIR) + "/pelix-synth " + arguments + " 2>/dev/null";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(SynthOutput, ReplacesAFileWholeAndRefusesAFifo) {
    const pelix::testing::TempFolder dir;
    const std::string rec = dir.file("r.BIN"), fifo = dir.file("f.BIN");
    ASSERT_EQ(synth("-o " + rec + " --frames 3"), 0);
    const auto small = fs::file_size(rec);
    ::chmod(rec.c_str(), 0600);
    ASSERT_EQ(synth("-o " + rec + " --frames 30"), 0);
    EXPECT_GT(fs::file_size(rec), small);
    EXPECT_EQ(fs::status(rec).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(synth("-o " + fifo + " --frames 3"), 1);
    EXPECT_TRUE(fs::is_fifo(fifo));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u) << "a temporary file was left behind";
}

} // namespace
