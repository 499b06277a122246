// SHA-256 of bytes and of a whole file, as lower-case hexadecimal. A
// recording is named by it wherever another file must say which recording it
// belongs to; hashing a large file reports progress and can be stopped.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pelix::digest {

// The 64 hexadecimal digits of the SHA-256 of `size` bytes at `data`.
std::string sha256Hex(const void* data, std::size_t size);

// A SHA-256 taken piece by piece, for bytes that are read for another purpose
// anyway (one pass over a large file instead of two).
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // False when the system offers no SHA-256 (nothing is then hashed).
    bool usable() const { return m_context != nullptr; }
    void add(const void* data, std::size_t size);
    std::uint64_t size() const { return m_size; }
    // The 64 hexadecimal digits of everything added; empty when not usable. Ends the hash.
    std::string finishHex();

  private:
    struct Context;
    std::unique_ptr<Context> m_context;
    std::uint64_t m_size = 0;
};

struct FileDigest {
    std::string hex;        // 64 lower-case hexadecimal digits when complete
    std::uint64_t size = 0; // bytes hashed
    bool complete = false;  // false: stopped, or the file could not be read to its end
    std::string error;      // why it is not complete (empty when stopped on request)
};

// Called now and then with the bytes hashed so far.
using DigestProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Hashes the file at `path`, read-only, in large blocks. `stop` (may be null)
// ends the work early; the result then says it is not complete.
FileDigest sha256OfFile(const std::string& path, const std::atomic<bool>* stop = nullptr,
                        const DigestProgress& progress = {});

} // namespace pelix::digest
