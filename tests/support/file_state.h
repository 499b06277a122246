// What a file on disk is, as far as "nothing was written to it" goes: its bytes,
// its inode, its modification time and its kind. Two states compare equal only
// when the file was neither replaced, rewritten nor touched.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace pelix::testing {

struct FileState {
    std::string bytes; // regular files only
    ino_t inode = 0;   // 0 when there is no such file
    timespec mtime{};
    mode_t type = 0;
    bool operator==(const FileState& o) const {
        return bytes == o.bytes && inode == o.inode && type == o.type && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

// The name itself, not what a symbolic link points to.
inline FileState fileStateOf(const std::string& path) {
    FileState s;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return s;
    s.inode = st.st_ino;
    s.mtime = st.st_mtim;
    s.type = st.st_mode & S_IFMT;
    if (S_ISREG(st.st_mode)) {
        std::ifstream in(path, std::ios::binary);
        s.bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    return s;
}

} // namespace pelix::testing
