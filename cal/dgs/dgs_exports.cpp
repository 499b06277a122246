// The DGS exports: near field, reference correction, ERS curve, DGS points and the searches.
#include "dgs/dgs_internal.h"
#include "pelix_cal.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace pelix::cal::dgs;

namespace {

constexpr int32_t kNotFound = PELIX_DGS_NOT_FOUND;

// The reference correction cannot be formed from this block: the curve is not drawn.
void rejectReference(int32_t* block) {
    State& s = state();
    s.referenceCorrection_dB = 0.0;
    s.referenceCurveValue = 0.0;
    setWord(block, PELIX_DGS_REF_STATUS, 0);
    dropErsCurve();
}

// Diagram key of a disc reflector: its diameter in mm on an own diagram, its size relative to
// the transducer otherwise.
bool discKey(const int32_t* block, const ProbeCatalogRow& row, int32_t diameter_um, double& key) {
    if (row.type == kOwnDiagram) {
        key = diameter_um * 0.001;
        return true;
    }
    const int32_t transducer = word(block, PELIX_DGS_EFFE_DIAM);
    if (transducer == 0) return false;
    key = static_cast<double>(diameter_um) / static_cast<double>(transducer);
    return true;
}

void clearPoints(int32_t* block, DGSPoint* points) {
    if (points != nullptr)
        for (int i = 0; i < PELIX_DGS_MAX_POINTS; ++i)
            points[i] = DGSPoint{0, 0, 0};
    setWord(block, PELIX_DGS_NUM_POINTS, 0);
}

bool fitsInt64(double value) {
    return value > -9.2e18 && value < 9.2e18;
}
bool fitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

// Time, gain and amplitude of one curve point; false when a figure leaves the record's range.
bool convertPoint(const int32_t* block, double distance, double value, DGSPoint& point) {
    const State& s = state();
    const int64_t velocity = word(block, PELIX_DGS_VELOCITY);
    const double depth_mm = s.nearField_mm * distance - s.delayAllowance_mm;

    const double depth_um = 1000.0 * depth_mm;
    if (!(depth_um > -4.0e14 && depth_um < 4.0e14)) return false;
    const int64_t tof = (20000 * static_cast<int64_t>(depth_um) + velocity / 2) / velocity;
    if (!fitsInt32(tof)) return false;

    // attenuation over the round trip, in 0.1 dB, kept to 16 bits as the instrument does
    const double attenuation = word(block, PELIX_DGS_TEST_ATTEN) * depth_mm * 0.002;
    const double gainTerm = 10.0 * (s.referenceCorrection_dB + value);
    if (!fitsInt64(attenuation) || !fitsInt64(gainTerm)) return false;
    const auto attenuation16 =
        static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(static_cast<int64_t>(attenuation))));
    const int64_t gain = attenuation16 + static_cast<int64_t>(gainTerm) -
                         static_cast<int64_t>(word(block, PELIX_DGS_BASE_GAIN));
    if (!fitsInt32(gain)) return false;

    // an echo far above the screen keeps the largest amplitude the record holds
    const double amplitude = 800.0 * std::pow(10.0, -static_cast<double>(gain) / 200.0);
    const int32_t amp =
        amplitude >= 2147483647.0 ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(amplitude);

    point.slTOF = tof == 0 ? 1 : static_cast<int32_t>(tof);
    point.slAmp = amp;
    point.slGain = static_cast<int32_t>(gain);
    return true;
}

// lookupRow on the curve at its own column j, with the columns' logarithms given.
double valueAtColumn(const Curve& curve, int32_t count, const double* logs, int32_t j, bool& clamped) {
    const double x = curve.distances[j];
    clamped = true;
    if (!(x >= curve.distances[0])) return curve.values[0];
    if (x > curve.distances[count - 1]) return curve.values[count - 1];
    clamped = false;
    for (int32_t i = 0; i + 1 < count; ++i) {
        if (x <= curve.distances[i + 1]) {
            const double v0 = curve.values[i];
            const double v1 = curve.values[i + 1];
            return v0 + (v1 - v0) * (logs[j] - logs[i]) / (logs[i + 1] - logs[i]);
        }
    }
    return curve.values[count - 1];
}

int32_t findPoint(int32_t timeNs, const int32_t* block, const DGSPoint* points, bool later) {
    if (block == nullptr || points == nullptr) return kNotFound;
    if (catalogRow(word(block, PELIX_DGS_PROBE_NUM)) == nullptr) return kNotFound;
    int32_t count = word(block, PELIX_DGS_NUM_POINTS);
    if (count > PELIX_DGS_MAX_POINTS) count = PELIX_DGS_MAX_POINTS;
    for (int32_t i = 0; i + 1 < count; ++i) {
        const int32_t t0 = points[i].slTOF;
        const int32_t t1 = points[i + 1].slTOF;
        const bool match = later ? (timeNs < t0 && timeNs <= t1) : (t0 <= timeNs && timeNs <= t1);
        if (match) return i;
    }
    return kNotFound;
}

} // namespace

