// The window opens what the user named, byte for byte, and refuses what is no
// file at once: the dialog's or command line's name reaches the system
// unchanged, and a FIFO never leaves the window waiting for a writer.
#include "player/window_test_support.h"

#include "platform/path_bytes.h"

#include <QPushButton>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pelix::player::test {
namespace {

using OpenPathTest = WindowTest;

TEST_F(OpenPathTest, ANameThatIsNotUtf8OpensFromTheCommandLineAndTheDialog) {
    const QString made = files.write(QStringLiteral("A.BIN"), recordingOptions(12));
    const std::string bad = platform::pathToBytes(files.filePath(QStringLiteral("x"))) + "\xff\xfe.BIN";
    std::filesystem::rename(made.toStdString(), bad);

    dialogAnswer = platform::pathFromBytes(bad);
    control<QPushButton>("cmdOpen")->click();
    ASSERT_TRUE(session().recording) << messages.texts().join('|').toStdString();
    EXPECT_EQ(session().recording->path(), bad);

    EXPECT_EQ(window->openRecording(platform::pathFromBytes(bad)), OpenResult::Opened)
        << messages.texts().join('|').toStdString();
    ASSERT_TRUE(session().recording);
    EXPECT_EQ(session().recording->path(), bad);
    EXPECT_EQ(session().FrameCount(), 12);
}

TEST_F(OpenPathTest, AFifoIsRefusedWithoutWaitingForAWriter) {
    const std::string fifo = platform::pathToBytes(files.filePath(QStringLiteral("f.BIN")));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A regression would block in open(2); the alarm then ends the test program instead.
    ::alarm(20);
    EXPECT_EQ(window->openRecording(platform::pathFromBytes(fifo)), OpenResult::Rejected);
    ::alarm(0);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts().front(), QString::fromStdString(fifo + ": is a FIFO, not a recording file"));
}

} // namespace
} // namespace pelix::player::test
