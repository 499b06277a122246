#include "core/report/report_summary.h"

#include "core/frame/frame_arithmetic.h"
#include "core/numbers/number_format.h"
#include "layout/evaluation_mode.h"

#include <cstdio>
#include <filesystem>

namespace pelix::report {

using namespace pelix::recording;

namespace {

// A summary line, not a table: a recording flagged in every frame still fits the page.
constexpr std::size_t kMaxListedFlags = 60;

// Every fixed-decimal number reads as the panel shows it.
using numbers::formatFixed;

std::string fileSizeText(int64_t bytes) {
    if (bytes < 0) return "unknown";
    std::string text = std::to_string(bytes) + " bytes";
    if (bytes >= 1024 * 1024)
        text += " (" + formatFixed(static_cast<double>(bytes) / (1024.0 * 1024.0), 1) + " MiB)";
    return text;
}

std::string gateText(bool on, int32_t start_um, int32_t width_um, int32_t threshold, int32_t mode,
                     const frame::UnitConstants& units, const char* unitName) {
    if (!on) return "off";
    const auto length = [&](int32_t um) {
        return formatFixed(frame::toDisplayUnits(um, units), units.lengthDecimals) + " " + unitName;
    };
    return "start " + length(start_um) + ", width " + length(width_um) + ", threshold " +
           std::to_string(threshold) + " %, " + (mode != 0 ? "flank" : "peak");
}

std::string lengthText(int64_t frameCount, int32_t framesPerSecond) {
    const int64_t hundredths = frameCount * 100 / framesPerSecond;
    const int64_t seconds = hundredths / 100;
    std::string text = formatFixed(static_cast<double>(hundredths) / 100.0, 2) + " s";
    if (seconds >= 60) {
        char clock[32];
        std::snprintf(clock, sizeof clock, " (%lld:%02lld min)", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
        text += clock;
    }
    return text;
}

} // namespace

std::string evaluationModeText(int32_t evalMode, int32_t tcgMode) {
    std::string text;
    switch (layout::evaluationFamily(evalMode)) {
    case layout::EvaluationFamily::DacOrTcg:
        text = tcgMode == 2 ? "DAC" : "TCG";
        break;
    case layout::EvaluationFamily::Dgs:
        text = "DGS";
        break;
    case layout::EvaluationFamily::JisDac:
        text = "JIS DAC";
        break;
    case layout::EvaluationFamily::CnDac:
        text = "CN DAC";
        break;
    case layout::EvaluationFamily::None:
        text = "none";
        break;
    }
    if (!layout::isEvaluationModeCode(evalMode)) text += " (code " + std::to_string(evalMode) + ")";
    return text;
}

std::string frameTimeText(int64_t frame, int32_t framesPerSecond) {
    const int64_t hundredths = (frame - 1) * 100 / framesPerSecond;
    return formatFixed(static_cast<double>(hundredths) / 100.0, 2) + " s";
}

std::string frameListText(const std::vector<int32_t>& frames, std::size_t maxItems) {
    std::string text;
    std::size_t items = 0;
    for (std::size_t i = 0; i < frames.size(); ++items) {
        if (items == maxItems) {
            text += ", \xE2\x80\xA6 (" + std::to_string(frames.size() - i) + " more)";
            break;
        }
        std::size_t j = i;
        while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1)
            ++j;
        if (!text.empty()) text += ", ";
        text += std::to_string(frames[i]);
        if (j > i) text += (j == i + 1 ? ", " : "-") + std::to_string(frames[j]);
        i = j + 1;
    }
    return text.empty() ? "none" : text;
}

SummaryRows recordingSummary(const OpenRecording& rec, const std::optional<FrameHeader>& firstFrame,
                             const std::vector<int32_t>& flaggedFrames) {
    const RecordingHeader& h = rec.header();
    const frame::UnitConstants units = frame::unitConstantsFor(h.Units);
    const char* unitName = h.isInch() ? "in" : "mm";
    SummaryRows rows;
    rows.emplace_back("File", std::filesystem::path(rec.path()).filename().string());
    rows.emplace_back("Size", fileSizeText(rec.file().length()));
    rows.emplace_back("Version", std::to_string(h.Version));
    // Units 2 keeps lengths in millimetres and gives the distance readings as times.
    rows.emplace_back("Units", h.isInch()     ? "inch"
                               : h.Units == 2 ? "millimetre, readings in microseconds"
                                              : "millimetre");
    rows.emplace_back("Velocity", formatFixed(static_cast<double>(h.Velocity) / 10.0, 1) + " m/s");
    const char* rectification = frame::rectificationText(h.Rectification);
    rows.emplace_back("Rectification", *rectification != '\0'
                                           ? std::string(rectification)
                                           : "unknown (" + std::to_string(h.Rectification) + ")");
    rows.emplace_back("Probe angle", formatFixed(static_cast<double>(h.PrbAngle) / 10.0, 1) + "\xC2\xB0");
    if (firstFrame) {
        const FrameHeader& f = *firstFrame;
        rows.emplace_back("Gate A (frame 1)", gateText(f.GateAOn != 0, f.GateAStart_um, f.GateAWidth_um,
                                                       f.GateAThreshold, f.GateAMode, units, unitName));
        std::string b = gateText(f.GateBOn != 0, f.GateBStart_um, f.GateBWidth_um, f.GateBThreshold,
                                 f.GateBMode, units, unitName);
        if (f.GateBOn != 0 && h.GateBTrigger != 0) b += ", start counted from gate A";
        rows.emplace_back("Gate B (frame 1)", b);
    } else {
        rows.emplace_back("Gates", "frame 1 cannot be read");
    }
    rows.emplace_back("Evaluation mode", evaluationModeText(h.EvalMode, h.TCGMode));
    rows.emplace_back("Frames", std::to_string(rec.FrameCount()) + (h.isEnvelope() ? " (envelope)" : ""));
    rows.emplace_back("Rate", std::to_string(rec.framesPerSecond()) + " frames/s");
    rows.emplace_back("Length", lengthText(rec.FrameCount(), rec.framesPerSecond()));
    std::string flags = std::to_string(flaggedFrames.size());
    if (!flaggedFrames.empty()) flags += ": frames " + frameListText(flaggedFrames, kMaxListedFlags);
    // The setup record's own count can disagree with the frames that carry a flag.
    if (static_cast<int64_t>(flaggedFrames.size()) != h.FlagCount)
        flags += " (the recording's header counts " + std::to_string(h.FlagCount) + ")";
    rows.emplace_back("Flags", flags);
    return rows;
}

} // namespace pelix::report
