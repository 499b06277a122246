// The HDF5 export read back through the HDF5 C interface and compared, frame by
// frame, with what the display reads: the trace as the control receives it,
// the gates on screen, the readings panel, the setup; then the range, the
// compression levels and every way the output can fail without leaving a file.
#include "core/digest/sha256.h"
#include "core/evaluation/reading_number.h"
#include "core/frame/frame_view.h"
#include "core/hdf5/recording_export.h"
#include "core/recording/open_recording.h"
#include "layout/record_layout.h"
#include "support/case_names.h"
#include "support/hdf5_read.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using namespace pelix::recording;
using pelix::hdf5::ExportEnd;
using pelix::hdf5::ExportOptions;
using pelix::hdf5::exportRecording;
using pelix::testing::Hdf5Reader;
using pelix::testing::TempFolder;

#if defined(__SANITIZE_ADDRESS__)
void lsanDisable() {
    __lsan_disable();
}
void lsanEnable() {
    __lsan_enable();
}
#else
void lsanDisable() {}
void lsanEnable() {}
#endif

struct Exported {
    TempFolder folder;
    std::string recording = folder.file("scan.BIN");
    std::string output = folder.file("scan.h5");
};

void writeRecording(const std::string& path, const pelix::synth::SynthOptions& options) {
    std::ofstream(path, std::ios::binary) << pelix::testing::synthesize(options);
}

std::unique_ptr<OpenRecording> openRecording(const std::string& path) {
    OpenOutcome outcome = OpenRecording::open(path);
    return std::move(outcome.recording);
}

struct RecordingCase {
    const char* name;
    int32_t rectification;
    bool envelope;
    int32_t units;
    int32_t framesPerSecond;
};

class ExportMatchesDisplay : public ::testing::TestWithParam<RecordingCase> {};

