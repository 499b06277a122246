#include "platform/video/avi_file.h"

#include "platform/video/msvideo1_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <array>
#include <cctype>
#include <cstring>
#include <memory>
#include <vector>

namespace pelix::platform::video {

struct AviFileObject {
    int references = 1;
    AVFormatContext* format = nullptr;
    bool headerWritten = false;
    bool hasStream = false;
    AviResult failure = AVIERR_OK; // once set, every later write fails with it
};

struct AviStreamObject {
    int references = 1;
    AviFileObject* file = nullptr;
    AVISTREAMINFO info;
    AviStreamObject* source = nullptr; // set on a compressed stream

    // A compressed stream with its format set.
    AVStream* stream = nullptr;
    BITMAPINFOHEADER picture;
    Msvideo1Encoder encoder;
    std::vector<uint16_t> pixels; // the padded 15-bit picture
    int32_t nextSample = 0;
};

namespace {

constexpr FourCC fourCC(char a, char b, char c, char d) {
    return static_cast<FourCC>(static_cast<uint8_t>(a)) | static_cast<FourCC>(static_cast<uint8_t>(b)) << 8 |
           static_cast<FourCC>(static_cast<uint8_t>(c)) << 16 |
           static_cast<FourCC>(static_cast<uint8_t>(d)) << 24;
}

FourCC lowerCase(FourCC code) {
    FourCC out = 0;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>((code >> (8 * i)) & 0xFF);
        out |= static_cast<FourCC>(std::tolower(c)) << (8 * i);
    }
    return out;
}

// 8-bit channel to 5 bits, rounded.
constexpr std::array<uint16_t, 256> kFiveBits = [] {
    std::array<uint16_t, 256> t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = static_cast<uint16_t>((v * 31 + 127) / 255);
    return t;
}();

int paddedToBlock(int n) {
    return (n + 3) / 4 * 4;
}

std::size_t rowStride(const BITMAPINFOHEADER& h) {
    return (static_cast<std::size_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
}

// The picture's rows, top-down, into the padded 15-bit buffer (the padding stays black).
void toFifteenBits(const BITMAPINFOHEADER& h, const uint8_t* bits, std::vector<uint16_t>& out, int outWidth) {
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const bool bottomUp = h.biHeight > 0;
    const std::size_t stride = rowStride(h);
    const int bytesPerPixel = h.biBitCount / 8;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bits + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        uint16_t* dst = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(outWidth);
        for (int x = 0; x < width; ++x, row += bytesPerPixel)
            dst[x] =
                static_cast<uint16_t>(kFiveBits[row[2]] << 10 | kFiveBits[row[1]] << 5 | kFiveBits[row[0]]);
    }
}

void addReference(AviFileObject* file) {
    ++file->references;
}

AviResult completeFile(AviFileObject* file) {
    AviResult result = file->failure;
    if (file->headerWritten && result == AVIERR_OK) {
        if (av_write_trailer(file->format) < 0) result = AVIERR_FILEWRITE;
        if (file->format->pb) {
            avio_flush(file->format->pb);
            if (file->format->pb->error < 0) result = AVIERR_FILEWRITE;
        }
    }
    if (file->format && avio_closep(&file->format->pb) < 0 && file->headerWritten) result = AVIERR_FILEWRITE;
    avformat_free_context(file->format);
    delete file;
    return result;
}

AviResult dropFileReference(AviFileObject* file) {
    if (--file->references > 0) return AVIERR_OK;
    return completeFile(file);
}

AviResult writeHeader(AviStreamObject* s) {
    AviFileObject* file = s->file;
    if (file->headerWritten) return AVIERR_OK;
    if (avformat_write_header(file->format, nullptr) < 0) return AVIERR_FILEWRITE;
    file->headerWritten = true;
    return AVIERR_OK;
}

} // namespace

FourCC mmioStringToFOURCCA(const char* text, uint32_t) {
    std::array<char, 4> c{' ', ' ', ' ', ' '};
    for (std::size_t i = 0; text && i < 4 && text[i] != '\0'; ++i)
        c[i] = text[i];
    return fourCC(c[0], c[1], c[2], c[3]);
}

void AVIFileInit() {}
void AVIFileExit() {}

