#include "player/bscan/bscan_window.h"

#include "core/recording/open_recording.h"
#include "core/report/report_summary.h"
#include "player/overview/overview_placement.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pelix::bscan {

namespace {
const char* kNoRecording = "No recording is open.";
// Below this the axes and the colour bar leave no room for the cells.
constexpr int kMinimumWidth = 420;
constexpr int kMinimumHeight = 260;
} // namespace

BscanWindow::BscanWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmBscan"));
    setWindowTitle(QStringLiteral("B-scan"));
    m_view = new BscanView(this);
    m_view->setPlaceholder(QString::fromLatin1(kNoRecording));
    m_scanner = new BscanScanner(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblBscanStatus"));
    m_status->setTextFormat(Qt::PlainText); // a bookmark's note is shown as typed
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgBscan"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(160);
    m_progress->hide();
    m_whole = new QPushButton(QStringLiteral("Whole recording"), this);
    m_whole->setObjectName(QStringLiteral("cmdBscanWhole"));
    m_whole->setToolTip(QStringLiteral("Back to every frame of the recording (or double-click the B-scan)"));
    m_whole->setEnabled(false);
    m_resizeTimer = new QTimer(this);
    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(kResizeSettleMs);
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(kProgressMs);

    m_hint = new QLabel(QStringLiteral("Click: show the frame   Drag: zoom to the frames"), this);
    m_hint->setObjectName(QStringLiteral("lblBscanHint"));
    m_hint->setEnabled(false);
    m_hint->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred); // shown whole, never cut
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_hint);
    // What lies under the pointer takes the room left and never widens the window.
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_progress);
    bottom->addSpacing(12);
    bottom->addWidget(m_whole);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(900, 460);

    connect(m_scanner, &BscanScanner::finished, this, &BscanWindow::scanFinished);
    connect(m_resizeTimer, &QTimer::timeout, this, &BscanWindow::sizeSettled);
    connect(m_progressTimer, &QTimer::timeout, this, &BscanWindow::showProgress);
    connect(m_view, &BscanView::frameRequested, this, &BscanWindow::frameRequested);
    connect(m_view, &BscanView::rangeRequested, this, &BscanWindow::showFrames);
    connect(m_view, &BscanView::wholeRequested, this, &BscanWindow::showWholeRecording);
    connect(m_view, &BscanView::hovered, this, &BscanWindow::showHovered);
    connect(m_whole, &QPushButton::clicked, this, &BscanWindow::showWholeRecording);
}

void BscanWindow::setRecording(const recording::OpenRecording& rec) {
    m_scanner->cancel();
    // A handle of its own: the window reads the recording under review even
    // after the main window has moved on or closed it.
    m_source.file = std::make_shared<const recording::RecordingFile>(rec.file().duplicate());
    m_source.source = bscanSource(rec);
    m_source.setup = rec.header();
    m_axis = sampleAxisOf(rec.header(), rec.derived());
    m_framesPerSecond = rec.framesPerSecond();
    m_frameCount = rec.FrameCount();
    m_range = {1, m_frameCount};
    showBookmarks();
    m_whole->setEnabled(false);
    m_view->clearPicture();
    m_scanStatus.clear();
    m_status->clear();
    if (m_frameCount < 1 || !m_source.file->isOpen()) {
        m_scanPending = false;
        m_view->setPlaceholder(m_frameCount < 1
                                   ? QStringLiteral("The recording holds no frame.")
                                   : QStringLiteral("The recording cannot be read for the B-scan."));
        return;
    }
    m_view->setPlaceholder(QStringLiteral("Reading the recording\u2026"));
    m_scanPending = true;
    if (isVisible()) startPendingScan();
}

void BscanWindow::clear() {
    m_scanner->cancel();
    m_progressTimer->stop();
    showProgressBar(false);
    m_scanPending = false;
    m_source = {};
    m_frameCount = 0;
    m_range = {};
    showBookmarks();
    m_scanCells = {};
    m_whole->setEnabled(false);
    m_view->clearPicture();
    m_view->setPlaceholder(QString::fromLatin1(kNoRecording));
    m_scanStatus.clear();
    m_status->clear();
}

void BscanWindow::setCurrentFrame(int32_t frame) {
    m_view->setCurrentFrame(frame);
}

void BscanWindow::setBookmarks(overview::SharedBookmarks marks) {
    m_bookmarkList = std::move(marks);
    showBookmarks();
}

void BscanWindow::showBookmarks() {
    m_bookmarks = overview::BookmarkMarks(m_bookmarkList, m_frameCount);
    m_view->setBookmarks(m_bookmarks.frames());
}

void BscanWindow::showFrames(int32_t first, int32_t last) {
    if (m_frameCount < 1 || !m_source.file) return;
    first = std::clamp(first, 1, m_frameCount);
    last = std::clamp(last, first, m_frameCount);
    m_range = {first, last};
    m_whole->setEnabled(first != 1 || last != m_frameCount);
    m_scanPending = true;
    if (isVisible()) startPendingScan();
}

void BscanWindow::showWholeRecording() {
    showFrames(1, m_frameCount);
}

void BscanWindow::showProgressBar(bool shown) {
    // The progress of a scan takes the hint's place, so the row below the picture fits the
    // narrowest window either way.
    m_progress->setVisible(shown);
    m_hint->setVisible(!shown);
}

