// The few HDF5 C library objects the export needs, each closed by its owner,
// and the library's errors turned into one line of text: the library's own
// stack of messages is never printed.
#pragma once

#include <hdf5.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelix::hdf5 {

// Readies the library once for the whole process: it prints no error stack
// (every caller reports one line instead) and leaves no clean-up to run at exit.
void prepareLibrary();
// H5Fclose, for a file the library opened after prepareLibrary().
herr_t closeFile(hid_t file);

// "<what>: <the library's innermost message>", from the calling thread's error stack.
std::string libraryError(std::string_view what);

class Handle {
  public:
    using Close = herr_t (*)(hid_t);
    Handle() = default;
    Handle(hid_t id, Close close) : m_id(id), m_close(close) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : m_id(other.m_id), m_close(other.m_close) {
        other.m_id = H5I_INVALID_HID;
    }
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    hid_t id() const { return m_id; }
    bool valid() const { return m_id >= 0; }
    // Closes now; false when the library reports a failure (a file's last write).
    bool reset();

  private:
    hid_t m_id = H5I_INVALID_HID;
    Close m_close = nullptr;
};

// A group under `parent`; invalid on failure.
Handle createGroup(hid_t parent, const char* name);

// Attributes on a file, group or dataset. False on failure.
bool writeAttribute(hid_t object, const char* name, std::string_view text);
bool writeAttribute(hid_t object, const char* name, int64_t value);
bool writeAttribute(hid_t object, const char* name, double value);

// Small whole datasets: a scalar word, a word array, a single-precision value, a text.
bool writeDataset(hid_t parent, const char* name, int32_t value);
bool writeDataset(hid_t parent, const char* name, std::span<const int32_t> values);
bool writeDataset(hid_t parent, const char* name, float value);
bool writeDataset(hid_t parent, const char* name, std::string_view text);

// Element types the frame tables use: the type in memory and the one stored
// (little-endian, whatever the machine).
struct ElementType {
    hid_t memory;
    hid_t stored;
    std::size_t size;
};
ElementType int32Element();
ElementType uint8Element();
ElementType float32Element();
ElementType float64Element();
// A fixed-length text of `length` bytes, padded with NULs (owned by the caller).
Handle fixedTextType(std::size_t length);

// A rows x width table (width 1: one value a row) of one element type, stored
// in chunks of kChunkRows rows, shuffled and deflated at `compression` 1..9
// (0: stored as it is), written a block of whole rows at a time. A whole chunk
// stored as it is goes to the file as it stands in memory, without the
// library's chunk cache, where memory holds the stored (little-endian) order.
class FrameTable {
  public:
    static constexpr hsize_t kChunkRows = 1024;

    bool create(hid_t parent, const char* name, const ElementType& type, hsize_t rows, hsize_t width,
                int compression);
    // Rows first .. first + count - 1 from `data` (count x width elements).
    bool write(hsize_t first, hsize_t count, const void* data);
    // The chunk that begins at row `first`, already shuffled and deflated as the table's filters do.
    bool writeStored(hsize_t first, std::span<const unsigned char> stored);
    hid_t id() const { return m_dataset.id(); }
    bool close() { return m_dataset.reset(); }

  private:
    Handle m_dataset;
    hid_t m_memoryType = H5I_INVALID_HID;
    std::size_t m_elementSize = 0;
    hsize_t m_width = 1;
    hsize_t m_chunkRows = kChunkRows;
    bool m_storedAsInMemory = false;
};

} // namespace pelix::hdf5
