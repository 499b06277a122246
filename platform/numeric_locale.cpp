#include "platform/numeric_locale.h"

#include <clocale>

namespace pelix::platform {

void keepNumbersInCLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace pelix::platform
