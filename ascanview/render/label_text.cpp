#include "ascanview/render/label_text.h"

#include "core/numbers/number_format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace pelix::ascanview {

QString convertDecToCom(const QString& nativeValue, bool comma) {
    QString result;
    result.reserve(nativeValue.size() + 1);
    bool separatorSeen = false;
    bool negative = false;
    for (const QChar c : nativeValue) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            result += c;
        } else if (u == u'.' || u == u',') {
            if (!separatorSeen) result += comma ? QLatin1Char(',') : QLatin1Char('.');
            separatorSeen = true;
        } else if (u == u'-') {
            negative = true;
        }
    }
    if (negative) result.prepend(QLatin1Char('-'));
    return result;
}

QString formatCurveLabel(std::int32_t curveOffset) {
    const std::int64_t offset = curveOffset;
    const std::int64_t magnitude = offset < 0 ? -offset : offset;
    QString text;
    if (offset > 0) text += QLatin1Char('+');
    if (offset < 0) text += QLatin1Char('-');
    // "###.0": the whole decibels only when there are any, always one decimal.
    if (magnitude >= 10) text += QString::number(magnitude / 10);
    text += QLatin1Char('.');
    text += QString::number(magnitude % 10);
    text += QLatin1String("dB");
    return text;
}

QString formatFixedDecimals(double value, int decimals, bool wholeDigit) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e15 || decimals < 0 || decimals > 15)
        return QString::number(value, 'f', std::clamp(decimals, 0, 15));
    std::string text = numbers::formatFixed(value, decimals);
    // A label never shows "-0.0": a value that rounds to zero has no sign.
    if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
    const std::size_t digits = text.front() == '-' ? 1 : 0;
    if (!wholeDigit && text.compare(digits, 1, "0") == 0 &&
        (text.size() == digits + 1 || text[digits + 1] == '.'))
        text.erase(digits, 1);
    return QString::fromStdString(text);
}

QString formatDecibelLabel(double decibels) {
    QString text = decibels > 0 ? QStringLiteral("+") : QString();
    return text + formatFixedDecimals(decibels, 1, false) + QLatin1String("dB");
}

} // namespace pelix::ascanview
