// The shared library exports its C interface under the plain names and nothing else: the player
// and the display control bind every function by name at run time.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kLibrary = std::string(PELIX_BIN_DIR) + "/libPelix_Cal.so";

const std::set<std::string> kExports = {
    "DACConvertFromTCGPoints", "GenerateDACCoefAkima",
    "INTLOG10LookUp",          "CVDGSCalculateNearFields",
    "DGSEvaluateReference",    "CVDGSNumOfERSCurvePoints",
    "CVDGSConvertDGStoDAC",    "CVDGSFindEarlierTOFPoint",
    "CVDGSFindLaterTOFPoint",  "SetHeaderData",
    "UpdateGateData",          "FormatCVRsltValue",
    "CVUpdatedCaret",
};

// Names of the symbols the library defines in its dynamic symbol table.
std::set<std::string> definedDynamicSymbols(const std::vector<char>& image) {
    std::set<std::string> names;
    if (image.size() < sizeof(Elf64_Ehdr)) return names;
    Elf64_Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        return names;
    auto section = [&](size_t index) {
        Elf64_Shdr s{};
        const size_t at = header.e_shoff + index * header.e_shentsize;
        if (at + sizeof s <= image.size()) std::memcpy(&s, image.data() + at, sizeof s);
        return s;
    };
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM || symbols.sh_entsize != sizeof(Elf64_Sym)) continue;
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (size_t at = symbols.sh_offset; at + sizeof(Elf64_Sym) <= symbols.sh_offset + symbols.sh_size;
             at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, image.data() + at, sizeof symbol);
            if (symbol.st_shndx == SHN_UNDEF || symbol.st_name == 0) continue;
            const int type = ELF64_ST_TYPE(symbol.st_info);
            if (type == STT_SECTION || type == STT_FILE) continue;
            names.insert(image.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(SharedLibrary, ExportsExactlyItsInterface) {
    std::ifstream file(kLibrary, std::ios::binary);
    ASSERT_TRUE(file) << kLibrary << " is missing: build the Pelix_Cal target";
    const std::vector<char> image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(definedDynamicSymbols(image), kExports);
}

TEST(SharedLibrary, EveryExportBindsByName) {
    void* library = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const std::string& name : kExports)
        EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
    using Log = unsigned (*)(unsigned);
    const auto log = reinterpret_cast<Log>(dlsym(library, "INTLOG10LookUp"));
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log(65535), 48164u);
    dlclose(library);
}

} // namespace
