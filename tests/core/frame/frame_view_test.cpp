// The frame's description read against the file itself and the panel's rules,
// over frames of the bundled samples (every rectification, both units,
// envelope pairs, a version 7 file).
#include "core/frame/frame_view.h"

#include "core/numbers/number_format.h"
#include "core/recording/open_recording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

namespace pelix::frame {
namespace {

using recording::OpenRecording;

const char* const kSamples[] = {
    "PLAIN_SCAN.BIN", "DEMO.BIN",      "RF_INCH_V7.BIN",       "ENVELOPE_US.BIN",
    "NEG_V6.BIN",     "TCG_LINES.BIN", "DAC_STRAIGHT_BEA.BIN", "DGS_HOLE_LISTED_PROBE.BIN"};

std::unique_ptr<OpenRecording> openSample(const std::string& name) {
    auto outcome = OpenRecording::open(std::string(PELIX_SAMPLES_DIR) + "/" + name);
    EXPECT_TRUE(outcome.recording) << name << ": " << outcome.message;
    return std::move(outcome.recording);
}

// One record read straight from the file: the header after the setup record
// (and a version 7 file's padding), frames one after another.
struct RawRecord {
    recording::FrameHeaderBytes header{};
    std::array<uint8_t, recording::kSampleBlockBytes> samples{};
};
RawRecord readRecord(const std::string& path, int64_t offset) {
    RawRecord r;
    std::ifstream in(path, std::ios::binary);
    in.seekg(offset);
    in.read(reinterpret_cast<char*>(r.header.data()), static_cast<std::streamsize>(r.header.size()));
    in.read(reinterpret_cast<char*>(r.samples.data()), static_cast<std::streamsize>(r.samples.size()));
    return r;
}

TEST(FrameViewTest, HeadersAndTraceAreTheFilesRecords) {
    for (const char* name : kSamples) {
        auto rec = openSample(name);
        if (!rec) continue;
        const auto& setup = rec->header();
        const int64_t first =
            static_cast<int64_t>(recording::kRecordingHeaderBytes) + (setup.Version == 7 ? 4 : 0);
        const int64_t recordsPerFrame = setup.isEnvelope() ? 2 : 1;
        FrameView view;
        for (const int32_t n : {1, rec->FrameCount() / 2, rec->FrameCount()}) {
            SCOPED_TRACE(std::string(name) + " frame " + std::to_string(n));
            ASSERT_TRUE(readFrameView(*rec, n, view));
            const int64_t at = first + (n - 1) * recordsPerFrame * recording::kFrameRecordBytes;
            const RawRecord live = readRecord(rec->path(), at);
            EXPECT_EQ(view.headerBytes, live.header);
            recording::DecodedTrace expected;
            ASSERT_TRUE(recording::composeSamples(setup.Rectification, live.samples.data(), expected));
            EXPECT_EQ(view.measuredRaw, expected.AscanRaw);
            const std::span<const int16_t> points = view.pointArray();
            if (!setup.isEnvelope()) {
                ASSERT_EQ(points.size(), recording::kAscanPointCount);
                EXPECT_TRUE(std::equal(points.begin(), points.end(), expected.AscanPoints.begin()));
                continue;
            }
            // The live trace, then the envelope of the pair's second record; the last point stays 0.
            const RawRecord envelope = readRecord(rec->path(), at + recording::kFrameRecordBytes);
            EXPECT_EQ(view.lastHeaderBytes, envelope.header);
            recording::DecodedTrace second;
            ASSERT_TRUE(recording::composeSamples(setup.Rectification, envelope.samples.data(), second));
            ASSERT_EQ(points.size(), recording::kEnvelopePointCount);
            EXPECT_TRUE(std::equal(points.begin(), points.begin() + 1600, expected.AscanPoints.begin()));
            EXPECT_TRUE(std::equal(points.begin() + 1600, points.end() - 1, second.AscanPoints.begin()));
            EXPECT_EQ(points.back(), 0);
        }
    }
}

TEST(FrameViewTest, GatesAndPanelFollowTheFrameHeader) {
    for (const char* name : kSamples) {
        auto rec = openSample(name);
        if (!rec) continue;
        const auto& setup = rec->header();
        const double perUnit = setup.isInch() ? 25400.0 : 1000.0;
        const int decimals = setup.isInch() ? 3 : 2;
        FrameView view;
        for (int32_t n = 1; n <= rec->FrameCount(); n += std::max(1, rec->FrameCount() / 25)) {
            SCOPED_TRACE(std::string(name) + " frame " + std::to_string(n));
            readFrameView(*rec, n, view);
            const recording::FrameHeader& f = view.header;
            const GateView& g = view.gates;
            EXPECT_EQ(g.ShowGateA, f.GateAOn != 0);
            EXPECT_EQ(g.ShowGateB, f.GateBOn != 0);
            EXPECT_EQ(g.fGateAStart, static_cast<float>(f.GateAStart_um / perUnit));
            EXPECT_EQ(g.fGateBWidth, static_cast<float>(f.GateBWidth_um / perUnit));
            if (setup.GateBTrigger == 0) {
                EXPECT_EQ(g.fGateBStart, g.gateBStartAsSet);
            }
            // Rectified traces know only positive heights; RF keeps the half-wave's sign.
            const int64_t a = setup.Rectification == 0 ? f.GateAThreshold : std::llabs(f.GateAThreshold);
            EXPECT_EQ(g.iGateAThresh, a);
            EXPECT_EQ(g.DrawCaratOne, g.ShowGateA && g.fCaretOne != 0.0F);
            EXPECT_EQ(g.DrawCaratTwo, g.ShowGateB && g.fCaretTwo != 0.0F);
            EXPECT_EQ(view.frameGain, f.Gain_01dB);

            // Gate rows only while the gate is shown; unit rows only outside envelope pairs; 0 and 15 never.
            for (const PanelRow row : {PanelRow::GateAStart, PanelRow::GateAWidth, PanelRow::GateAThreshold,
                                       PanelRow::SoundPathA, PanelRow::GateAAmplitude})
                EXPECT_EQ(view.row(row).hasValue, g.ShowGateA);
            for (const PanelRow row : {PanelRow::GateBStart, PanelRow::GateBWidth, PanelRow::GateBThreshold,
                                       PanelRow::SoundPathB, PanelRow::GateBAmplitude})
                EXPECT_EQ(view.row(row).hasValue, g.ShowGateB);
            for (const PanelRow row : {PanelRow::Velocity, PanelRow::Units})
                EXPECT_EQ(view.row(row).hasValue, !setup.isEnvelope());
            EXPECT_TRUE(view.row(PanelRow::Gain).hasValue);
            EXPECT_FALSE(view.panel[0].hasTitle || view.panel[0].hasValue);
            EXPECT_FALSE(view.panel[15].hasTitle || view.panel[15].hasValue);
            if (g.ShowGateA) {
                // The start takes the control's separator, the echo's path does not.
                EXPECT_TRUE(view.row(PanelRow::GateAStart).value.separatorConverted);
                EXPECT_FALSE(view.row(PanelRow::SoundPathA).value.separatorConverted);
                EXPECT_EQ(view.row(PanelRow::SoundPathA).value.text,
                          numbers::formatFixed(g.fCaretOne, decimals));
            }
            const std::string title = std::to_string(n) + "/" + std::to_string(rec->FrameCount()) +
                                      " Frames   " + std::to_string(view.timeIndex) + "/" +
                                      std::to_string(rec->TotalSeconds()) + " Seconds";
            EXPECT_EQ(view.title, title);
        }
    }
}

TEST(FrameViewTest, AReadPastTheEndKeepsTheTraceBefore) {
    auto rec = openSample("PLAIN_SCAN.BIN");
    ASSERT_TRUE(rec);
    FrameView view;
    ASSERT_TRUE(readFrameView(*rec, 7, view));
    const auto before = view.trace.AscanPoints;
    EXPECT_FALSE(readFrameView(*rec, rec->FrameCount() + 1, view));
    EXPECT_TRUE(view.shortRead);
    EXPECT_TRUE(view.ownTraceMissing);
    EXPECT_FALSE(view.traceDecoded);
    EXPECT_EQ(view.trace.AscanPoints, before);
}

} // namespace
} // namespace pelix::frame
