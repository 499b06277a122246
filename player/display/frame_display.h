// The frame display pipeline: the one way a frame reaches the screen. It reads
// the frame's description (FrameView) from the open recording and writes it
// into the A-scan control through the control's property table, fills the
// readings panel with the instrument's recorded readings, writes the two entry
// boxes and makes the control redraw. The recording's setup is handed to the
// control once per recording; what a frame changes of it is written again.
#pragma once

#include "core/frame/frame_view.h"
#include "core/recording/decoded_trace.h"
#include "core/recording/frame_header.h"
#include "player/display/ascan_port.h"
#include "player/display/readings_panel.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace pelix::recording {
class OpenRecording;
} // namespace pelix::recording

namespace pelix::player {

// The widgets of the main window that a shown frame writes to.
struct FrameDisplayTargets {
    QObject* ascan = nullptr;       // the OroAscanCtl, driven only by property and method names
    QWidget* ascanWidget = nullptr; // the same control as a widget, for its geometry
    QWidget* window = nullptr;      // the main window, for its geometry
    QLineEdit* txtFrameIdx = nullptr;
    QLineEdit* txtTimeIdx = nullptr;
    std::array<QLabel*, 7> lblRdName{};  // lblRd1Name .. lblRd7Name
    std::array<QLabel*, 7> lblRdValue{}; // lblRd1Value .. lblRd7Value
    // The control's left and top in the window in twips, as the window lays it
    // out; when empty they come from its pixel position (15 twips a pixel).
    std::function<QPointF()> ascanOriginTwips;
};

// Why a drag of a gate does nothing in a recording with this BEA; empty when it can be dragged.
QString gateDragNote(int32_t bea);

class FrameDisplay {
  public:
    explicit FrameDisplay(const FrameDisplayTargets& targets);
    // Drives the control through `port` instead of by name on targets.ascan (tests).
    FrameDisplay(const FrameDisplayTargets& targets, std::unique_ptr<AscanPort> port);
    ~FrameDisplay();
    FrameDisplay(const FrameDisplay&) = delete;
    FrameDisplay& operator=(const FrameDisplay&) = delete;

    // The recording frames are read from; nullptr when none is open.
    void setRecording(recording::OpenRecording* recording);
    recording::OpenRecording* recording() const { return m_recording; }

    // Panel rows 1, 3, 4, the scale texts and the display window (run at open
    // and at every play start; frames of envelope recordings do not refresh them).
    void refreshUnitRows();
    // The control's title: "n/N Frames   t/T Seconds".
    void refreshPositionTitle(int32_t currentFrame);
    // Empties the seven reading names and values (button-face background).
    void clearReadings();

    // Shows frame n. Returns false when a read came up short against the end of
    // the file (the previous trace stays on screen; playback stops on it).
    bool ShowFrame(int32_t n);
    // True when the end of the file cut the last shown frame's (first) record short, so
    // the trace on screen is still the frame before's.
    bool lastFrameTraceMissing() const { return m_view.ownTraceMissing; }

    // The last shown frame as it was described to the control.
    const frame::FrameView& view() const { return m_view; }
    // What the last shown frame left behind, for the gate evaluation and the search.
    const recording::FrameHeaderBytes& frameHeaderBytes() const { return m_view.lastHeaderBytes; }
    const recording::DecodedTrace& trace() const { return m_view.trace; }
    // The header of the frame's first record, decoded: what the panel and the readings show.
    const recording::FrameHeader& panelFrame() const { return m_view.header; }
    // What a gate drag measures: the first record's header as the window keeps
    // it (the dragged thresholds are written into it) and that record's samples,
    // so the re-measured readings describe the echo whose panel is on screen.
    recording::FrameHeaderBytes& measuredFrameHeader() { return m_view.headerBytes; }
    const std::array<int16_t, recording::kAscanPointCount>& measuredRaw() const { return m_view.measuredRaw; }

    AscanPort& port() { return *m_port; }
    ReadingsPanel& readings() { return m_readings; }

  private:
    void writeGates();
    void writePanel();
    void writeScale();
    void writeReadings();
    void refreshEntryBoxes(int32_t currentFrame);
    void handOverSetup();
    void commonTail();
    QString controlText(const frame::ControlText& text);
    void sendPointArray(std::span<const int16_t> points);

    FrameDisplayTargets m_targets;
    std::unique_ptr<AscanPort> m_port;
    ReadingsPanel m_readings;
    recording::OpenRecording* m_recording = nullptr;
    frame::FrameView m_view;
    // The sample hand-over alternates between two lists: the control keeps the
    // list it was given, so the other one is unshared and is refilled in place.
    std::array<QList<qint16>, 2> m_pointArrays;
    std::size_t m_nextPointArray = 0;
    // The recording's setup as the control takes it, in the instrument's order;
    // handed over with the recording's first frame.
    std::vector<std::pair<AscanProperty, QVariant>> m_setup;
    bool m_setupHandedOver = false;
    // The frame's gain travels with the setup; written again when a frame changes it.
    std::optional<int32_t> m_gainHandedOver;
};

} // namespace pelix::player
