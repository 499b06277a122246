// One indication: a run of frames whose echo counts, its peak, and how far the
// echo dynamic stays within the drop of that peak, which is what sizes it.
#pragma once

#include <cstdint>
#include <optional>

namespace pelix::indications {

struct Indication {
    int32_t first = 0; // the run of frames that count, after merging
    int32_t last = 0;
    int32_t peakFrame = 0; // the first frame of the run with its largest amplitude
    int32_t peakAmplitude = 0;
    int32_t dropFirst = 0; // the frames around the peak whose amplitude stays within the drop
    int32_t dropLast = 0;

    bool operator==(const Indication&) const = default;
};

// The length of an indication is that of its drop extent.
struct DropLength {
    int32_t frames = 0;
    double seconds = 0.0; // frames / frame rate
    // The probe's travel at the operator's scan speed over that time: an estimate only,
    // the recording holds no encoder position. None without a scan speed.
    std::optional<double> millimetres;
};

// `framesPerSecond` is the recording's (10 or 50); a scan speed of 0 or below gives no millimetres.
DropLength dropLength(const Indication& indication, int32_t framesPerSecond,
                      std::optional<double> scanSpeedMmPerSecond = std::nullopt);

// The smallest whole-percent amplitude that stays within `dropDb` of `peak`: the least a with
// a · 10^(dropDb/20) >= peak, the product compared as it stands (the bound itself,
// peak · 10^(-dropDb/20), is not rounded to a whole percent first). With 6 dB and a peak of 100
// the bound is 50.12, so 51 stays within the drop and 50 does not. A drop below 0 dB (or not a
// number) is read as 0 dB, one above kLargestDropDb as that.
// Far beyond any echo dynamic: ten orders of magnitude of amplitude.
inline constexpr double kLargestDropDb = 200.0;

int64_t dropFloor(int32_t peak, double dropDb);

} // namespace pelix::indications
