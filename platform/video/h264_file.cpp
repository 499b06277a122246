#include "platform/video/h264_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace pelix::platform::video {

namespace {

// Beyond this a picture is no window capture, and x264 refuses it anyway.
constexpr int kLargestSide = 16384;

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace

int keyFrameInterval(int framesPerSecond) {
    return std::max(1, framesPerSecond) * kKeyFrameIntervalSeconds;
}

struct H264File::State {
    ~State() {
        sws_freeContext(convert);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&encoder);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    AVFormatContext* format = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* convert = nullptr; // none when the pictures go to the encoder as they are (lossless)
    int64_t nextPicture = 0;
    bool broken = false; // a step failed: nothing more is written
};

H264File::H264File() = default;

H264File::~H264File() = default;

bool H264File::isOpen() const {
    return m != nullptr;
}

int H264File::picturesWritten() const {
    return m ? static_cast<int>(m->nextPicture) : 0;
}

const std::string& H264File::error() const {
    return m_error;
}

bool H264File::fail(const std::string& why, int code) {
    m_error = code != 0 ? why + ": " + avError(code) : why;
    if (m) m->broken = true;
    return false;
}

bool H264File::open(const std::string& path, const CompactVideoFormat& f) {
    m.reset();
    m_error.clear();
    if (f.width <= 0 || f.height <= 0 || f.width > kLargestSide || f.height > kLargestSide ||
        f.framesPerSecond <= 0)
        return fail("the picture size or the rate is not one a video can have");
    const AVCodec* codec = avcodec_find_encoder_by_name(f.lossless ? "libx264rgb" : "libx264");
    if (!codec) return fail("the H.264 encoder is not available");

    // The libraries' own lines (the encoder's statistics, a muxer's notes) stay off
    // standard error: a failure is reported once, in our words, by error().
    av_log_set_level(AV_LOG_QUIET);
    m = std::make_unique<State>();
    const char* container = f.container == CompactContainer::Mp4 ? "mp4" : "matroska";
    if (const int r = avformat_alloc_output_context2(&m->format, nullptr, container, path.c_str());
        r < 0 || !m->format)
        return fail("the container cannot be set up", r);

    m->encoder = avcodec_alloc_context3(codec);
    m->frame = av_frame_alloc();
    m->packet = av_packet_alloc();
    if (!m->encoder || !m->frame || !m->packet) return fail("out of memory");
    AVCodecContext* e = m->encoder;
    e->width = f.width;
    e->height = f.height;
    e->time_base = AVRational{1, f.framesPerSecond};
    e->framerate = AVRational{f.framesPerSecond, 1};
    e->gop_size = keyFrameInterval(f.framesPerSecond);
    e->keyint_min = e->gop_size;
    e->sample_aspect_ratio = AVRational{1, 1};
    if (m->format->oformat->flags & AVFMT_GLOBALHEADER) e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(e->priv_data, "x264-params", "scenecut=0", 0);
    if (f.lossless) {
        // The encoder takes the captured bytes as they are and stores green, blue, red planes.
        e->pix_fmt = AV_PIX_FMT_BGR0;
        av_opt_set(e->priv_data, "preset", "faster", 0);
        av_opt_set(e->priv_data, "qp", "0", 0);
    } else {
        e->pix_fmt = AV_PIX_FMT_YUV444P;
        e->colorspace = AVCOL_SPC_SMPTE170M;
        e->color_range = AVCOL_RANGE_MPEG;
        av_opt_set(e->priv_data, "preset", "medium", 0);
        av_opt_set(e->priv_data, "tune", "stillimage", 0);
        av_opt_set_int(e->priv_data, "crf", kCompactQuality, 0);
        m->convert = sws_getContext(f.width, f.height, AV_PIX_FMT_BGR0, f.width, f.height, AV_PIX_FMT_YUV444P,
                                    SWS_POINT | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
        if (!m->convert) return fail("the colour conversion cannot be set up");
        // BT.601 limited range, both ways the same.
        const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(m->convert, coefficients, 1, coefficients, 0, 0, 1 << 16, 1 << 16);
    }
    if (const int r = avcodec_open2(e, codec, nullptr); r < 0)
        return fail("the H.264 encoder cannot start", r);

    m->frame->format = e->pix_fmt;
    m->frame->width = f.width;
    m->frame->height = f.height;
    if (const int r = av_frame_get_buffer(m->frame, 0); r < 0) return fail("out of memory", r);

    m->stream = avformat_new_stream(m->format, nullptr);
    if (!m->stream) return fail("out of memory");
    m->stream->time_base = e->time_base;
    m->stream->avg_frame_rate = e->framerate;
    if (const int r = avcodec_parameters_from_context(m->stream->codecpar, e); r < 0)
        return fail("the stream cannot be set up", r);

    if (const int r = avio_open(&m->format->pb, path.c_str(), AVIO_FLAG_WRITE); r < 0)
        return fail("the file cannot be created", r);
    AVDictionary* options = nullptr;
    if (f.container == CompactContainer::Mp4) av_dict_set(&options, "movflags", "+faststart", 0);
    const int header = avformat_write_header(m->format, &options);
    av_dict_free(&options);
    if (header < 0) return fail("the start of the video cannot be written", header);
    return true;
}

bool H264File::drain(bool flushing) {
    for (;;) {
        const int r = avcodec_receive_packet(m->encoder, m->packet);
        if (r == AVERROR(EAGAIN) || (flushing && r == AVERROR_EOF)) return true;
        if (r < 0) return fail("the picture cannot be encoded", r);
        av_packet_rescale_ts(m->packet, m->encoder->time_base, m->stream->time_base);
        m->packet->stream_index = m->stream->index;
        const int written = av_interleaved_write_frame(m->format, m->packet);
        av_packet_unref(m->packet);
        // A full disk is reported on the picture that met it.
        if (written < 0) return fail("the video cannot be written", written);
        if (m->format->pb->error < 0) return fail("the video cannot be written", m->format->pb->error);
    }
}

bool H264File::write(const uint8_t* pixels, std::size_t stride, std::size_t bytes) {
    if (!m || m->broken) return false;
    const int height = m->encoder->height;
    const std::size_t row = static_cast<std::size_t>(m->encoder->width) * 4;
    if (!pixels || stride < row || bytes < stride * static_cast<std::size_t>(height - 1) + row)
        return fail("the picture is not one of the video's");
    if (const int r = av_frame_make_writable(m->frame); r < 0) return fail("out of memory", r);
    if (m->convert) {
        const uint8_t* source[1] = {pixels};
        const int sourceStride[1] = {static_cast<int>(stride)};
        sws_scale(m->convert, source, sourceStride, 0, height, m->frame->data, m->frame->linesize);
    } else {
        for (int y = 0; y < height; ++y)
            std::memcpy(m->frame->data[0] + static_cast<std::ptrdiff_t>(y) * m->frame->linesize[0],
                        pixels + static_cast<std::size_t>(y) * stride, row);
    }
    m->frame->pts = m->nextPicture;
    if (const int r = avcodec_send_frame(m->encoder, m->frame); r < 0)
        return fail("the picture cannot be encoded", r);
    ++m->nextPicture;
    return drain(false);
}

bool H264File::close() {
    if (!m) return false;
    bool completed = !m->broken;
    if (completed) {
        const int r = avcodec_send_frame(m->encoder, nullptr);
        completed = r >= 0 ? drain(true) : fail("the video cannot be completed", r);
    }
    if (completed) {
        if (const int r = av_write_trailer(m->format); r < 0)
            completed = fail("the end of the video cannot be written", r);
        else if (m->format->pb->error < 0)
            completed = fail("the end of the video cannot be written", m->format->pb->error);
    }
    if (const int r = avio_closep(&m->format->pb); r < 0 && completed)
        completed = fail("the video cannot be closed", r);
    m.reset();
    return completed;
}

} // namespace pelix::platform::video
