// `pelix` loads neither Qt nor FFmpeg: its ELF file names no such library
// (nor the platform library or the display control, which bring them), so
// that the subcommands that only read start in milliseconds.
#include <gtest/gtest.h>

#include <elf.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kBin = PELIX_BIN_DIR;

template <typename T> bool readAt(const std::vector<char>& file, uint64_t offset, T& out) {
    if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
    std::memcpy(&out, file.data() + offset, sizeof(T));
    return true;
}

// The DT_NEEDED entries of a 64-bit ELF file, read from its dynamic section and
// the string table that section names; `ok` false when the file is not one.
std::vector<std::string> neededLibraries(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> needed;
    Elf64_Ehdr header{};
    ok = readAt(file, 0, header) && std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
         header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_shentsize == sizeof(Elf64_Shdr);
    if (!ok) return needed;
    bool dynamicFound = false;
    for (uint16_t i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr section{}, strings{};
        if (!readAt(file, header.e_shoff + uint64_t{i} * sizeof(Elf64_Shdr), section)) break;
        if (section.sh_type != SHT_DYNAMIC) continue;
        if (!readAt(file, header.e_shoff + uint64_t{section.sh_link} * sizeof(Elf64_Shdr), strings)) break;
        dynamicFound = true;
        for (uint64_t at = 0; at + sizeof(Elf64_Dyn) <= section.sh_size; at += sizeof(Elf64_Dyn)) {
            Elf64_Dyn entry{};
            if (!readAt(file, section.sh_offset + at, entry) || entry.d_tag == DT_NULL) break;
            if (entry.d_tag != DT_NEEDED || entry.d_un.d_val >= strings.sh_size) continue;
            const uint64_t start = strings.sh_offset + entry.d_un.d_val;
            if (start >= file.size()) continue;
            const char* name = file.data() + start;
            needed.emplace_back(name, strnlen(name, file.size() - start));
        }
    }
    ok = dynamicFound;
    return needed;
}

bool isToolkitOrVideo(const std::string& library) {
    for (const char* prefix : {"libQt", "libav", "libsw", "libPelixPlatform", "libAscanView"})
        if (library.rfind(prefix, 0) == 0) return true;
    return false;
}

TEST(PelixLinkTest, PelixLinksNoQtAndNoFfmpegButItsDrawingProgramDoes) {
    bool ok = false;
    const std::vector<std::string> pelix = neededLibraries(kBin + "/pelix", ok);
    ASSERT_TRUE(ok) << "no dynamic section in " << kBin << "/pelix";
    EXPECT_FALSE(pelix.empty());
    for (const std::string& library : pelix)
        EXPECT_FALSE(isToolkitOrVideo(library)) << "pelix needs " << library;
    // The same reading finds the toolkit where it is, so an empty answer above is
    // no accident.
    const std::vector<std::string> drawing = neededLibraries(kBin + "/pelix-draw", ok);
    ASSERT_TRUE(ok);
    EXPECT_NE(std::find(drawing.begin(), drawing.end(), "libQt6Widgets.so.6"), drawing.end());
    EXPECT_NE(std::find(drawing.begin(), drawing.end(), "libPelixPlatform.so"), drawing.end());
}

} // namespace
