// AVIDecs: one AVI file at a time, written from bitmap files. OpenAviStream
// takes its picture format from the first bitmap, AddAviFrame appends one
// bitmap as one key-frame sample, CloseAviFile releases everything and
// deletes the file when a step failed. Every result code of the file calls
// is kept; after CloseAviFile nothing is held, so nothing can be written to
// or released twice.
#pragma once

#include "platform/video/avi_file.h"
#include "player/export/cdib.h"

#include <QString>

#include <memory>
#include <string>

namespace pelix::player {

class AVIDecs {
  public:
    explicit AVIDecs(QString appTitle = QString());
    ~AVIDecs();
    AVIDecs(const AVIDecs&) = delete;
    AVIDecs& operator=(const AVIDecs&) = delete;

    // The video runs at `framesPerSecond`, clamped to 1..30. `outputPath` is the name's bytes.
    bool OpenAviStream(const QString& firstBitmap, const std::string& outputPath, int framesPerSecond);
    bool OpenAviStream(const QString& firstBitmap, const QString& outputName, int framesPerSecond);
    // False when the frame could not be written: the file is then closed and deleted.
    bool AddAviFrame(int32_t sample, const QString& bitmap);
    void CloseAviFile();

    bool isOpen() const { return m_compressed != nullptr; }
    platform::video::AviResult lastResult() const { return m_result; }

    static constexpr int kSlowestRate = 1;
    static constexpr int kFastestRate = 30;

  private:
    bool keep(platform::video::AviResult result);

    QString m_appTitle;
    platform::video::AviResult m_result = platform::video::AVIERR_OK;
    platform::video::PAVIFILE m_file = nullptr;
    platform::video::PAVISTREAM m_stream = nullptr;
    platform::video::PAVISTREAM m_compressed = nullptr;
    platform::video::AVISTREAMINFO m_info;
    platform::video::AVICOMPRESSOPTIONS m_options;
    std::string m_outputPath;
    std::unique_ptr<cDIB> m_dib;
    // The first bitmap's shape: every later bitmap has to match it.
    int32_t m_width = 0, m_height = 0;
    uint16_t m_bitCount = 0;
};

} // namespace pelix::player
