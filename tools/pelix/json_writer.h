// A small streaming JSON writer for the tool's --json output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelix::tool {

class JsonWriter {
  public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(std::string_view name);
    void value(int64_t v);
    void value(double v);
    // A single-precision value, written as the shortest text that reads back as the same float.
    void value(float v);
    void value(int32_t v) { value(static_cast<int64_t>(v)); }
    void value(bool v);
    void value(std::string_view v);
    template <typename Range> void array(const Range& values) {
        beginArray();
        for (const auto& v : values)
            value(static_cast<int64_t>(v));
        endArray();
    }
    template <typename T> void field(std::string_view name, const T& v) {
        key(name);
        value(v);
    }
    const std::string& text() const { return m_out; }

  private:
    void open(char c);
    void close(char c);
    void separate();
    std::string m_out;
    std::vector<bool> m_first; // per open container: no element written yet
    bool m_afterKey = false;
};

std::string quoted(std::string_view text);

} // namespace pelix::tool
