// Running the built command-line tool from a test, headless.
#pragma once

#include "display_test_support.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace pelix::player {

class ToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApplication();
        ASSERT_TRUE(std::filesystem::is_directory(dir.path()));
        ASSERT_TRUE(QFile::exists(tool())) << "build the pelix target first";
    }
    static QString tool() { return QStringLiteral(PELIX_BIN_DIR "/pelix"); }
    int run(const QStringList& args, QString* err = nullptr, QByteArray* out = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        p.setProcessEnvironment(env);
        p.start(tool(), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
        if (out) *out = p.readAllStandardOutput();
        return p.exitCode();
    }
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }
    pelix::testing::TempFolder dir;
};

using RenderToolTest = ToolTest;

} // namespace pelix::player
