#include "player/ui/status_line.h"

#include <QPainter>
#include <QStyle>

namespace pelix::player {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

void StatusLine::showMessage(const QString& text) {
    setText(text);
    setToolTip(text);
}

QString StatusLine::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

void StatusLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          shownText(), foregroundRole());
}

} // namespace pelix::player
