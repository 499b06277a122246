#include "player/search/frm_progress.h"

#include "platform/progress_bar.h"
#include "platform/window_services.h"
#include "player/ui/twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace pelix::player {

namespace {
constexpr double kWidthTwips = 4800;
constexpr double kHeightTwips = 900;
} // namespace

frmProgress::frmProgress(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_owner(owner),
      m_progressBar(new platform::ProgressBar(this)) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Searching..."));
    m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_progressBar);
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips));
}

void frmProgress::begin(int maximum) {
    m_cancelRequested = false;
    m_progressBar->setRange(0, maximum);
    m_progressBar->setValue(0);
    show();
    platform::setTopmost(this, true);
    raise();
    activateWindow();
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
