// pelix info: the setup record decoded, with what the player derives from it.
#include "player/recording/open_recording.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/json_writer.h"

#include <iostream>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

const char* kHelp = "usage: pelix info FILE [--json]\n"
                    "Prints every setup field by name, the derived velocity, display delay and\n"
                    "display range, HeaderSize, FrameCount, the rate, TotalSeconds, FlagCount and FlagIndex.\n";

// Visits every named setup field in file order.
template <typename Visit> void forEachHeaderField(const RecordingHeader& h, Visit&& visit) {
    visit("Magic", h.Magic);
    visit("Version", h.Version);
    visit("FlagCount", h.FlagCount);
    visit("RateSelect", h.RateSelect);
    visit("Units", static_cast<int32_t>(h.Units));
    visit("DisplayRange_um", h.DisplayRange_um);
    visit("ProbeDelay", h.ProbeDelay);
    visit("DisplayDelay_ns", h.DisplayDelay_ns);
    visit("Velocity", h.Velocity);
    visit("Rectification", h.Rectification);
    visit("GateBTrigger", h.GateBTrigger);
    visit("PathAsZoneNumber", h.PathAsZoneNumber);
    visit("ZoneLengthsVariable", h.ZoneLengthsVariable);
    visit("ReadingSlotCount", h.ReadingSlotCount);
    visit("EvalMode", h.EvalMode);
    visit("TCGMode", h.TCGMode);
    visit("TCGDisplay", h.TCGDisplay);
    visit("DACCurveType", h.DACCurveType);
    visit("TCGCurveStatus", h.TCGCurveStatus);
    visit("PrbAngle", h.PrbAngle);
    visit("TrigThk", h.TrigThk);
    visit("ProbeXValue", h.ProbeXValue);
    visit("TrigColorLeg", h.TrigColorLeg);
    visit("ODiameter", h.ODiameter);
    visit("BEA", h.BEA);
    visit("DGSMode", h.DGSMode);
    visit("DGSRefStatus", h.DGSRefStatus);
    visit("DGSProbeNum", h.DGSProbeNum);
    visit("NumOfDGSDrawPnts", h.NumOfDGSDrawPnts);
    visit("DGSCurve", h.DGSCurve);
    visit("DGSXtalFreq", h.DGSXtalFreq);
    visit("DGSEffeDiam", h.DGSEffeDiam);
    visit("DGSDelayVel", h.DGSDelayVel);
    visit("DGSRefType", h.DGSRefType);
    visit("DGSRefSize", h.DGSRefSize);
    visit("DGSRefAtten", h.DGSRefAtten);
    visit("DGSAmplCorr", h.DGSAmplCorr);
    visit("DGSTestAtten", h.DGSTestAtten);
    visit("DGSRefDist", h.DGSRefDist);
    visit("DGSRefAmp", h.DGSRefAmp);
    visit("DGSBaseGain", h.DGSBaseGain);
    visit("DGSRefGain", h.DGSRefGain);
    visit("FilterSetup", h.FilterSetup);
    visit("GateBRelative", h.GateBRelative);
    visit("JISEnable", h.JISEnable);
    visit("JISBoldLine", h.JISBoldLine);
    visit("Envelope", h.Envelope);
    visit("CNDACRegs", h.CNDACRegs);
    visit("BWGain", h.BWGain);
}

template <typename Visit> void forEachHeaderArray(const RecordingHeader& h, Visit&& visit) {
    visit("ZoneLengths", h.ZoneLengths);
    visit("ReadingCodes", h.ReadingCodes);
    visit("ReadingModes", h.ReadingModes);
    visit("CurveOffsets", h.CurveOffsets);
}

template <typename Visit> void forEachTcgColumn(const TCGPointTable& t, Visit&& visit) {
    visit("ulRecordedAMP_01PCT", t.ulRecordedAMP_01PCT);
    visit("ulRecordedGain_01dB", t.ulRecordedGain_01dB);
    visit("ulHardwareTOF_20ns", t.ulHardwareTOF_20ns);
    visit("ulFinalGain_01dB", t.ulFinalGain_01dB);
    visit("ulAmpAtRefGain_01PCT", t.ulAmpAtRefGain_01PCT);
}

