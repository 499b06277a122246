#include "core/recording/derived_setup.h"

namespace pelix::recording {

namespace {
constexpr double kMicrometresPerInch = 25400.0;
}

DerivedSetup deriveSetup(const RecordingHeader& header) {
    const bool inch = header.isInch();
    const double velocity = inch ? header.Velocity / 10.0 / kMicrometresPerInch : header.Velocity / 10.0;
    double delay = inch ? velocity * header.DisplayDelay_ns / 2000.0
                        : velocity * header.DisplayDelay_ns / 1000.0 / 2000.0;
    // The instrument shows the start of its window half a display step nearer zero.
    const double halfStep = inch ? 0.0005 : 0.005;
    if (delay > 0)
        delay -= halfStep;
    else if (delay < 0)
        delay += halfStep;
    const double range = header.DisplayRange_um / (inch ? kMicrometresPerInch : 1000.0);

    DerivedSetup d;
    d.velocity = static_cast<float>(velocity);
    d.displayDelay = static_cast<float>(delay);
    d.displayRange = static_cast<float>(range);
    return d;
}

} // namespace pelix::recording
