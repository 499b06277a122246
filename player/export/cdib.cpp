#include "player/export/cdib.h"

#include "platform/message_service.h"
#include "platform/path_bytes.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelix::player {

namespace {

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr off_t kLargestFile = off_t{1} << 30;

// The whole file into `out`; errno tells why when it fails.
bool readWholeFile(const QString& filename, std::vector<uint8_t>& out) {
    const int fd = ::open(platform::pathToBytes(filename).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // No picture the player captures comes near this; a larger file is not read into memory.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size > kLargestFile) {
        ::close(fd);
        out.clear();
        return true; // read as nothing: refused as not a bitmap
    }
    out.clear();
    std::size_t used = 0;
    for (;;) {
        if (out.size() < used + 65536) out.resize(used + 65536 + used / 2);
        const ssize_t n = ::read(fd, out.data() + used, out.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return false;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(used);
    return true;
}

} // namespace

cDIB::cDIB(QString appTitle) : m_appTitle(std::move(appTitle)) {}

void cDIB::tell(const QString& text, platform::MessageIcon icon, const QString& filename) const {
    platform::showMessage(text + QLatin1Char('\n') + filename, icon, nullptr, m_appTitle);
}

bool cDIB::CreateFromFile(const QString& filename) {
    m_sizeImage = 0;
    if (!readWholeFile(filename, m_file)) {
        m_file.clear();
        if (errno == ENOENT || errno == ENOTDIR)
            tell(QStringLiteral("File does not exist:"), platform::MessageIcon::Exclamation, filename);
        else if (errno == EACCES || errno == EPERM || errno == EBUSY)
            tell(QStringLiteral("File is locked - cannot access:"), platform::MessageIcon::Critical,
                 filename);
        else
            platform::showMessage(QString::fromLocal8Bit(std::strerror(errno)),
                                  platform::MessageIcon::Exclamation, nullptr, m_appTitle);
        return false;
    }
    if (!parse()) {
        m_file.clear();
        m_sizeImage = 0;
        tell(QStringLiteral("File is not a supported bitmap format:"), platform::MessageIcon::Information,
             filename);
        return false;
    }
    return true;
}

bool cDIB::parse() {
    const std::size_t size = m_file.size();
    if (size < 2) return false;
    const uint8_t* f = m_file.data();
    m_fileType = le16(f);
    if (m_fileType != kBitmapSignature) return false;
    if (size < kSizeFileHeader + kInfoHeaderSize) return false;
    m_bitOffset = le32(f + 10);
    const uint8_t* info = f + kSizeFileHeader;
    m_sizeInfoHeader = le32(info);
    m_width = static_cast<int32_t>(le32(info + 4));
    m_height = static_cast<int32_t>(le32(info + 8));
    m_planes = le16(info + 12);
    m_bitCount = le16(info + 14);
    m_compression = le32(info + 16);
    const uint32_t declaredImage = le32(info + 20);
    m_xppm = static_cast<int32_t>(le32(info + 24));
    m_yppm = static_cast<int32_t>(le32(info + 28));
    m_clrUsed = le32(info + 32);
    m_clrImportant = le32(info + 36);

    if (m_sizeInfoHeader < kInfoHeaderSize || m_sizeInfoHeader > size - kSizeFileHeader) return false;
    if (m_width <= 0 || m_height == 0 || m_height == INT32_MIN || m_planes != 1) return false;
    switch (m_bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (m_compression != kBiRgb) return false;
        break;
    case 16:
    case 32:
        if (m_compression != kBiRgb && m_compression != kBiBitfields) return false;
        break;
    default:
        return false;
    }
    // The colour table (or the three channel masks) that follows the header.
    uint64_t tableBytes = 0;
    if (m_bitCount <= 8) {
        const uint64_t entries = m_clrUsed != 0 ? m_clrUsed : (uint64_t{1} << m_bitCount);
        if (entries > (uint64_t{1} << m_bitCount)) return false;
        tableBytes = entries * 4;
    } else if (m_compression == kBiBitfields && m_sizeInfoHeader == kInfoHeaderSize) {
        tableBytes = 12;
    }
    const uint64_t bitmapInfo = m_sizeInfoHeader + tableBytes;
    if (kSizeFileHeader + bitmapInfo > size) return false;
    m_sizeBitmapInfo = static_cast<uint32_t>(bitmapInfo);

    const uint64_t rows = m_height < 0 ? -static_cast<int64_t>(m_height) : m_height;
    const uint64_t stride = (static_cast<uint64_t>(m_width) * m_bitCount + 31) / 32 * 4;
    const uint64_t image = stride * rows;
    if (m_bitOffset < kSizeFileHeader + bitmapInfo || m_bitOffset > size) return false;
    if (image > size - m_bitOffset || (declaredImage != 0 && declaredImage < image)) return false;
    m_sizeImage = static_cast<uint32_t>(image);
    return true;
}

} // namespace pelix::player
