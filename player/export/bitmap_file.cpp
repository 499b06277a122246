#include "player/export/bitmap_file.h"

#include "platform/path_bytes.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace pelix::player {

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

bool writeAll(int fd, std::array<iovec, 2> parts, std::size_t total) {
    off_t at = 0;
    while (static_cast<std::size_t>(at) < total) {
        const ssize_t n = ::pwritev(fd, parts.data(), static_cast<int>(parts.size()), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        // Move past what was written.
        auto left = static_cast<std::size_t>(n);
        for (iovec& part : parts) {
            const std::size_t step = std::min(left, part.iov_len);
            part.iov_base = static_cast<uint8_t*>(part.iov_base) + step;
            part.iov_len -= step;
            left -= step;
        }
    }
    return true;
}

} // namespace

bool SavePicture(const QImage& picture, const QString& path) {
    if (picture.format() != QImage::Format_RGB32 || picture.isNull() ||
        picture.bytesPerLine() != static_cast<qsizetype>(picture.width()) * 4)
        return false;
    const auto image = static_cast<std::size_t>(picture.sizeInBytes());
    const std::size_t total = kFileHeader + kInfoHeader + image;
    if (total > UINT32_MAX) return false;

    std::array<uint8_t, kFileHeader + kInfoHeader> header{};
    uint8_t* h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, static_cast<uint32_t>(total));
    put32(h + 10, static_cast<uint32_t>(kFileHeader + kInfoHeader));
    uint8_t* info = h + kFileHeader;
    put32(info, kInfoHeader);
    put32(info + 4, static_cast<uint32_t>(picture.width()));
    put32(info + 8, static_cast<uint32_t>(-picture.height())); // negative: rows top-down
    put16(info + 12, 1);                                       // planes
    put16(info + 14, 32);                                      // bits per pixel
    put32(info + 20, static_cast<uint32_t>(image));
    put32(info + 24, 3780); // 96 dots per inch, in pixels per metre
    put32(info + 28, 3780);

    const int fd = ::open(platform::pathToBytes(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::array<iovec, 2> parts{iovec{h, header.size()},
                               iovec{const_cast<uchar*>(picture.constBits()), image}};
    bool ok = writeAll(fd, parts, total);
    struct stat st {};
    if (ok && ::fstat(fd, &st) == 0 && static_cast<std::size_t>(st.st_size) > total)
        ok = ::ftruncate(fd, static_cast<off_t>(total)) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace pelix::player
