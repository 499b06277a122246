#include "core/files/output_file.h"

#include "core/files/output_target.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelix::files {

namespace {

constexpr const char* kNothingWritten = "; nothing written";

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name no other writer picks: process, clock and a counter, in 8 letters and digits.
std::string uniqueSuffix() {
    static std::atomic<uint64_t> counter{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    uint64_t x = (static_cast<uint64_t>(::getpid()) << 40) ^ static_cast<uint64_t>(now.tv_nsec) ^
                 (static_cast<uint64_t>(now.tv_sec) << 20) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(8, 'a');
    for (char& c : s) {
        c = kDigits[x % 36];
        x /= 36;
    }
    return s;
}

int closeRetrying(int fd) {
    // A close interrupted by a signal has still released the descriptor on Linux.
    const int r = ::close(fd);
    return (r != 0 && errno == EINTR) ? 0 : r;
}

} // namespace

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::open(const std::string& target, std::optional<FileIdentity> beingRead) {
    discard();
    m_error.clear();
    m_target = target;
    m_beingRead = beingRead;
    OutputTarget resolved;
    const std::string refusal = resolveOutputTarget(target, beingRead, resolved);
    if (!refusal.empty()) {
        m_error = target + ": " + refusal + kNothingWritten;
        return false;
    }
    m_path = resolved.path;
    m_folder = resolved.folder;
    // Hidden, and named after the target so a user who finds one after a power cut knows what it was.
    const std::string stem = m_folder + "/." + baseName(m_path);
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string candidate = stem + ".part-" + uniqueSuffix();
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == ENAMETOOLONG) {
            candidate = m_folder + "/.pelix-part-" + uniqueSuffix();
            fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        }
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) {
            m_error = target + ": cannot be written (" + std::strerror(errno) + ")" + kNothingWritten;
            return false;
        }
        m_fd = fd;
        m_writebackFrom = 0;
        m_temporary = candidate;
        m_cleanup = CleanupOnSignal(m_temporary, CleanupKind::File);
        // Replacing a file keeps who may read it.
        if (resolved.exists) (void)::fchmod(m_fd, resolved.mode);
        return true;
    }
    m_error = target + ": cannot be written (no free temporary name)" + kNothingWritten;
    return false;
}

bool OutputFile::write(std::string_view bytes) {
    if (m_fd < 0) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            failWithErrno("cannot be written");
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void OutputFile::startWriteback() {
#if defined(__linux__)
    // Started a few megabytes at a time: the disk gets long requests, and the calls stay few.
    constexpr off_t kWritebackStep = off_t{8} << 20;
    struct stat now {};
    if (m_fd < 0 || ::fstat(m_fd, &now) != 0) return;
    const off_t pageBytes = ::sysconf(_SC_PAGESIZE) > 0 ? ::sysconf(_SC_PAGESIZE) : 4096;
    const off_t end = now.st_size / pageBytes * pageBytes;
    if (end - m_writebackFrom < kWritebackStep) return;
    // Only a head start: whatever it does not do, or fails to do, commit's fsync does and reports.
    (void)::sync_file_range(m_fd, m_writebackFrom, end - m_writebackFrom, SYNC_FILE_RANGE_WRITE);
    m_writebackFrom = end;
#endif
}

void OutputFile::fail(const std::string& why) {
    if (m_error.empty()) m_error = m_target + ": " + why + kNothingWritten;
    discard();
}

void OutputFile::failWithErrno(const char* step) {
    fail(std::string(step) + " (" + std::strerror(errno) + ")");
}

bool OutputFile::commit() {
    if (m_fd < 0 || failed()) {
        discard();
        return false;
    }
    int fd = m_fd;
    if (::fsync(fd) != 0) {
        failWithErrno("cannot be written");
        return false;
    }
    m_fd = -1;
    if (closeRetrying(fd) != 0) {
        failWithErrno("cannot be written");
        return false;
    }
    // What stands at the target may have changed while the file was written: vet it again.
    OutputTarget now;
    const std::string refusal = resolveOutputTarget(m_path, m_beingRead, now);
    if (!refusal.empty()) {
        fail(refusal);
        return false;
    }
    if (::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        failWithErrno("cannot be replaced");
        return false;
    }
    m_cleanup.release();
    m_temporary.clear();
    // The rename itself lasts only once the folder is on disk. Some file
    // systems refuse fsync on a folder; the file's own data is synced already.
    fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        closeRetrying(fd);
    }
    return true;
}

void OutputFile::discard() {
    if (m_fd >= 0) {
        closeRetrying(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    m_cleanup.release();
}

} // namespace pelix::files
