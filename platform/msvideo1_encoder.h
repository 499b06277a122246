// Microsoft Video 1 pictures from 15-bit pixels: libavcodec's encoder with
// every picture an intra (key) picture.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace pelix::platform {

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

  private:
    void close();

    AVCodecContext* m_context = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    int m_width = 0;
    int m_height = 0;
    int64_t m_pictures = 0;
    std::vector<uint8_t> m_coded;
};

} // namespace pelix::platform
