#include "core/recording/recording_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pelix::recording {

RecordingFile::~RecordingFile() {
    close();
}

RecordingFile::RecordingFile(RecordingFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

RecordingFile& RecordingFile::operator=(RecordingFile&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

namespace {

// What a path names when it is not a regular file, in the user's words.
const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return nullptr;
}

} // namespace

bool RecordingFile::open(const std::string& path, std::string& error) {
    close();
    // Without O_NONBLOCK the open of a FIFO waits for a writer, and a device's
    // open may wait for the device; the kind is checked before anything is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = "Cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = "Cannot open \"" + path + "\": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        const char* kind = kindOf(st.st_mode);
        error = path +
                (kind ? std::string(": is ") + kind + ", not a recording file" : ": is not a regular file");
        ::close(fd);
        return false;
    }
    // Reads of a regular file never block; the flag goes so that nothing else sees it.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_fd = fd;
    return true;
}

void RecordingFile::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

RecordingFile RecordingFile::duplicate() const {
    RecordingFile copy;
    if (m_fd >= 0) copy.m_fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    return copy;
}

int64_t RecordingFile::length() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

std::size_t RecordingFile::readAt(int64_t offset, void* buffer, std::size_t count) const {
    if (m_fd < 0 || offset < 0) return 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(m_fd, out + done, count - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

int64_t RecordingFile::nextDataAt(int64_t offset) const {
    if (m_fd < 0 || offset < 0) return offset;
    const off_t data = ::lseek(m_fd, static_cast<off_t>(offset), SEEK_DATA);
    if (data >= 0) return static_cast<int64_t>(data);
    return errno == ENXIO ? -1 : offset;
}

} // namespace pelix::recording
