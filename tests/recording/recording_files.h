// Temporary recording files for the reader tests: generated ones, and raw byte
// images with chosen header words.
#pragma once

#include "player/recording/record_layout.h"
#include "tools/pelix-synth/recording_synth.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace pelix::testing {

class TempFile {
  public:
    TempFile() {
        char name[] = "/tmp/pelix-test-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) ::close(fd);
        m_path = name;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return m_path; }
    void write(const std::string& bytes) const {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string read() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::string m_path;
};

inline std::string synthesize(const synth::SynthOptions& options) {
    std::ostringstream out;
    synth::RecordingSynth(options).write(out);
    return out.str();
}

inline void putBigEndian(std::string& bytes, std::size_t offset, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>(u >> (24 - 8 * i));
}

inline void putLittleEndian(std::string& bytes, std::size_t offset, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>(u >> (8 * i));
}

// A valid setup record (version 8, mm, RF) followed by `tailBytes` zero bytes.
inline std::string rawRecording(std::size_t tailBytes, int32_t version = 8) {
    std::string bytes(recording::kRecordingHeaderBytes + tailBytes, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(recording::kMagicBytes[i]);
    putBigEndian(bytes, recording::rh::Version, version);
    putBigEndian(bytes, recording::rh::Velocity, 59200);
    return bytes;
}

} // namespace pelix::testing
