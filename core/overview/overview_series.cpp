#include "core/overview/overview_series.h"

#include "core/recording/record_layout.h"

#include <algorithm>

namespace pelix::overview {

using namespace pelix::recording;

OverviewSeries::OverviewSeries(int32_t frameCount)
    : m_frameCount(std::max(frameCount, 0)), m_a(static_cast<std::size_t>(m_frameCount)),
      m_b(static_cast<std::size_t>(m_frameCount)), m_on(static_cast<std::size_t>(m_frameCount)) {}

std::optional<int32_t> OverviewSeries::amplitude(Gate gate, int32_t frame) const {
    if (frame < 1 || frame > m_frameCount) return std::nullopt;
    const auto i = static_cast<std::size_t>(frame - 1);
    if (gate == Gate::A) return (m_on[i] & kAOn) ? std::optional<int32_t>(m_a[i]) : std::nullopt;
    return (m_on[i] & kBOn) ? std::optional<int32_t>(m_b[i]) : std::nullopt;
}

void OverviewSeries::set(int32_t frame, std::optional<int32_t> gateA, std::optional<int32_t> gateB,
                         bool flagged) {
    if (frame < 1 || frame > m_frameCount) return;
    const auto i = static_cast<std::size_t>(frame - 1);
    m_a[i] = gateA.value_or(0);
    m_b[i] = gateB.value_or(0);
    m_on[i] = static_cast<uint8_t>((gateA ? kAOn : 0) | (gateB ? kBOn : 0));
    if (flagged) m_flags.push_back(frame);
}

std::optional<int32_t> recordedAmplitude(Gate gate, const uint8_t* header) {
    const layout::Field& on = gate == Gate::A ? fh::GateAOn : fh::GateBOn;
    const layout::Field& amplitude = gate == Gate::A ? fh::GateAAmplitude : fh::GateBAmplitude;
    if (layout::read(header, on) == 0) return std::nullopt;
    return layout::read(header, amplitude);
}

OverviewSeries scanOverview(const RecordingFile& file, const FrameRecordLayout& layout,
                            const std::atomic<bool>* cancel) {
    OverviewSeries series(layout.frameCount);
    const HeaderScanResult scan = scanFrameHeaders(
        file, layout, 1, layout.frameCount, [&series, cancel](int64_t frame, const uint8_t* h) {
            // Checked once a block's worth of frames, so a cancelled scan ends at once.
            if (cancel && (frame & 127) == 0 && cancel->load(std::memory_order_relaxed)) return false;
            series.set(static_cast<int32_t>(frame), recordedAmplitude(Gate::A, h),
                       recordedAmplitude(Gate::B, h), layout::read(h, fh::FrameFlag) != 0);
            return true;
        });
    if (scan.end == HeaderScanEnd::Stopped) return series;
    series.finish(scan.end == HeaderScanEnd::CutShort ? static_cast<int32_t>(scan.stoppedAt) : 0);
    return series;
}

} // namespace pelix::overview
