#include "core/digest/sha256.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pelix::digest {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

std::string hexOf(const unsigned char* digest, unsigned length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex(std::size_t(length) * 2, '0');
    for (unsigned i = 0; i < length; ++i) {
        hex[2 * i] = kDigits[digest[i] >> 4];
        hex[2 * i + 1] = kDigits[digest[i] & 0x0f];
    }
    return hex;
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

struct Sha256::Context {
    EVP_MD_CTX* evp = EVP_MD_CTX_new();
    Context() = default;
    ~Context() { EVP_MD_CTX_free(evp); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

Sha256::Sha256() : m_context(std::make_unique<Context>()) {
    if (m_context->evp == nullptr || EVP_DigestInit_ex(m_context->evp, EVP_sha256(), nullptr) != 1)
        m_context.reset();
}
Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::add(const void* data, std::size_t size) {
    if (!m_context) return;
    EVP_DigestUpdate(m_context->evp, data, size);
    m_size += size;
}

std::string Sha256::finishHex() {
    if (!m_context) return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    const bool done = EVP_DigestFinal_ex(m_context->evp, digest, &length) == 1;
    m_context.reset();
    return done ? hexOf(digest, length) : std::string();
}

std::string sha256Hex(const void* data, std::size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (EVP_Digest(data, size, digest, &length, EVP_sha256(), nullptr) != 1) return {};
    return hexOf(digest, length);
}

FileDigest sha256OfFile(const std::string& path, const std::atomic<bool>* stop,
                        const DigestProgress& progress) {
    FileDigest result;
    Descriptor file;
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    struct stat status {};
    if (::fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        result.error = "not a regular file";
        return result;
    }
    const auto total = static_cast<std::uint64_t>(status.st_size);
    ::posix_fadvise(file.fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    Sha256 hash;
    if (!hash.usable()) {
        result.error = "no SHA-256 available";
        return result;
    }
    std::vector<unsigned char> block(kBlockBytes);
    for (;;) {
        if (stop && stop->load(std::memory_order_relaxed)) return result;
        const ssize_t got = ::read(file.fd, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            result.error = std::strerror(errno);
            return result;
        }
        if (got == 0) break;
        hash.add(block.data(), static_cast<std::size_t>(got));
        result.size = hash.size();
        if (progress) progress(result.size, total);
    }
    result.hex = hash.finishHex();
    if (result.hex.empty()) {
        result.error = "SHA-256 failed";
        return result;
    }
    result.complete = true;
    return result;
}

} // namespace pelix::digest
