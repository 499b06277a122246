#include "fuzz/fuzz_input.h"

#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace pelix::fuzz {

FuzzInput::FuzzInput(const uint8_t* data, std::size_t size) {
    if (kParameterBytes > sizeof(m_parameters)) std::abort(); // a harness asking for more than is kept
    const std::size_t taken = size < kParameterBytes ? size : kParameterBytes;
    if (taken > 0) std::memcpy(m_parameters, data, taken);
    m_recording = data + taken;
    m_recordingSize = size - taken;
}

namespace {

std::string inputPath() {
    // Rewriting a file on disk costs about a millisecond (more than most inputs take);
    // in memory it costs next to nothing.
    if (::access("/dev/shm", W_OK | X_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
    return pelix::testing::programTempFolder().file("input.BIN");
}

} // namespace

const std::string& FuzzInput::writeRecording() const {
    // One file, rewritten for every input, in a folder removed when the run ends.
    static const std::string path = inputPath();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort(); // every later input would test a stale file
    std::size_t done = 0;
    while (done < m_recordingSize) {
        const ssize_t n = ::write(fd, m_recording + done, m_recordingSize - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return path;
}

} // namespace pelix::fuzz
