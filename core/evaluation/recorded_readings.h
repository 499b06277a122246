// The texts of the readings panel for a shown frame: each slot's name from the
// recording's setup, and the value the instrument recorded with the frame.
#pragma once

#include "core/recording/frame_header.h"
#include "core/recording/recording_header.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pelix::evaluation {

// Kinds of value the instrument records per slot (low byte of ReadingKind).
enum class ReadingKind : uint8_t {
    Integer = 0,
    Percent = 1,
    Distance = 2,
    Zone = 3,
    Decibel = 4,
    None = 5,
    Text = 6
};

// The caption of a slot: base name, search-mode mark, "=" ("" for an empty slot).
std::string readingName(int32_t code, int32_t mode, int32_t gateAMode, int32_t gateBMode);

// Zone of a sound path (micrometres), counted from 1; none when no zone holds
// it. With variable zone lengths the zones follow one another with their own
// lengths; otherwise all zones have the first length.
std::optional<int64_t> zoneNumber(int64_t path_um, bool variableLengths, const int32_t* zoneLengths,
                                  std::size_t count);

// One recorded reading as the instrument's frame holds it.
struct RecordedReading {
    int32_t code = 0;
    int32_t noValue = 0;
    int32_t live = 0;
    int32_t value = 0;
    int32_t kind = 0;
    int32_t clipped = 0;
};
RecordedReading recordedReading(const recording::RecordingHeader& setup, const recording::FrameHeader& frame,
                                std::size_t slot);

// The value text of a slot. `displayVelocity` is the display velocity in m/s
// (microsecond readings turn paths into times with it).
std::string recordedValueText(const RecordedReading& reading, const recording::RecordingHeader& setup,
                              float displayVelocity, char decimalPoint = '.');

// A held value (neither live nor missing) is painted on the highlight-text colour.
bool readingHeld(const RecordedReading& reading);

// The recorded readings of frame after frame, as a table of a whole recording
// needs them: the slot names for each combination of the gates' search modes
// (flank or peak) made once, and each slot's value text made again only when
// the recorded reading changes (successive frames mostly repeat it).
class RecordedReadingTexts {
  public:
    RecordedReadingTexts(const recording::RecordingHeader& setup, float displayVelocity);

    const std::array<std::string, recording::kReadingSlots>&
    names(const recording::FrameHeader& frame) const {
        return m_names[frame.GateAMode != 0][frame.GateBMode != 0];
    }
    const std::string& valueText(std::size_t slot, const RecordedReading& reading);
    // Changes whenever the slot's value text is made again, so that what is
    // derived from a text can be kept as long as the revision stays.
    uint64_t valueRevision(std::size_t slot) const { return m_values.at(slot).revision; }

  private:
    struct Cached {
        bool valid = false;
        uint64_t revision = 0;
        RecordedReading reading;
        std::string text;
    };
    const recording::RecordingHeader& m_setup;
    float m_velocity;
    std::array<std::array<std::array<std::string, recording::kReadingSlots>, 2>, 2> m_names;
    std::array<Cached, recording::kReadingSlots> m_values;
};

} // namespace pelix::evaluation
