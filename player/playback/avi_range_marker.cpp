#include "player/playback/avi_range_marker.h"

#include "platform/track_bar.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace pelix::player {

AviRangeMarker::AviRangeMarker(const PlayerControls& controls, PlayerSession& session, QObject* parent)
    : QObject(parent), m_c(controls), m_session(session) {
    connect(m_c.AVI_Select, &QCheckBox::toggled, this, &AviRangeMarker::AVI_Select_Click);
    connect(m_c.optStart, &QRadioButton::clicked, this, &AviRangeMarker::optStart_Click);
    connect(m_c.optEnd, &QRadioButton::clicked, this, &AviRangeMarker::optEnd_Click);
}

void AviRangeMarker::AVI_Select_Click() {
    if (m_c.AVI_Select->isChecked()) {
        m_session.avi.recording = false;
        m_c.cmdSaveAs->setEnabled(true);
        m_c.optStart->setEnabled(true);
        m_c.optEnd->setEnabled(true);
        m_c.optStart->setChecked(true);
        m_c.cmdPlayStop->setEnabled(false);
        m_session.avi.startFrame = m_c.Slider->value();
        m_session.avi.endFrame = m_session.FrameCount();
        if (m_session.avi.endFrame < m_session.avi.startFrame)
            m_session.avi.endFrame = m_session.avi.startFrame;
        m_c.Slider->setSelectRange(true);
        showSelection();
        return;
    }
    m_c.Slider->setSelectRange(false);
    m_c.AVI_Select->setToolTip(QString());
    m_c.cmdSaveAs->setEnabled(false);
    m_c.optStart->setEnabled(false);
    m_c.optEnd->setEnabled(false);
    m_c.cmdPlayStop->setEnabled(m_session.isOpen());
}

void AviRangeMarker::optStart_Click() {
    m_session.avi.startFrame = m_c.Slider->value();
    if (m_session.avi.endFrame < m_session.avi.startFrame) m_session.avi.endFrame = m_session.avi.startFrame;
    showSelection();
}

void AviRangeMarker::optEnd_Click() {
    m_session.avi.endFrame = std::max(m_c.Slider->value(), m_session.avi.startFrame);
    showSelection();
}

bool AviRangeMarker::selectRange(int32_t start, int32_t end) {
    if (!m_session.isOpen() || start < 1 || end < start || end > m_session.FrameCount() ||
        !m_c.AVI_Select->isEnabled())
        return false;
    if (!m_c.AVI_Select->isChecked()) m_c.AVI_Select->setChecked(true); // arms the range
    m_session.avi.startFrame = start;
    m_session.avi.endFrame = end;
    showSelection();
    return true;
}

void AviRangeMarker::showSelection() {
    m_c.Slider->setSelStart(m_session.avi.startFrame);
    m_c.Slider->setSelLength(m_session.avi.endFrame - m_session.avi.startFrame);
    // The selection on the slider has no numbers: the check box names them.
    m_c.AVI_Select->setToolTip(QStringLiteral("Video range: frames %1 to %2")
                                   .arg(m_session.avi.startFrame)
                                   .arg(m_session.avi.endFrame));
}

} // namespace pelix::player
