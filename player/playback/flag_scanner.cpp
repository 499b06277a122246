#include "player/playback/flag_scanner.h"

#include "core/recording/flag_scan.h"

#include <new>
#include <utility>

namespace pelix::player {

FlagScanner::FlagScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<pelix::recording::FlagIndex>();
}

FlagScanner::~FlagScanner() {
    cancel();
}

void FlagScanner::cancel() {
    // The scan looks at the stop flag before every frame, so this wait is short.
    m_task.cancel();
}

void FlagScanner::wait() {
    m_task.wait();
}

void FlagScanner::start(recording::RecordingFile file, const recording::FrameRecordLayout& layout,
                        int32_t flagCount) {
    m_task.start(
        [handle = std::move(file), layout, flagCount](const std::atomic<bool>& stop) {
            recording::FlagIndex flags;
            try {
                flags = recording::scanFlagIndex(handle, layout, flagCount, &stop);
            } catch (const std::bad_alloc&) {
                // Only the flags found fit in memory; none is a usable answer and the player runs on.
            }
            return flags;
        },
        [this](recording::FlagIndex flags) { emit finished(std::move(flags)); });
}

} // namespace pelix::player
