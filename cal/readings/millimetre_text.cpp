#include "readings/millimetre_text.h"

#include <charconv>
#include <cmath>

namespace pelix::cal::readings {

namespace {

// Below this many micrometres the product with 0.001 lies within a millionth of a millimetre of
// the exact thousandth, so only a last digit of 5 can round either way.
constexpr uint64_t kWholeNumberLimit = 1'000'000'000'000ULL;

std::size_t writeUnsigned(char* out, uint64_t value) {
    char digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = digits[count - 1 - i];
    return count;
}

} // namespace

std::size_t writeMillimetres(char* out, int64_t micrometres) {
    const double value = static_cast<double>(micrometres) * 0.001;
    const uint64_t magnitude =
        micrometres < 0 ? 0 - static_cast<uint64_t>(micrometres) : static_cast<uint64_t>(micrometres);
    if (magnitude >= kWholeNumberLimit) {
        const auto [end, error] =
            std::to_chars(out, out + kMillimetreTextBytes, value, std::chars_format::fixed, 2);
        return error == std::errc() ? static_cast<std::size_t>(end - out) : 0;
    }
    uint64_t hundredths = magnitude / 10;
    const uint64_t thousandth = magnitude % 10;
    if (thousandth > 5) {
        ++hundredths;
    } else if (thousandth == 5) {
        // The printed double lies above, below or exactly on the half: which, the exact
        // difference of its thousandfold from the whole number says (one rounding keeps the sign).
        const double above = std::fma(std::fabs(value), 1000.0, -static_cast<double>(magnitude));
        if (above > 0.0 || (above == 0.0 && hundredths % 2 == 1)) ++hundredths;
    }
    std::size_t n = 0;
    if (micrometres < 0) out[n++] = '-';
    n += writeUnsigned(out + n, hundredths / 100);
    out[n++] = '.';
    out[n++] = static_cast<char>('0' + hundredths / 10 % 10);
    out[n++] = static_cast<char>('0' + hundredths % 10);
    return n;
}

} // namespace pelix::cal::readings