AviResult AVIFileOpen(PAVIFILE* file, const std::string& path, uint32_t mode) {
    if (!file) return AVIERR_BADPARAM;
    *file = nullptr;
    if ((mode & (OF_WRITE | OF_CREATE)) != (OF_WRITE | OF_CREATE)) return AVIERR_UNSUPPORTED;
    auto created = std::make_unique<AviFileObject>();
    if (avformat_alloc_output_context2(&created->format, nullptr, "avi", path.c_str()) < 0 ||
        !created->format)
        return AVIERR_MEMORY;
    if (avio_open(&created->format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) {
        avformat_free_context(created->format);
        return AVIERR_FILEOPEN;
    }
    *file = created.release();
    return AVIERR_OK;
}

AviResult AVIFileCreateStreamA(PAVIFILE file, PAVISTREAM* stream, const AVISTREAMINFO& info) {
    if (!stream) return AVIERR_BADPARAM;
    *stream = nullptr;
    if (!file) return AVIERR_BADPARAM;
    // One video stream per file is all the player writes.
    if (info.fccType != mmioStringToFOURCCA("vids") || file->hasStream) return AVIERR_UNSUPPORTED;
    if (info.dwRate == 0 || info.dwScale == 0 || info.dwRate > INT32_MAX || info.dwScale > INT32_MAX)
        return AVIERR_BADPARAM;
    auto* created = new AviStreamObject;
    created->file = file;
    created->info = info;
    addReference(file);
    file->hasStream = true;
    *stream = created;
    return AVIERR_OK;
}

AviResult AVIMakeCompressedStream(PAVISTREAM* compressed, PAVISTREAM source,
                                  const AVICOMPRESSOPTIONS& options) {
    if (!compressed) return AVIERR_BADPARAM;
    *compressed = nullptr;
    if (!source || source->source) return AVIERR_BADPARAM;
    if (lowerCase(options.fccHandler) != mmioStringToFOURCCA("msvc")) return AVIERR_NOCOMPRESSOR;
    if (!avcodec_find_encoder(AV_CODEC_ID_MSVIDEO1)) return AVIERR_NOCOMPRESSOR;
    auto* created = new AviStreamObject;
    created->file = source->file;
    created->info = source->info;
    created->source = source;
    ++source->references;
    addReference(source->file);
    *compressed = created;
    return AVIERR_OK;
}

AviResult AVIStreamSetFormat(PAVISTREAM s, int32_t position, const void* format, int32_t formatSize) {
    if (!s || !s->source || !format || position != 0) return AVIERR_BADPARAM;
    if (s->stream) return AVIERR_UNSUPPORTED; // the format of a compressed stream is set once
    if (formatSize < static_cast<int32_t>(sizeof(BITMAPINFOHEADER))) return AVIERR_BADFORMAT;
    BITMAPINFOHEADER h;
    std::memcpy(&h, format, sizeof h);
    constexpr int32_t kLargest = 16384;
    const int64_t height = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biWidth > kLargest || height <= 0 ||
        height > kLargest || (h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB)
        return AVIERR_BADFORMAT;

    const int width = paddedToBlock(h.biWidth);
    const int paddedHeight = paddedToBlock(static_cast<int>(height));
    if (!s->encoder.open(width, paddedHeight)) return AVIERR_NOCOMPRESSOR;

    AVFormatContext* fmt = s->file->format;
    AVStream* st = avformat_new_stream(fmt, nullptr);
    if (!st) return AVIERR_MEMORY;
    st->time_base = AVRational{static_cast<int>(s->info.dwScale), static_cast<int>(s->info.dwRate)};
    st->avg_frame_rate = AVRational{static_cast<int>(s->info.dwRate), static_cast<int>(s->info.dwScale)};
    st->r_frame_rate = st->avg_frame_rate;
    AVCodecParameters* par = st->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = AV_CODEC_ID_MSVIDEO1;
    par->codec_tag = fourCC('M', 'S', 'V', 'C');
    par->width = width;
    par->height = paddedHeight;
    par->bits_per_coded_sample = 16;
    par->format = AV_PIX_FMT_RGB555;

    s->picture = h;
    s->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(paddedHeight), 0);
    s->stream = st;
    return AVIERR_OK;
}

AviResult AVIStreamWrite(PAVISTREAM s, int32_t start, int32_t samples, const void* bits, int32_t bytes,
                         uint32_t flags) {
    if (!s || !s->stream || !bits || samples != 1 || start < s->nextSample) return AVIERR_BADPARAM;
    // Every sample is written as an intra picture, so the key-frame flag only confirms it.
    (void)flags;
    AviFileObject* file = s->file;
    if (file->failure != AVIERR_OK) return file->failure;
    const int32_t height = s->picture.biHeight < 0 ? -s->picture.biHeight : s->picture.biHeight;
    if (bytes < 0 ||
        static_cast<std::size_t>(bytes) < rowStride(s->picture) * static_cast<std::size_t>(height))
        return AVIERR_BADPARAM;

    toFifteenBits(s->picture, static_cast<const uint8_t*>(bits), s->pixels, s->encoder.width());
    const std::vector<uint8_t>* coded = s->encoder.encode(s->pixels.data());
    if (!coded) return file->failure = AVIERR_FILEWRITE;
    if (const AviResult r = writeHeader(s); r != AVIERR_OK) return file->failure = r;

    AVPacket* packet = av_packet_alloc();
    if (!packet || av_new_packet(packet, static_cast<int>(coded->size())) < 0) {
        av_packet_free(&packet);
        return file->failure = AVIERR_MEMORY;
    }
    std::memcpy(packet->data, coded->data(), coded->size());
    packet->stream_index = s->stream->index;
    packet->pts = packet->dts = start;
    packet->duration = 1;
    packet->flags |= AV_PKT_FLAG_KEY;
    av_packet_rescale_ts(packet,
                         AVRational{static_cast<int>(s->info.dwScale), static_cast<int>(s->info.dwRate)},
                         s->stream->time_base);
    const int written = av_write_frame(file->format, packet);
    av_packet_free(&packet);
    // Each picture goes to the disk before the call returns, so a full disk
    // is reported on the picture that met it.
    avio_flush(file->format->pb);
    if (written < 0 || file->format->pb->error < 0) return file->failure = AVIERR_FILEWRITE;
    s->nextSample = start + 1;
    return AVIERR_OK;
}

AviResult AVIStreamRelease(PAVISTREAM s) {
    if (!s) return AVIERR_BADPARAM;
    if (--s->references > 0) return AVIERR_OK;
    AviFileObject* file = s->file;
    AviStreamObject* source = s->source;
    delete s;
    AviResult result = AVIERR_OK;
    if (source) result = AVIStreamRelease(source);
    const AviResult completed = dropFileReference(file);
    return completed != AVIERR_OK ? completed : result;
}

AviResult AVIFileRelease(PAVIFILE file) {
    if (!file) return AVIERR_BADPARAM;
    return dropFileReference(file);
}

} // namespace pelix::platform::video
