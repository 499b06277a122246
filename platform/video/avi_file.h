// AVI writing with the call shape of the desktop's video-file library: init,
// open a file, create a stream, wrap it in a compressed stream, set the
// picture format, write samples, release, exit. Every call returns a result
// code, 0 for success. Underneath, the container and the encoder are
// libavformat and libavcodec.
//
// What a file holds: one "vids" stream at `dwRate / dwScale` frames per
// second, Microsoft Video 1 (tag "MSVC", 15-bit colour), every sample an
// intra (key) frame. The encoder works on 4 x 4 blocks, so a picture whose
// width or height is not a multiple of 4 is padded with black on the right
// and at the bottom. Nothing is written into the file before the first
// sample: a file released without samples stays empty.
#pragma once

#include <cstdint>
#include <string>

namespace pelix::platform::video {

using AviResult = long;
inline constexpr AviResult AVIERR_OK = 0;
inline constexpr AviResult AVIERR_UNSUPPORTED = -101;
inline constexpr AviResult AVIERR_BADFORMAT = -102;
inline constexpr AviResult AVIERR_MEMORY = -103;
inline constexpr AviResult AVIERR_BADPARAM = -106;
inline constexpr AviResult AVIERR_FILEWRITE = -109;
inline constexpr AviResult AVIERR_FILEOPEN = -110;
inline constexpr AviResult AVIERR_NOCOMPRESSOR = -113;

// Open modes.
inline constexpr uint32_t OF_WRITE = 0x0001;
inline constexpr uint32_t OF_CREATE = 0x1000;
// Sample flag: the sample is a key frame.
inline constexpr uint32_t AVIIF_KEYFRAME = 0x10;

using FourCC = uint32_t;
// The four characters as the file stores them ("vids" -> 'v' in the low byte).
FourCC mmioStringToFOURCCA(const char* text, uint32_t flags = 0);

struct FrameRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct AVISTREAMINFO {
    FourCC fccType = 0;
    FourCC fccHandler = 0;
    uint32_t dwScale = 1;
    uint32_t dwRate = 0; // samples per second = dwRate / dwScale
    uint32_t dwSuggestedBufferSize = 0;
    FrameRect rcFrame;
};

struct AVICOMPRESSOPTIONS {
    FourCC fccType = 0;
    FourCC fccHandler = 0; // "msvc" (any letter case): Microsoft Video 1
    uint32_t dwQuality = 0;
    uint32_t dwFlags = 0;
};

// The picture format of the samples: a device-independent bitmap header.
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // > 0: rows stored bottom-up; < 0: top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0; // 24 or 32 (blue, green, red[, unused])
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
inline constexpr uint32_t BI_RGB = 0;

struct AviFileObject;
struct AviStreamObject;
using PAVIFILE = AviFileObject*;
using PAVISTREAM = AviStreamObject*;

void AVIFileInit();
void AVIFileExit();

// Creates (or empties) the file at once; `*file` is null on failure.
AviResult AVIFileOpen(PAVIFILE* file, const std::string& path, uint32_t mode);
AviResult AVIFileCreateStreamA(PAVIFILE file, PAVISTREAM* stream, const AVISTREAMINFO& info);
AviResult AVIMakeCompressedStream(PAVISTREAM* compressed, PAVISTREAM source,
                                  const AVICOMPRESSOPTIONS& options);
// `format` points at a BITMAPINFOHEADER (a colour table may follow; it is not used).
AviResult AVIStreamSetFormat(PAVISTREAM stream, int32_t position, const void* format, int32_t formatSize);
// One picture in the stream's format, rows padded to 4 bytes, at sample number `start`.
AviResult AVIStreamWrite(PAVISTREAM stream, int32_t start, int32_t samples, const void* bits, int32_t bytes,
                         uint32_t flags);
// Each release drops one reference; the last reference to the file completes
// it on disk. Non-zero when the file could not be completed.
AviResult AVIStreamRelease(PAVISTREAM stream);
AviResult AVIFileRelease(PAVIFILE file);

} // namespace pelix::platform::video
