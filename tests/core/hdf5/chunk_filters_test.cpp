// The chunks the workers compress against the chunks the HDF5 library stores
// for the same values and filters: the file must read the same whichever made them.
#include "core/hdf5/chunk_filters.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <hdf5.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using pelix::hdf5::ChunkDeflater;

enum class Element { Byte, Word, Single, Double };

struct ChunkCase {
    const char* name;
    Element element;
    hsize_t rows;      // rows of the table
    hsize_t chunkRows; // a last chunk the rows do not fill is padded with zeros
    int level;
};

// Stored and in memory alike: little-endian, as on the machines the tests run on.
hid_t typeOf(Element e) {
    switch (e) {
    case Element::Byte:
        return H5T_STD_U8LE;
    case Element::Word:
        return H5T_STD_I32LE;
    case Element::Single:
        return H5T_IEEE_F32LE;
    case Element::Double:
        break;
    }
    return H5T_IEEE_F64LE;
}

// Values that change slowly from row to row, as a frame table's do, with every byte in play.
std::vector<unsigned char> tableBytes(std::size_t bytes) {
    std::vector<unsigned char> values(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        values[i] = static_cast<unsigned char>((i * 7 / 5) ^ (i >> 9));
    return values;
}

// The chunk at row `origin` as the library stores it when it compresses `values` itself.
std::vector<unsigned char> libraryChunk(const std::string& path, const ChunkCase& c, hsize_t origin,
                                        const std::vector<unsigned char>& values) {
    const hid_t type = typeOf(c.element);
    const hid_t file = H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
    const hsize_t rows = c.rows, chunk = c.chunkRows;
    const hid_t space = H5Screate_simple(1, &rows, nullptr);
    const hid_t properties = H5Pcreate(H5P_DATASET_CREATE);
    H5Pset_chunk(properties, 1, &chunk);
    H5Pset_shuffle(properties);
    H5Pset_deflate(properties, static_cast<unsigned>(c.level));
    const hid_t dataset = H5Dcreate2(file, "t", type, space, H5P_DEFAULT, properties, H5P_DEFAULT);
    H5Dwrite(dataset, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data());
    H5Dflush(dataset);
    hsize_t storedBytes = 0;
    H5Dget_chunk_storage_size(dataset, &origin, &storedBytes);
    std::vector<unsigned char> stored(static_cast<std::size_t>(storedBytes));
    uint32_t mask = 0;
    EXPECT_GE(H5Dread_chunk(dataset, H5P_DEFAULT, &origin, &mask, stored.data()), 0);
    EXPECT_EQ(mask, 0u) << "the library applied every filter";
    H5Dclose(dataset);
    H5Pclose(properties);
    H5Sclose(space);
    H5Fclose(file);
    return stored;
}

class ChunkFilters : public ::testing::TestWithParam<ChunkCase> {};

// The last chunk of each table: whole, or filled only in part.
TEST_P(ChunkFilters, StoreWhatTheLibraryStores) {
    const ChunkCase c = GetParam();
    pelix::testing::TempFolder folder;
    const std::size_t elementSize = H5Tget_size(typeOf(c.element));
    const std::vector<unsigned char> values = tableBytes(static_cast<std::size_t>(c.rows) * elementSize);
    const hsize_t origin = (c.rows - 1) / c.chunkRows * c.chunkRows;
    const std::vector<unsigned char> expected = libraryChunk(folder.file("t.h5"), c, origin, values);

    std::vector<unsigned char> chunk(static_cast<std::size_t>(c.chunkRows) * elementSize, 0);
    std::copy(values.begin() + static_cast<std::ptrdiff_t>(origin * elementSize), values.end(),
              chunk.begin());
    // Twice with one compressor: the second chunk starts afresh, as every chunk of a table does.
    ChunkDeflater deflater(c.level);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<unsigned char> stored;
        ASSERT_TRUE(deflater.filter(chunk, elementSize, stored));
        EXPECT_EQ(stored, expected) << "pass " << pass;
    }
}

const ChunkCase kChunkCases[] = {
    {"Bytes", Element::Byte, 4096, 1024, 1},     {"PartWords", Element::Word, 3000, 1024, 1},
    {"Singles", Element::Single, 2048, 1024, 9}, {"PartDoubles", Element::Double, 1500, 1024, 5},
    {"OneShortChunk", Element::Word, 7, 7, 1},
};

INSTANTIATE_TEST_SUITE_P(Tables, ChunkFilters, ::testing::ValuesIn(kChunkCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
