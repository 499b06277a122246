// Qt's writers (images, PDF) on an output file: they write into the output's
// temporary file through its open handle, so the name is never turned into
// text and back, and every buffered byte is flushed and checked before the
// output may be committed.
#pragma once

#include "core/files/file_identity.h"
#include "core/files/output_file.h"

#include <QFile>
#include <QString>

#include <optional>
#include <string>

class QImage;

namespace pelix::player {

class OutputDevice {
  public:
    // Writes into `output`, which must be open and outlive this device.
    explicit OutputDevice(files::OutputFile& output);
    QIODevice* device() { return &m_file; }
    // Flushes what Qt holds; on any error the output fails with the system's
    // reason. `step` says what was being written when the writer itself failed.
    bool finish(bool writerSucceeded, const char* step);
    // Stops writing without judging the output (a cancelled report). Must come
    // before the output is discarded: Qt would otherwise flush into a closed handle.
    void close() { m_file.close(); }
    ~OutputDevice() { close(); }
    OutputDevice(const OutputDevice&) = delete;
    OutputDevice& operator=(const OutputDevice&) = delete;

  private:
    files::OutputFile& m_output;
    QFile m_file;
};

// The image as PNG (or `format`) into `output`; false when it failed (`output` says why).
bool saveImage(const QImage& image, files::OutputFile& output, const char* format = "PNG");

// An output's error for a window or a message: the name's bytes shown as the system shows them.
QString outputError(const files::OutputFile& output);

} // namespace pelix::player
