#include "player/playback/flag_scanner.h"

#include "core/recording/flag_scan.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>

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
    ++m_generation;
    if (m_stop) m_stop->store(true);
    // The scan looks at the stop flag before every frame, so this wait is short.
    if (m_thread.joinable()) m_thread.join();
    m_stop.reset();
    m_running = false;
}

void FlagScanner::wait() {
    if (!m_thread.joinable()) return;
    m_thread.join();
    // The index was posted to this object just before the thread ended.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void FlagScanner::start(recording::RecordingFile file, const recording::FrameRecordLayout& layout,
                        int32_t flagCount) {
    cancel();
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_running = true;
    const quint64 generation = m_generation;
    m_thread = std::thread([this, handle = std::move(file), layout, flagCount, stop = m_stop, generation] {
        recording::FlagIndex flags;
        try {
            flags = recording::scanFlagIndex(handle, layout, flagCount, stop.get());
        } catch (const std::bad_alloc&) {
            // Only the flags found fit in memory; none is a usable answer and the player runs on.
        }
        if (stop->load()) return;
        // Queued to this object: dropped by Qt if the scanner is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, flags = std::move(flags), generation]() mutable {
                if (generation != m_generation) return;
                m_running = false;
                emit finished(std::move(flags));
            },
            Qt::QueuedConnection);
    });
}

} // namespace pelix::player
