#include "player/export/output_device.h"

#include "platform/path_bytes.h"

#include <QImage>

namespace pelix::player {

OutputDevice::OutputDevice(files::OutputFile& output) : m_output(output) {
    if (!m_file.open(output.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        m_output.fail("cannot be written (" + m_file.errorString().toStdString() + ")");
}

bool OutputDevice::finish(bool writerSucceeded, const char* step) {
    if (m_output.failed()) {
        m_file.close();
        return false;
    }
    const bool flushed = m_file.isOpen() && m_file.flush() && m_file.error() == QFileDevice::NoError;
    const std::string systemReason = m_file.errorString().toStdString();
    // Closed before the output is judged: nothing Qt holds may reach the handle after it is gone.
    m_file.close();
    if (!flushed) {
        m_output.fail("cannot be written (" + systemReason + ")");
        return false;
    }
    if (!writerSucceeded) {
        m_output.fail(std::string("cannot be written (") + step + " failed)");
        return false;
    }
    return true;
}

bool saveImage(const QImage& image, files::OutputFile& output, const char* format) {
    OutputDevice device(output);
    const bool saved = !output.failed() && image.save(device.device(), format);
    return device.finish(saved, "the image");
}

QString outputError(const files::OutputFile& output) {
    return platform::pathFromBytes(output.error());
}

} // namespace pelix::player
