#include "core/hdf5/setup_group.h"

#include "core/frame/frame_arithmetic.h"
#include "core/recording/record_fields.h"

namespace pelix::hdf5 {

using namespace pelix::recording;

namespace {

// The recording's Units word in words: microseconds change only the readings,
// lengths are then shown in millimetres.
const char* unitsText(uint8_t units) {
    switch (units) {
    case 1:
        return "in";
    case 2:
        return "us";
    default:
        return "mm";
    }
}

} // namespace

bool writeRootAttributes(hid_t file, const OpenRecording& recording, const SourceFacts& source,
                         std::string& error) {
    const RecordingHeader& h = recording.header();
    const char* rectification = frame::rectificationText(h.Rectification);
    const bool ok = writeAttribute(file, "format", std::string_view(kFormatName)) &&
                    writeAttribute(file, "format_version", kFormatVersion) &&
                    writeAttribute(file, "source_name", std::string_view(source.name)) &&
                    writeAttribute(file, "source_size", source.size) &&
                    writeAttribute(file, "frame_count", int64_t{recording.FrameCount()}) &&
                    writeAttribute(file, "first_frame", int64_t{source.first}) &&
                    writeAttribute(file, "last_frame", int64_t{source.last}) &&
                    writeAttribute(file, "frames_per_second", int64_t{recording.framesPerSecond()}) &&
                    writeAttribute(file, "units", std::string_view(unitsText(h.Units))) &&
                    writeAttribute(file, "length_unit", std::string_view(h.isInch() ? "in" : "mm")) &&
                    writeAttribute(file, "rectification", std::string_view(rectification)) &&
                    writeAttribute(file, "envelope", int64_t{h.isEnvelope() ? 1 : 0}) &&
                    writeAttribute(file, "version", int64_t{h.Version});
    if (!ok) error = libraryError("cannot write the file's attributes");
    return ok;
}

bool writeSetupGroup(hid_t file, const OpenRecording& recording, std::string& error) {
    const Handle setup = createGroup(file, "setup");
    bool ok = setup.valid();
    const uint8_t* raw = recording.rawHeader().data();
    const RecordingHeader& h = recording.header();
    // Field names are the layout's identifiers: never more than a C string's worth.
    const auto name = [](std::string_view n) { return std::string(n); };
    if (ok)
        forEachSetupField(
            raw, h,
            [&](std::string_view n, int32_t v) { ok = ok && writeDataset(setup.id(), name(n).c_str(), v); },
            [&](std::string_view n, const std::vector<int32_t>& a) {
                ok = ok && writeDataset(setup.id(), name(n).c_str(), std::span<const int32_t>(a));
            });
    const Handle points = ok ? createGroup(setup.id(), "TCGPointTable") : Handle();
    ok = ok && points.valid() &&
         writeDataset(points.id(), "ulNumOfStoredPoints", h.TCGPoints.ulNumOfStoredPoints);
    if (ok)
        forEachTcgColumn(raw, [&](std::string_view n, const std::vector<int32_t>& a) {
            ok = ok && writeDataset(points.id(), name(n).c_str(), std::span<const int32_t>(a));
        });

    const Handle derived = ok ? createGroup(setup.id(), "Derived") : Handle();
    const DerivedSetup& d = recording.derived();
    const std::string_view length = h.isInch() ? "in" : "mm";
    const auto withUnit = [&](const char* n, float v, std::string_view unit) {
        if (!writeDataset(derived.id(), n, v)) return false;
        const Handle dataset(H5Dopen2(derived.id(), n, H5P_DEFAULT), H5Dclose);
        return dataset.valid() && writeAttribute(dataset.id(), "unit", unit);
    };
    ok = ok && derived.valid() &&
         writeDataset(derived.id(), "Unit", std::string_view(h.isInch() ? "inch" : "mm")) &&
         withUnit("Velocity", d.velocity, h.isInch() ? "in/us" : "m/s") &&
         withUnit("DisplayDelay", d.displayDelay, length) && withUnit("DisplayRange", d.displayRange, length);
    if (!ok) error = libraryError("cannot write /setup");
    return ok;
}

} // namespace pelix::hdf5
