#include "core/hdf5/chunk_filters.h"

#include <algorithm>
#include <zlib.h>

namespace pelix::hdf5 {

namespace {

void shuffleElements(std::span<const unsigned char> chunk, std::size_t elementSize,
                     std::vector<unsigned char>& out) {
    out.resize(chunk.size());
    const std::size_t elements = chunk.size() / elementSize;
    for (std::size_t b = 0; b < elementSize; ++b) {
        unsigned char* plane = out.data() + b * elements;
        for (std::size_t e = 0; e < elements; ++e)
            plane[e] = chunk[e * elementSize + b];
    }
    // Bytes beyond the last whole element (none in a table's chunk) stay at the end as they are.
    std::copy(chunk.begin() + static_cast<std::ptrdiff_t>(elements * elementSize), chunk.end(),
              out.begin() + static_cast<std::ptrdiff_t>(elements * elementSize));
}

} // namespace

struct ChunkDeflater::Stream {
    z_stream z{};
    bool ready = false;
};

// The same stream a one-call compress2 at this level makes (window, memory and strategy at
// the compressor's defaults), so a chunk is stored byte for byte as the library stores it.
ChunkDeflater::ChunkDeflater(int level) : m_stream(std::make_unique<Stream>()) {
    m_stream->ready = deflateInit(&m_stream->z, level) == Z_OK;
}

ChunkDeflater::~ChunkDeflater() {
    if (m_stream->ready) deflateEnd(&m_stream->z);
}

bool ChunkDeflater::filter(std::span<const unsigned char> chunk, std::size_t elementSize,
                           std::vector<unsigned char>& stored) {
    if (!m_stream->ready || deflateReset(&m_stream->z) != Z_OK) return false;
    const unsigned char* input = chunk.data();
    if (elementSize > 1) {
        shuffleElements(chunk, elementSize, m_shuffled);
        input = m_shuffled.data();
    }
    z_stream& z = m_stream->z;
    stored.resize(deflateBound(&z, static_cast<uLong>(chunk.size())));
    z.next_in = const_cast<unsigned char*>(input); // the compressor only reads it
    z.avail_in = static_cast<uInt>(chunk.size());
    z.next_out = stored.data();
    z.avail_out = static_cast<uInt>(stored.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) return false;
    stored.resize(stored.size() - z.avail_out);
    return true;
}

} // namespace pelix::hdf5
