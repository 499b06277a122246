// Builds the flag index of the open recording on a thread of its own, so the
// window shows frame 1 at once even when the last flag lies at the end of a
// long recording. The thread reads through its own handle of the file; the
// index arrives on the user-interface thread.
#pragma once

#include "core/recording/flag_index.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/recording_file.h"
#include "platform/background_task.h"

#include <QObject>

namespace pelix::player {

class FlagScanner : public QObject {
    Q_OBJECT
  public:
    explicit FlagScanner(QObject* parent = nullptr);
    ~FlagScanner() override;

    // Starts finding `flagCount` flags in `file` (a handle of its own, kept by
    // the scan); a scan still running for an earlier recording is abandoned
    // and its index never arrives.
    void start(recording::RecordingFile file, const recording::FrameRecordLayout& layout, int32_t flagCount);
    // Abandons the running scan, if any; returns once its thread has ended.
    void cancel();
    // Waits for the running scan to end and hands its index out before returning.
    void wait();
    bool running() const { return m_task.running(); }

  signals:
    void finished(pelix::recording::FlagIndex flags);

  private:
    platform::BackgroundTask m_task{this};
};

} // namespace pelix::player
