#include "player/ui/tool_windows_state.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <vector>

namespace pelix::player {

namespace {

// No screen is this large; a window outside it is a damaged or hostile file.
constexpr double kMostPixels = 100000.0;

QJsonObject windowJson(const ToolWindowState& w) {
    const QRect& g = w.geometry;
    QJsonObject o{{QStringLiteral("Geometry"), QJsonArray{g.x(), g.y(), g.width(), g.height()}}};
    if (w.frames) o.insert(QStringLiteral("Frames"), QJsonArray{w.frames->first, w.frames->second});
    return o;
}

// The whole numbers of `value` when it is an array of `count` of them within ±kMostPixels.
std::optional<std::vector<int>> wholeNumbers(const QJsonValue& value, qsizetype count, double most) {
    if (!value.isArray() || value.toArray().size() != count) return std::nullopt;
    std::vector<int> out;
    for (const QJsonValue& v : value.toArray()) {
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || !std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > most)
            return std::nullopt;
        out.push_back(static_cast<int>(d));
    }
    return out;
}

std::optional<ToolWindowState> windowOf(const QJsonObject& all, const QString& key) {
    const QJsonValue value = all.value(key);
    if (!value.isObject()) return std::nullopt;
    const QJsonObject o = value.toObject();
    const auto g = wholeNumbers(o.value(QStringLiteral("Geometry")), 4, kMostPixels);
    if (!g || (*g)[2] < 1 || (*g)[3] < 1) return std::nullopt;
    ToolWindowState w{QRect((*g)[0], (*g)[1], (*g)[2], (*g)[3]), std::nullopt};
    // Frames are 1-based and within what a recording can hold.
    if (const auto f = wholeNumbers(o.value(QStringLiteral("Frames")), 2, 2147483647.0);
        f && (*f)[0] >= 1 && (*f)[1] >= (*f)[0])
        w.frames = std::make_pair((*f)[0], (*f)[1]);
    return w;
}

} // namespace

std::string toolWindowsJson(const ToolWindowsState& state) {
    QJsonObject all;
    if (state.overview) all.insert(QStringLiteral("Overview"), windowJson(*state.overview));
    if (state.bscan) all.insert(QStringLiteral("Bscan"), windowJson(*state.bscan));
    return QJsonDocument(all).toJson(QJsonDocument::Compact).toStdString();
}

ToolWindowsState parseToolWindows(const std::string& json) {
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json));
    if (!doc.isObject()) return {};
    const QJsonObject all = doc.object();
    return {windowOf(all, QStringLiteral("Overview")), windowOf(all, QStringLiteral("Bscan"))};
}

} // namespace pelix::player
