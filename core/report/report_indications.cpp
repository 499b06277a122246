#include "core/report/report_indications.h"

#include "core/indications/indication_texts.h"
#include "core/indications/recorded_amplitudes.h"
#include "core/numbers/number_format.h"
#include "core/recording/frame_header_at.h"
#include "core/recording/frame_header_scan.h"

namespace pelix::report {

using namespace pelix::indications;
using namespace pelix::recording;

ReportIndications findReportIndications(const OpenRecording& rec, const IndicationChoice& choice,
                                        const std::atomic<bool>* stop) {
    ReportIndications result;
    result.gate = choice.gate;
    result.rules.dropDb = choice.dropDb;
    const FrameRecordLayout layout = frameRecordLayout(rec);
    if (choice.level) {
        result.rules.count = CountRule::atLeastPercent(*choice.level);
    } else if (const std::optional<FrameHeader> first = frameHeaderAt(rec.file(), layout, 1)) {
        result.rules.count = CountRule::atLeastPercent(defaultLevel(*first, choice.gate));
        result.levelFromGate = true;
    } else {
        result.frameOneUnreadable = true;
        return result;
    }
    const RecordedAmplitudes recorded =
        scanRecordedAmplitudes(rec.file(), layout, choice.gate, 1, rec.FrameCount(), {}, stop);
    if (recorded.scan.end == HeaderScanEnd::CutShort) result.cutShortAt = recorded.scan.stoppedAt;
    if (recorded.scan.end == HeaderScanEnd::Stopped) result.stopped = true;
    findIndications(recorded.series, result.rules, [&](const Indication& found) {
        result.peakFrames.push_back(found.peakFrame);
        if (result.listed.size() < kMostListedIndications) {
            ReportIndication item{found, {}};
            if (const std::optional<FrameHeader> peak = frameHeaderAt(rec.file(), layout, found.peakFrame))
                item.readings = gateReadings(rec.header(), rec.derived().velocity, *peak, choice.gate);
            result.listed.push_back(std::move(item));
        }
        return !(stop && stop->load(std::memory_order_relaxed));
    });
    if (stop && stop->load(std::memory_order_relaxed)) result.stopped = true;
    return result;
}

std::string indicationsHeadline(const ReportIndications& found) {
    std::string text = found.gate == Gate::A ? "Gate A" : "Gate B";
    if (found.frameOneUnreadable) return text + ": frame 1 cannot be read, so the gate's level is not known.";
    text += ", level " + std::to_string(found.rules.count.percent()) + " %";
    if (found.levelFromGate) text += " (the gate's threshold in frame 1)";
    text += ", drop " + numbers::shortestDecimal(found.rules.dropDb) + " dB: ";
    const std::size_t count = found.peakFrames.size();
    text += count == 0   ? std::string("no indications")
            : count == 1 ? std::string("1 indication")
                         : std::to_string(count) + " indications";
    if (count > found.listed.size())
        text += ", the first " + std::to_string(found.listed.size()) +
                " listed (pelix indications lists them all)";
    text += ".";
    if (found.cutShortAt)
        text += " The file ends inside frame " + std::to_string(*found.cutShortAt) +
                "'s header: the frames from there on are not searched.";
    if (found.stopped) text += " The search was stopped: the list is not whole.";
    return text;
}

IndicationRow indicationRow(std::size_t number, const ReportIndication& item, int32_t framesPerSecond) {
    const Indication& i = item.found;
    const DropLength length = dropLength(i, framesPerSecond);
    IndicationRow row;
    row[0] = std::to_string(number);
    row[1] = std::to_string(i.first) + "\xE2\x80\x93" + std::to_string(i.last);
    row[2] = std::to_string(i.peakFrame) + " (" + std::to_string(i.peakAmplitude) + " %)";
    row[3] = std::to_string(i.dropFirst) + "\xE2\x80\x93" + std::to_string(i.dropLast);
    row[4] = std::to_string(length.frames) + " (" + lengthSecondsText(length) + " s)";
    row[5] = peakReadingsText(item.readings, "\xC2\xA0"); // a no-break space: a name stays with its value
    return row;
}

} // namespace pelix::report
