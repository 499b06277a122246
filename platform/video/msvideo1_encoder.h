// Microsoft Video 1 pictures from 15-bit pixels: libavcodec's encoder, every
// picture an intra (key) picture.
//
// The codec codes each 4 x 4 block on its own, and in an intra picture a
// block's code depends on nothing but its sixteen pixels. A player window
// changes little from one frame to the next (the trace and a few numbers), so
// only the blocks that differ from the previous picture go through the
// encoder, gathered into strips; the others keep the code they had. The
// picture is then put together in the codec's block order.
#pragma once

#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace pelix::platform::video {

class Msvideo1Encoder {
  public:
    Msvideo1Encoder();
    ~Msvideo1Encoder();
    Msvideo1Encoder(const Msvideo1Encoder&) = delete;
    Msvideo1Encoder& operator=(const Msvideo1Encoder&) = delete;

    // Width and height are multiples of 4 (the codec's block size). False when
    // the encoder is missing or refuses the size.
    bool open(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // One picture: width x height pixels, rows top-down, 0RRRRRGGGGGBBBBB.
    // The coded picture, or nullptr when the encoder failed.
    const std::vector<uint8_t>* encode(const uint16_t* pixels);

    // Blocks of the last picture that went through the encoder (the rest kept their code).
    int blocksCoded() const { return m_blocksCoded; }

  private:
    static constexpr int kStripBlocks = 64;
    static constexpr std::size_t kLongestCode = 18; // eight colours and the flags

    void close();
    bool codeStrip(const uint16_t* pixels, const std::vector<int>& blocks, std::size_t first,
                   std::size_t count);

    AVCodecContext* m_context = nullptr; // one strip of kStripBlocks blocks
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_blocksAcross = 0;
    int m_blockCount = 0;
    int m_blocksCoded = 0;
    int64_t m_strips = 0;
    bool m_havePrevious = false;
    std::vector<uint16_t> m_previous;
    std::vector<uint8_t> m_codes; // kLongestCode bytes per block
    std::vector<uint8_t> m_codeLength;
    std::vector<int> m_changed;
    std::vector<uint8_t> m_coded;
};

} // namespace pelix::platform::video
