#include "tools/pelix/json_writer.h"

#include "core/text/json_string.h"

#include <charconv>
#include <cmath>

namespace pelix::tool {

std::string quoted(std::string_view value) {
    std::string out;
    text::appendJsonString(out, value);
    return out;
}

void JsonWriter::separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) m_out += ',';
        m_first.back() = false;
    }
}

void JsonWriter::open(char c) {
    separate();
    m_out += c;
    m_first.push_back(true);
}

void JsonWriter::close(char c) {
    m_out += c;
    m_first.pop_back();
}

void JsonWriter::key(std::string_view name) {
    separate();
    m_out += quoted(name);
    m_out += ':';
    m_afterKey = true;
}

void JsonWriter::value(int64_t v) {
    separate();
    m_out += std::to_string(v);
}

void JsonWriter::value(double v) {
    separate();
    if (!std::isfinite(v)) {
        m_out += "null";
        return;
    }
    // Shortest text that reads back as the same double, in plain decimals
    // where that is as short (60, not 6e+01).
    char buf[32];
    const auto written = std::to_chars(buf, buf + sizeof buf, v);
    m_out.append(buf, written.ptr);
}

void JsonWriter::value(float v) {
    separate();
    if (!std::isfinite(v)) {
        m_out += "null";
        return;
    }
    char buf[32];
    const auto written = std::to_chars(buf, buf + sizeof buf, v);
    m_out.append(buf, written.ptr);
}

void JsonWriter::value(bool v) {
    separate();
    m_out += v ? "true" : "false";
}

void JsonWriter::value(std::string_view v) {
    separate();
    m_out += quoted(v);
}

} // namespace pelix::tool
