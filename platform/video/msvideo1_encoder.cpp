#include "platform/video/msvideo1_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cstring>

namespace pelix::platform::video {

namespace {

// Length of the block code at `p` in an intra picture (no skip codes there):
// a one-colour block has bit 15 set in its first word; otherwise a set bit 15
// in the first colour marks eight colours (four pairs) against two.
std::size_t codeLength(const uint8_t* p, const uint8_t* end) {
    if (end - p < 2) return 0;
    if (p[1] & 0x80) return 2;
    if (end - p < 4) return 0;
    const std::size_t length = (p[3] & 0x80) ? 18 : 6;
    return static_cast<std::size_t>(end - p) >= length ? length : 0;
}

} // namespace

Msvideo1Encoder::Msvideo1Encoder() = default;

Msvideo1Encoder::~Msvideo1Encoder() {
    close();
}

void Msvideo1Encoder::close() {
    avcodec_free_context(&m_context);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    m_width = m_height = 0;
    m_havePrevious = false;
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
    m_context->width = 4 * kStripBlocks;
    m_context->height = 4;
    m_context->pix_fmt = AV_PIX_FMT_RGB555;
    m_context->time_base = AVRational{1, 1};
    // The encoder makes a picture intra when at least keyint_min pictures
    // passed since the last one: 0 makes every picture intra.
    m_context->keyint_min = 0;
    m_frame->format = AV_PIX_FMT_RGB555;
    m_frame->width = m_context->width;
    m_frame->height = m_context->height;
    if (avcodec_open2(m_context, codec, nullptr) < 0 || av_frame_get_buffer(m_frame, 0) < 0) {
        close();
        return false;
    }
    m_width = width;
    m_height = height;
    m_blocksAcross = width / 4;
    m_blockCount = m_blocksAcross * (height / 4);
    m_previous.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    m_codes.assign(static_cast<std::size_t>(m_blockCount) * kLongestCode, 0);
    m_codeLength.assign(static_cast<std::size_t>(m_blockCount), 0);
    m_changed.reserve(static_cast<std::size_t>(m_blockCount));
    m_strips = 0;
    return true;
}

bool Msvideo1Encoder::codeStrip(const uint16_t* pixels, const std::vector<int>& blocks, std::size_t first,
                                std::size_t count) {
    if (av_frame_make_writable(m_frame) < 0) return false;
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(kStripBlocks); ++slot) {
        // Slots past the last block repeat it; their codes are not used.
        const int block = blocks[first + std::min(slot, count - 1)];
        const int bx = block % m_blocksAcross;
        const int by = block / m_blocksAcross;
        for (int row = 0; row < 4; ++row) {
            const uint16_t* src = pixels +
                                  static_cast<std::size_t>(by * 4 + row) * static_cast<std::size_t>(m_width) +
                                  static_cast<std::size_t>(bx) * 4;
            std::memcpy(m_frame->data[0] + static_cast<std::ptrdiff_t>(row) * m_frame->linesize[0] + slot * 8,
                        src, 8);
        }
    }
    m_frame->pts = m_strips++;
    if (avcodec_send_frame(m_context, m_frame) < 0 || avcodec_receive_packet(m_context, m_packet) < 0)
        return false;
    const uint8_t* p = m_packet->data;
    const uint8_t* end = p + m_packet->size;
    bool whole = true;
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(kStripBlocks) && whole; ++slot) {
        const std::size_t length = codeLength(p, end);
        if (length == 0) {
            whole = false;
        } else if (slot < count) {
            const auto block = static_cast<std::size_t>(blocks[first + slot]);
            std::memcpy(m_codes.data() + block * kLongestCode, p, length);
            m_codeLength[block] = static_cast<uint8_t>(length);
        }
        p += length;
    }
    av_packet_unref(m_packet);
    return whole;
}

const std::vector<uint8_t>* Msvideo1Encoder::encode(const uint16_t* pixels) {
    if (!m_context) return nullptr;
    m_changed.clear();
    for (int block = 0; block < m_blockCount; ++block) {
        const std::size_t offset =
            static_cast<std::size_t>(block / m_blocksAcross * 4) * static_cast<std::size_t>(m_width) +
            static_cast<std::size_t>(block % m_blocksAcross) * 4;
        bool same = m_havePrevious;
        for (int row = 0; row < 4 && same; ++row) {
            const std::size_t at = offset + static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width);
            uint64_t now = 0, before = 0;
            std::memcpy(&now, pixels + at, sizeof now);
            std::memcpy(&before, m_previous.data() + at, sizeof before);
            same = now == before;
        }
        if (!same) m_changed.push_back(block);
    }
    for (std::size_t first = 0; first < m_changed.size(); first += kStripBlocks) {
        if (!codeStrip(pixels, m_changed, first,
                       std::min<std::size_t>(kStripBlocks, m_changed.size() - first))) {
            m_havePrevious = false; // the kept codes no longer match the kept picture
            return nullptr;
        }
    }
    m_blocksCoded = static_cast<int>(m_changed.size());
    std::memcpy(m_previous.data(), pixels, m_previous.size() * sizeof(uint16_t));
    m_havePrevious = true;

    // The codec's order: block rows from the bottom of the picture up, each left to right; then the end mark.
    m_coded.clear();
    for (int by = m_height / 4 - 1; by >= 0; --by)
        for (int bx = 0; bx < m_blocksAcross; ++bx) {
            const auto block = static_cast<std::size_t>(by * m_blocksAcross + bx);
            const uint8_t* code = m_codes.data() + block * kLongestCode;
            m_coded.insert(m_coded.end(), code, code + m_codeLength[block]);
        }
    m_coded.push_back(0);
    m_coded.push_back(0);
    return &m_coded;
}

} // namespace pelix::platform::video