void BscanWindow::showEvent(QShowEvent* event) {
    // Never so narrow that the hint or the button below the picture are cut: how wide they are, the
    // fonts and scale of the screen shown on decide.
    setMinimumWidth(std::max(kMinimumWidth, layout()->minimumSize().width()));
    QWidget::showEvent(event);
    startPendingScan();
    // A size given while hidden reaches the cells only once the window is laid out on screen.
    if (m_source.file) m_resizeTimer->start();
}

void BscanWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Closed, the window reads nothing; shown again, it reads what it lacks.
    if (m_scanner->running()) {
        m_scanner->cancel();
        m_progressTimer->stop();
        showProgressBar(false);
        m_scanPending = true;
    }
    m_resizeTimer->stop();
}

void BscanWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_source.file) m_resizeTimer->start();
}

void BscanWindow::sizeSettled() {
    if (!m_source.file || m_frameCount < 1) return;
    if (m_view->wantedCells() == m_scanCells) return;
    m_scanPending = true;
    if (isVisible()) startPendingScan();
}

void BscanWindow::startPendingScan() {
    if (!m_scanPending) return;
    m_scanPending = false;
    startScan();
}

void BscanWindow::startScan() {
    if (!m_source.file || m_range.first < 1) return;
    m_scanCells = m_view->wantedCells();
    BscanRequest request;
    request.from = m_range.first;
    request.to = m_range.last;
    request.width = m_scanCells.width();
    request.height = m_scanCells.height();
    m_scanner->start(m_source, request);
    m_progress->setValue(0);
    showProgressBar(true);
    m_status->setText(QStringLiteral("Reading frames %1..%2\u2026").arg(m_range.first).arg(m_range.last));
    m_progressTimer->start();
}

void BscanWindow::showProgress() {
    const int64_t asked = m_scanner->framesAskedFor();
    if (!m_scanner->running() || asked < 1) return;
    m_progress->setValue(static_cast<int>(std::min<int64_t>(m_scanner->framesDone(), asked) * 1000 / asked));
}

void BscanWindow::scanFinished(std::shared_ptr<const BscanScan> scan) {
    m_progressTimer->stop();
    showProgressBar(false);
    if (!scan || !scan->grid) {
        m_view->clearPicture();
        m_view->setPlaceholder(QStringLiteral("The B-scan of frames %1..%2 does not fit in memory.")
                                   .arg(m_range.first)
                                   .arg(m_range.last));
        m_scanStatus.clear();
        showScanStatus();
        return;
    }
    m_view->setPicture(makeBscanPicture(scan->grid, scan->gates, m_axis, m_framesPerSecond, m_frameCount));
    switch (scan->end) {
    case BscanEnd::CutShort:
        m_scanStatus = QStringLiteral("The file ends inside frame %1.").arg(scan->cutShortAt);
        break;
    case BscanEnd::UnknownRectification:
        m_scanStatus = QStringLiteral("The recording's rectification is none the instrument draws.");
        break;
    default:
        m_scanStatus.clear();
    }
    showScanStatus();
}

void BscanWindow::showScanStatus() {
    m_status->setText(m_scanStatus);
}

void BscanWindow::showHovered(int32_t frame, int32_t row, int32_t column) {
    const BscanPicture& p = m_view->picture();
    if (frame < 1 || !p.grid || m_scanner->running()) {
        if (!m_scanner->running()) showScanStatus();
        return;
    }
    const BscanGrid& grid = *p.grid;
    // The middle of the row's samples, in the axis' own units.
    const double at = p.axis.labelStart + (row + 0.5) / grid.height() * p.axis.labelSpan;
    const QString value = grid.hasValue(column) ? QStringLiteral("%1 %").arg(grid.cell(row, column))
                                                : QStringLiteral("no cells");
    QString text = QStringLiteral("Frame %1  %2   %3 %4   %5")
                       .arg(frame)
                       .arg(QString::fromStdString(report::frameTimeText(frame, m_framesPerSecond)))
                       .arg(at, 0, 'f', p.axis.labelSpan < 10.0 ? 3 : 2)
                       .arg(QString::fromUtf8(p.axis.unit), value);
    // The bookmark whose triangle stands over the pointer's column (or within half its width).
    const BscanColumns c = m_view->columns();
    if (c.valid() && !m_bookmarks.frames().empty()) {
        constexpr double kReach = 4.0;
        const double x = (c.xOf(column) + c.xOf(column + 1)) / 2.0;
        const FrameSpan span = c.framesBetween(x - kReach, x + kReach);
        const QString mark = overview::bookmarkHoverText(m_bookmarks, span.first, span.last);
        if (!mark.isEmpty()) text += QStringLiteral("   ") + mark;
    }
    m_status->setText(text);
}

void BscanWindow::placeBeside(const QWidget& anchor) {
    const QRect main = anchor.frameGeometry();
    const QScreen* screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : main;
    // The title bar and borders this window will get: its own once it has been
    // shown, else the main window's (the same window manager draws both).
    const QWidget& framed = isVisible() ? static_cast<const QWidget&>(*this) : anchor;
    const QSize frameExtra = framed.frameGeometry().size() - framed.geometry().size();
    const QRect outer =
        overview::overviewPlacement(main, room, size() + frameExtra, minimumSize() + frameExtra);
    resize(outer.size() - frameExtra);
    move(outer.topLeft());
}

} // namespace pelix::bscan
