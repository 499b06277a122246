// The command-line tool's gate options of render and its readings table,
// checked against what the player itself shows.
#include "core/recording/open_recording.h"
#include "player/display/frame_display.h"

#include "player/tool_test_support.h"
#include "player/window_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>

#include <memory>

namespace pelix::player {
namespace {

const QString kSamples = QStringLiteral(PELIX_SAMPLES_DIR);

QJsonObject readJson(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return QJsonDocument::fromJson(f.readAll()).object();
}

TEST_F(ToolTest, RenderWithAMovedGateShowsTheMeasuredReadings) {
    ASSERT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "120", "--state", path("plain.json")}), 0);
    const QJsonObject plain = readJson(path("plain.json"));
    EXPECT_FALSE(plain.contains("GateDataArray"));
    const QJsonArray recorded = plain["readings"].toArray();
    ASSERT_EQ(recorded.size(), 7);
    EXPECT_EQ(recorded[0]["slot"].toInt(), 0);
    EXPECT_EQ(recorded[0]["name"].toString(), "SA^=");
    EXPECT_EQ(recorded[0]["value"].toString(), "28.64mm");
    EXPECT_EQ(recorded[0]["background"].toString(), "button-face");

    ASSERT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "120", "--state", path("moved.json"), "--gate-a",
                   "12.5,45", "--gate-b", "31,20"}),
              0);
    const QJsonObject moved = readJson(path("moved.json"));
    const QJsonArray gates = moved["GateDataArray"].toArray();
    ASSERT_EQ(gates.size(), 6);
    const QJsonObject props = moved["properties"].toObject();
    EXPECT_FLOAT_EQ(static_cast<float>(props["fGateAStart"].toDouble()), 12.5F);
    EXPECT_FLOAT_EQ(static_cast<float>(props["newGateAStart"].toDouble()), 12.5F);
    EXPECT_EQ(props["iGateAThresh"].toInt(), 45);
    EXPECT_EQ(props["newGateBThresh"].toInt(), 20);
    const QJsonArray panel = moved["panel"].toArray();
    EXPECT_EQ(panel[5]["value"]["text"].toString(), "12.50");
    EXPECT_EQ(panel[7]["value"]["text"].toString(), "45");
    EXPECT_EQ(panel[10]["value"]["text"].toString(), "31.00");
    EXPECT_EQ(panel[12]["value"]["text"].toString(), "20");
    // The caret and the SA row follow the re-measured "SA" reading of slot 0.
    const QString sa = moved["readings"].toArray().at(0).toObject()["value"].toString();
    ASSERT_TRUE(sa.endsWith("mm")) << sa.toStdString();
    EXPECT_EQ(panel[8]["value"]["text"].toString(), sa.chopped(2));
    EXPECT_FLOAT_EQ(static_cast<float>(props["fCaretOne"].toDouble()), sa.chopped(2).toFloat());
    EXPECT_LT(gates[1].toDouble(), 2147483648.0); // an echo crosses gate A at 45 %

    QString err;
    for (const char* bad : {"12.5", "x,10", "12,101", "12,4.5", ",10"})
        EXPECT_EQ(
            run({"render", kSamples + "/PLAIN_SCAN.BIN", "1", "--state", path("x.json"), "--gate-a", bad},
                &err),
            2)
            << bad;
}

// In peak mode a gate whose largest sample stays below its threshold holds no
// echo: gate B moved onto the rising flank of frame 120's first echo, where
// the trace reaches 9 % under a 35 % threshold, is not triggered.
TEST_F(ToolTest, GateBelowItsThresholdReportsNoEcho) {
    ASSERT_EQ(run({"render", kSamples + "/PLAIN_SCAN.BIN", "120", "--state", path("b.json"), "--gate-b",
                   "15.84,35"}),
              0);
    const QJsonObject state = readJson(path("b.json"));
    const QJsonArray gates = state["GateDataArray"].toArray();
    ASSERT_EQ(gates.size(), 6);
    EXPECT_GE(gates[3].toDouble(), 2147483648.0); // amplitude below the threshold
    EXPECT_GE(gates[4].toDouble(), 2147483648.0); // so no echo time either
    EXPECT_GE(gates[5].toDouble(), 2147483648.0);
    const QJsonObject props = state["properties"].toObject();
    EXPECT_FALSE(props["DrawCaratTwo"].toBool());
    EXPECT_EQ(props["fCaretTwo"].toDouble(), 0.0);
    EXPECT_TRUE(props["DrawCaratOne"].toBool()); // gate A keeps its echo
    const QJsonObject sb = state["readings"].toArray().at(4).toObject();
    EXPECT_EQ(sb["name"].toString(), "SB^=");
    EXPECT_EQ(sb["background"].toString(), "highlight-text"); // not a live value
    EXPECT_TRUE(sb["held"].toBool());
    EXPECT_EQ(state["panel"].toArray().at(13)["value"]["text"].toString(), "0");
}

