#include "player/recording/frame_header.h"

#include "player/recording/byte_order.h"

namespace pelix::recording {

FrameHeader decodeFrameHeader(const uint8_t* b) {
    FrameHeader f;
    f.FrameFlag = littleEndianWord(b + fh::FrameFlag);
    for (std::size_t i = 0; i < kReadingSlots; ++i) {
        f.ReadingNoValue[i] = littleEndianWord(b + fh::ReadingNoValue + 4 * i);
        f.ReadingLive[i] = littleEndianWord(b + fh::ReadingLive + 4 * i);
        f.ReadingValue[i] = littleEndianWord(b + fh::ReadingValue + 4 * i);
        f.ReadingKind[i] = littleEndianWord(b + fh::ReadingKind + 4 * i);
        f.ReadingClipped[i] = littleEndianWord(b + fh::ReadingClipped + 4 * i);
    }
    f.Gain_01dB = littleEndianWord(b + fh::Gain_01dB);
    f.GateAStart_um = littleEndianWord(b + fh::GateAStart_um);
    f.GateAWidth_um = littleEndianWord(b + fh::GateAWidth_um);
    f.GateAThreshold = littleEndianWord(b + fh::GateAThreshold);
    f.GateAMode = littleEndianWord(b + fh::GateAMode);
    f.GateAOn = littleEndianWord(b + fh::GateAOn);
    f.GateATOF_2_5ns = littleEndianWord(b + fh::GateATOF_2_5ns);
    f.GateAAmplitude = littleEndianWord(b + fh::GateAAmplitude);
    f.GateAValid = littleEndianWord(b + fh::GateAValid);
    f.GateBStart_um = littleEndianWord(b + fh::GateBStart_um);
    f.GateBWidth_um = littleEndianWord(b + fh::GateBWidth_um);
    f.GateBThreshold = littleEndianWord(b + fh::GateBThreshold);
    f.GateBMode = littleEndianWord(b + fh::GateBMode);
    f.GateBOn = littleEndianWord(b + fh::GateBOn);
    f.GateBTOF_2_5ns = littleEndianWord(b + fh::GateBTOF_2_5ns);
    f.GateBAmplitude = littleEndianWord(b + fh::GateBAmplitude);
    f.GateBValid = littleEndianWord(b + fh::GateBValid);
    return f;
}

int32_t frameFlagOf(const uint8_t* bytes) { return littleEndianWord(bytes + fh::FrameFlag); }

} // namespace pelix::recording
