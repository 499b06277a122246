// DAC curve from the recorded reference echoes, and its Akima cubic.
#include "pelix_cal.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

constexpr uint32_t kMaxSegments = PELIX_CAL_DAC_POINTS - 1;
constexpr double kFlat = 0.00001; // slope differences below this count as no change

// Single precision as the instrument keeps it. A figure beyond its range keeps the largest
// single, and one that is not a number (0 x infinity, infinity - infinity) reads as 0, so that
// a curve from absurd gains stays drawable and never carries a non-finite value.
float toSingle(double value) {
    if (std::isnan(value)) return 0.0f;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

} // namespace

extern "C" {

PELIX_CAL_API void DACConvertFromTCGPoints(DACCurve* curve, const TCGPointTable* table,
                                           uint32_t ulRefGain_01dB) {
    if (curve == nullptr || table == nullptr) return;
    for (int k = 0; k < PELIX_CAL_DAC_POINTS; ++k) {
        const TCGPoint& in = table->points[k];
        DACPoint& out = curve->points[k];
        if (in.ulHardwareTOF_20ns == 0) {
            out.fTOF_1ns = 0.0f;
            out.fAmp_01PCT = 0.0f;
        } else {
            // the gain difference in full: reference gain unsigned, recorded gain signed
            const double gainStep = static_cast<double>(static_cast<int64_t>(ulRefGain_01dB) -
                                                        static_cast<int64_t>(in.ulRecordedGain_01dB));
            out.fTOF_1ns = toSingle(static_cast<double>(in.ulHardwareTOF_20ns) * 20.0);
            out.fAmp_01PCT = toSingle(in.ulRecordedAMP_01PCT * std::pow(10.0, gainStep * 0.005));
        }
        out.fCoef3 = 0.0f;
        out.fCoef2 = 0.0f;
        out.fCoef1 = 0.0f;
        out.fCoef0 = 0.0f;
    }
    curve->ulRefGain_01dB = ulRefGain_01dB;
    const uint32_t stored = table->ulNumOfStoredPoints;
    // a table claims at most 16 points; more would send the caller past the curve's end
    curve->ulNumOfSegments = stored > 1 ? (stored - 1 < kMaxSegments ? stored - 1 : kMaxSegments) : 0;
}

PELIX_CAL_API void GenerateDACCoefAkima(DACPoint* points, const void* /*unused*/, uint32_t ulNumOfSegments) {
    if (points == nullptr) return;
    const uint32_t n = ulNumOfSegments < kMaxSegments ? ulNumOfSegments : kMaxSegments;
    if (n == 0) {
        points[0].fCoef3 = 0.0f;
        points[0].fCoef2 = 0.0f;
        points[0].fCoef1 = 0.0f;
        points[0].fCoef0 = points[0].fAmp_01PCT;
        return;
    }

    // Between the passes widths, secant slopes, their differences and the point slopes are
    // held in single precision, as the instrument holds them in the points' coefficient fields.
    // Index shift: slope[j + 1] = m_j for j = -1..n, diff[j + 1] = D_j for j = -1..n.
    float width[kMaxSegments] = {};
    float slope[kMaxSegments + 2] = {};
    float diff[kMaxSegments + 2] = {};
    float tangent[kMaxSegments + 1] = {};

    double previous = 0.0; // m_-1
    for (uint32_t j = 0; j < n; ++j) {
        const double h = static_cast<double>(points[j + 1].fTOF_1ns) - points[j].fTOF_1ns;
        // two points at one time: a flat piece instead of an infinite slope
        const double m =
            h == 0.0 ? 0.0 : (static_cast<double>(points[j + 1].fAmp_01PCT) - points[j].fAmp_01PCT) / h;
        width[j] = toSingle(h);
        slope[j + 1] = toSingle(m);
        diff[j + 1] = toSingle(std::fabs(m - previous));
        previous = m;
    }
    diff[n + 1] = toSingle(std::fabs(previous)); // D_n, as m_n = 0

    for (uint32_t j = 0; j < n; ++j) {
        const double right = diff[j + 2]; // w1 = D_j+1
        const double left = diff[j];      // w2 = D_j-1
        const double middle = diff[j + 1];
        const double before = slope[j]; // m_j-1
        const double after = slope[j + 1];
        double t = 0.0;
        if (right < kFlat && left < kFlat)
            t = (before + after) / 2.0;
        else if (right < kFlat)
            t = after;
        else if (left < kFlat)
            t = before;
        else if (middle < kFlat)
            t = after;
        else
            t = (right * before + left * after) / (right + left);
        tangent[j] = toSingle(t);
    }
    // t_n = 0: the slope at the last point is not computed

    for (uint32_t j = 0; j < n; ++j) {
        DACPoint& p = points[j];
        const double h = width[j];
        const double m = slope[j + 1];
        const double t0 = tangent[j];
        const double t1 = tangent[j + 1];
        if (h == 0.0) {
            p.fCoef3 = 0.0f;
            p.fCoef2 = 0.0f;
            p.fCoef1 = 0.0f;
        } else {
            p.fCoef3 = toSingle((t0 + t1 - 2.0 * m) / (h * h));
            p.fCoef2 = toSingle((3.0 * m - 2.0 * t0 - t1) / h);
            p.fCoef1 = tangent[j];
        }
        p.fCoef0 = p.fAmp_01PCT;
    }
    // the last point's fields keep the working values the instrument leaves there
    points[n].fCoef3 = 0.0f;
    points[n].fCoef2 = diff[n + 1];
    points[n].fCoef1 = 0.0f;
}

} // extern "C"
