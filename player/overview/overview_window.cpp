#include "player/overview/overview_window.h"

#include "core/indications/recorded_amplitudes.h"
#include "core/numbers/number_format.h"
#include "core/overview/overview_columns.h"
#include "core/recording/open_recording.h"
#include "core/report/report_summary.h"
#include "platform/path_bytes.h"
#include "player/overview/bookmarks_panel.h"
#include "player/overview/indications_panel.h"
#include "player/overview/overview_placement.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

#include <cstdlib>

namespace pelix::overview {

namespace {
const char* kNoRecording = "No recording is open.";

// Each gate's threshold in the recording's first frame, where an indication search starts.
void frameOneLevels(const recording::OpenRecording& rec, const recording::FrameRecordLayout& layout,
                    int32_t (&levels)[2]) {
    levels[0] = levels[1] = 0;
    recording::scanFrameHeaders(rec.file(), layout, 1, 1, [&levels](int64_t, const uint8_t* bytes) {
        const recording::FrameHeader header = recording::decodeFrameHeader(bytes);
        levels[0] = indications::defaultLevel(header, Gate::A);
        levels[1] = indications::defaultLevel(header, Gate::B);
        return true;
    });
}
} // namespace

OverviewWindow::OverviewWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmOverview"));
    setWindowTitle(QStringLiteral("Overview"));
    m_strip = new OverviewStrip(this);
    m_strip->setPlaceholder(QString::fromLatin1(kNoRecording));
    m_scanner = new OverviewScanner(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblOverviewStatus"));
    m_status->setTextFormat(Qt::PlainText); // a bookmark's note is shown as typed
    m_report = new QPushButton(QStringLiteral("Report\u2026"), this);
    m_report->setObjectName(QStringLiteral("cmdReport"));
    m_report->setEnabled(false);
    m_runner = new RemeasureRunner(this);
    m_finder = new IndicationsFinder(this);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblOverviewSeries"));
    m_caption->setWordWrap(true);
    m_caption->setTextFormat(Qt::PlainText);
    // Room for two lines, so that a stopped or out-of-date re-measure is never cut off.
    m_caption->setMinimumHeight(2 * m_caption->fontMetrics().lineSpacing() + 4);
    m_apply = new QPushButton(QStringLiteral("Apply to all frames"), this);
    m_apply->setObjectName(QStringLiteral("cmdApplyToAllFrames"));
    m_apply->setToolTip(
        QStringLiteral("Re-measure every frame with the gates where you left them in the main "
                       "window (Ctrl+Shift+A there)"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancelRemeasure"));
    m_recordedValues = new QPushButton(QStringLiteral("Recorded values"), this);
    m_recordedValues->setObjectName(QStringLiteral("cmdRecordedValues"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgRemeasure"));
    m_progress->setMaximumWidth(160);
    m_indications = new IndicationsPanel(this);
    m_bookmarks = new BookmarksPanel(this);
    m_bookmarks->setObjectName(QStringLiteral("bookmarksPanel"));

    auto* legend = new QLabel(
        QStringLiteral("<span style='color:#5fc200'>&#9632;</span> Gate A &nbsp; <span style='color:#0000ff'>"
                       "&#9632;</span> Gate B &nbsp; <span style='color:#ff0000'>|</span> flag &nbsp; "
                       "<span style='color:#ff8c00'>|</span> search match &nbsp; <span style='color:%1'>"
                       "&#9646;</span> indication &nbsp; <span style='color:%2'>&#9660;</span> bookmark")
            .arg(indicationColour().name(), bookmarkColour().name()),
        this);
    auto* series = new QHBoxLayout;
    series->addWidget(m_caption, 1);
    series->addWidget(m_progress);
    series->addWidget(m_apply);
    series->addWidget(m_cancel);
    series->addWidget(m_recordedValues);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legend);
    // What lies under the pointer takes the room left and never widens the window.
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bottom->addWidget(m_status, 1);
    bottom->addSpacing(12);
    bottom->addWidget(m_report);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(series);
    layout->addWidget(m_strip, 3);
    layout->addLayout(bottom);
    // The two lists side by side, the user sharing the width out between them.
    auto* lists = new QSplitter(Qt::Horizontal, this);
    lists->setObjectName(QStringLiteral("overviewLists"));
    lists->setChildrenCollapsible(false);
    lists->setHandleWidth(12);
    lists->addWidget(m_indications);
    lists->addWidget(m_bookmarks);
    lists->setStretchFactor(0, 3);
    lists->setStretchFactor(1, 2);
    layout->addWidget(lists, 2);
    resize(1000, 480);
    updateRemeasureControls();

    connect(m_scanner, &OverviewScanner::finished, this, &OverviewWindow::seriesReady);
    connect(m_runner, &RemeasureRunner::progress, this, &OverviewWindow::remeasureProgress);
    connect(m_runner, &RemeasureRunner::finished, this, &OverviewWindow::remeasureFinished);
    connect(m_finder, &IndicationsFinder::finished, this, &OverviewWindow::indicationsFound);
    connect(m_apply, &QPushButton::clicked, this, &OverviewWindow::applyToAllFrames);
    connect(m_cancel, &QPushButton::clicked, this, &OverviewWindow::cancelRemeasure);
    connect(m_recordedValues, &QPushButton::clicked, this, &OverviewWindow::showRecordedValues);
    connect(m_indications, &IndicationsPanel::rulesChanged, this, &OverviewWindow::findIndications);
    connect(m_indications, &IndicationsPanel::frameRequested, this, &OverviewWindow::frameRequested);
    connect(m_strip, &OverviewStrip::frameRequested, this, &OverviewWindow::frameRequested);
    connect(m_bookmarks, &BookmarksPanel::frameRequested, this, &OverviewWindow::frameRequested);
    connect(m_bookmarks, &BookmarksPanel::editRequested, this, &OverviewWindow::bookmarkEditRequested);
    connect(m_bookmarks, &BookmarksPanel::deleteRequested, this, &OverviewWindow::bookmarkDeleteRequested);
    connect(m_strip, &OverviewStrip::frameHovered, this, &OverviewWindow::showHovered);
    connect(m_report, &QPushButton::clicked, this, &OverviewWindow::makeReport);
}

void OverviewWindow::setRecording(const recording::OpenRecording& rec) {
    m_path = platform::pathFromBytes(rec.path());
    m_framesPerSecond = rec.framesPerSecond();
    m_frameCount = rec.FrameCount();
    showBookmarks();
    m_strip->setSeries(nullptr);
    m_strip->setSearchMatches({});
    m_strip->setPlaceholder(QStringLiteral("Reading the recording\u2026"));
    m_report->setEnabled(true);
    m_status->clear();
    m_layout = recording::frameRecordLayout(rec);
    m_setup = rec.header();
    frameOneLevels(rec, m_layout, m_frameOneLevel);
    m_scanner->cancel();
    forgetSeries();
    m_scanPending = true;
    if (isVisible()) startPendingScan();
}

void OverviewWindow::forgetSeries() {
    m_runner->abandon();
    m_finder->cancel();
    m_recorded.reset();
    m_remeasured.reset();
    m_dragged = {};
    m_applyPending = false;
    m_problem.clear();
    m_strip->setIndications({});
    m_indications->showNothing(m_path.isEmpty() ? QString() : QStringLiteral("Reading the recording\u2026"));
    updateRemeasureControls();
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
    showBookmarks();
    forgetSeries();
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

void OverviewWindow::setBookmarks(SharedBookmarks marks) {
    m_bookmarkList = std::move(marks);
    showBookmarks();
}

void OverviewWindow::showBookmarks() {
    m_bookmarkMarks = BookmarkMarks(m_bookmarkList, m_frameCount);
    m_strip->setBookmarks(m_bookmarkMarks.frames());
    m_bookmarks->setBookmarks(m_bookmarkMarks, m_framesPerSecond);
}

void OverviewWindow::seriesReady(std::shared_ptr<const OverviewSeries> series) {
    if (!series) {
        m_strip->setPlaceholder(QStringLiteral("The recording cannot be read for the overview."));
        return;
    }
    m_recorded = series;
    showSeries();
    if (series->cutShortAt() > 0)
        m_status->setText(QStringLiteral("The file ends inside frame %1.").arg(series->cutShortAt()));
    if (m_applyPending) applyToAllFrames();
}

void OverviewWindow::setDraggedGates(const player::DraggedGates& gates) {
    if (m_path.isEmpty() || !gates.any()) return;
    m_dragged = gates;
    m_problem.clear();
    updateRemeasureControls();
}

void OverviewWindow::applyToAllFrames() {
    if (m_path.isEmpty()) return;
    if (!m_dragged.any()) {
        m_problem = QStringLiteral("Drag gate A or B in the main window first: every frame is then "
                                   "re-measured with the gate where you left it.");
        updateRemeasureControls();
        return;
    }
    m_problem.clear();
    if (!m_recorded) {
        // The overview is still being read: the re-measure starts from it once it is there.
        m_applyPending = true;
        startPendingScan();
        updateRemeasureControls();
        return;
    }
    m_applyPending = false;
    std::string error;
    if (!m_runner->start(m_path, m_dragged, m_recorded, error)) m_problem = QString::fromStdString(error);
    updateRemeasureControls();
}

void OverviewWindow::cancelRemeasure() {
    m_applyPending = false;
    m_runner->cancel();
    updateRemeasureControls();
}

void OverviewWindow::showRecordedValues() {
    m_applyPending = false;
    m_runner->abandon();
    m_remeasured.reset();
    m_problem.clear();
    showSeries();
}

void OverviewWindow::remeasureProgress(int32_t measured, int32_t frameCount) {
    m_progress->setRange(0, std::max(frameCount, 1));
    m_progress->setValue(measured);
    updateRemeasureControls();
}

void OverviewWindow::remeasureFinished(std::shared_ptr<const RemeasuredSeries> result) {
    if (result->end == RemeasuredSeries::End::LibraryMissing) {
        // Nothing was measured: the recorded values stay on the strip.
        m_problem = QString::fromStdString(result->failure);
        updateRemeasureControls();
        return;
    }
    m_remeasured = std::move(result);
    showSeries();
}

void OverviewWindow::showSeries() {
    const std::shared_ptr<const OverviewSeries> shown = m_remeasured ? m_remeasured->series : m_recorded;
    m_strip->setSeries(shown);
    m_strip->setIndications({});
    // A search starts from the gate's threshold: as moved when the strip shows it re-measured.
    int32_t levels[2] = {m_frameOneLevel[0], m_frameOneLevel[1]};
    if (m_remeasured) {
        if (m_remeasured->gates.gateA) levels[0] = std::abs(m_remeasured->gates.gateA->threshold);
        if (m_remeasured->gates.gateB) levels[1] = std::abs(m_remeasured->gates.gateB->threshold);
    }
    m_indications->setDefaultLevels(levels[0], levels[1]);
    updateRemeasureControls();
    findIndications();
}

void OverviewWindow::findIndications() {
    IndicationSearch search;
    search.series = m_remeasured ? m_remeasured->series : m_recorded;
    if (!search.series) return;
    search.remeasured = m_remeasured;
    search.gate = m_indications->gate();
    search.rules = m_indications->rules();
    search.path = m_path;
    search.layout = m_layout;
    search.setup = m_setup;
    m_indications->showSearching();
    m_finder->start(std::move(search));
}

void OverviewWindow::indicationsFound(std::shared_ptr<const std::vector<indications::Indication>> found) {
    std::vector<IndicationMark> marks;
    if (found) {
        marks.reserve(found->size());
        for (const indications::Indication& i : *found)
            marks.push_back({i.dropFirst, i.dropLast, i.peakFrame});
    }
    m_strip->setIndications(std::move(marks));
    m_indications->setIndications(std::move(found), m_framesPerSecond);
}

bool OverviewWindow::remeasureStale() const {
    return m_remeasured && m_dragged.any() && !(m_remeasured->gates == m_dragged);
}

QString OverviewWindow::gatesText(const player::DraggedGates& gates) const {
    const bool inch = m_setup.isInch();
    const auto one = [inch](char name, const frame::DraggedGate& g) {
        return QStringLiteral("gate %1 at %2 %3, threshold %4 %")
            .arg(QChar::fromLatin1(name))
            .arg(QString::fromStdString(numbers::formatFixed(g.start, inch ? 3 : 2)))
            .arg(inch ? QStringLiteral("in") : QStringLiteral("mm"))
            .arg(g.threshold);
    };
    if (gates.gateA && gates.gateB)
        return one('A', *gates.gateA) + QStringLiteral(" and ") + one('B', *gates.gateB);
    return gates.gateA ? one('A', *gates.gateA) : gates.gateB ? one('B', *gates.gateB) : QString();
}

QString OverviewWindow::seriesCaption() const {
    if (m_path.isEmpty()) return {};
    QString text;
    if (m_runner->running()) {
        text = QStringLiteral("Re-measuring every frame with %1: frame %2 of %3\u2026")
                   .arg(gatesText(m_runner->gates()))
                   .arg(m_runner->measuredFrames())
                   .arg(m_runner->frameCount());
    } else if (m_remeasured) {
        const RemeasuredSeries& r = *m_remeasured;
        const int32_t n = r.series->frameCount();
        text = QStringLiteral("Re-measured with %1").arg(gatesText(r.gates));
        switch (r.end) {
        case RemeasuredSeries::End::Done:
            text += QLatin1Char('.');
            break;
        case RemeasuredSeries::End::Cancelled:
            text += QStringLiteral(": cancelled at frame %1 of %2; frames %1 to %2 were not measured.")
                        .arg(r.stoppedAt)
                        .arg(n);
            break;
        case RemeasuredSeries::End::CutShort:
        case RemeasuredSeries::End::LibraryMissing:
            text += QStringLiteral(": the file ends inside frame %1; frames %1 to %2 were not measured.")
                        .arg(r.stoppedAt)
                        .arg(n);
            break;
        }
        if (remeasureStale())
            text += QStringLiteral(" Out of date: moved since to %1.").arg(gatesText(m_dragged));
    } else if (m_applyPending) {
        text = QStringLiteral("Recorded amplitudes. The re-measure with %1 starts once the overview is read.")
                   .arg(gatesText(m_dragged));
    } else {
        text = QStringLiteral("Recorded amplitudes.");
        if (m_dragged.any())
            text += QStringLiteral(" Moved in the main window: %1.").arg(gatesText(m_dragged));
    }
    if (!m_problem.isEmpty()) text += QLatin1Char(' ') + m_problem;
    return text;
}

void OverviewWindow::updateRemeasureControls() {
    const bool open = !m_path.isEmpty();
    const bool running = m_runner->running();
    const bool stopped = m_remeasured && m_remeasured->end != RemeasuredSeries::End::Done;
    m_apply->setEnabled(open && m_dragged.any() && !running && !m_applyPending &&
                        (!m_remeasured || remeasureStale() || stopped));
    m_cancel->setVisible(running);
    m_progress->setVisible(running);
    m_recordedValues->setEnabled(running || m_remeasured != nullptr);
    m_caption->setText(seriesCaption());
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
    QString text = QStringLiteral("Frame %1  %2   A: %3   B: %4")
                       .arg(frame)
                       .arg(QString::fromStdString(report::frameTimeText(frame, m_framesPerSecond)),
                            gate(Gate::A), gate(Gate::B));
    // The bookmark whose triangle is under the pointer: those of the columns it spans.
    const int plotWidth = plotArea(m_strip->rect()).width();
    const int32_t n = s->frameCount();
    if (plotWidth >= 1 && n >= 1 && !m_bookmarkMarks.frames().empty()) {
        constexpr int kReach = 3; // half a triangle's width
        const int column = columnOfFrame(frame, plotWidth, n);
        const int32_t first = framesOfColumn(std::max(column - kReach, 0), plotWidth, n).first;
        const int32_t last = framesOfColumn(std::min(column + kReach, plotWidth - 1), plotWidth, n).last;
        const QString mark = bookmarkHoverText(m_bookmarkMarks, first, last);
        if (!mark.isEmpty()) text += QStringLiteral("   ") + mark;
    }
    m_status->setText(text);
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
