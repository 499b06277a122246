// The private folders tests write into: each its own, and gone with all it
// holds when the test ends, so the suite leaves nothing in the temporary folder.
#include "support/recording_files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(TempFolderTest, PrivateFolderIsRemovedWithEverythingInIt) {
    fs::path kept;
    {
        pelix::testing::TempFolder one, two;
        kept = one.path();
        EXPECT_NE(one.path(), two.path());
        EXPECT_TRUE(fs::equivalent(one.path().parent_path(), fs::temp_directory_path()));
        struct stat info {};
        ASSERT_EQ(::stat(one.path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << "readable by others";

        fs::create_directories(one.path() / "nested" / "deeper");
        std::ofstream(one.file("SCAN01.BIN")) << "recording";
        std::ofstream((one.path() / "nested" / "deeper" / "out.png").string()) << "picture";
    }
    EXPECT_FALSE(fs::exists(kept));
}

TEST(TempFolderTest, TempFileGoesWithItsFolder) {
    fs::path folder;
    {
        pelix::testing::TempFile file;
        EXPECT_TRUE(fs::is_regular_file(file.path()));
        EXPECT_EQ(fs::file_size(file.path()), 0u);
        file.write("abc");
        EXPECT_EQ(file.read(), "abc");
        folder = fs::path(file.path()).parent_path();
    }
    EXPECT_FALSE(fs::exists(folder));
}
