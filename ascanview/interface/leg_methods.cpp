// The angle-beam leg colouring as methods of the control.
#include "ascanview/interface/oro_ascan_ctl.h"

#include "ascanview/legs/fast_trig.h"
#include "ascanview/legs/leg_bands.h"
#include "ascanview/legs/leg_geometry.h"

using namespace pelix::ascanview;

namespace {

constexpr Rgb kFirstLeg = rgb(255, 255, 0);
constexpr Rgb kSecondLeg = rgb(240, 240, 240); // button face
constexpr Rgb kThirdLeg = rgb(0, 255, 255);

LegSetup legSetup(const ControlProperties& p) {
    LegSetup setup;
    setup.trigColorLeg = p.TrigColorLeg;
    setup.prbAngle = p.PrbAngle;
    setup.oDiameter = p.ODiameter;
    setup.trigThk = p.TrigThk;
    // The band arithmetic needs 0.1 m/s, which is the recorded velocity;
    // Velocity holds the host's display unit (m/s or in/us).
    setup.velocity = p.ttVelocity;
    setup.probeDelay = p.ProbeDelay;
    setup.displayDelay = p.DisplayDelay;
    setup.displayRange = p.DisplayRange;
    setup.inch = p.Unit == 1;
    setup.ttDisplayDelay = p.ttDisplayDelay;
    return setup;
}

} // namespace

void OroAscanCtl::TrigColorLegs() {
    const LegSetup setup = legSetup(m_props);
    if (!legBandsWanted(setup)) return;
    const auto edges = legEdges(setup, m_surface.scaleWidth());
    if (!edges) return;
    const double h = m_surface.scaleHeight();
    const Rgb colors[3] = {kFirstLeg, kSecondLeg, kThirdLeg};
    for (std::size_t k = 0; k < 3; ++k)
        m_surface.box((*edges)[k], h, (*edges)[k + 1], 0, colors[k]);
}

double OroAscanCtl::TrigLegLength() {
    return trigLegLength(legSetup(m_props)).value_or(0.0);
}

qint16 OroAscanCtl::TrigCurvatureCase() {
    return trigCurvatureCase(legSetup(m_props)).value_or(0);
}

qint32 OroAscanCtl::FASTsin4Q(qint32 Angle) {
    return fastSin4Q(Angle);
}

qint16 OroAscanCtl::FASTAsin4Q(qint32 SinValue) {
    return FASTAsin4Q(&SinValue);
}

qint16 OroAscanCtl::FASTAsin4Q(qint32* SinValue) {
    if (SinValue == nullptr) return 0;
    return fastAsin4Q(*SinValue).value_or(0);
}
