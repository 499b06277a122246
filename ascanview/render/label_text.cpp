#include "ascanview/render/label_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
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
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    std::string digits(buffer, result.ptr);
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    const bool roundUp = fraction.size() > static_cast<std::size_t>(decimals) &&
                         fraction[static_cast<std::size_t>(decimals)] >= '5';
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    std::string all = whole + fraction;
    if (roundUp) {
        std::size_t i = all.size();
        while (i > 0) {
            --i;
            if (all[i] == '9') {
                all[i] = '0';
                continue;
            }
            ++all[i];
            break;
        }
        if (i == 0 && all[0] == '0') all.insert(all.begin(), '1');
    }
    whole = all.substr(0, all.size() - static_cast<std::size_t>(decimals));
    fraction = all.substr(all.size() - static_cast<std::size_t>(decimals));
    if (!wholeDigit && whole == "0") whole.clear();
    const bool zero = all.find_first_not_of('0') == std::string::npos;
    QString text;
    if (value < 0 && !zero) text += QLatin1Char('-');
    text += QString::fromStdString(whole);
    if (decimals > 0) text += QLatin1Char('.') + QString::fromStdString(fraction);
    return text;
}

QString formatDecibelLabel(double decibels) {
    QString text = decibels > 0 ? QStringLiteral("+") : QString();
    return text + formatFixedDecimals(decibels, 1, false) + QLatin1String("dB");
}

} // namespace pelix::ascanview