// The table the tool prints is what the readings panel shows frame by frame.
TEST_F(ToolTest, ReadingsTableIsWhatThePanelShows) {
    test::ensureApplication();
    for (const char* sample : {"PLAIN_SCAN.BIN", "ENVELOPE_US.BIN", "RF_INCH_V7.BIN"}) {
        QByteArray csv;
        ASSERT_EQ(
            run({"readings", kSamples + "/" + sample, "--csv", "--from", "40", "--to", "90"}, nullptr, &csv),
            0);
        const QList<QByteArray> lines = csv.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 52) << sample;
        EXPECT_TRUE(lines[0].startsWith("Frame,Time,Flag,Name1,Value1,"));

        auto outcome = recording::OpenRecording::open((kSamples + "/" + sample).toStdString());
        ASSERT_TRUE(outcome.recording);
        std::array<std::unique_ptr<QLabel>, 14> labels;
        FrameDisplayTargets targets;
        for (std::size_t i = 0; i < 7; ++i) {
            labels[i] = std::make_unique<QLabel>();
            labels[7 + i] = std::make_unique<QLabel>();
            targets.lblRdName[i] = labels[i].get();
            targets.lblRdValue[i] = labels[7 + i].get();
        }
        FrameDisplay display(targets, std::make_unique<test::FakeAscanPort>());
        display.setRecording(outcome.recording.get());
        const int fps = outcome.recording->framesPerSecond();
        for (int n = 40; n <= 90; ++n) {
            display.ShowFrame(n);
            const QList<QByteArray> fields = lines[n - 39].split(',');
            // Today's 17 columns, then number, unit and held of each slot.
            ASSERT_EQ(fields.size(), 17 + 3 * 7);
            EXPECT_EQ(fields[0].toInt(), n);
            EXPECT_DOUBLE_EQ(fields[1].toDouble(), (n - 1.0) / fps);
            EXPECT_EQ(fields[2] == "1", display.panelFrame().FrameFlag != 0);
            for (std::size_t i = 0; i < 7; ++i) {
                EXPECT_EQ(QString::fromLatin1(fields[3 + 2 * i]), targets.lblRdName[i]->text())
                    << sample << n;
                EXPECT_EQ(QString::fromLatin1(fields[4 + 2 * i]), targets.lblRdValue[i]->text())
                    << sample << n;
                // Held exactly where the window paints the value white.
                EXPECT_EQ(fields[19 + 3 * i] == "1", display.readings().held(i))
                    << sample << n << " slot " << i;
            }
        }
    }
}

TEST_F(ToolTest, ReadingsRangesFormatsAndCutShortFiles) {
    QByteArray out;
    QString err;
    EXPECT_EQ(run({"readings", kSamples + "/PLAIN_SCAN.BIN", "--from", "0"}), 2);
    EXPECT_EQ(run({"readings", kSamples + "/PLAIN_SCAN.BIN", "--from", "20", "--to", "10"}), 2);
    EXPECT_EQ(run({"readings", kSamples + "/PLAIN_SCAN.BIN", "--to", "3001"}), 2);
    EXPECT_EQ(run({"readings", kSamples + "/PLAIN_SCAN.BIN", "--csv", "--json"}), 2);

    ASSERT_EQ(run({"readings", kSamples + "/PLAIN_SCAN.BIN", "--json", "--from", "2999"}, nullptr, &out), 0);
    const QJsonObject table = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(table["FrameCount"].toInt(), 3000);
    const QJsonArray rows = table["Rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1]["Frame"].toInt(), 3000);
    EXPECT_EQ(rows[1]["readings"].toArray().size(), 7);

    // A recording whose last frame lost part of its samples still lists it: its readings are in the header.
    QFile scan(kSamples + "/PLAIN_SCAN.BIN");
    ASSERT_TRUE(scan.open(QIODevice::ReadOnly));
    QByteArray bytes = scan.readAll();
    bytes.chop(2048 - 1100);
    QFile cut(path("CUT.BIN"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes);
    cut.close();
    ASSERT_EQ(run({"readings", path("CUT.BIN"), "--csv", "--from", "2990"}, &err, &out), 0);
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 11);
    EXPECT_TRUE(lines.back().startsWith("3000,59.98,")) << lines.back().toStdString();
}

} // namespace
} // namespace pelix::player
