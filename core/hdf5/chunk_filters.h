// A chunk of a frame table shuffled and deflated the way the table's filters
// store it, on whichever thread calls it: the workers compress their own blocks
// side by side, and the thread that owns the file hands the library the stored
// bytes, instead of the library compressing every chunk on that one thread.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace pelix::hdf5 {

// One a thread: the compressor's state is made once and reset for every chunk.
class ChunkDeflater {
  public:
    explicit ChunkDeflater(int level);
    ~ChunkDeflater();
    ChunkDeflater(const ChunkDeflater&) = delete;
    ChunkDeflater& operator=(const ChunkDeflater&) = delete;

    // `chunk` (elements of `elementSize` bytes) shuffled, then deflated, into `stored`.
    // Shuffled, the bytes of every element stand beside the same bytes of the others (first
    // bytes, then second bytes, ...), which deflate packs far better for values that change
    // slowly. False when the compressor fails (no memory).
    bool filter(std::span<const unsigned char> chunk, std::size_t elementSize,
                std::vector<unsigned char>& stored);

  private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    std::vector<unsigned char> m_shuffled;
};

} // namespace pelix::hdf5
