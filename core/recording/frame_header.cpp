#include "core/recording/frame_header.h"

namespace pelix::recording {

FrameHeader decodeFrameHeader(const uint8_t* b) {
    FrameHeader f;
    f.FrameFlag = layout::read(b, fh::FrameFlag);
    for (std::size_t i = 0; i < kReadingSlots; ++i) {
        f.ReadingNoValue[i] = layout::read(b, fh::ReadingNoValue, i);
        f.ReadingLive[i] = layout::read(b, fh::ReadingLive, i);
        f.ReadingValue[i] = layout::read(b, fh::ReadingValue, i);
        f.ReadingKind[i] = layout::read(b, fh::ReadingKind, i);
        f.ReadingClipped[i] = layout::read(b, fh::ReadingClipped, i);
    }
    f.Gain_01dB = layout::read(b, fh::Gain_01dB);
    f.GateAStart_um = layout::read(b, fh::GateAStart_um);
    f.GateAWidth_um = layout::read(b, fh::GateAWidth_um);
    f.GateAThreshold = layout::read(b, fh::GateAThreshold);
    f.GateAMode = layout::read(b, fh::GateAMode);
    f.GateAOn = layout::read(b, fh::GateAOn);
    f.GateATOF_2_5ns = layout::read(b, fh::GateATOF_2_5ns);
    f.GateAAmplitude = layout::read(b, fh::GateAAmplitude);
    f.GateAValid = layout::read(b, fh::GateAValid);
    f.GateBStart_um = layout::read(b, fh::GateBStart_um);
    f.GateBWidth_um = layout::read(b, fh::GateBWidth_um);
    f.GateBThreshold = layout::read(b, fh::GateBThreshold);
    f.GateBMode = layout::read(b, fh::GateBMode);
    f.GateBOn = layout::read(b, fh::GateBOn);
    f.GateBTOF_2_5ns = layout::read(b, fh::GateBTOF_2_5ns);
    f.GateBAmplitude = layout::read(b, fh::GateBAmplitude);
    f.GateBValid = layout::read(b, fh::GateBValid);
    return f;
}

int32_t frameFlagOf(const uint8_t* bytes) {
    return layout::read(bytes, fh::FrameFlag);
}

} // namespace pelix::recording
