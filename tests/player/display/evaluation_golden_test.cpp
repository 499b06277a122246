// The evaluation curves of one frame of every curve sample, through the real
// display pipeline and control, against the operation lists stored in
// tests/ascanview/golden. A list of more than kFullListLimit operations is
// stored as its count, a hash of every operation and every 25th operation,
// so the stored files stay small while any change is still caught.
// PELIX_UPDATE_GOLDEN=1 rewrites the stored lists.
#include "core/recording/open_recording.h"
#include "platform/component_registry.h"
#include "platform/control_binding.h"
#include "player/display/frame_display.h"

#include "player/display_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace pelix::player {
namespace {

constexpr int kFullListLimit = 400;
constexpr int kSampleEvery = 25;
constexpr int kFrame = 5;

QString goldenDir() {
    return QStringLiteral(PELIX_GOLDEN_DIR);
}

QString opLine(const QJsonObject& op) {
    QStringList parts{op["op"].toString(), op["color"].toString()};
    for (const char* key : {"x1", "y1", "x2", "y2", "x", "y", "size"})
        if (op.contains(key)) parts << QString::number(op[key].toDouble(), 'g', 10);
    if (op.contains("text")) parts << QStringLiteral("\"%1\"").arg(op["text"].toString());
    return parts.join(QLatin1Char(' '));
}

QJsonArray redrawOps(QWidget* control) {
    QString json;
    EXPECT_TRUE(QMetaObject::invokeMethod(control, "surfaceOperationsJson", Q_RETURN_ARG(QString, json)));
    return QJsonDocument::fromJson(json.toUtf8()).object()["ops"].toArray();
}

// The curve operations are what the redraw adds over the same frame without curves.
QStringList curveLines(QWidget* control) {
    const QJsonArray withCurves = redrawOps(control);
    const QVariant mode = platform::controlProperty(control, "EvalMode");
    platform::setControlProperty(control, "EvalMode", QVariant::fromValue<qint32>(2));
    EXPECT_TRUE(QMetaObject::invokeMethod(control, "UpdateAscanGraph"));
    const QJsonArray without = redrawOps(control);
    platform::setControlProperty(control, "EvalMode", mode);
    QStringList lines;
    for (qsizetype i = without.size(); i < withCurves.size(); ++i)
        lines << opLine(withCurves[i].toObject());
    return lines;
}

QString goldenText(const QString& sample, const QStringList& lines) {
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a over every line
    for (const QString& line : lines) {
        for (const char c : line.toUtf8() + '\n') {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ULL;
        }
    }
    const bool full = lines.size() <= kFullListLimit;
    QString text = QStringLiteral("# %1 frame %2: %3 curve operations, fnv1a64 %4%5\n")
                       .arg(sample)
                       .arg(kFrame)
                       .arg(lines.size())
                       .arg(QString::number(hash, 16))
                       .arg(full ? QString() : QStringLiteral(", every %1th listed").arg(kSampleEvery));
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (full || i % kSampleEvery == 0 || i == lines.size() - 1)
            text += QStringLiteral("%1: %2\n").arg(i).arg(lines[i]);
    return text;
}

class EvaluationGoldenTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EvaluationGoldenTest, CurveOperationsMatchTheStoredList) {
    test::ensureApplication();
    const QString sample = QString::fromLatin1(GetParam());
    std::unique_ptr<QWidget> control(
        platform::ComponentRegistry::instance().create(QStringLiteral("AscanView.OroAscanCtl")));
    ASSERT_TRUE(control);
    control->resize(944, 420);
    auto outcome =
        recording::OpenRecording::open((QStringLiteral(PELIX_SAMPLES_DIR "/") + sample).toStdString());
    ASSERT_TRUE(outcome.recording) << sample.toStdString();
    FrameDisplayTargets targets;
    targets.ascan = control.get();
    targets.ascanWidget = control.get();
    FrameDisplay display(targets);
    display.setRecording(outcome.recording.get());
    display.refreshUnitRows();
    ASSERT_TRUE(display.ShowFrame(kFrame));

    const QStringList lines = curveLines(control.get());
    EXPECT_FALSE(lines.isEmpty()) << "no curve drawn";
    const QString actual = goldenText(sample, lines);
    const QString file =
        QDir(goldenDir()).filePath(QFileInfo(sample).completeBaseName().toLower() + ".ops.txt");
    if (qEnvironmentVariableIsSet("PELIX_UPDATE_GOLDEN")) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        out.write(actual.toUtf8());
        return;
    }
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << "no stored list " << file.toStdString();
    EXPECT_EQ(QString::fromUtf8(in.readAll()).toStdString(), actual.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Samples, EvaluationGoldenTest,
                         ::testing::Values("DAC_STRAIGHT_BEA.BIN", "DAC_CURVED.BIN", "DAC_RECORDING.BIN",
                                           "TCG_LINES.BIN", "JIS_DAC.BIN", "JIS_CUSTOM.BIN",
                                           "CN_DAC_STRAIGHT.BIN", "CN_DAC_CURVED.BIN", "DGS_BACKWALL.BIN",
                                           "DGS_DISC_OWN_DIAGRAM.BIN", "DGS_HOLE_LISTED_PROBE.BIN"),
                         [](const auto& info) {
                             QString name = QFileInfo(QString::fromLatin1(info.param)).completeBaseName();
                             return name.remove(QLatin1Char('_')).toStdString();
                         });

} // namespace
} // namespace pelix::player
