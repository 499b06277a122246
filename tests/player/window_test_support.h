// Shared pieces of the main-window tests: recordings generated on the spot,
// a window with every message and dialog answered in the test, and lookup of
// the window's controls by their names.
#pragma once

#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "player/playback/control_guard.h"
#include "player/playback/playback_controller.h"
#include "player/ui/frm_player.h"
#include "support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace pelix::player::test {

inline synth::SynthOptions recordingOptions(int32_t frames, int32_t framesPerSecond = 50,
                                            int32_t flagged = 0) {
    synth::SynthOptions o;
    o.frames = frames;
    o.framesPerSecond = framesPerSecond;
    o.flaggedFrames = flagged;
    o.seed = 11;
    return o;
}

class RecordingFiles {
  public:
    QString write(const QString& name, const synth::SynthOptions& options) {
        const QString path = filePath(name);
        std::ofstream out(path.toStdString(), std::ios::binary);
        synth::RecordingSynth(options).write(out);
        return path;
    }
    QString writeBytes(const QString& name, const std::string& bytes) {
        const QString path = filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    // Where a file of that name goes in the test's private folder.
    QString filePath(const QString& name) const {
        return QString::fromStdString(m_dir.file(name.toStdString()));
    }

  private:
    pelix::testing::TempFolder m_dir;
};

// A main window whose messages are collected and whose open dialog answers
// with `dialogAnswer`; every test ends with no unknown control name used.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_bindingFailures = controlBindingFailures();
        platform::CommonDialog::setOpenAnswer([this](const platform::CommonDialog& dialog) {
            dialogFilter = dialog.filter();
            ++dialogShown;
            return dialogAnswer;
        });
        window = std::make_unique<frmPlayer>();
        ASSERT_TRUE(window->ascanError().isEmpty()) << window->ascanError().toStdString();
    }
    void TearDown() override {
        window.reset();
        platform::CommonDialog::setOpenAnswer({});
        EXPECT_EQ(controlBindingFailures(), m_bindingFailures) << "a control name the A-scan control lacks";
    }

    template <typename T> T* control(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control " << name;
        return found;
    }
    QWidget* widget(const char* name) { return control<QWidget>(name); }

    void open(const QString& path) {
        ASSERT_EQ(window->openRecording(path), OpenResult::Opened)
            << messages.texts().join('|').toStdString();
    }
    // Runs the window's events until the flag index built in the background has arrived.
    bool waitForFlags() {
        QElapsedTimer clock;
        clock.start();
        while (window->findingFlags() && clock.elapsed() < 120000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
        QApplication::processEvents();
        return !window->findingFlags();
    }
    PlayerSession& session() { return window->session(); }
    PlaybackController& playback() { return window->playback(); }

    platform::MessageLog messages;
    RecordingFiles files;
    std::unique_ptr<frmPlayer> window;
    QString dialogAnswer;
    QString dialogFilter;
    int dialogShown = 0;

  private:
    int m_bindingFailures = 0;
};

} // namespace pelix::player::test
