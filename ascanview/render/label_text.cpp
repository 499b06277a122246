#include "ascanview/render/label_text.h"

#include <cstdlib>

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
