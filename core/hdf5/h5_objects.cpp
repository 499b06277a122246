#include "core/hdf5/h5_objects.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdlib>

namespace pelix::hdf5 {

namespace {

// A file whose last write failed (a full disk) stays half closed in the
// library's tables, and the library's clean-up would fault on it.
std::atomic<bool> g_fileLeftHalfClosed{false};

void closeLibraryUnlessAFileIsHalfClosed() {
    if (!g_fileLeftHalfClosed) H5close();
}

} // namespace

void prepareLibrary() {
    static const bool prepared = [] {
        // The library's own clean-up at exit is replaced by one that knows of half-closed files.
        H5dont_atexit();
        std::atexit(closeLibraryUnlessAFileIsHalfClosed);
        H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
        return true;
    }();
    (void)prepared;
}

herr_t closeFile(hid_t file) {
    const herr_t status = H5Fclose(file);
    if (status < 0) g_fileLeftHalfClosed = true;
    return status;
}

namespace {

// The innermost entry is the one that says what went wrong (a write that the
// system refused, a name that exists); the outer ones only say where.
herr_t keepInnermost(unsigned position, const H5E_error2_t* entry, void* data) {
    if (position == 0 && entry != nullptr && entry->desc != nullptr)
        *static_cast<std::string*>(data) = entry->desc;
    return 0;
}

} // namespace

std::string libraryError(std::string_view what) {
    std::string detail;
    H5Ewalk2(H5E_DEFAULT, H5E_WALK_UPWARD, keepInnermost, &detail);
    H5Eclear2(H5E_DEFAULT);
    std::string text(what);
    if (!detail.empty()) text += ": " + detail;
    // One line, whatever the library's message holds.
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        reset();
        m_id = other.m_id;
        m_close = other.m_close;
        other.m_id = H5I_INVALID_HID;
    }
    return *this;
}

bool Handle::reset() {
    if (m_id < 0) return true;
    const herr_t status = m_close(m_id);
    m_id = H5I_INVALID_HID;
    return status >= 0;
}

Handle createGroup(hid_t parent, const char* name) {
    return {H5Gcreate2(parent, name, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), H5Gclose};
}

