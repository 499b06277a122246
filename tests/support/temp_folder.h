// A private folder for the files a test or benchmark writes: made afresh under
// the system's temporary folder and removed with everything in it at the end,
// so that runs neither collide with each other nor leave recordings behind.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace pelix::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelix-test-XXXXXX").string();
        // Without a folder the files would land in the working directory instead.
        if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), pattern);
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Where a file of this name goes; nothing is created.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

// One folder for the whole program, for files that must outlive the object
// that wrote them; removed when the program ends.
inline const TempFolder& programTempFolder() {
    static const TempFolder folder;
    return folder;
}

} // namespace pelix::testing
