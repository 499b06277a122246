#include "player/overview/overview_window.h"

#include "core/recording/open_recording.h"
#include "core/report/report_summary.h"
#include "platform/path_bytes.h"
#include "player/overview/overview_placement.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pelix::overview {

namespace {
const char* kNoRecording = "No recording is open.";
} // namespace

OverviewWindow::OverviewWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmOverview"));
    setWindowTitle(QStringLiteral("Overview"));
    m_strip = new OverviewStrip(this);
    m_strip->setPlaceholder(QString::fromLatin1(kNoRecording));
    m_scanner = new OverviewScanner(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblOverviewStatus"));
    m_report = new QPushButton(QStringLiteral("Report\u2026"), this);
    m_report->setObjectName(QStringLiteral("cmdReport"));
    m_report->setEnabled(false);

    auto* legend = new QLabel(
        QStringLiteral("<span style='color:#5fc200'>&#9632;</span> Gate A &nbsp; <span style='color:#0000ff'>"
                       "&#9632;</span> Gate B &nbsp; <span style='color:#ff0000'>|</span> flag &nbsp; "
                       "<span style='color:#ff8c00'>|</span> search match"),
        this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legend);
    bottom->addStretch(1);
    bottom->addWidget(m_status);
    bottom->addSpacing(12);
    bottom->addWidget(m_report);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_strip, 1);
    layout->addLayout(bottom);
    resize(900, 180);

    connect(m_scanner, &OverviewScanner::finished, this, &OverviewWindow::seriesReady);
    connect(m_strip, &OverviewStrip::frameRequested, this, &OverviewWindow::frameRequested);
    connect(m_strip, &OverviewStrip::frameHovered, this, &OverviewWindow::showHovered);
    connect(m_report, &QPushButton::clicked, this, &OverviewWindow::makeReport);
}

void OverviewWindow::setRecording(const recording::OpenRecording& rec) {
    m_path = platform::pathFromBytes(rec.path());
    m_framesPerSecond = rec.framesPerSecond();
    m_frameCount = rec.FrameCount();
    m_strip->setSeries(nullptr);
    m_strip->setSearchMatches({});
    m_strip->setPlaceholder(QStringLiteral("Reading the recording\u2026"));
    m_report->setEnabled(true);
    m_status->clear();
    m_layout = recording::frameRecordLayout(rec);
    m_scanner->cancel();
    m_scanPending = true;
    if (isVisible()) startPendingScan();
}

void OverviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    startPendingScan();
}

void OverviewWindow::startPendingScan() {
    if (!m_scanPending) return;
    m_scanPending = false;
    m_scanner->start(m_path, m_layout);
}

void OverviewWindow::clear() {
    m_scanner->cancel();
    m_scanPending = false;
    m_path.clear();
    m_frameCount = 0;
    m_strip->setSeries(nullptr);
    m_strip->setSearchMatches({});
    m_strip->setPlaceholder(QString::fromLatin1(kNoRecording));
    m_report->setEnabled(false);
    m_status->clear();
}

void OverviewWindow::setCurrentFrame(int32_t frame) {
    m_strip->setCurrentFrame(frame);
}

void OverviewWindow::setSearchMatches(std::vector<int32_t> frames) {
    m_strip->setSearchMatches(std::move(frames));
}

void OverviewWindow::seriesReady(std::shared_ptr<const OverviewSeries> series) {
    if (!series) {
        m_strip->setPlaceholder(QStringLiteral("The recording cannot be read for the overview."));
        return;
    }
    m_strip->setSeries(series);
    if (series->cutShortAt() > 0)
        m_status->setText(QStringLiteral("The file ends inside frame %1.").arg(series->cutShortAt()));
}

void OverviewWindow::showHovered(int32_t frame) {
    const OverviewSeries* s = m_strip->series();
    if (!s || frame < 1) {
        m_status->clear();
        return;
    }
    const auto gate = [s, frame](Gate g) {
        const auto a = s->amplitude(g, frame);
        return a ? QStringLiteral("%1 %").arg(*a) : QStringLiteral("off");
    };
    m_status->setText(QStringLiteral("Frame %1  %2   A: %3   B: %4")
                          .arg(frame)
                          .arg(QString::fromStdString(report::frameTimeText(frame, m_framesPerSecond)),
                               gate(Gate::A), gate(Gate::B)));
}

void OverviewWindow::placeBeside(const QWidget& anchor) {
    const QRect main = anchor.frameGeometry();
    const QScreen* screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : main;
    // The title bar and borders this window will get: its own once it has been
    // shown, else the main window's (the same window manager draws both).
    const QWidget& framed = isVisible() ? static_cast<const QWidget&>(*this) : anchor;
    const QSize frameExtra = framed.frameGeometry().size() - framed.geometry().size();
    const QSize clientMinimum = minimumSizeHint().expandedTo(QSize(kMinimumWidth, kMinimumHeight));
    const QRect outer = overviewPlacement(main, room, size() + frameExtra,
                                          clientMinimum.expandedTo(minimumSize()) + frameExtra);
    // move() places the outer frame, resize() the inside.
    resize(outer.size() - frameExtra);
    move(outer.topLeft());
}

void OverviewWindow::makeReport() {
    if (m_path.isEmpty()) return;
    const OverviewSeries* s = m_strip->series();
    emit reportRequested(m_path, s ? s->flags() : std::vector<int32_t>{}, m_strip->marks().currentFrame,
                         m_frameCount);
}

} // namespace pelix::overview
