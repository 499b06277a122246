// H.264 video in an MP4 or Matroska file, through libavformat and the x264
// encoder libavcodec carries: a video a tenth the size of the AVI of the same
// pictures that keeps the window's one-pixel lines readable.
//
// The pictures are 32-bit, blue, green, red and an unused byte (a Qt RGB32
// image's bytes), rows top-down. What the encoder is told:
// - by default full colour resolution (4:4:4: a one-pixel gate or trace line
//   keeps its colour: at 4:2:0 the window's pictures come back at 29 dB),
//   constant quality CRF 18 with the still-image tuning (little deblocking,
//   so edges stay sharp), preset "medium", BT.601 limited-range colour as
//   every decoder assumes when nothing is said: the window's pictures come
//   back at 45 dB or better, in a fourteenth of the AVI's size;
// - lossless: the pictures' own RGB at quantiser 0, so that a decoder gives
//   back every captured pixel exactly;
// - one key frame every five seconds of video and at no other frame (no
//   scene-cut detection): a player seeks anywhere within five seconds of
//   decoding, and the key frames, the largest pictures, stay a small part of
//   the file.
// An MP4 is completed with its index at the front, so it plays while it is
// still being downloaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace pelix::platform::video {

enum class CompactContainer { Mp4, Matroska };

struct CompactVideoFormat {
    CompactContainer container = CompactContainer::Mp4;
    int width = 0;
    int height = 0;
    int framesPerSecond = 10;
    bool lossless = false;
};

inline constexpr int kCompactQuality = 18;         // the CRF: 0 lossless .. 51 worst
inline constexpr int kKeyFrameIntervalSeconds = 5; // a key frame every this many seconds of video

// The frames from one key frame to the next at `framesPerSecond`.
int keyFrameInterval(int framesPerSecond);

class H264File {
  public:
    H264File();
    ~H264File();
    H264File(const H264File&) = delete;
    H264File& operator=(const H264File&) = delete;

    // Creates (or empties) `path` for pictures of `format`'s size. False, with
    // error() saying why, when the encoder or the file cannot be had.
    bool open(const std::string& path, const CompactVideoFormat& format);
    // Appends one picture of the size given to open(): `bytes` bytes at
    // `pixels`, `stride` bytes from one row to the next.
    bool write(const uint8_t* pixels, std::size_t stride, std::size_t bytes);
    // Drains the encoder and completes the file. False when the end could not be written.
    bool close();

    bool isOpen() const;
    int picturesWritten() const;
    // Why the last step failed, for a message: "the H.264 encoder is not available", …
    const std::string& error() const;

  private:
    struct State;
    bool fail(const std::string& why, int code = 0);
    bool drain(bool flushing);
    std::unique_ptr<State> m;
    std::string m_error;
};

} // namespace pelix::platform::video
