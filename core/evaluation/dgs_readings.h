// The DGS readings of a recording measured without a display. The library
// takes a DGS recording's dB-to-reference and ERS readings from its DGS state,
// which the A-scan control sets up as it draws the DGS curves; a re-measure
// with no control makes the same set-up calls from the recording's setup.
#pragma once

#include "core/curves/dgs_setup.h"
#include "core/evaluation/cal_readings.h"
#include "core/recording/recording_header.h"

namespace pelix::evaluation {

// The DGS settings the control receives with the recording's setup.
curves::DgsSettings dgsSettingsOf(const recording::RecordingHeader& setup);

// For a recording whose display draws the DGS curves, leaves the calling thread's DGS state as
// that drawing does; nothing for the other recordings (their readings never read it).
void setUpDgsReadings(const recording::RecordingHeader& setup, CalReadings& cal);

} // namespace pelix::evaluation
