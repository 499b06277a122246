#include "readings/reading_codes.h"

#include <cstdlib>

#include "readings/dgs_block.h"
#include "readings/evaluation_rules.h"
#include "readings/fixed_tables.h"
#include "readings/gate_paths.h"
#include "readings/geometry_cache.h"

namespace pelix::cal::readings {

namespace {

constexpr int32_t kShownPercentLimit = 104; // higher echoes show as ">104%"

Reading make(ReadingKind kind, bool hasValue, bool live, int64_t v = 0) {
    Reading r;
    r.kind = kind;
    r.hasValue = hasValue;
    r.live = live;
    r.value = v;
    return r;
}

bool gateBWaitsForA(const ReadingsState& state) {
    return state.setup.gateBRelative == 1 && !state.gateA.triggered;
}

// Sound paths read as a distance, or as a zone number when the setup says so.
Reading pathReading(const ReadingsState& state, bool available, int64_t path_um, bool live) {
    if (state.setup.pathAsZoneNumber != 1) return make(ReadingKind::Distance, available, live, path_um);
    if (!available) return make(ReadingKind::Zone, false, live);
    const auto zone = zoneNumber(path_um, state.setup.zoneLengthsVariable, state.zoneLengths_um);
    return make(ReadingKind::Zone, zone.has_value(), live, zone.value_or(0));
}

Reading amplitude(const ReadingsState& state, GateId gate, bool available) {
    const int32_t amp = state.gate(gate).amp;
    Reading r = make(ReadingKind::Percent, available, true, amp);
    if (amp > kShownPercentLimit) {
        r.value = kShownPercentLimit;
        r.clipped = true;
    }
    return r;
}

Reading gateDistance(const ReadingsState& state, GateId gate, bool available) {
    const GatePath p = gatePath(state, gate);
    return pathReading(state, available, p.path_um, p.live);
}

// "SBA": the distance between the two echoes, held from the last frame in which both triggered.
Reading echoSpacing(ReadingsState& state) {
    const bool available = state.frame.gateAOn != 0 && state.frame.gateBOn != 0;
    bool live = false;
    if (state.gateA.triggered && state.gateB.triggered) {
        const int32_t a = state.gateA.time;
        const int32_t b = state.gateB.time + (state.setup.gateBRelative != 0 ? a : 0);
        state.heldDifference_ticks = std::abs(b - a);
        live = true;
    }
    const int64_t spacing = int64_t{state.setup.velocity} * state.heldDifference_ticks / 8000;
    return pathReading(state, available, spacing, live);
}

enum class Geometry { Depth, Projection, ReducedProjection, Leg };

Reading geometryReading(ReadingsState& state, GateId gate, Geometry what) {
    GeometryCache& cache = state.geometryOf(gate);
    if (!cache.computed) cache = computeGeometry(state.setup, gatePath(state, gate).path_um);

    const bool on = (gate == GateId::A ? state.frame.gateAOn : state.frame.gateBOn) != 0;
    bool available = on && state.setup.prbAngle_01deg != 0 && cache.valid;
    if (gate == GateId::B) available = available && !gateBWaitsForA(state);
    const bool live = state.gate(gate).triggered;

    switch (what) {
    case Geometry::Depth:
        return make(ReadingKind::Distance, available, live, cache.depth_um);
    case Geometry::Projection:
        return make(ReadingKind::Distance, available, live, cache.projection_um);
    case Geometry::ReducedProjection:
        return make(ReadingKind::Distance, available, live, cache.reducedProjection_um);
    case Geometry::Leg:
        return make(ReadingKind::Integer, available, live, cache.leg);
    }
    return make(ReadingKind::None, false, false);
}

bool dgsBlockReady(ReadingsState& state) {
    ensureDgsBlock(state);
    return state.dgs.computed && state.setup.dgsMode == 1;
}

Reading equivalentReflectorSize(ReadingsState& state) {
    ensureDgsBlock(state);
    const bool available = state.frame.gateAOn != 0 && state.dgs.ersValid && state.setup.dgsMode == 1 &&
                           state.gateA.amp < kShownPercentLimit && state.gateA.triggered;
    return make(ReadingKind::Distance, available, true, state.dgs.ers_um);
}

Reading referenceGain(ReadingsState& state) {
    const bool available = dgsBlockReady(state);
    const int64_t gain = decibelRatio(800, static_cast<uint16_t>(state.setup.dgsRefAmp_01pct)) +
                         int64_t{state.setup.dgsRefGain_01dB};
    return make(ReadingKind::Decibel, available, true, gain);
}

} // namespace

Reading evaluateReadingCode(ReadingsState& state, int32_t code) {
    const bool aOn = state.frame.gateAOn != 0;
    const bool bOn = state.frame.gateBOn != 0;
    switch (code) {
    case 1:
        return amplitude(state, GateId::A, aOn);
    case 2:
        return amplitude(state, GateId::B, bOn && !gateBWaitsForA(state));
    case 3:
        return gateDistance(state, GateId::A, aOn);
    case 4:
        return gateDistance(state, GateId::B, bOn && !gateBWaitsForA(state));
    case 5:
        return echoSpacing(state);
    case 6:
        return geometryReading(state, GateId::A, Geometry::Depth);
    case 7:
        return geometryReading(state, GateId::A, Geometry::Projection);
    case 8:
        return geometryReading(state, GateId::A, Geometry::ReducedProjection);
    case 9:
        return geometryReading(state, GateId::A, Geometry::Leg);
    case 10:
        return geometryReading(state, GateId::B, Geometry::Depth);
    case 11:
        return geometryReading(state, GateId::B, Geometry::Projection);
    case 12:
        return geometryReading(state, GateId::B, Geometry::ReducedProjection);
    case 13:
        return geometryReading(state, GateId::B, Geometry::Leg);
    case 14:
        return equivalentReflectorSize(state);
    case 15:
        return make(ReadingKind::Decibel, dgsBlockReady(state), true, state.setup.dgsBaseGain_01dB);
    case 16:
        return referenceGain(state);
    case 17:
    case 22:
        return referenceReading(state, GateId::A, Comparison::Decibel);
    case 18:
    case 23:
        return referenceReading(state, GateId::B, Comparison::Decibel);
    case 19:
        return referenceReading(state, GateId::A, Comparison::Percent);
    case 20:
        return referenceReading(state, GateId::B, Comparison::Percent);
    case 21:
        return jisClassReading(state);
    default:
        return Reading{};
    }
}

int32_t codeOfSlot(const ReadingsState& state, int32_t slot) {
    switch (slot) {
    case 7:
        return 3;
    case 8:
        return 1;
    case 9:
        return 4;
    case 10:
        return 2;
    default:
        if (slot >= 0 && slot < 7) return state.setup.readingCodes[static_cast<std::size_t>(slot)];
        return 0;
    }
}

} // namespace pelix::cal::readings
