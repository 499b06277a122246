// Evaluation curves over the trace. The curve families arrive with their own
// change; until then the dispatch draws nothing.
#include "ascanview/interface/oro_ascan_ctl.h"

void OroAscanCtl::UpdateEvaluationCurve() {}
void OroAscanCtl::CVUpdateJISDACCurves() {}
void OroAscanCtl::UpdateTCGRefLine() {}
void OroAscanCtl::DrawTCGRefLine(qint32, qint32, double) {}
void OroAscanCtl::UpdateStraightDAC() {}
void OroAscanCtl::DrawStraightDAC(qint32, qint32, const QString&, qint32) {}
void OroAscanCtl::UpdateCurvedDAC() {}
void OroAscanCtl::DrawCurvedDAC(qint32, qint32, const QString&) {}
QVariantList OroAscanCtl::DrawStraightDACSeg(const QVariantList& arguments) {
    return arguments;
}
void OroAscanCtl::UpdateStraightCNDAC() {}
void OroAscanCtl::UpdateCurvedCNDAC() {}
void OroAscanCtl::UpdateDGSCurves() {}
void OroAscanCtl::DrawDGSCurves(qint32) {}