// FlagIndex[0 .. min(FlagCount, FrameCount)].
std::vector<int32_t> flagIndexOf(const OpenRecording& rec) {
    const int64_t last = std::min<int64_t>(rec.flags().count(), rec.FrameCount());
    std::vector<int32_t> index;
    for (int64_t k = 0; k <= last; ++k) index.push_back(rec.flags().at(k));
    return index;
}

template <typename Array> std::string joined(const Array& values) {
    std::string s;
    for (const auto v : values) s += (s.empty() ? "" : " ") + std::to_string(v);
    return s;
}

} // namespace

int runInfo(const Args& args) {
    const ParsedArgs parsed = parseArgs(args, {});
    if (parsed.help) {
        std::cout << kHelp;
        return kExitOk;
    }
    if (!parsed.error.empty() || parsed.positional.size() != 1) {
        std::cerr << "pelix info: " << (parsed.error.empty() ? "expects one FILE" : parsed.error) << "\n" << kHelp;
        return kExitUsage;
    }
    const OpenOutcome outcome = OpenRecording::open(parsed.positional[0]);
    if (!outcome.recording) return reportRejected(outcome);
    const OpenRecording& rec = *outcome.recording;
    const RecordingHeader& h = rec.header();
    const DerivedSetup& d = rec.derived();
    const std::vector<int32_t> flagIndex = flagIndexOf(rec);

    if (parsed.json) {
        JsonWriter w;
        w.beginObject();
        w.key("RecordingHeader");
        w.beginObject();
        forEachHeaderField(h, [&](const char* name, int32_t v) { w.field(name, v); });
        forEachHeaderArray(h, [&](const char* name, const auto& a) {
            w.key(name);
            w.array(a);
        });
        w.key("TCGPointTable");
        w.beginObject();
        w.field("ulNumOfStoredPoints", h.TCGPoints.ulNumOfStoredPoints);
        forEachTcgColumn(h.TCGPoints, [&](const char* name, const auto& a) {
            w.key(name);
            w.array(a);
        });
        w.endObject();
        w.endObject();
        w.key("Derived");
        w.beginObject();
        w.field("Unit", std::string(h.isInch() ? "inch" : "mm"));
        w.field("Velocity", d.velocity);
        w.field("DisplayDelay", d.displayDelay);
        w.field("DisplayRange", d.displayRange);
        w.endObject();
        w.field("HeaderSize", rec.HeaderSize());
        w.field("FrameCount", rec.FrameCount());
        w.field("FramesPerSecond", rec.framesPerSecond());
        w.field("TotalSeconds", rec.TotalSeconds());
        w.field("FlagCount", rec.FlagCount());
        w.key("FlagIndex");
        w.array(flagIndex);
        w.field("FileLength", rec.file().length());
        w.endObject();
        std::cout << w.text() << "\n";
        return kExitOk;
    }

    std::cout << "File: " << rec.path() << "\n";
    forEachHeaderField(h, [](const char* name, int32_t v) { std::cout << name << ": " << v << "\n"; });
    forEachHeaderArray(h, [](const char* name, const auto& a) { std::cout << name << ": " << joined(a) << "\n"; });
    std::cout << "ulNumOfStoredPoints: " << h.TCGPoints.ulNumOfStoredPoints << "\n";
    forEachTcgColumn(h.TCGPoints, [](const char* name, const auto& a) { std::cout << name << ": " << joined(a) << "\n"; });
    std::cout << "Derived velocity: " << d.velocity << (h.isInch() ? " in/us" : " m/s") << "\n"
              << "Derived display delay: " << d.displayDelay << (h.isInch() ? " in" : " mm") << "\n"
              << "Derived display range: " << d.displayRange << (h.isInch() ? " in" : " mm") << "\n"
              << "HeaderSize: " << rec.HeaderSize() << "\n"
              << "FrameCount: " << rec.FrameCount() << "\n"
              << "Rate: " << rec.framesPerSecond() << " frames/s\n"
              << "TotalSeconds: " << rec.TotalSeconds() << "\n"
              << "FlagCount: " << rec.FlagCount() << "\n"
              << "FlagIndex: " << joined(flagIndex) << "\n";
    return kExitOk;
}

} // namespace pelix::tool
