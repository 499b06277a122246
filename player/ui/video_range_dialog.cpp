#include "player/ui/video_range_dialog.h"

#include "player/evaluation/typed_units.h"

#include <QGridLayout>
#include <QLabel>

namespace pelix::player {

VideoRangeDialog::VideoRangeDialog(int32_t first, int32_t last, int32_t frameCount, QWidget* parent)
    : QDialog(parent), m_frameCount(frameCount), m_first(first), m_last(last) {
    setObjectName(QStringLiteral("VideoRangeDialog"));
    setWindowTitle(QStringLiteral("Video range"));
    const EntryLayout parts = startEntryLayout(*this);
    QBoxLayout* outer = parts.outer;
    QGridLayout* grid = parts.grid;
    grid->addWidget(new QLabel(QStringLiteral("First frame"), this), 0, 0);
    m_firstField = addTypedField(*grid, 0, 1, QStringLiteral("txtVideoFirst"), QString::number(first), 1,
                                 QStringLiteral("First frame"));
    grid->addWidget(new QLabel(QStringLiteral("Last frame"), this), 2, 0);
    m_lastField = addTypedField(*grid, 2, 1, QStringLiteral("txtVideoLast"), QString::number(last), 3,
                                QStringLiteral("Last frame"));
    addNotesAndButtons(*this, *outer, QStringLiteral("The recording has frames 1 to %1.").arg(frameCount),
                       QStringLiteral("lblVideoRangeNotes"));
}

void VideoRangeDialog::accept() {
    const TypedValue first = readWhole(m_firstField.text().toStdString(), 1, m_frameCount, "frame number");
    const TypedValue last = readWhole(m_lastField.text().toStdString(), 1, m_frameCount, "frame number");
    m_firstField.setRefusal(first.refusal);
    std::string lastRefusal = last.refusal;
    if (first.value && last.value && *last.value < *first.value)
        lastRefusal = "The last frame comes before the first: type " +
                      std::to_string(static_cast<int64_t>(*first.value)) + " or later";
    m_lastField.setRefusal(lastRefusal);
    adjustSize();
    if (!first.value || !last.value || !lastRefusal.empty()) return;
    m_first = static_cast<int32_t>(*first.value);
    m_last = static_cast<int32_t>(*last.value);
    QDialog::accept();
}

} // namespace pelix::player
