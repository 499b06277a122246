#include "platform/msvideo1_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <cstring>

namespace pelix::platform {

Msvideo1Encoder::Msvideo1Encoder() = default;

Msvideo1Encoder::~Msvideo1Encoder() {
    close();
}

void Msvideo1Encoder::close() {
    avcodec_free_context(&m_context);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    m_width = m_height = 0;
}

bool Msvideo1Encoder::open(int width, int height) {
    close();
    if (width <= 0 || height <= 0 || width % 4 != 0 || height % 4 != 0) return false;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MSVIDEO1);
    if (!codec) return false;
    m_context = avcodec_alloc_context3(codec);
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (!m_context || !m_frame || !m_packet) {
        close();
        return false;
    }
    m_context->width = width;
    m_context->height = height;
    m_context->pix_fmt = AV_PIX_FMT_RGB555;
    m_context->time_base = AVRational{1, 1};
    // The encoder makes a picture intra when at least keyint_min pictures
    // passed since the last one: 0 makes every picture intra.
    m_context->keyint_min = 0;
    m_frame->format = AV_PIX_FMT_RGB555;
    m_frame->width = width;
    m_frame->height = height;
    if (avcodec_open2(m_context, codec, nullptr) < 0 || av_frame_get_buffer(m_frame, 0) < 0) {
        close();
        return false;
    }
    m_width = width;
    m_height = height;
    m_pictures = 0;
    return true;
}

const std::vector<uint8_t>* Msvideo1Encoder::encode(const uint16_t* pixels) {
    if (!m_context || av_frame_make_writable(m_frame) < 0) return nullptr;
    const std::size_t rowBytes = static_cast<std::size_t>(m_width) * sizeof(uint16_t);
    for (int y = 0; y < m_height; ++y)
        std::memcpy(m_frame->data[0] + static_cast<std::ptrdiff_t>(y) * m_frame->linesize[0],
                    pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width), rowBytes);
    m_frame->pts = m_pictures++;
    if (avcodec_send_frame(m_context, m_frame) < 0) return nullptr;
    if (avcodec_receive_packet(m_context, m_packet) < 0) return nullptr;
    m_coded.assign(m_packet->data, m_packet->data + m_packet->size);
    av_packet_unref(m_packet);
    return &m_coded;
}

} // namespace pelix::platform
