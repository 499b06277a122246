#include "player/ui/player_layout.h"

#include "platform/common_dialog.h"
#include "platform/progress_bar.h"
#include "platform/track_bar.h"
#include "platform/up_down.h"
#include "player/ui/form_scaler.h"
#include "player/ui/status_line.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <array>

namespace pelix::player {

namespace {

struct DesignGeometry {
    const char* name;
    const char* container; // "" for the window itself
    float left, top, width, height;
};

// Twips; controls inside a group box are placed relative to the box. The
// slider's end label and the search list have room for six-digit frame numbers.
constexpr std::array<DesignGeometry, 55> kDesign{{
    {"Ascan", "", 120, 120, 14160, 6300},
    {"lblStart", "", 120, 6600, 660, 300},
    {"Slider", "", 840, 6510, 12480, 480},
    {"lblEnd", "", 13380, 6600, 900, 300},
    {"picResultLabel", "", 840, 7020, 12480, 180},
    {"cmdOpen", "", 120, 7350, 1380, 480},
    {"cmdPlayStop", "", 1590, 7350, 1380, 480},
    {"lblStatus", "", 3090, 7350, 5160, 480},
    {"SliderSpeed", "", 8580, 7290, 3600, 390},
    {"Label1", "", 8370, 7680, 720, 240},
    {"Label2", "", 9195, 7680, 720, 240},
    {"Label3", "", 10020, 7680, 720, 240},
    {"Label4", "", 10845, 7680, 720, 240},
    {"Label5", "", 11670, 7680, 720, 240},
    {"LblSpeed", "", 12330, 7350, 1950, 390},
    {"Frame1", "", 120, 8100, 3990, 3480},
    {"OptFrame", "Frame1", 180, 450, 1890, 360},
    {"txtFrameIdx", "Frame1", 2100, 450, 1380, 360},
    {"FrameUpDown", "Frame1", 3510, 450, 300, 360},
    {"OptTime", "Frame1", 180, 990, 1890, 360},
    {"txtTimeIdx", "Frame1", 2100, 990, 1380, 360},
    {"TimeUpDown", "Frame1", 3510, 990, 300, 360},
    {"OptFlag", "Frame1", 180, 1530, 1890, 360},
    {"txtFlagIdx", "Frame1", 2100, 1530, 1380, 360},
    {"FlagUpDown", "Frame1", 3510, 1530, 300, 360},
    {"cmdGo", "Frame1", 2100, 2220, 1710, 480},
    {"ReadingFrame", "", 4230, 8100, 4350, 3480},
    {"lblRd1Name", "ReadingFrame", 150, 390, 1950, 360},
    {"lblRd1Value", "ReadingFrame", 2190, 390, 2010, 360},
    {"lblRd2Name", "ReadingFrame", 150, 810, 1950, 360},
    {"lblRd2Value", "ReadingFrame", 2190, 810, 2010, 360},
    {"lblRd3Name", "ReadingFrame", 150, 1230, 1950, 360},
    {"lblRd3Value", "ReadingFrame", 2190, 1230, 2010, 360},
    {"lblRd4Name", "ReadingFrame", 150, 1650, 1950, 360},
    {"lblRd4Value", "ReadingFrame", 2190, 1650, 2010, 360},
    {"lblRd5Name", "ReadingFrame", 150, 2070, 1950, 360},
    {"lblRd5Value", "ReadingFrame", 2190, 2070, 2010, 360},
    {"lblRd6Name", "ReadingFrame", 150, 2490, 1950, 360},
    {"lblRd6Value", "ReadingFrame", 2190, 2490, 2010, 360},
    {"lblRd7Name", "ReadingFrame", 150, 2910, 1950, 360},
    {"lblRd7Value", "ReadingFrame", 2190, 2910, 2010, 360},
    {"Frame2", "", 8700, 8100, 3030, 3480},
    {"CheckSearch", "Frame2", 180, 420, 2250, 330},
    {"cmdSearch", "Frame2", 180, 840, 2640, 450},
    {"lbSearchResult", "Frame2", 180, 1410, 2640, 1440},
    {"lblSearchSummary", "Frame2", 180, 2880, 2640, 540},
    {"Frame3", "", 11850, 8100, 2430, 3480},
    {"AVI_Select", "Frame3", 180, 420, 2100, 330},
    {"optStart", "Frame3", 180, 930, 330, 330},
    {"Label8", "Frame3", 540, 960, 1710, 270},
    {"optEnd", "Frame3", 180, 1380, 330, 330},
    {"Label9", "Frame3", 540, 1410, 1710, 270},
    {"cmdSaveAs", "Frame3", 180, 2220, 2070, 480},
    {"prgAviExport", "Frame3", 180, 2790, 2070, 195},
    {"lblAviProgress", "Frame3", 180, 3015, 2070, 300},
}};

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = named(new QLabel(text, parent), name);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

// A read-out: sunken, with the face colour of a button behind the text.
QLabel* readout(QWidget* parent, const char* name) {
    auto* l = label(parent, name, QString(), Qt::AlignLeft);
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::Button);
    l->setStyleSheet(
        QStringLiteral("QLabel { border: 1px solid palette(mid); border-radius: 3px; padding: 0px 4px; }"));
    return l;
}

QGroupBox* group(QWidget* parent, const char* name, const char* title) {
    return named(new QGroupBox(QString::fromLatin1(title), parent), name);
}

} // namespace

