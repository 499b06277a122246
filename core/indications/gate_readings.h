// The readings of one gate that place an indication, as the readings panel
// shows them for a frame: its sound path, depth, projection and dB to
// reference, each where one of the recording's seven reading slots holds it
// (the operator chose which readings the instrument records). They come from
// the recorded readings, the panel's own texts, so a list of indications can
// never disagree with the window on the same frame.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/indications/recorded_amplitudes.h"
#include "core/recording/frame_header.h"
#include "core/recording/recording_header.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelix::indications {

enum class GateQuantity { SoundPath, Depth, Projection, DbToReference };
inline constexpr std::array<GateQuantity, 4> kGateQuantities = {
    GateQuantity::SoundPath, GateQuantity::Depth, GateQuantity::Projection, GateQuantity::DbToReference};

// "SoundPath", "Depth", "Projection", "DbToReference": the quantity's key in tables.
std::string_view quantityKey(GateQuantity quantity);

// The reading code the instrument records `quantity` of `gate` under.
int32_t readingCode(Gate gate, GateQuantity quantity);

// The first of the recording's reading slots that shows `quantity` of `gate`; none when no slot does.
std::optional<std::size_t> readingSlot(const recording::RecordingHeader& setup, Gate gate,
                                       GateQuantity quantity);

struct GateReading {
    GateQuantity quantity = GateQuantity::SoundPath;
    std::string name; // the panel's caption without its marks and "=": "SA", "dBrA"
    std::string text; // the value as the panel shows it: "20.80mm", "-----dB"
    bool held = false;
    std::optional<double> number; // the value the text shows, none when it shows none
    std::string unit;             // "mm", "in", "us", "dB", or empty
};

// The readings the recording gives of `gate` for `frame`, in the order of kGateQuantities; a
// quantity no slot shows is left out. `displayVelocity` in m/s (microsecond readings need it).
std::vector<GateReading> gateReadings(const recording::RecordingHeader& setup, float displayVelocity,
                                      const recording::FrameHeader& frame, Gate gate);

// The same from the seven reading texts of a re-measure (the calculation library's), in place of
// the recorded ones.
std::vector<GateReading>
gateReadings(const recording::RecordingHeader& setup,
             const std::array<evaluation::CalReading, recording::kReadingSlots>& texts, Gate gate);

// The decibels a reading text shows ("-3.5dB" -> -3.5); none for a text without a dB value.
std::optional<double> decibelsShown(std::string_view text);

// The frame's dB-to-reference reading of `gate` as the panel shows it; none when no slot records
// it or the slot shows no value.
std::optional<double> recordedDbToReference(const recording::RecordingHeader& setup,
                                            const recording::FrameHeader& frame, Gate gate);

// The same for a header scan (see scanRecordedAmplitudes); `setup` must outlive the function.
DbToReferenceOf recordedDbToReferenceOf(const recording::RecordingHeader& setup, Gate gate);

} // namespace pelix::indications
