// What every fuzz harness shares: the input bytes become a recording file in
// a private folder (the reader and the player open files, never memory), and
// a harness that needs more than a recording (a search box, a dragged gate, a
// strip size) takes it from a fixed number of bytes in front of the recording.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace pelix::fuzz {

// How many bytes in front of the recording a harness reads as its parameters
// (0: the whole input is the recording). Each harness defines it; the replay
// driver mutates those bytes apart from the recording's.
extern const std::size_t kParameterBytes;

// The parameter bytes of an input (missing ones read as 0) and the recording after them.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, std::size_t size);

    // The next `T` from the parameter bytes, little-endian as the machine stores it.
    template <typename T> T take() {
        T value{};
        if (m_next + sizeof(T) <= kParameterBytes) std::memcpy(&value, m_parameters + m_next, sizeof(T));
        m_next += sizeof(T);
        return value;
    }

    // Writes the recording part to the harness's file and returns its path.
    const std::string& writeRecording() const;

  private:
    uint8_t m_parameters[64] = {};
    std::size_t m_next = 0;
    const uint8_t* m_recording;
    std::size_t m_recordingSize;
};

} // namespace pelix::fuzz