PlayerControls buildPlayerControls(QWidget* window, QWidget* ascan, FormScaler& scaler) {
    PlayerControls c;
    c.window = window;
    c.Ascan = ascan;
    ascan->setParent(window);
    ascan->setObjectName(QStringLiteral("Ascan"));

    c.cmdOpen = named(new QPushButton(QStringLiteral("Open"), window), "cmdOpen");
    c.CommDlg = new platform::CommonDialog(window);
    c.cmdPlayStop = named(new QPushButton(QStringLiteral("Play"), window), "cmdPlayStop");
    c.tmrPlay = named(new QTimer(window), "tmrPlay");
    c.lblStatus = named(new StatusLine(window), "lblStatus");

    c.SliderSpeed = named(new platform::TrackBar(window), "SliderSpeed");
    c.SliderSpeed->setRange(0, 4);
    c.SliderSpeed->setTickFrequency(1);
    c.SliderSpeed->setLargeChange(1);
    c.SliderSpeed->setValue(2);
    const std::array<const char*, 5> speedMarks{"x1/5", "x1/2", "x1", "x2", "x5"};
    for (std::size_t i = 0; i < speedMarks.size(); ++i) {
        const QByteArray name = "Label" + QByteArray::number(static_cast<int>(i) + 1);
        c.speedMarks[i] =
            label(window, name.constData(), QString::fromLatin1(speedMarks[i]), Qt::AlignHCenter);
    }
    c.LblSpeed = readout(window, "LblSpeed");
    c.LblSpeed->setAlignment(Qt::AlignCenter);

    c.Slider = named(new platform::TrackBar(window), "Slider");
    c.Slider->setRange(1, 1);
    c.lblStart = label(window, "lblStart", QStringLiteral("Start"), Qt::AlignRight);
    c.lblEnd = label(window, "lblEnd", QStringLiteral("End"), Qt::AlignLeft);

    c.Frame1 = group(window, "Frame1", "Quick Move");
    c.OptFrame = named(new QRadioButton(QStringLiteral("Frame"), c.Frame1), "OptFrame");
    c.OptTime = named(new QRadioButton(QStringLiteral("Time (sec)"), c.Frame1), "OptTime");
    c.OptFlag = named(new QRadioButton(QStringLiteral("Flag"), c.Frame1), "OptFlag");
    c.OptFrame->setChecked(true);
    c.txtFrameIdx = named(new QLineEdit(c.Frame1), "txtFrameIdx");
    c.txtTimeIdx = named(new QLineEdit(c.Frame1), "txtTimeIdx");
    c.txtFlagIdx = named(new QLineEdit(c.Frame1), "txtFlagIdx");
    for (QLineEdit* box : {c.txtFrameIdx, c.txtTimeIdx, c.txtFlagIdx})
        box->setAlignment(Qt::AlignRight);
    c.FrameUpDown = named(new platform::UpDown(c.Frame1), "FrameUpDown");
    c.TimeUpDown = named(new platform::UpDown(c.Frame1), "TimeUpDown");
    c.FlagUpDown = named(new platform::UpDown(c.Frame1), "FlagUpDown");
    c.cmdGo = named(new QPushButton(QStringLiteral("Go"), c.Frame1), "cmdGo");

    c.ReadingFrame = group(window, "ReadingFrame", "Readings");
    for (std::size_t i = 0; i < 7; ++i) {
        const QByteArray n = QByteArray::number(static_cast<int>(i) + 1);
        c.lblRdName[i] = label(c.ReadingFrame, ("lblRd" + n + "Name").constData(), QString(), Qt::AlignRight);
        c.lblRdValue[i] = readout(c.ReadingFrame, ("lblRd" + n + "Value").constData());
    }

    c.Frame2 = group(window, "Frame2", "Search Frame");
    c.CheckSearch = named(new QCheckBox(QStringLiteral("Search box"), c.Frame2), "CheckSearch");
    c.cmdSearch = named(new QPushButton(QStringLiteral("Search"), c.Frame2), "cmdSearch");
    c.lbSearchResult = named(new QListView(c.Frame2), "lbSearchResult");
    c.lblSearchSummary = label(c.Frame2, "lblSearchSummary", QString());
    c.lblSearchSummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.lblSearchSummary->setWordWrap(true);
    auto* strip = named(new QFrame(window), "picResultLabel");
    c.picResultLabel = strip;

    c.Frame3 = group(window, "Frame3", "Save As AVI");
    c.AVI_Select = named(new QCheckBox(QStringLiteral("Select range"), c.Frame3), "AVI_Select");
    c.optStart = named(new QRadioButton(c.Frame3), "optStart");
    c.optEnd = named(new QRadioButton(c.Frame3), "optEnd");
    c.Label8 = label(c.Frame3, "Label8", QStringLiteral("Start Point"));
    c.Label9 = label(c.Frame3, "Label9", QStringLiteral("End Point"));
    c.cmdSaveAs = named(new QPushButton(QStringLiteral("Save as AVI"), c.Frame3), "cmdSaveAs");
    c.Timer1 = named(new QTimer(window), "Timer1");
    c.prgAviExport = named(new platform::ProgressBar(c.Frame3), "prgAviExport");
    // The count stands in a line of its own: a text on the bar is cut where the bar's colour changes.
    c.prgAviExport->setTextVisible(false);
    c.prgAviExport->setVisible(false);
    c.lblAviProgress = label(c.Frame3, "lblAviProgress", QString(), Qt::AlignHCenter);
    c.lblAviProgress->setVisible(false);

    for (const DesignGeometry& g : kDesign) {
        QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(g.name));
        if (control) scaler.add(control, QRectF(g.left, g.top, g.width, g.height));
    }
    return c;
}

} // namespace pelix::player
