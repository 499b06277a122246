// The named controls of the main window, typed, for the classes that run the
// window's behaviour (open sequence, playback, quick move). The window owns
// the widgets; this is only a set of pointers to them.
#pragma once

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;

namespace pelix::platform {
class CommonDialog;
class ProgressBar;
class TrackBar;
class UpDown;
} // namespace pelix::platform

namespace pelix::player {

class StatusLine;

struct PlayerControls {
    QWidget* window = nullptr;
    QWidget* Ascan = nullptr; // the OroAscanCtl, reached by property and method names

    QPushButton* cmdOpen = nullptr;
    platform::CommonDialog* CommDlg = nullptr;
    QPushButton* cmdPlayStop = nullptr;
    QTimer* tmrPlay = nullptr;
    StatusLine* lblStatus = nullptr; // the status line: what the program last did for the user

    platform::TrackBar* SliderSpeed = nullptr;
    std::array<QLabel*, 5> speedMarks{}; // Label1 .. Label5
    QLabel* LblSpeed = nullptr;

    platform::TrackBar* Slider = nullptr;
    QLabel* lblStart = nullptr;
    QLabel* lblEnd = nullptr;

    QGroupBox* Frame1 = nullptr;
    QRadioButton* OptFrame = nullptr;
    QRadioButton* OptTime = nullptr;
    QRadioButton* OptFlag = nullptr;
    QLineEdit* txtFrameIdx = nullptr;
    QLineEdit* txtTimeIdx = nullptr;
    QLineEdit* txtFlagIdx = nullptr;
    platform::UpDown* FrameUpDown = nullptr;
    platform::UpDown* TimeUpDown = nullptr;
    platform::UpDown* FlagUpDown = nullptr;
    QPushButton* cmdGo = nullptr;

    QGroupBox* ReadingFrame = nullptr;
    std::array<QLabel*, 7> lblRdName{};  // lblRd1Name .. lblRd7Name
    std::array<QLabel*, 7> lblRdValue{}; // lblRd1Value .. lblRd7Value

    QGroupBox* Frame2 = nullptr;
    QCheckBox* CheckSearch = nullptr;
    QPushButton* cmdSearch = nullptr;
    QListView* lbSearchResult = nullptr;
    QLabel* lblSearchSummary = nullptr; // "K matches", or where a cancelled search stopped
    QWidget* picResultLabel = nullptr;

    QGroupBox* Frame3 = nullptr;
    QCheckBox* AVI_Select = nullptr;
    QRadioButton* optStart = nullptr;
    QRadioButton* optEnd = nullptr;
    QPushButton* cmdSaveAs = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QTimer* Timer1 = nullptr;
    platform::ProgressBar* prgAviExport = nullptr; // frames captured of the range, while recording
    QLabel* lblAviProgress = nullptr;              // the same count in figures, under the bar
};

} // namespace pelix::player
