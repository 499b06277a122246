// What a generated recording looks like.
#pragma once

#include "tools/pelix-synth/synth_evaluation.h"

#include <cstdint>
#include <string>

namespace pelix::synth {

struct SynthOptions {
    int32_t rectification = 3; // 0 RF, 1 NEG, 2 POS, 3 FULLWAVE (any value is written as given)
    bool envelope = false;
    int32_t units = 0;            // 0 mm, 1 inch, 2 microseconds
    int32_t framesPerSecond = 50; // 10 or 50
    int32_t version = 8;
    int32_t frames = 600;
    int32_t flaggedFrames = 4; // frames the operator flagged
    int32_t flagCount = -1;    // FlagCount written in the header; -1: the number of flagged frames
    uint64_t seed = 1;
    EvaluationSetup evaluation; // curve family and its setup
    int32_t angle_01deg = 450;  // 0 for a straight-beam probe
    int32_t extraBytes = 0;     // a partial record appended after the last frame
    int32_t flawLead_ms = 0;    // how far the probe has already moved over the flaw at frame 1
};

// Parses "--name value" options; returns false with a message on a bad option.
bool parseOptions(int argc, char** argv, SynthOptions& options, std::string& output, std::string& error);
std::string usage();

} // namespace pelix::synth
