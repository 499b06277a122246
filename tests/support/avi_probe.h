// What a video file holds, read back with libavformat/libavcodec the way any
// other program would: container, streams, codec and tag, rate, frame count,
// key frames, and any frame decoded to a picture.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QImage>
#include <QString>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace pelix::testing {

struct AviProbe {
    bool opened = false;
    std::string container;
    unsigned streams = 0;
    bool video = false;
    std::string codec;
    std::string tag;
    int width = 0, height = 0;
    AVRational rate{0, 1};
    int packets = 0;
    int keyPackets = 0;
    std::vector<int64_t> keyFrames; // the picture number (from 0) of each key packet, in file order
    std::vector<QImage> frames;     // decoded, when asked for
};

inline AviProbe probeAvi(const QString& path, bool decode = false) {
    AviProbe p;
    AVFormatContext* f = nullptr;
    if (avformat_open_input(&f, path.toLocal8Bit().constData(), nullptr, nullptr) < 0) return p;
    p.opened = true;
    p.container = f->iformat->name;
    p.streams = f->nb_streams;
    if (avformat_find_stream_info(f, nullptr) < 0 || f->nb_streams == 0) {
        avformat_close_input(&f);
        return p;
    }
    const AVStream* st = f->streams[0];
    p.video = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    p.codec = avcodec_get_name(st->codecpar->codec_id);
    for (int i = 0; i < 4; ++i)
        p.tag += static_cast<char>((st->codecpar->codec_tag >> (8 * i)) & 0xFF);
    p.width = st->codecpar->width;
    p.height = st->codecpar->height;
    p.rate = st->r_frame_rate;

    AVCodecContext* decoder = nullptr;
    if (decode) {
        const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
        decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder, st->codecpar);
        if (avcodec_open2(decoder, codec, nullptr) < 0) avcodec_free_context(&decoder);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto receive = [&] {
        while (avcodec_receive_frame(decoder, frame) >= 0) {
            QImage image(frame->width, frame->height, QImage::Format_RGB888);
            SwsContext* sws =
                sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                               frame->width, frame->height, AV_PIX_FMT_RGB24,
                               SWS_POINT | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
            uint8_t* dst[1] = {image.bits()};
            const int stride[1] = {static_cast<int>(image.bytesPerLine())};
            sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
            sws_freeContext(sws);
            p.frames.push_back(image);
        }
    };
    // Taken before reading: a demuxer may revise the stream's start as it learns the decoding times.
    const int64_t start = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    while (av_read_frame(f, packet) >= 0) {
        ++p.packets;
        if (packet->flags & AV_PKT_FLAG_KEY) {
            ++p.keyPackets;
            // The stream's clock in pictures; a container may start it above zero.
            p.keyFrames.push_back(av_rescale_q(packet->pts - start, st->time_base, av_inv_q(p.rate)));
        }
        if (decoder && avcodec_send_packet(decoder, packet) >= 0) receive();
        av_packet_unref(packet);
    }
    // A decoder that reorders pictures holds the last few until it is told the stream ended.
    if (decoder && avcodec_send_packet(decoder, nullptr) >= 0) receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&f);
    return p;
}

// Mean difference of the colour channels of two pictures of the same size
// (256 when the sizes differ).
inline double meanChannelDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    if (x.size() != y.size() || x.isNull()) return 256;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(p[i] - q[i]);
    }
    return sum / (static_cast<double>(x.width()) * x.height() * 3);
}

// Peak signal-to-noise ratio of `b` against `a` over the red, green and blue
// channels, in dB (infinity when equal, 0 when the sizes differ).
inline double psnr(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    if (x.size() != y.size() || x.isNull()) return 0;
    double squares = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            squares += (p[i] - q[i]) * (p[i] - q[i]);
    }
    if (squares == 0) return std::numeric_limits<double>::infinity();
    const double mean = squares / (static_cast<double>(x.width()) * x.height() * 3);
    return 10 * std::log10(255.0 * 255.0 / mean);
}

} // namespace pelix::testing