namespace {

Handle scalarSpace() {
    return {H5Screate(H5S_SCALAR), H5Sclose};
}

Handle textType(std::size_t length) {
    Handle type(H5Tcopy(H5T_C_S1), H5Tclose);
    if (!type.valid()) return type;
    // An empty text is stored as one NUL: the library takes no zero-length type.
    if (H5Tset_size(type.id(), std::max<std::size_t>(length, 1)) < 0 ||
        H5Tset_strpad(type.id(), H5T_STR_NULLPAD) < 0 || H5Tset_cset(type.id(), H5T_CSET_UTF8) < 0)
        return {};
    return type;
}

bool writeAttributeOf(hid_t object, const char* name, hid_t stored, hid_t memory, const void* value) {
    const Handle space = scalarSpace();
    if (!space.valid()) return false;
    const Handle attribute(H5Acreate2(object, name, stored, space.id(), H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    return attribute.valid() && H5Awrite(attribute.id(), memory, value) >= 0;
}

bool writeWhole(hid_t parent, const char* name, hid_t stored, hid_t memory, hid_t space, const void* data) {
    const Handle dataset(H5Dcreate2(parent, name, stored, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT),
                         H5Dclose);
    return dataset.valid() && H5Dwrite(dataset.id(), memory, H5S_ALL, H5S_ALL, H5P_DEFAULT, data) >= 0;
}

} // namespace

bool writeAttribute(hid_t object, const char* name, std::string_view text) {
    const Handle type = textType(text.size());
    const std::string padded(text.empty() ? std::string(1, '\0') : std::string(text));
    return type.valid() && writeAttributeOf(object, name, type.id(), type.id(), padded.data());
}

bool writeAttribute(hid_t object, const char* name, int64_t value) {
    return writeAttributeOf(object, name, H5T_STD_I64LE, H5T_NATIVE_INT64, &value);
}

bool writeAttribute(hid_t object, const char* name, double value) {
    return writeAttributeOf(object, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, &value);
}

bool writeDataset(hid_t parent, const char* name, int32_t value) {
    const Handle space = scalarSpace();
    return space.valid() && writeWhole(parent, name, H5T_STD_I32LE, H5T_NATIVE_INT32, space.id(), &value);
}

bool writeDataset(hid_t parent, const char* name, std::span<const int32_t> values) {
    const std::array<hsize_t, 1> extent{values.size()};
    const Handle space(H5Screate_simple(1, extent.data(), nullptr), H5Sclose);
    return space.valid() &&
           writeWhole(parent, name, H5T_STD_I32LE, H5T_NATIVE_INT32, space.id(), values.data());
}

bool writeDataset(hid_t parent, const char* name, float value) {
    const Handle space = scalarSpace();
    return space.valid() && writeWhole(parent, name, H5T_IEEE_F32LE, H5T_NATIVE_FLOAT, space.id(), &value);
}

bool writeDataset(hid_t parent, const char* name, std::string_view text) {
    const Handle space = scalarSpace();
    const Handle type = textType(text.size());
    const std::string padded(text.empty() ? std::string(1, '\0') : std::string(text));
    return space.valid() && type.valid() &&
           writeWhole(parent, name, type.id(), type.id(), space.id(), padded.data());
}

ElementType int32Element() {
    return {H5T_NATIVE_INT32, H5T_STD_I32LE, 4};
}
ElementType uint8Element() {
    return {H5T_NATIVE_UINT8, H5T_STD_U8LE, 1};
}
ElementType float32Element() {
    return {H5T_NATIVE_FLOAT, H5T_IEEE_F32LE, 4};
}
ElementType float64Element() {
    return {H5T_NATIVE_DOUBLE, H5T_IEEE_F64LE, 8};
}

Handle fixedTextType(std::size_t length) {
    return textType(length);
}

bool FrameTable::create(hid_t parent, const char* name, const ElementType& type, hsize_t rows, hsize_t width,
                        int compression) {
    m_memoryType = type.memory;
    m_elementSize = type.size;
    m_width = width;
    m_chunkRows = std::min(rows, kChunkRows);
    // Every element type of the tables is stored little-endian.
    m_storedAsInMemory = compression == 0 && std::endian::native == std::endian::little;
    const int rank = width == 1 ? 1 : 2;
    const std::array<hsize_t, 2> extent{rows, width};
    const std::array<hsize_t, 2> chunk{m_chunkRows, width};
    const Handle space(H5Screate_simple(rank, extent.data(), nullptr), H5Sclose);
    const Handle properties(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    if (!space.valid() || !properties.valid() || H5Pset_chunk(properties.id(), rank, chunk.data()) < 0)
        return false;
    if (compression > 0 &&
        (H5Pset_shuffle(properties.id()) < 0 ||
         H5Pset_deflate(properties.id(), static_cast<unsigned>(std::min(compression, 9))) < 0))
        return false;
    m_dataset =
        Handle(H5Dcreate2(parent, name, type.stored, space.id(), H5P_DEFAULT, properties.id(), H5P_DEFAULT),
               H5Dclose);
    return m_dataset.valid();
}

bool FrameTable::writeStored(hsize_t first, std::span<const unsigned char> stored) {
    const std::array<hsize_t, 2> start{first, 0};
    // Filter mask 0: every filter of the table was applied.
    return H5Dwrite_chunk(m_dataset.id(), H5P_DEFAULT, 0, start.data(), stored.size(), stored.data()) >= 0;
}

bool FrameTable::write(hsize_t first, hsize_t count, const void* data) {
    const std::array<hsize_t, 2> start{first, 0};
    if (m_storedAsInMemory && count == m_chunkRows && first % m_chunkRows == 0)
        return H5Dwrite_chunk(m_dataset.id(), H5P_DEFAULT, 0, start.data(),
                              static_cast<std::size_t>(count * m_width) * m_elementSize, data) >= 0;
    const int rank = m_width == 1 ? 1 : 2;
    const std::array<hsize_t, 2> block{count, m_width};
    const Handle fileSpace(H5Dget_space(m_dataset.id()), H5Sclose);
    const Handle memorySpace(H5Screate_simple(rank, block.data(), nullptr), H5Sclose);
    if (!fileSpace.valid() || !memorySpace.valid() ||
        H5Sselect_hyperslab(fileSpace.id(), H5S_SELECT_SET, start.data(), nullptr, block.data(), nullptr) < 0)
        return false;
    return H5Dwrite(m_dataset.id(), m_memoryType, memorySpace.id(), fileSpace.id(), H5P_DEFAULT, data) >= 0;
}

} // namespace pelix::hdf5
