// Reading an exported file back through the HDF5 C interface, as an analysis
// program would: datasets by path in the native type asked for, their shape,
// and attributes.
#pragma once

#include <hdf5.h>

#include <cstring>
#include <string>
#include <vector>

namespace pelix::testing {

class Hdf5Reader {
  public:
    explicit Hdf5Reader(const std::string& path)
        : m_file(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT)) {}
    ~Hdf5Reader() {
        if (m_file >= 0) H5Fclose(m_file);
    }
    Hdf5Reader(const Hdf5Reader&) = delete;
    Hdf5Reader& operator=(const Hdf5Reader&) = delete;

    bool ok() const { return m_file >= 0; }
    hid_t id() const { return m_file; }
    bool has(const std::string& path) const { return H5Lexists(m_file, path.c_str(), H5P_DEFAULT) > 0; }

    // Rows and columns (columns 1 for a one-dimensional dataset, rows 1 for a scalar).
    std::vector<hsize_t> shape(const std::string& path) const {
        const hid_t d = H5Dopen2(m_file, path.c_str(), H5P_DEFAULT);
        const hid_t s = H5Dget_space(d);
        const int rank = H5Sget_simple_extent_ndims(s);
        std::vector<hsize_t> dims(static_cast<std::size_t>(rank < 0 ? 0 : rank));
        H5Sget_simple_extent_dims(s, dims.data(), nullptr);
        H5Sclose(s);
        H5Dclose(d);
        return dims;
    }

    template <typename T> std::vector<T> read(const std::string& path, hid_t memoryType) const {
        const hid_t d = H5Dopen2(m_file, path.c_str(), H5P_DEFAULT);
        const hid_t s = H5Dget_space(d);
        std::vector<T> values(static_cast<std::size_t>(H5Sget_simple_extent_npoints(s)));
        H5Dread(d, memoryType, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data());
        H5Sclose(s);
        H5Dclose(d);
        return values;
    }
    std::vector<int32_t> ints(const std::string& path) const { return read<int32_t>(path, H5T_NATIVE_INT32); }
    std::vector<uint8_t> bytes(const std::string& path) const {
        return read<uint8_t>(path, H5T_NATIVE_UINT8);
    }
    std::vector<float> floats(const std::string& path) const { return read<float>(path, H5T_NATIVE_FLOAT); }
    std::vector<double> doubles(const std::string& path) const {
        return read<double>(path, H5T_NATIVE_DOUBLE);
    }

    // A fixed-length text dataset or attribute, each element without its padding.
    std::vector<std::string> texts(const std::string& path) const {
        const hid_t d = H5Dopen2(m_file, path.c_str(), H5P_DEFAULT);
        const hid_t type = H5Dget_type(d);
        const std::size_t size = H5Tget_size(type);
        const hid_t s = H5Dget_space(d);
        const auto n = static_cast<std::size_t>(H5Sget_simple_extent_npoints(s));
        std::string raw(n * size, '\0');
        H5Dread(d, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, raw.data());
        H5Sclose(s);
        H5Tclose(type);
        H5Dclose(d);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < n; ++i)
            out.push_back(std::string(raw.c_str() + i * size, strnlen(raw.c_str() + i * size, size)));
        return out;
    }

    std::string textAttribute(const std::string& object, const std::string& name) const {
        const hid_t a = H5Aopen_by_name(m_file, object.c_str(), name.c_str(), H5P_DEFAULT, H5P_DEFAULT);
        if (a < 0) return "<missing>";
        const hid_t type = H5Aget_type(a);
        std::string raw(H5Tget_size(type), '\0');
        H5Aread(a, type, raw.data());
        H5Tclose(type);
        H5Aclose(a);
        return std::string(raw.c_str(), strnlen(raw.c_str(), raw.size()));
    }
    int64_t intAttribute(const std::string& object, const std::string& name) const {
        int64_t value = -1;
        const hid_t a = H5Aopen_by_name(m_file, object.c_str(), name.c_str(), H5P_DEFAULT, H5P_DEFAULT);
        if (a < 0) return value;
        H5Aread(a, H5T_NATIVE_INT64, &value);
        H5Aclose(a);
        return value;
    }

  private:
    hid_t m_file;
};

} // namespace pelix::testing
