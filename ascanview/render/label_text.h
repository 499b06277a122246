// The small text services of the control: number texts with the chosen
// decimal separator, and the labels of the evaluation curves.
#pragma once

#include "ascanview/interface/export.h"

#include <QString>

#include <cstdint>

// Keeps the digits, the first decimal separator (written as ',' when `comma`,
// else '.') and a minus sign found anywhere, which goes in front.
ASCANVIEW_API QString convertDecToCom(const QString& nativeValue, bool comma);

// A curve offset in 0.1 dB as "+6.0dB", "-3.5dB", ".0dB", "+.5dB".
ASCANVIEW_API QString formatCurveLabel(std::int32_t curveOffset);