extern "C" {

PELIX_CAL_API void CVDGSCalculateNearFields(int32_t* block) {
    if (block == nullptr) return;
    computeNearField(block, catalogRow(word(block, PELIX_DGS_PROBE_NUM)));
}

PELIX_CAL_API void DGSEvaluateReference(int32_t* block) {
    if (block == nullptr) return;
    const ProbeCatalogRow* row = catalogRow(word(block, PELIX_DGS_PROBE_NUM));
    if (row == nullptr) return rejectReference(block);
    State& s = state();

    const int32_t refAmp = word(block, PELIX_DGS_REF_AMP);
    const int32_t refAmpPercent = refAmp / 10;
    const double refDistance = word(block, PELIX_DGS_REF_DIST) * 0.001;
    if (!computeNearField(block, row)) return rejectReference(block);
    const double nearField = s.nearField_mm;
    const double x = (s.delayAllowance_mm + refDistance) / nearField;

    bool referenceSound = refAmpPercent >= 10 && refAmpPercent <= 100;
    double key = 0.0;
    switch (word(block, PELIX_DGS_REF_TYPE)) {
    case 0: // disc
        if (!discKey(block, *row, word(block, PELIX_DGS_REF_SIZE), key)) return rejectReference(block);
        break;
    case 2: { // side-drilled hole, as the disc that returns the same echo
        const int64_t frequency = word(block, PELIX_DGS_XTAL_FREQ);
        const int32_t diameter = word(block, PELIX_DGS_EFFE_DIAM);
        if (frequency == 0 || diameter == 0) return rejectReference(block);
        const int64_t wavelength_um = 10 * static_cast<int64_t>(word(block, PELIX_DGS_VELOCITY)) / frequency;
        const double wavelength = wavelength_um * 0.001;
        const double holeDiameter = word(block, PELIX_DGS_REF_SIZE) * 0.001;
        referenceSound = referenceSound && holeDiameter != 0.0 &&
                         holeDiameter >= (wavelength_um * 15 / 10) * 0.001 && refDistance >= 1.5 * nearField;
        const double radicand = 0.2 * wavelength * wavelength * holeDiameter * refDistance;
        if (!(radicand >= 0.0)) return rejectReference(block);
        key = std::pow(radicand, 0.25) / (diameter * 0.001);
        break;
    }
    default: // back wall
        key = 0.0;
        break;
    }
    if (!referenceSound) {
        // The instrument flags a doubtful reference but still evaluates it.
        setWord(block, PELIX_DGS_REF_STATUS, 0);
        s.referenceCorrection_dB = 0.0;
    }
    if (refAmp <= 0 || !std::isfinite(key)) return rejectReference(block);

    Curve reference;
    buildCurve(diagramFor(*row), key, reference);
    bool clamped = false;
    const double curveValue = lookupRow(reference.view(), 0, x, clamped);
    const double correction = 0.1 * word(block, PELIX_DGS_AMPL_CORR) + 0.1 * word(block, PELIX_DGS_REF_GAIN) -
                              0.0002 * word(block, PELIX_DGS_REF_ATTEN) * refDistance - curveValue -
                              20.0 * std::log10(0.00125 * refAmp);
    if (reference.columns <= 0 || !std::isfinite(correction)) return rejectReference(block);
    s.referenceCurveValue = curveValue;
    s.referenceCorrection_dB = correction;
    setWord(block, PELIX_DGS_REF_STATUS, 1);
}

PELIX_CAL_API int32_t CVDGSConvertDGStoDAC(int32_t* block, DGSPoint* points) {
    if (block == nullptr) return 0;
    clearPoints(block, points);
    if (points == nullptr) return 0;
    if (catalogRow(word(block, PELIX_DGS_PROBE_NUM)) == nullptr) return 0;
    if (word(block, PELIX_DGS_VELOCITY) <= 0 || !nearFieldValid()) return 0;
    const Curve& curve = ersCurve();
    const int32_t count = curve.columns < PELIX_DGS_MAX_POINTS ? curve.columns : PELIX_DGS_MAX_POINTS;
    // The value at each column is looked up again in log distance exactly as lookupRow does;
    // the logarithms of the columns are taken once instead of three times per point.
    double logs[PELIX_DGS_MAX_POINTS];
    for (int32_t j = 0; j < count; ++j)
        logs[j] = std::log10(curve.distances[j]);
    for (int32_t j = 0; j < count; ++j) {
        bool clamped = false;
        const double value = valueAtColumn(curve, count, logs, j, clamped);
        if (clamped || !convertPoint(block, curve.distances[j], value, points[j])) {
            clearPoints(block, points);
            return 0;
        }
    }
    setWord(block, PELIX_DGS_NUM_POINTS, count);
    return count;
}

PELIX_CAL_API int32_t CVDGSNumOfERSCurvePoints(int32_t* block, DGSPoint* points) {
    if (block == nullptr) return 0;
    const bool convert = word(block, PELIX_DGS_CONVERT) == 1;
    const ProbeCatalogRow* row = catalogRow(word(block, PELIX_DGS_PROBE_NUM));
    double key = 0.0;
    bool sound = row != nullptr;
    if (sound && word(block, PELIX_DGS_REF_STATUS) == 0) {
        state().referenceCorrection_dB = 0.0;
        sound = computeNearField(block, row);
    }
    sound = sound && discKey(block, *row, word(block, PELIX_DGS_ERS), key);
    if (!sound) {
        dropErsCurve();
        if (convert) clearPoints(block, points);
        return 0;
    }
    Curve& curve = ersCurve();
    const Diagram& diagram = diagramFor(*row);
    // Rebuilt when the key asked for changes (compared with the key asked for last time, as a
    // copied row carries its own key, which a later request may equal), when the probe's
    // diagram changed under the same key, or when no curve is held.
    if (curve.columns <= 0 || key != curve.requestedKey || curve.source != &diagram)
        buildCurve(diagram, key, curve);
    if (convert) CVDGSConvertDGStoDAC(block, points);
    return curve.columns;
}

PELIX_CAL_API int32_t CVDGSFindEarlierTOFPoint(int32_t timeNs, const int32_t* block, const DGSPoint* points) {
    return findPoint(timeNs, block, points, false);
}

PELIX_CAL_API int32_t CVDGSFindLaterTOFPoint(int32_t timeNs, const int32_t* block, const DGSPoint* points) {
    return findPoint(timeNs, block, points, true);
}

} // extern "C"
