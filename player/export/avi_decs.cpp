#include "player/export/avi_decs.h"

#include "platform/message_service.h"
#include "platform/path_bytes.h"

#include <QFile>

#include <algorithm>
#include <unistd.h>

namespace pelix::player {

using namespace platform::video;

AVIDecs::AVIDecs(QString appTitle) : m_appTitle(std::move(appTitle)) {}

AVIDecs::~AVIDecs() {
    CloseAviFile();
}

bool AVIDecs::keep(AviResult result) {
    m_result = result;
    return result == AVIERR_OK;
}

bool AVIDecs::OpenAviStream(const QString& firstBitmap, const QString& outputName, int framesPerSecond) {
    return OpenAviStream(firstBitmap, platform::pathToBytes(outputName), framesPerSecond);
}

bool AVIDecs::OpenAviStream(const QString& firstBitmap, const std::string& outputPath, int framesPerSecond) {
    CloseAviFile();
    m_outputPath = outputPath;
    m_result = AVIERR_OK;
    AVIFileInit();
    if (!keep(AVIFileOpen(&m_file, outputPath, OF_WRITE | OF_CREATE))) {
        CloseAviFile();
        return false;
    }

    m_dib = std::make_unique<cDIB>(m_appTitle);
    if (!m_dib->CreateFromFile(firstBitmap)) {
        platform::showMessage(QStringLiteral("Could not load first bitmap file in list!"),
                              platform::MessageIcon::Exclamation, nullptr, m_appTitle);
        // The file was created empty: marking the step failed removes it again.
        m_result = AVIERR_BADFORMAT;
        CloseAviFile();
        return false;
    }
    m_width = m_dib->Width();
    m_height = m_dib->Height();
    m_bitCount = m_dib->BitCount();

    m_info = AVISTREAMINFO{};
    m_info.fccType = mmioStringToFOURCCA("vids");
    m_info.fccHandler = 0;
    m_info.dwScale = 1;
    m_info.dwRate = static_cast<uint32_t>(std::clamp(framesPerSecond, kSlowestRate, kFastestRate));
    m_info.dwSuggestedBufferSize = m_dib->SizeImage();
    m_info.rcFrame =
        FrameRect{0, 0, m_dib->Width(), m_dib->Height() < 0 ? -m_dib->Height() : m_dib->Height()};
    if (!keep(AVIFileCreateStreamA(m_file, &m_stream, m_info))) {
        CloseAviFile();
        return false;
    }
    m_options = AVICOMPRESSOPTIONS{};
    m_options.fccType = 0;
    m_options.fccHandler = mmioStringToFOURCCA("msvc");
    m_options.dwQuality = 5000;
    m_options.dwFlags = 0;
    if (!keep(AVIMakeCompressedStream(&m_compressed, m_stream, m_options)) ||
        !keep(AVIStreamSetFormat(m_compressed, 0, m_dib->PointerToBitmapInfo(),
                                 static_cast<int32_t>(m_dib->SizeBitmapInfo())))) {
        CloseAviFile();
        return false;
    }
    return true;
}

bool AVIDecs::AddAviFrame(int32_t sample, const QString& bitmap) {
    if (!m_compressed || !m_dib) return false;
    if (!m_dib->CreateFromFile(bitmap) || m_dib->Width() != m_width || m_dib->Height() != m_height ||
        m_dib->BitCount() != m_bitCount) {
        m_result = AVIERR_BADFORMAT;
        CloseAviFile();
        return false;
    }
    if (!keep(AVIStreamWrite(m_compressed, sample, 1, m_dib->PointerToBits(),
                             static_cast<int32_t>(m_dib->SizeImage()), AVIIF_KEYFRAME))) {
        CloseAviFile();
        return false;
    }
    return true;
}

void AVIDecs::CloseAviFile() {
    AVIFileExit();
    m_dib.reset();
    // A release that cannot complete the file on disk counts as a failed step.
    const auto release = [this](AviResult r) {
        if (r != AVIERR_OK) m_result = r;
    };
    if (m_stream) release(AVIStreamRelease(std::exchange(m_stream, nullptr)));
    if (m_compressed) release(AVIStreamRelease(std::exchange(m_compressed, nullptr)));
    if (m_file) release(AVIFileRelease(std::exchange(m_file, nullptr)));
    if (m_result != AVIERR_OK && !m_outputPath.empty()) ::unlink(m_outputPath.c_str());
    m_outputPath.clear();
}

} // namespace pelix::player
