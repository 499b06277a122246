// Temporary recording files for the reader tests: generated ones, and raw byte
// images with chosen header words.
#pragma once

#include "core/recording/record_layout.h"
#include "support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace pelix::testing {

// An empty file in a private folder of its own; both go when the test ends.
class TempFile {
  public:
    TempFile() : m_path(m_folder.file("file")) { std::ofstream(m_path, std::ios::binary); }
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
    TempFolder m_folder;
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
