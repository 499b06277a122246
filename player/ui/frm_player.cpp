#include "player/ui/frm_player.h"

#include "platform/component_registry.h"
#include "platform/control_binding.h"
#include "platform/path_bytes.h"
#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/controls/twips.h"
#include "player/display/frame_display.h"
#include "player/evaluation/gate_change_handler.h"
#include "player/export/avi_export.h"
#include "player/export/hdf5_export.h"
#include "player/overview/overview_window.h"
#include "player/playback/avi_range_marker.h"
#include "player/playback/control_guard.h"
#include "player/playback/playback_controller.h"
#include "player/playback/quick_move.h"
#include "player/review/review_session.h"
#include "player/search/search_controller.h"
#include "player/search/search_results.h"
#include "player/ui/key_help_overlay.h"
#include "player/ui/player_layout.h"
#include "player/ui/status_line.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace pelix::player;

namespace {

constexpr const char* kAscanProgId = "AscanView.OroAscanCtl";
// The control's enumeration values.
constexpr int kAscanOn = 1;   // AscanSwitch
constexpr int kRangeOn = 1;   // RangeSwitch
constexpr int kHollow = 0;    // FillType
constexpr int kRectified = 0; // RectType

QWidget* createAscan(QWidget* parent, QString& error) {
    auto& registry = pelix::platform::ComponentRegistry::instance();
    if (QWidget* control = registry.create(QString::fromLatin1(kAscanProgId), parent)) return control;
    error = registry.lastError();
    // An empty framed area in its place keeps the window whole behind the message.
    auto* placeholder = new QFrame(parent);
    placeholder->setFrameShape(QFrame::Box);
    return placeholder;
}

// "Video of frames 10 to 210 written to /data/SCAN01.avi"
QString videoWrittenText(const QString& path, int first, int last) {
    return QStringLiteral("Video of frames %1 to %2 written to %3").arg(first).arg(last).arg(path);
}

QString localFileOf(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

frmPlayer::frmPlayer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmPlayer"));
    setAcceptDrops(true);
    setMinimumSize(pixelsFromTwips(FormScaler::kMinWidthTwips), pixelsFromTwips(FormScaler::kMinHeightTwips));
    resize(pixelsFromTwips(kDesignWidthTwips), pixelsFromTwips(kDesignHeightTwips));

    QWidget* ascan = createAscan(this, m_ascanError);
    m_c = buildPlayerControls(this, ascan, m_scaler);

    FrameDisplayTargets targets;
    targets.ascan = m_c.Ascan;
    targets.ascanWidget = m_c.Ascan;
    targets.window = this;
    targets.txtFrameIdx = m_c.txtFrameIdx;
    targets.txtTimeIdx = m_c.txtTimeIdx;
    targets.lblRdName = m_c.lblRdName;
    targets.lblRdValue = m_c.lblRdValue;
    // The layout's own twips, exact where pixel positions are rounded.
    targets.ascanOriginTwips = [this] { return m_scaler.twipsOf(m_c.Ascan).topLeft(); };
    m_display = std::make_unique<FrameDisplay>(targets);
    m_gateChange = std::make_unique<GateChangeHandler>(*m_display);
    // The control is reached by name: its one event is bound the same way.
    if (m_ascanError.isEmpty()) connect(m_c.Ascan, SIGNAL(MouseUp()), this, SLOT(Ascan_MouseUp()));

    m_playback = new PlaybackController(m_c, m_session, *m_display, this);
    m_quickMove = new QuickMove(m_c, m_session, *m_playback, this);
    m_aviRange = new AviRangeMarker(m_c, m_session, this);
    QWidget* strip = m_c.picResultLabel;
    m_search = new SearchController(
        m_c, m_session, *m_display, *m_playback, [this, strip] { return m_scaler.twipsOf(strip).size(); },
        [this] { return static_cast<double>(m_scaler.scaleFactor()); }, this);

    m_appTitle = QStringLiteral("Pelix Player ( Ver%1.%2.%3 )")
                     .arg(PELIX_VERSION_MAJOR)
                     .arg(PELIX_VERSION_MINOR)
                     .arg(PELIX_VERSION_PATCH);
    m_open = std::make_unique<OpenSequence>(m_c, m_session, *m_display, *m_playback, m_appTitle);
    m_aviExport = new AviExport(m_c, m_session, *m_playback, m_appTitle, this);
    connect(m_aviExport, &AviExport::videoWritten, this, [this](const QString& path, int first, int last) {
        m_c.lblStatus->showMessage(videoWrittenText(path, first, last));
    });
    m_hdf5Export = new Hdf5Export(m_c, m_session, m_appTitle, this);
    connect(m_aviExport, &AviExport::hdf5Chosen, m_hdf5Export, &Hdf5Export::start);
    connect(m_hdf5Export, &Hdf5Export::written, this, [this](const QString& path, int first, int last) {
        m_c.lblStatus->showMessage(
            QStringLiteral("HDF5 file of frames %1 to %2 written to %3").arg(first).arg(last).arg(path));
    });
    connect(m_c.cmdOpen, &QPushButton::clicked, this, [this] {
        const auto before =
            m_review->isOpen() && m_session.isOpen() ? std::optional(lastSession()) : std::nullopt;
        handleOpenResult(m_open->cmdOpen_Click(), before);
    });
    connectOverview();
    connectBscan();
    connectReview();
    connectMarks();
    addShortcuts();

    Form_Load();
}

frmPlayer::~frmPlayer() {
    // The display holds a pointer into the session's recording.
    m_display->setRecording(nullptr);
}

void frmPlayer::Form_Load() {
    setWindowTitle(m_appTitle);

    if (const QScreen* s = screen()) {
        const QRect area = s->geometry();
        const QSize outer = frameGeometry().size();
        // Whole twips, as the window's position is kept.
        const double left =
            std::nearbyint((twipsFromPixels(area.width()) - twipsFromPixels(outer.width())) / 2);
        const double top =
            std::nearbyint((twipsFromPixels(area.height()) - twipsFromPixels(outer.height())) / 2);
        move(area.left() + pixelsFromTwips(left), area.top() + pixelsFromTwips(top));
    }

    m_scaler.start(static_cast<float>(twipsFromPixels(width())),
                   static_cast<float>(twipsFromPixels(height())));

    m_c.cmdPlayStop->setText(QStringLiteral("Play"));
    m_search->clearResults();
    OpenSequence::disableRecordingControls(m_c);

    guardedControlStep([&] {
        AscanPort& port = m_display->port();
        port.setBool("DrawCaratOne", false);
        port.setBool("DrawCaratTwo", false);
        pelix::platform::callControl(m_c.Ascan, "Initialize_Parameters");
        pelix::platform::callControl(m_c.Ascan, "AscanMode", {kAscanOn});
        pelix::platform::callControl(m_c.Ascan, "RangeMode", {kRangeOn});
        port.set("iAscanDrawMode", kHollow);
        port.set("iAscanRectMode", kRectified);
        port.setBool("SearchSwitch", false);
    });
    m_playback->applyGateDrag();
}

void frmPlayer::Form_Resize() {
    m_c.picResultLabel->update();

    const QSizeF size = FormScaler::withMinimum(QSizeF(twipsFromPixels(width()), twipsFromPixels(height())));
    if (size.width() > twipsFromPixels(width()) || size.height() > twipsFromPixels(height())) {
        resize(pixelsFromTwips(size.width()), pixelsFromTwips(size.height()));
        return; // the resize comes back here at the larger size
    }
    m_scaler.scaleTo(static_cast<float>(size.width()), static_cast<float>(size.height()));

    // Where the control sits on the screen, for confining the mouse while a gate is dragged.
    const QRectF ascan = m_scaler.twipsOf(m_c.Ascan);
    guardedControlStep([&] {
        m_display->port().set("temp_left", QVariant::fromValue<qint32>(static_cast<qint32>(
                                               std::nearbyint(ascan.left() + twipsFromPixels(x())))));
        m_display->port().set("temp_top", QVariant::fromValue<qint32>(static_cast<qint32>(
                                              std::nearbyint(ascan.top() + twipsFromPixels(y())))));
    });
}

void frmPlayer::Form_Unload() {
    // Where the window was left is read before anything below changes it.
    m_closing = true;
    if (m_review->isOpen()) m_review->close(m_session.isOpen() ? std::optional(lastSession()) : std::nullopt);
    m_closing = false;
    m_search->cancel();
    m_overview->clear();
    m_bscan->clear();
    m_playback->raise(pelix::playback::PlaybackEvent::RecordingClosed);
    m_c.Timer1->stop();
    m_open->closeRecording();
}

void frmPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmPlayer::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmPlayer::dragEnterEvent(QDragEnterEvent* event) {
    // A drop opens like the Open button, and only when that could be pressed
    // (not while a search or a video recording runs).
    if (m_c.cmdOpen->isEnabled() && !localFileOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frmPlayer::dropEvent(QDropEvent* event) {
    const QString path = localFileOf(event->mimeData());
    if (path.isEmpty() || !m_c.cmdOpen->isEnabled() || m_search->searching()) return;
    event->acceptProposedAction();
    openRecording(path);
}

OpenResult frmPlayer::openRecording(const QString& path) {
    const auto before =
        m_review->isOpen() && m_session.isOpen() ? std::optional(lastSession()) : std::nullopt;
    const OpenResult result = m_open->openFile(path);
    // A window drawn for a file (the command-line tool, the report) has no
    // user to keep waiting, and its picture must show the flags as known.
    if (result == OpenResult::Opened && testAttribute(Qt::WA_DontShowOnScreen)) m_open->waitForFlags();
    handleOpenResult(result, before);
    return result;
}

void frmPlayer::showOffScreen() {
    setAttribute(Qt::WA_DontShowOnScreen);
    show();
    QApplication::processEvents();
}

void frmPlayer::jumpToFrame(int32_t frame) {
    if (frame != m_session.CurrentFrame) m_c.Slider->setValue(frame);
    // The slider's change handling did not show it (it stood there already, or is not
    // enabled): the frame is shown directly.
    if (m_session.CurrentFrame != frame) {
        m_session.CurrentFrame = frame;
        m_playback->showFrame(frame);
    }
}

void frmPlayer::handleOpenResult(OpenResult result, const std::optional<pelix::review::LastSession>& before) {
    // A refused file left the recording under review, and its overview, as they were.
    if (result != OpenResult::Opened || !m_session.recording) return;
    ++m_opened;
    m_overview->setRecording(*m_session.recording);
    m_overview->setCurrentFrame(m_session.CurrentFrame);
    m_bscan->setRecording(*m_session.recording);
    m_bscan->setCurrentFrame(m_session.CurrentFrame);
    reviewRecordingOpened(before);
}

void frmPlayer::connectOverview() {
    m_overview = new pelix::overview::OverviewWindow(this);
    // The cursor follows every move of the position slider, playback included.
    connect(m_c.Slider, &QSlider::valueChanged, m_overview,
            &pelix::overview::OverviewWindow::setCurrentFrame);
    // The matches of the last search are marked on the strip as the list shows them, and go with it.
    const auto showMatches = [this] { m_overview->setSearchMatches(m_search->results().matches()); };
    connect(&m_search->results(), &QAbstractItemModel::modelReset, m_overview, showMatches);
    connect(&m_search->results(), &QAbstractItemModel::rowsInserted, m_overview, showMatches);
    // A click shows the frame the way dragging the slider does: playback stops, then the slider moves.
    connect(m_overview, &pelix::overview::OverviewWindow::frameRequested, this,
            &frmPlayer::showRequestedFrame);
    // The overview window answers "Apply to all frames" itself too (the main window's key is in its list).
    connect(new QShortcut(applyToAllFramesShortcut(), m_overview), &QShortcut::activated, this,
            [this] { applyToAllFrames(); });
}

void frmPlayer::applyToAllFrames() {
    // The overview shows the re-measure and its progress.
    if (!m_overview->isVisible()) toggleOverview();
    m_overview->applyToAllFrames();
}

void frmPlayer::toggleOverview() {
    if (m_overview->isVisible()) {
        m_overview->hide();
        return;
    }
    m_overview->placeBeside(*this);
    m_overview->show();
    m_overview->raise();
}

void frmPlayer::addShortcuts() {
    m_keyHelp = new KeyHelpOverlay(this);
    const auto sliderAction = [this](QAbstractSlider::SliderAction action) {
        return [this, action] {
            if (m_c.Slider->isEnabled()) m_c.Slider->triggerAction(action);
        };
    };
    const auto actionOf = [&](WindowKey id) -> std::function<void()> {
        switch (id) {
        case WindowKey::PlayStop:
            return [this] {
                if (m_c.cmdPlayStop->isEnabled()) m_c.cmdPlayStop->click();
            };
        case WindowKey::PreviousFrame:
            return sliderAction(QAbstractSlider::SliderSingleStepSub);
        case WindowKey::NextFrame:
            return sliderAction(QAbstractSlider::SliderSingleStepAdd);
        case WindowKey::PageBack:
            return sliderAction(QAbstractSlider::SliderPageStepSub);
        case WindowKey::PageForward:
            return sliderAction(QAbstractSlider::SliderPageStepAdd);
        case WindowKey::FirstFrame:
            return sliderAction(QAbstractSlider::SliderToMinimum);
        case WindowKey::LastFrame:
            return sliderAction(QAbstractSlider::SliderToMaximum);
        case WindowKey::QuickMoveGo:
            return {}; // the entry boxes answer Enter themselves
        case WindowKey::Overview:
            return [this] { toggleOverview(); };
        case WindowKey::Bscan:
            return [this] { toggleBscan(); };
        case WindowKey::ApplyToAllFrames:
            return [this] { applyToAllFrames(); };
        case WindowKey::Report:
            return [this] { requestReport(); };
        case WindowKey::CopyPicture:
            return [this] { copyFramePicture(); };
        case WindowKey::AddBookmark:
            return [this] { addBookmarkHere(); };
        case WindowKey::InspectionDetails:
            return [this] { editInspection(); };
        case WindowKey::Gates:
            return [this] { showGatesDialog(); };
        case WindowKey::SearchBox:
            return [this] { showSearchBoxDialog(); };
        case WindowKey::VideoRange:
            return [this] { showVideoRangeDialog(); };
        case WindowKey::KeyHelp:
            return [this] { m_keyHelp->toggle(); };
        case WindowKey::NextFlag:
        case WindowKey::PreviousFlag:
        case WindowKey::NextBookmark:
        case WindowKey::PreviousBookmark:
        case WindowKey::NextSearchMatch:
        case WindowKey::PreviousSearchMatch:
        case WindowKey::NextIndication:
        case WindowKey::PreviousIndication:
            return markStepAction(id);
        }
        return {};
    };
    for (const WindowKeyEntry& k : windowKeys()) {
        std::function<void()> action = actionOf(k.id);
        if (!action) continue;
        auto* s = new QShortcut(k.key, this);
        s->setAutoRepeat(k.repeats);
        connect(s, &QShortcut::activated, this, std::move(action));
    }
    // The overview opens and closes from either window.
    connect(new QShortcut(overviewShortcut(), m_overview), &QShortcut::activated, this,
            [this] { toggleOverview(); });
}

void frmPlayer::requestReport() {
    if (!m_session.isOpen()) return;
    const pelix::recording::FlagIndex& index = m_session.recording->flags();
    std::vector<int32_t> flagged;
    for (int32_t k = 1; k <= index.found(); ++k)
        flagged.push_back(index.at(k));
    std::sort(flagged.begin(), flagged.end());
    flagged.erase(std::unique(flagged.begin(), flagged.end()), flagged.end());
    emit reportRequested(pelix::platform::pathFromBytes(m_session.recording->path()), flagged,
                         m_session.CurrentFrame, m_session.FrameCount());
}

QImage frmPlayer::framePicture() {
    const bool helpShown = m_keyHelp->isVisible();
    const QString status = m_c.lblStatus->text();
    // What the program last said is no part of the frame's picture, nor is the help.
    if (helpShown) m_keyHelp->hide();
    if (!status.isEmpty()) m_c.lblStatus->showMessage(QString());
    QImage picture = grab().toImage();
    if (!status.isEmpty()) m_c.lblStatus->showMessage(status);
    if (helpShown) m_keyHelp->toggle();
    return picture;
}

void frmPlayer::copyFramePicture() {
    if (!m_session.isOpen()) return;
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(framePicture());
}

void frmPlayer::contextMenuEvent(QContextMenuEvent* event) {
    // The A-scan's own mouse handling (gates, the search box) is left alone.
    if (QWidget* under = childAt(event->pos());
        under && (under == m_c.Ascan || m_c.Ascan->isAncestorOf(under)))
        return;
    QMenu menu(this);
    const auto add = [&](const QString& text, WindowKey id, auto action) {
        // The key is named beside the entry; the window's own shortcut stays the one that answers it.
        QAction* a = menu.addAction(text + QLatin1Char('\t') + keyOf(id).toString(QKeySequence::NativeText),
                                    this, action);
        a->setEnabled(m_session.isOpen() || id == WindowKey::KeyHelp);
        return a;
    };
    // The tool windows open without a recording too, as their keys do.
    QAction* overview = add(QStringLiteral("Overview"), WindowKey::Overview, [this] { toggleOverview(); });
    overview->setEnabled(true);
    overview->setCheckable(true);
    overview->setChecked(m_overview->isVisible());
    QAction* bscan = add(QStringLiteral("B-scan"), WindowKey::Bscan, [this] { toggleBscan(); });
    bscan->setEnabled(true);
    bscan->setCheckable(true);
    bscan->setChecked(m_bscan->isVisible());
    menu.addSeparator();
    add(QStringLiteral("Report\u2026"), WindowKey::Report, [this] { requestReport(); });
    add(QStringLiteral("Copy frame picture"), WindowKey::CopyPicture, [this] { copyFramePicture(); });
    menu.addSeparator();
    add(QStringLiteral("Add bookmark\u2026"), WindowKey::AddBookmark, [this] {
        addBookmarkHere();
    })->setEnabled(m_session.isOpen() && m_keepsReviews);
    add(QStringLiteral("Inspection details\u2026"), WindowKey::InspectionDetails, [this] {
        editInspection();
    })->setEnabled(m_session.isOpen() && m_keepsReviews);
    QAction* restore = menu.addAction(QStringLiteral("Restore last session"), this,
                                      [](bool on) { setRestoresLastSession(on); });
    restore->setCheckable(true);
    restore->setChecked(restoresLastSession());
    // Typed values for what the mouse reaches on the A-scan and the slider.
    add(QStringLiteral("Gates\u2026"), WindowKey::Gates, [this] { showGatesDialog(); });
    add(QStringLiteral("Search box\u2026"), WindowKey::SearchBox, [this] { showSearchBoxDialog(); });
    add(QStringLiteral("Video range\u2026"), WindowKey::VideoRange, [this] { showVideoRangeDialog(); });
    menu.addSeparator();
    add(QStringLiteral("Keys"), WindowKey::KeyHelp, [this] { m_keyHelp->toggle(); });
    menu.exec(event->globalPos());
}

pelix::evaluation::PointRange frmPlayer::GetPointRange(int32_t start_um, int32_t width_um) const {
    return m_gateChange->evaluation().GetPointRange(start_um, width_um);
}
const pelix::evaluation::GateDataArray& frmPlayer::GateDataArray() const {
    return m_gateChange->evaluation().gateData();
}

void frmPlayer::Ascan_MouseUp() {
    guardedControlStep([&] { m_gateChange->Ascan_MouseUp(); });
    m_draggedIn = m_opened;
    // The gates as left are what "Apply to all frames" takes to every frame.
    m_overview->setDraggedGates(m_gateChange->lastDrag());
}
