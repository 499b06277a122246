#include "ascanview/interface/oro_ascan_ctl.h"

#include "ascanview/mouse/gate_drag_preview.h"
#include "ascanview/mouse/search_range_box.h"
#include "ascanview/render/ascan_picture.h"
#include "ascanview/render/checked_math.h"
#include "core/geometry/twips.h"
#include "platform/component_registry.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <limits>

using namespace pelix::ascanview;

namespace {

struct PanelRowText {
    const char* caption;
    const char* value;
};

// What a freshly created control shows before the host fills the panel.
constexpr PanelRowText kDesignTimeRows[OroAscanCtl::kPanelRows] = {
    {"ASCAN Name:", "SAMPLE_ASCAN"}, {"Date Created:", "12/25/1999 13:43:12"},
    {"Velocity:", "5300 M/S"},       {"Gain:", "43 dB"},
    {"Rectification:", "Full"},      {"Units:", "Metric"},
    {"Meas. Mode:", "Dual Multi"},   {"Zero Mode:", "On Block"},
    {"Cal. Mode:", "Two Point"},     {"Probe:", "SAMPLE_PROBE"},
    {"Gate A Start:", "0.010"},      {"Gate A Width:", "15.000"},
    {"Gate A Thresh(%):", "60"},     {"Gate B Start:", "10.000"},
    {"Gate B Width:", "15.000"},     {"Gate  B Thresh(%):", "50"},
};

QLabel* makeLabel(QWidget* parent, const QString& name, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

OroAscanCtl::OroAscanCtl(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OroAscanCtl"));
    setMinimumSize(static_cast<int>(std::ceil(kMinWidthTwips / DrawingSurface::kTwipsPerPixel)),
                   static_cast<int>(std::ceil(kMinHeightTwips / DrawingSurface::kTwipsPerPixel)));
    QFont panelFont = font();
    panelFont.setPointSizeF(8.0);
    setFont(panelFont);
    setAutoFillBackground(true);
    createChildren();
    showDesignTimeTexts();

    set_RadixCharacter(DECIMAL_POINT);
    AscanMode(ASCANON);
    RangeMode(RANGEON);
    resize(minimumSize());
    applyLayout();
}

OroAscanCtl::~OroAscanCtl() = default;

void OroAscanCtl::createChildren() {
    m_picAscan = new AscanPicture(this);
    m_picAscan->setObjectName(QStringLiteral("picAscan"));
    m_picAscan->setPicture(&m_rasterizer.image());
    m_picAscan->setStaleHandler(
        [this] { m_rasterizer.rasterize(m_surface, m_picAscan->size(), m_picAscan->devicePixelRatioF()); });
    m_picAscan->installEventFilter(this);

    m_searchRange = new SearchRangeBox(m_picAscan);
    m_searchRange->setObjectName(QStringLiteral("SearchRange"));
    m_searchRange->installEventFilter(this);
    m_searchRange->hide();

    m_dragPreview = new GateDragPreview(m_picAscan);

    for (int i = 0; i < kPanelRows; ++i) {
        m_paramTitle[static_cast<std::size_t>(i)] =
            makeLabel(this, QStringLiteral("lblParamTitle%1").arg(i), Qt::AlignRight | Qt::AlignVCenter);
        m_paramValue[static_cast<std::size_t>(i)] =
            makeLabel(this, QStringLiteral("lblParamValue%1").arg(i), Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_lblAscanStart = makeLabel(this, QStringLiteral("lblAscanStart"), Qt::AlignLeft | Qt::AlignTop);
    m_lblAscanWidth = makeLabel(this, QStringLiteral("lblAscanWidth"), Qt::AlignRight | Qt::AlignTop);
    m_lblControlTitle = makeLabel(this, QStringLiteral("lblControlTitle"), Qt::AlignCenter);
    QFont titleFont = font();
    titleFont.setBold(true);
    m_lblControlTitle->setFont(titleFont);
}

void OroAscanCtl::showDesignTimeTexts() {
    for (int i = 0; i < kPanelRows; ++i) {
        const PanelRowText& row = kDesignTimeRows[i];
        m_paramTitle[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(row.caption));
        m_paramValue[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(row.value));
    }
    m_lblControlTitle->setText(QStringLiteral("ASCAN Attachment Viewer"));
}

void OroAscanCtl::set_fAscanRange(float range) {
    // The range divides every horizontal mapping.
    m_props.fAscanRange = range == 0.0F ? 1.0F : range;
}

qint32 OroAscanCtl::temp_top() const {
    bool ok = false;
    const qint32 value = m_tempTop.toInt(&ok);
    return ok ? value : 0;
}

qint32 OroAscanCtl::temp_left() const {
    return roundToLong(m_tempLeft).value_or(0);
}

void OroAscanCtl::set_temp_leftValue(const QVariant& value) {
    bool ok = false;
    const double twips = value.toDouble(&ok);
    if (ok) m_tempLeft = twips;
}

void OroAscanCtl::set_PicCurrentHeight(double height) {
    m_userScale = true;
    m_surface.setScale(m_surface.scaleWidth(), static_cast<float>(height));
}

qint16 OroAscanCtl::WidthX() const {
    const auto width = roundToInteger(m_surface.scaleWidth());
    if (width) return *width;
    return m_surface.scaleWidth() > 0 ? std::numeric_limits<qint16>::max()
                                      : std::numeric_limits<qint16>::min();
}

void OroAscanCtl::set_WidthX(qint16 width) {
    m_userScale = true;
    m_surface.setScale(width, m_surface.scaleHeight());
}

qint16 OroAscanCtl::PicLeftX() const {
    return roundToInteger(m_picLeftTwips).value_or(0);
}

void OroAscanCtl::set_PicLeftX(qint16 left) {
    m_picLeftTwips = left;
    m_picAscan->move(pelix::geometry::pixelsFromTwips(left, pelix::geometry::HalfPixel::AwayFromZero),
                     m_picAscan->y());
    update();
}

void OroAscanCtl::paintEvent(QPaintEvent*) {
    // A thin sunken frame around the picture, in the margin the layout leaves.
    QPainter painter(this);
    if (m_picAscan->isHidden()) return;
    const QRect frame = m_picAscan->geometry().adjusted(-1, -1, 0, 0);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
}

bool OroAscanCtl::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((watched == m_picAscan || watched == m_searchRange) &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
         type == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Button: 1 left, 2 right, 4 middle; Shift: 1 shift, 2 ctrl, 4 alt.
        const Qt::MouseButtons buttons = type == QEvent::MouseMove ? mouse->buttons() : mouse->button();
        const qint16 button =
            static_cast<qint16>((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                                (buttons & Qt::MiddleButton ? 4 : 0));
        const Qt::KeyboardModifiers modifiers = mouse->modifiers();
        const qint16 shift = static_cast<qint16>((modifiers & Qt::ShiftModifier ? 1 : 0) |
                                                 (modifiers & Qt::ControlModifier ? 2 : 0) |
                                                 (modifiers & Qt::AltModifier ? 4 : 0));
        const QPointF pos = mouse->position();
        if (watched == m_picAscan) {
            const double sx = m_picAscan->width() > 0 ? m_surface.scaleWidth() / m_picAscan->width() : 0.0;
            const double sy = m_picAscan->height() > 0 ? m_surface.scaleHeight() / m_picAscan->height() : 0.0;
            const auto x = static_cast<float>(pos.x() * sx);
            const auto y = static_cast<float>(pos.y() * sy);
            if (type == QEvent::MouseButtonPress) picAscan_MouseDown(button, shift, x, y);
            if (type == QEvent::MouseMove) picAscan_MouseMove(button, shift, x, y);
            if (type == QEvent::MouseButtonRelease) picAscan_MouseUp(button, shift, x, y);
        } else {
            const auto x = static_cast<float>(pos.x() * DrawingSurface::kTwipsPerPixel);
            const auto y = static_cast<float>(pos.y() * DrawingSurface::kTwipsPerPixel);
            if (type == QEvent::MouseButtonPress) SearchRange_MouseDown(button, shift, x, y);
            if (type == QEvent::MouseMove) SearchRange_MouseMove(button, shift, x, y);
            if (type == QEvent::MouseButtonRelease) SearchRange_MouseUp(button, shift, x, y);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

namespace {
QWidget* createOroAscanCtl(QWidget* parent) {
    return new OroAscanCtl(parent);
}
const ::pelix::platform::ControlRegistration registration("AscanView.OroAscanCtl", &createOroAscanCtl);
} // namespace
