// One full redraw of the A-scan from the control's properties.
#include "ascanview/interface/oro_ascan_ctl.h"

#include "ascanview/render/ascan_graph.h"
#include "ascanview/render/ascan_picture.h"

#include <QLabel>

using namespace pelix::ascanview;

namespace {
void setTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}
} // namespace

void OroAscanCtl::UpdateAscanGraph() {
    if (size() != m_laidOutSize) layoutChildren();
    AscanGraph graph(m_props, m_drag, m_surface);

    graph.resetDragFlags();
    m_surface.clear();
    SearchSwitchJudgement();
    setTextIfChanged(m_lblAscanStart, m_props.msAscanStartLabel);
    setTextIfChanged(m_lblAscanWidth, m_props.msAscanStartWidth);
    TrigColorLegs();
    graph.drawGraticule();

    const SearchBoxGeometry box{m_boxLeft, m_boxTop, m_boxWidth, m_boxHeight};
    graph.updateSearchLimits(box);
    const bool withEnvelope = m_props.Envelope == 1;
    if (!graph.isRf()) {
        if (m_props.iAscanDrawMode != HOLLOW) {
            graph.drawSolidBars();
        } else {
            if (withEnvelope) graph.drawRectifiedTrace(true);
            graph.drawRectifiedTrace(false);
        }
    } else {
        if (withEnvelope) graph.drawRfTrace(true);
        graph.drawRfTrace(false);
    }
    graph.drawGate(GateId::A);
    graph.drawGate(GateId::B);

    graph.drawGateEndMarkers(GateId::A);
    graph.drawGateEndMarkers(GateId::B);
    graph.drawCaret(GateId::A);
    graph.drawCaret(GateId::B);
    UpdateEvaluationCurve();

    rasterize();
}

void OroAscanCtl::rasterize() {
    m_rasterizer.rasterize(m_surface, m_picAscan->size(), m_picAscan->devicePixelRatioF());
    m_picAscan->update();
}

QString OroAscanCtl::surfaceOperationsJson() const {
    return QString::fromStdString(m_surface.toJson());
}

QImage OroAscanCtl::surfaceImage() const {
    // A deep copy: the rasteriser keeps painting on its own image.
    return m_rasterizer.image().copy();
}
