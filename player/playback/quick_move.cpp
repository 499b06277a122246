#include "player/playback/quick_move.h"

#include "platform/message_service.h"
#include "platform/up_down.h"
#include "player/playback/playback_controller.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pelix::player {

QuickMove::QuickMove(const PlayerControls& controls, PlayerSession& session, PlaybackController& playback,
                     QObject* parent)
    : QObject(parent), m_c(controls), m_session(session), m_playback(playback) {
    connect(m_c.cmdGo, &QPushButton::clicked, this, &QuickMove::cmdGo_Click);
    const std::array<std::pair<platform::UpDown*, playback::JumpKind>, 3> arrows{
        {{m_c.FrameUpDown, playback::JumpKind::Frame},
         {m_c.TimeUpDown, playback::JumpKind::Time},
         {m_c.FlagUpDown, playback::JumpKind::Flag}}};
    for (const auto& [arrow, kind] : arrows) {
        connect(arrow, &platform::UpDown::UpClick, this, [this, kind = kind] { upDown(kind, true); });
        connect(arrow, &platform::UpDown::DownClick, this, [this, kind = kind] { upDown(kind, false); });
    }
    for (playback::JumpKind kind :
         {playback::JumpKind::Frame, playback::JumpKind::Time, playback::JumpKind::Flag}) {
        connect(entryBox(kind), &QLineEdit::textChanged, this, [this, kind] { checkEntry(kind); });
        connect(entryBox(kind), &QLineEdit::returnPressed, this, [this, kind] { enterPressed(kind); });
    }
}

playback::JumpKind QuickMove::selectedKind() const {
    if (m_c.OptTime->isChecked()) return playback::JumpKind::Time;
    if (m_c.OptFlag->isChecked()) return playback::JumpKind::Flag;
    return playback::JumpKind::Frame;
}

QLineEdit* QuickMove::entryBox(playback::JumpKind kind) const {
    switch (kind) {
    case playback::JumpKind::Frame:
        return m_c.txtFrameIdx;
    case playback::JumpKind::Time:
        return m_c.txtTimeIdx;
    case playback::JumpKind::Flag:
        return m_c.txtFlagIdx;
    }
    return m_c.txtFrameIdx;
}

void QuickMove::cmdGo_Click() {
    if (!m_session.isOpen()) return;
    const playback::JumpKind kind = selectedKind();
    // The flag option stays selected while the index is still being built; a
    // jump to a flag then waits for it rather than calling a flag not valid.
    if (kind == playback::JumpKind::Flag && !m_session.recording->flagsKnown()) return;
    const auto value = playback::readWholeNumber(entryBox(kind)->text().toStdString());
    const auto frame = value ? playback::jumpTarget(kind, *value, *m_session.recording) : std::nullopt;
    if (!frame) {
        platform::showMessage(QString::fromLatin1(playback::jumpRefusal(kind)),
                              platform::MessageIcon::Exclamation, m_c.window);
        return;
    }
    m_session.CurrentFrame = *frame;
    if (kind == playback::JumpKind::Frame) {
        m_c.txtFrameIdx->setText(QString::number(*frame));
        m_c.txtTimeIdx->setText(QString::number(m_session.timeIndex(*frame)));
    }
    // The slider's change handling shows the frame.
    m_playback.moveSlider();
}

void QuickMove::selectOption(playback::JumpKind kind) {
    switch (kind) {
    case playback::JumpKind::Frame:
        m_c.OptFrame->setChecked(true);
        break;
    case playback::JumpKind::Time:
        m_c.OptTime->setChecked(true);
        break;
    case playback::JumpKind::Flag:
        m_c.OptFlag->setChecked(true);
        break;
    }
}

void QuickMove::enterPressed(playback::JumpKind kind) {
    // Enter jumps by the box it was typed in, as the arrows beside that box do.
    if (!m_c.cmdGo->isEnabled()) return;
    selectOption(kind);
    m_c.cmdGo->click();
}

void QuickMove::upDown(playback::JumpKind kind, bool up) {
    selectOption(kind);
    if (!m_session.isOpen()) return;
    QLineEdit* box = entryBox(kind);
    const auto current = playback::readWholeNumber(box->text().toStdString());
    if (!current) return;
    const auto next = playback::upDownStep(kind, up, *current, *m_session.recording);
    if (!next) return;
    box->setText(QString::number(*next));
    cmdGo_Click();
}

QString QuickMove::resetText(playback::JumpKind kind) const {
    switch (kind) {
    case playback::JumpKind::Frame:
        return QString::number(m_session.CurrentFrame);
    case playback::JumpKind::Time:
        return QString::number(m_session.timeIndex(m_session.CurrentFrame));
    case playback::JumpKind::Flag:
        return QStringLiteral("1");
    }
    return {};
}

void QuickMove::checkEntry(playback::JumpKind kind) {
    QLineEdit* box = entryBox(kind);
    if (playback::readWholeNumber(box->text().toStdString())) return;
    platform::showMessage(QStringLiteral("Please input a number"), platform::MessageIcon::Exclamation,
                          m_c.window);
    box->setText(resetText(kind));
}

} // namespace pelix::player