// Every dataset of every frame against the frame as the player shows it; 1100
// frames cross the 1024-frame blocks the export writes.
TEST_P(ExportMatchesDisplay, EveryFrameAsShown) {
    const RecordingCase c = GetParam();
    Exported e;
    pelix::synth::SynthOptions synth;
    synth.rectification = c.rectification;
    synth.envelope = c.envelope;
    synth.units = c.units;
    synth.framesPerSecond = c.framesPerSecond;
    synth.frames = 1100;
    writeRecording(e.recording, synth);
    const auto rec = openRecording(e.recording);
    ASSERT_TRUE(rec);
    const int32_t frames = rec->FrameCount();
    ASSERT_EQ(frames, 1100);

    ExportOptions options;
    options.last = frames;
    int64_t lastProgress = 0;
    options.progress = [&](int64_t done, int64_t total) {
        EXPECT_GT(done, lastProgress);
        EXPECT_EQ(total, frames);
        lastProgress = done;
    };
    const auto result = exportRecording(*rec, e.output, options);
    ASSERT_EQ(result.end, ExportEnd::Written) << result.error;
    EXPECT_EQ(lastProgress, frames);

    Hdf5Reader h5(e.output);
    ASSERT_TRUE(h5.ok());
    const std::size_t n = c.rectification == 0 ? 1600 : 800;
    EXPECT_EQ(h5.shape("/frames/ascan"), (std::vector<hsize_t>{hsize_t(frames), n}));
    EXPECT_EQ(h5.has("/frames/ascan_envelope"), c.envelope);
    EXPECT_EQ(h5.has("/frames/SecondFrameHeader/GateAStart_um"), c.envelope);
    EXPECT_EQ(h5.shape("/frames/ReadingValue"), (std::vector<hsize_t>{hsize_t(frames), kReadingSlots}));

    const auto number = h5.ints("/frames/number");
    const auto time = h5.doubles("/frames/time");
    const auto flag = h5.bytes("/frames/flag");
    const auto ascan = h5.bytes("/frames/ascan");
    const auto envelope = c.envelope ? h5.bytes("/frames/ascan_envelope") : std::vector<uint8_t>{};
    const auto gateAStart = h5.ints("/frames/GateAStart_um");
    const auto gain = h5.ints("/frames/Gain_01dB");
    const auto readingValue = h5.ints("/frames/ReadingValue");
    const auto secondGain =
        c.envelope ? h5.ints("/frames/SecondFrameHeader/Gain_01dB") : std::vector<int32_t>{};
    const auto shownGateAStart = h5.floats("/frames/gate_a_start");
    const auto shownGateBStart = h5.floats("/frames/gate_b_start");
    const auto shownGateBWidth = h5.floats("/frames/gate_b_width");
    const auto readingNumber = h5.doubles("/frames/reading_number");
    const auto readingUnit = h5.texts("/frames/reading_unit");
    const auto readingHeld = h5.bytes("/frames/reading_held");

    pelix::frame::FrameView view;
    int flagged = 0, held = 0, numbers = 0;
    for (int32_t f = 1; f <= frames; ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        ASSERT_TRUE(pelix::frame::readFrameView(*rec, f, view));
        const auto row = static_cast<std::size_t>(f - 1);
        ASSERT_EQ(number[row], f);
        ASSERT_DOUBLE_EQ(time[row], double(f - 1) / c.framesPerSecond);
        ASSERT_EQ(flag[row], view.header.FrameFlag != 0 ? 1 : 0);
        flagged += flag[row];
        // The live trace, then for an envelope recording the envelope behind it.
        const auto live = c.envelope ? std::span<const int16_t>(view.trace.EnvelopePoints)
                                     : std::span<const int16_t>(view.trace.AscanPoints);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(ascan[row * n + i], live[i]) << "sample " << i;
            if (c.envelope) {
                ASSERT_EQ(envelope[row * n + i], view.trace.EnvelopePoints[1600 + i]) << "sample " << i;
            }
        }
        ASSERT_EQ(gateAStart[row], view.header.GateAStart_um);
        ASSERT_EQ(gain[row], view.frameGain);
        if (c.envelope) {
            ASSERT_EQ(secondGain[row], decodeFrameHeader(view.lastHeaderBytes).Gain_01dB);
        }
        ASSERT_FLOAT_EQ(shownGateAStart[row], view.gates.fGateAStart);
        ASSERT_FLOAT_EQ(shownGateBStart[row], view.gates.fGateBStart);
        ASSERT_FLOAT_EQ(shownGateBWidth[row], view.gates.fGateBWidth);
        for (std::size_t s = 0; s < kReadingSlots; ++s) {
            const std::size_t at = row * kReadingSlots + s;
            ASSERT_EQ(readingValue[at], view.header.ReadingValue[s]);
            const pelix::evaluation::ReadingNumber shown =
                pelix::evaluation::readingNumber(view.readings[s].value);
            if (shown.number().empty()) {
                ASSERT_TRUE(std::isnan(readingNumber[at]))
                    << "slot " << s << " shows " << view.readings[s].value;
            } else {
                ASSERT_EQ(std::to_string(readingNumber[at]),
                          std::to_string(std::stod(std::string(shown.number()))))
                    << "slot " << s << " shows " << view.readings[s].value;
                ++numbers;
            }
            ASSERT_EQ(readingUnit[at], shown.unit) << "slot " << s;
            ASSERT_EQ(readingHeld[at], view.readings[s].held ? 1 : 0) << "slot " << s;
            held += readingHeld[at];
        }
    }
    // Every word of every frame header, table by table, against the records' own bytes: the
    // tables are filled a table at a time over pieces of frames, which must not shift a row.
    std::vector<uint8_t> records(static_cast<std::size_t>(rec->frameStride()) *
                                 static_cast<std::size_t>(frames));
    ASSERT_EQ(rec->file().readAt(rec->recordOffset(1), records.data(), records.size()), records.size());
    for (const bool second : {false, true}) {
        if (second && !c.envelope) continue;
        const uint8_t* first = records.data() + (second ? kFrameRecordBytes : 0);
        for (const pelix::layout::Field& field : pelix::layout::frame::kFields) {
            const std::string name =
                std::string(second ? "/frames/SecondFrameHeader/" : "/frames/") + std::string(field.name);
            const auto table = h5.ints(name);
            ASSERT_EQ(table.size(), static_cast<std::size_t>(frames) * field.count) << name;
            for (std::size_t row = 0; row < static_cast<std::size_t>(frames); ++row)
                for (std::size_t i = 0; i < field.count; ++i)
                    ASSERT_EQ(table[row * field.count + i],
                              pelix::layout::read(first + row * static_cast<std::size_t>(rec->frameStride()),
                                                  field, i))
                        << name << " frame " << row + 1 << " element " << i;
        }
    }

    // The generated recording exercises what is compared.
    EXPECT_GT(flagged, 0);
    EXPECT_GT(held, 0);
    EXPECT_GT(numbers, 0);

    // The setup as `pelix info --json` gives it, and what the display derives from it.
    const RecordingHeader& setup = rec->header();
    EXPECT_EQ(h5.ints("/setup/Velocity"), std::vector<int32_t>{setup.Velocity});
    EXPECT_EQ(h5.ints("/setup/Units"), std::vector<int32_t>{setup.Units});
    EXPECT_EQ(h5.ints("/setup/ReadingCodes"),
              std::vector<int32_t>(setup.ReadingCodes.begin(), setup.ReadingCodes.end()));
    EXPECT_EQ(h5.ints("/setup/TCGPointTable/ulRecordedGain_01dB"),
              std::vector<int32_t>(setup.TCGPoints.ulRecordedGain_01dB.begin(),
                                   setup.TCGPoints.ulRecordedGain_01dB.end()));
    EXPECT_EQ(h5.floats("/setup/Derived/DisplayRange"), std::vector<float>{rec->derived().displayRange});
    EXPECT_EQ(h5.textAttribute("/setup/Derived/Velocity", "unit"), setup.isInch() ? "in/us" : "m/s");
    EXPECT_EQ(h5.textAttribute("/frames/gate_a_start", "unit"), setup.isInch() ? "in" : "mm");

    EXPECT_EQ(h5.textAttribute("/", "source_name"), "scan.BIN");
    EXPECT_EQ(h5.intAttribute("/", "source_size"), rec->file().length());
    EXPECT_EQ(h5.textAttribute("/", "source_sha256"), pelix::digest::sha256OfFile(e.recording).hex);
    EXPECT_EQ(h5.intAttribute("/", "frame_count"), frames);
    EXPECT_EQ(h5.intAttribute("/", "frames_per_second"), c.framesPerSecond);
    EXPECT_EQ(h5.intAttribute("/", "envelope"), c.envelope ? 1 : 0);
    EXPECT_EQ(h5.intAttribute("/", "version"), setup.Version);
    const char* const unitsTexts[] = {"mm", "in", "us"};
    EXPECT_EQ(h5.textAttribute("/", "units"), unitsTexts[c.units]);
}

