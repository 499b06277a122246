// The small text services of the control: number texts with the chosen
// decimal separator, and the labels of the evaluation curves.
#pragma once

#include "ascanview/interface/export.h"

#include <QString>

#include <cstdint>

namespace pelix::ascanview {

// Keeps the digits, the first decimal separator (written as ',' when `comma`,
// else '.') and a minus sign found anywhere, which goes in front.
ASCANVIEW_API QString convertDecToCom(const QString& nativeValue, bool comma);

// A curve offset in 0.1 dB as "+6.0dB", "-3.5dB", ".0dB", "+.5dB".
ASCANVIEW_API QString formatCurveLabel(std::int32_t curveOffset);

// A number with a fixed count of decimals ("#0.000" with `wholeDigit`,
// "#.0" without), rounded half away from zero as its shortest decimal reads.
ASCANVIEW_API QString formatFixedDecimals(double value, int decimals, bool wholeDigit);

// A decibel value as the TCG line labels show it: "+#.0" when positive, "#.0"
// otherwise, followed by "dB" ("+6.0dB", "-12.0dB", "+.5dB"). The value is
// rounded half away from zero as its shortest decimal reads.
ASCANVIEW_API QString formatDecibelLabel(double decibels);

} // namespace pelix::ascanview
