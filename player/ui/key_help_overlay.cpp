#include "player/ui/key_help_overlay.h"

#include "player/ui/window_keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace pelix::player {

KeyHelpOverlay::KeyHelpOverlay(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("keyHelpOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    hide();
    // Follows the window's size while it shows.
    window->installEventFilter(this);
}

std::vector<std::pair<QString, QString>> KeyHelpOverlay::rows() {
    std::vector<std::pair<QString, QString>> r;
    for (const WindowKeyEntry& k : windowKeys())
        r.emplace_back(k.keyText, k.does);
    return r;
}

void KeyHelpOverlay::toggle() {
    if (isVisible()) {
        hide();
        return;
    }
    setGeometry(parentWidget()->rect());
    raise();
    show();
    setFocus(Qt::OtherFocusReason);
}

bool KeyHelpOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void KeyHelpOverlay::mousePressEvent(QMouseEvent*) {
    hide();
}

void KeyHelpOverlay::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void KeyHelpOverlay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 140));

    QFont body = font();
    QFont bold = body;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(body.pointSizeF() * 1.3);
    const QFontMetrics bm(body), km(bold), tm(title);
    const auto table = rows();
    int keyWidth = 0, doesWidth = tm.horizontalAdvance(QStringLiteral("Keys"));
    for (const auto& [key, does] : table) {
        keyWidth = std::max(keyWidth, km.horizontalAdvance(key));
        doesWidth = std::max(doesWidth, bm.horizontalAdvance(does));
    }
    const QString closing = QStringLiteral("Escape, F1 or a click closes this list.");
    doesWidth = std::max(doesWidth, bm.horizontalAdvance(closing) - keyWidth);
    const int pad = bm.height();
    const int gap = bm.height() * 3 / 2;
    const int rowHeight = bm.height() * 3 / 2;
    const int footerHeight = bm.height() * 2;
    const int panelWidth = keyWidth + gap + doesWidth + 2 * pad;
    const int panelHeight =
        pad + tm.height() * 3 / 2 + rowHeight * static_cast<int>(table.size()) + footerHeight + pad;
    const QRect panel(QPoint(0, 0), QSize(std::min(panelWidth, width()), std::min(panelHeight, height())));
    const QRect box = panel.translated(rect().center() - panel.center());

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(90, 90, 90));
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(box, pad / 2.0, pad / 2.0);
    p.setRenderHint(QPainter::Antialiasing, false);

    int y = box.top() + pad;
    p.setPen(Qt::black);
    p.setFont(title);
    p.drawText(QRect(box.left() + pad, y, box.width() - 2 * pad, tm.height()),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Keys"));
    y += tm.height() * 3 / 2;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const QRect row(box.left() + pad / 2, y, box.width() - pad, rowHeight);
        if (i % 2 == 0) p.fillRect(row, QColor(236, 240, 246));
        p.setFont(bold);
        p.drawText(QRect(box.left() + pad, y, keyWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   table[i].first);
        p.setFont(body);
        p.drawText(QRect(box.left() + pad + keyWidth + gap, y, doesWidth, rowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, table[i].second);
        y += rowHeight;
    }
    p.setPen(QColor(100, 100, 100));
    p.drawText(QRect(box.left() + pad, y, box.width() - 2 * pad, footerHeight),
               Qt::AlignLeft | Qt::AlignBottom, closing);
}

} // namespace pelix::player