INSTANTIATE_TEST_SUITE_P(Recordings, ExportMatchesDisplay,
                         ::testing::Values(RecordingCase{"MillimetreFullWave", 3, false, 0, 50},
                                           RecordingCase{"InchNegativeHalfWave", 1, false, 1, 10},
                                           RecordingCase{"MicrosecondRf", 0, false, 2, 50},
                                           RecordingCase{"RfEnvelope", 0, true, 0, 50},
                                           RecordingCase{"PositiveHalfWaveEnvelope", 2, true, 1, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

class SmallExport : public ::testing::Test {
  protected:
    void SetUp() override {
        pelix::synth::SynthOptions synth;
        synth.frames = 2100;
        synth.extraBytes = 700; // a last record cut short: no frame, but part of the file
        writeRecording(e.recording, synth);
        rec = openRecording(e.recording);
        ASSERT_TRUE(rec);
        recordingBytes = std::filesystem::file_size(e.recording);
    }
    bool onlyTheRecordingIsLeft() const {
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(e.folder.path())) {
            (void)entry;
            ++files;
        }
        return files == 1 && std::filesystem::file_size(e.recording) == recordingBytes;
    }
    Exported e;
    std::unique_ptr<OpenRecording> rec;
    std::uintmax_t recordingBytes = 0;
};

TEST_F(SmallExport, RangeKeepsTheOriginalFrameNumbers) {
    ExportOptions options;
    options.first = 1000;
    options.last = 2050;
    ASSERT_EQ(exportRecording(*rec, e.output, options).end, ExportEnd::Written);
    Hdf5Reader h5(e.output);
    // The frames are hashed as they are read; the bytes before and after the range are hashed too.
    EXPECT_EQ(h5.textAttribute("/", "source_sha256"), pelix::digest::sha256OfFile(e.recording).hex);
    const auto number = h5.ints("/frames/number");
    ASSERT_EQ(number.size(), 1051U);
    for (std::size_t i = 0; i < number.size(); ++i)
        ASSERT_EQ(number[i], 1000 + int32_t(i));
    EXPECT_DOUBLE_EQ(h5.doubles("/frames/time").front(), 999.0 / 50);
    const auto ascan = h5.bytes("/frames/ascan");
    const pelix::frame::FrameView last = pelix::frame::frameView(*rec, 2050);
    for (std::size_t i = 0; i < 800; ++i)
        ASSERT_EQ(ascan[1050 * 800 + i], last.trace.AscanPoints[i]) << "sample " << i;
    EXPECT_EQ(h5.intAttribute("/", "first_frame"), 1000);
    EXPECT_EQ(h5.intAttribute("/", "last_frame"), 2050);
    EXPECT_EQ(h5.intAttribute("/", "frame_count"), 2100);
}

// Level 0 stores the tables as they are; any other level shuffles and deflates
// them, in blocks of 1024 frames, and reads back the same values.
TEST_F(SmallExport, CompressionLevels) {
    std::vector<uint8_t> reference;
    std::uintmax_t uncompressed = 0;
    for (const int level : {0, 1, 9}) {
        SCOPED_TRACE("level " + std::to_string(level));
        ExportOptions options;
        options.last = rec->FrameCount();
        options.compression = level;
        const std::string out = e.folder.file("level" + std::to_string(level) + ".h5");
        ASSERT_EQ(exportRecording(*rec, out, options).end, ExportEnd::Written);
        Hdf5Reader h5(out);
        const hid_t dataset = H5Dopen2(h5.id(), "/frames/ascan", H5P_DEFAULT);
        const hid_t properties = H5Dget_create_plist(dataset);
        std::array<hsize_t, 2> chunk{};
        ASSERT_EQ(H5Pget_chunk(properties, 2, chunk.data()), 2);
        EXPECT_EQ(chunk, (std::array<hsize_t, 2>{1024, 800}));
        const int filters = H5Pget_nfilters(properties);
        ASSERT_EQ(filters, level == 0 ? 0 : 2);
        if (level > 0) {
            unsigned flags = 0;
            std::array<unsigned, 8> values{};
            std::size_t count = values.size();
            EXPECT_EQ(H5Pget_filter2(properties, 0, &flags, &count, values.data(), 0, nullptr, nullptr),
                      H5Z_FILTER_SHUFFLE);
            count = values.size();
            EXPECT_EQ(H5Pget_filter2(properties, 1, &flags, &count, values.data(), 0, nullptr, nullptr),
                      H5Z_FILTER_DEFLATE);
            EXPECT_EQ(values[0], unsigned(level));
        }
        H5Pclose(properties);
        H5Dclose(dataset);
        const auto ascan = h5.bytes("/frames/ascan");
        if (reference.empty())
            reference = ascan;
        else
            EXPECT_EQ(ascan, reference);
        const auto size = std::filesystem::file_size(out);
        if (level == 0)
            uncompressed = size;
        else
            EXPECT_LT(size * 2, uncompressed);
    }
}

TEST_F(SmallExport, RefusesToReplaceTheRecording) {
    ExportOptions options;
    options.last = 10;
    const auto result = exportRecording(*rec, e.recording, options);
    EXPECT_EQ(result.end, ExportEnd::Failed);
    EXPECT_NE(result.error.find("nothing written"), std::string::npos) << result.error;
    EXPECT_TRUE(onlyTheRecordingIsLeft());
    EXPECT_TRUE(openRecording(e.recording));
}

TEST_F(SmallExport, NothingIsWrittenForARangeOrLevelOutside) {
    const struct {
        int32_t first, last;
        int compression;
    } refused[] = {{0, 5, 1}, {5, 2101, 1}, {9, 8, 1}, {1, 5, -1}, {1, 5, 10}};
    for (const auto& r : refused) {
        ExportOptions options;
        options.first = r.first;
        options.last = r.last;
        options.compression = r.compression;
        const auto result = exportRecording(*rec, e.output, options);
        EXPECT_EQ(result.end, ExportEnd::Failed) << r.first << ".." << r.last << " level " << r.compression;
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_TRUE(onlyTheRecordingIsLeft());
}

TEST_F(SmallExport, AFullDiskLeavesNothingAndSaysWhyInOneLine) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 600000;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    ExportOptions options;
    options.last = rec->FrameCount();
    options.compression = 0;
    // The library keeps what it holds of a file whose last write failed: that
    // memory is let go on purpose, never touched again.
    lsanDisable();
    const auto result = exportRecording(*rec, e.output, options);
    lsanEnable();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result.end, ExportEnd::Failed);
    EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
    EXPECT_EQ(result.error.rfind(e.output, 0), 0U) << result.error;
    EXPECT_TRUE(onlyTheRecordingIsLeft());
    // The library is left able to write the next file (a window exports again).
    options.last = 20;
    EXPECT_EQ(exportRecording(*rec, e.output, options).end, ExportEnd::Written);
    EXPECT_TRUE(Hdf5Reader(e.output).ok());
}

TEST_F(SmallExport, AStopLeavesNothing) {
    std::atomic<bool> stop{false};
    ExportOptions options;
    options.last = rec->FrameCount();
    options.stop = &stop;
    options.progress = [&](int64_t, int64_t) { stop = true; };
    EXPECT_EQ(exportRecording(*rec, e.output, options).end, ExportEnd::Stopped);
    EXPECT_TRUE(onlyTheRecordingIsLeft());
}

TEST_F(SmallExport, ARecordingCutShortUnderTheExportLeavesNothing) {
    // The reader counted 2100 frames when it opened; the file then loses its last ones.
    std::filesystem::resize_file(e.recording, recordingBytes - 100 * 2048);
    recordingBytes = std::filesystem::file_size(e.recording);
    ExportOptions options;
    options.last = rec->FrameCount();
    const auto result = exportRecording(*rec, e.output, options);
    EXPECT_EQ(result.end, ExportEnd::Failed);
    EXPECT_NE(result.error.find("cut short"), std::string::npos) << result.error;
    EXPECT_TRUE(onlyTheRecordingIsLeft());
}

TEST(Hdf5Name, ChosenByTheExtension) {
    for (const char* yes : {"a.h5", "a.H5", "dir/b.hdf5", "x.avi.HDF5"})
        EXPECT_TRUE(pelix::hdf5::isHdf5Name(yes)) << yes;
    for (const char* no : {"a.avi", "h5", ".h5", "a.h5.avi", "a.mp4", "a.hdf"})
        EXPECT_FALSE(pelix::hdf5::isHdf5Name(no)) << no;
}

} // namespace
