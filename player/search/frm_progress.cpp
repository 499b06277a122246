#include "player/search/frm_progress.h"

#include "core/search/search_entries.h"
#include "platform/progress_bar.h"
#include "platform/window_services.h"
#include "player/controls/twips.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelix::player {

namespace {
// The bar, the line of figures under it, and the Cancel button.
constexpr double kWidthTwips = 5400;
constexpr double kHeightTwips = 2100;
} // namespace

frmProgress::frmProgress(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_owner(owner),
      m_progressBar(new platform::ProgressBar(this)), m_progressLabel(new QLabel(this)),
      m_cancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Searching..."));
    m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
    // The figures stand in the line below; a percentage on the bar would repeat them.
    m_progressBar->setTextVisible(false);
    m_progressLabel->setObjectName(QStringLiteral("lblProgress"));
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cancelButton, &QPushButton::clicked, this, &frmProgress::requestCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_progressLabel);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_cancelButton);
    layout->addLayout(row);
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips));
}

void frmProgress::begin(int maximum) {
    m_cancelRequested = false;
    m_progressBar->setRange(0, maximum);
    showProgress(0, 0);
    show();
    platform::setTopmost(this, true);
    raise();
    activateWindow();
}

void frmProgress::showProgress(int32_t framesSearched, int64_t matches) {
    m_progressBar->setValue(framesSearched);
    m_progressLabel->setText(
        QString::fromStdString(search::progressText(matches, framesSearched, m_progressBar->maximum())));
}

void frmProgress::end() {
    m_ending = true;
    platform::setTopmost(this, false);
    hide();
    m_ending = false;
}

void frmProgress::requestCancel() {
    if (m_cancelRequested) return;
    m_cancelRequested = true;
    emit cancelled();
}

void frmProgress::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    centreOverOwner();
}

void frmProgress::closeEvent(QCloseEvent* event) {
    // Closing the window stops the search; the search hides it when it ends.
    if (!m_ending) requestCancel();
    event->ignore();
}

void frmProgress::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        requestCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmProgress::centreOverOwner() {
    if (!m_owner) return;
    // In whole twips, halves rounded down.
    const QRect main = m_owner->frameGeometry();
    const QRect own = frameGeometry();
    const auto twips = [](int pixels) { return static_cast<long long>(twipsFromPixels(pixels)); };
    const auto half = [](long long v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
    const long long left = twips(main.left()) + half(twips(main.width()) - twips(own.width()));
    const long long top = twips(main.top()) + half(twips(main.height()) - twips(own.height()));
    move(pixelsFromTwips(static_cast<double>(left)), pixelsFromTwips(static_cast<double>(top)));
}

} // namespace pelix::player
