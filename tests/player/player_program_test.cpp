// The player program's command line, checked before any window exists.
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace pelix::player {
namespace {

struct PlayerRun {
    int exitCode;
    QString out, err;
};

PlayerRun runPlayer(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PELIX_BIN_DIR "/PelixPlayer"), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << "a refused command line must not leave a window waiting";
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(PlayerCommandLine, RefusesWhatItCannotOpenBeforeShowingAWindow) {
    ASSERT_TRUE(QFile::exists(QStringLiteral(PELIX_BIN_DIR "/PelixPlayer")));
    const PlayerRun help = runPlayer({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: PelixPlayer [FILE]")) << help.out.toStdString();
    const PlayerRun version = runPlayer({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("PelixPlayer %1.%2.%3\n")
                               .arg(PELIX_VERSION_MAJOR)
                               .arg(PELIX_VERSION_MINOR)
                               .arg(PELIX_VERSION_PATCH));

    for (const QStringList& args :
         {QStringList{"A.BIN", "B.BIN"}, QStringList{"--frobnicate"}, QStringList{"--overview"},
          QStringList{"--overview", "A.BIN", "B.BIN"}, QStringList{"A.BIN", "--overview"},
          QStringList{"--bscan"}, QStringList{"--bscan", "A.BIN", "B.BIN"}}) {
        const PlayerRun refused = runPlayer(args);
        EXPECT_EQ(refused.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(refused.err.contains("Usage: PelixPlayer [FILE]")) << refused.err.toStdString();
    }
}

} // namespace
} // namespace pelix::player
