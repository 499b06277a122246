#include "platform/runtime_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace pelix::platform {

namespace {

// The folder made for this run; removed with everything in it at exit.
class PrivateRuntimeFolder {
  public:
    PrivateRuntimeFolder() {
        const char* tmp = std::getenv("TMPDIR");
        for (const std::string& base : {std::string(tmp && *tmp ? tmp : "/tmp"), std::string("/tmp")}) {
            std::string pattern = base + "/pelix-runtime-XXXXXX";
            // mkdtemp makes the folder with mode 0700, for this user alone.
            if (::mkdtemp(pattern.data()) == nullptr) continue;
            m_path = pattern;
            ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
            return;
        }
    }
    ~PrivateRuntimeFolder() {
        if (m_path.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }
    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

  private:
    std::string m_path;
};

} // namespace

std::string ensureRuntimeFolder() {
    static const std::string made = [] {
        const char* set = std::getenv("XDG_RUNTIME_DIR");
        if (set && *set) return std::string();
        static PrivateRuntimeFolder folder;
        return folder.path();
    }();
    return made;
}

} // namespace pelix::platform
