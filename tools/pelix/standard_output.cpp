#include "tools/pelix/standard_output.h"

#include "tools/pelix/subcommands.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <unistd.h>

namespace pelix::tool {

namespace {

// Standard output's buffer, written with write(2) so that the reason of the
// first failed write is known exactly (stdio forgets it once its buffer is
// empty). After a failure the rest is dropped: it would go nowhere.
class CheckedOutput : public std::streambuf {
  public:
    CheckedOutput() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
    int firstError() const { return m_error; }
    // Writes `text` past the buffer when it is large; false once a write has failed.
    bool put(std::string_view text) {
        if (m_error != 0) return false;
        if (text.size() >= m_buffer.size()) return drain() && writeAll(text.data(), text.size());
        if (static_cast<std::size_t>(epptr() - pptr()) < text.size() && !drain()) return false;
        std::memcpy(pptr(), text.data(), text.size());
        pbump(static_cast<int>(text.size()));
        return true;
    }
    bool drain() {
        const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return m_error == 0 && writeAll(m_buffer.data(), pending);
    }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        return put(std::string_view(s, static_cast<std::size_t>(n))) ? n : 0;
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool writeAll(const char* data, std::size_t size) {
        while (size > 0 && m_error == 0) {
            const ssize_t n = ::write(STDOUT_FILENO, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                m_error = n < 0 ? errno : EIO;
                break;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return m_error == 0;
    }

    std::array<char, 1 << 16> m_buffer{};
    int m_error = 0;
};

CheckedOutput& checkedOutput() {
    // Lives to the end of the program; std::cout writes into it from the first subcommand on.
    static CheckedOutput* output = [] {
        auto* made = new CheckedOutput;
        std::cout.rdbuf(made);
        return made;
    }();
    return *output;
}

} // namespace

void endQuietlyOnClosedPipe() {
    std::signal(SIGPIPE, SIG_DFL);
    checkedOutput();
}

bool writeStandardOutput(std::string_view text) {
    return checkedOutput().put(text);
}

bool standardOutputGood() {
    return checkedOutput().firstError() == 0;
}

int finishStandardOutput(int status) {
    std::cout.flush();
    CheckedOutput& output = checkedOutput();
    output.drain();
    const int error = output.firstError();
    // Only reached with SIGPIPE caught or ignored by a parent that handed it on: a closed
    // pipe is still no error to report.
    if (error == 0 || error == EPIPE) return status;
    std::cerr << "pelix: cannot write to standard output: " << std::strerror(error) << "\n";
    return kExitWriteFailed;
}

} // namespace pelix::tool
