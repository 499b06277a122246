// pelix indications: where the recorded echo of a gate stands above a level,
// run by run, each sized by how far its echo dynamic stays within a drop of its
// peak, with the gate's readings at the peak. The headers are read in large
// blocks into about one byte a frame; each indication is written as it is found.
#include "core/frame/lean_remeasure.h"
#include "core/frame/ordered_batches.h"
#include "core/indications/gate_readings.h"
#include "core/indications/indication_finder.h"
#include "core/indications/indication_texts.h"
#include "core/indications/recorded_amplitudes.h"
#include "core/indications/remeasured_amplitudes.h"
#include "core/numbers/number_format.h"
#include "core/recording/frame_header_at.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/gate_option.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/reading_columns.h"
#include "tools/pelix/standard_output.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace pelix::tool {

using namespace pelix::recording;
using namespace pelix::indications;

namespace {

enum class Format { Text, Csv, Json };

// Far above any hand-held probe's travel; the length in mm is only an estimate anyway.
constexpr double kFastestScanMmPerSecond = 10000.0;
// dB-to-reference readings span a few tens of dB; a level beyond this finds nothing a reading shows.
constexpr double kLargestReferenceDb = 200.0;

struct Settings {
    Gate gate = Gate::A;
    IndicationRules rules;
    bool levelFromGate = false; // the level is the gate's threshold in frame 1, or as moved
    std::optional<double> scanSpeed;
    GateOptions moved;       // the gates as given by --gate-a/--gate-b
    bool remeasured = false; // the chosen gate is moved: every frame is measured again

    const std::optional<frame::DraggedGate>& chosenMove() const {
        return gate == Gate::A ? moved.gateA : moved.gateB;
    }
};

std::string decimalText(double value) {
    return numbers::shortestDecimal(value);
}

class IndicationWriter {
  public:
    IndicationWriter(Format format, const OpenRecording& rec, const Settings& settings)
        : m_format(format), m_rec(rec), m_layout(frameRecordLayout(rec)), m_settings(settings) {}

    void begin(int32_t first, int32_t last) {
        const IndicationRules& rules = m_settings.rules;
        const char gate = m_settings.gate == Gate::A ? 'A' : 'B';
        if (m_format == Format::Json) {
            m_out = "{\"Gate\":\"";
            m_out += gate;
            m_out += "\",\"Level\":";
            m_out += rules.count.byReference() ? "null" : std::to_string(rules.count.percent());
            m_out += ",\"AboveReference\":";
            m_out += rules.count.byReference() ? decimalText(rules.count.dB()) : "null";
            m_out += ",\"Drop\":" + decimalText(rules.dropDb);
            m_out += ",\"Merge\":" + std::to_string(rules.mergeGap);
            m_out += ",\"MinFrames\":" + std::to_string(rules.minimumFrames);
            m_out += ",\"ScanSpeed\":" + (m_settings.scanSpeed ? decimalText(*m_settings.scanSpeed) : "null");
            m_out += ",\"From\":" + std::to_string(first) + ",\"To\":" + std::to_string(last);
            // Only a moved gate's list says so: the recorded amplitudes' document stays as it was.
            if (m_settings.remeasured) m_out += ",\"Remeasured\":true";
            m_out += ",\"FramesPerSecond\":" + std::to_string(m_rec.framesPerSecond());
            m_out += ",\"Indications\":[";
        } else if (m_format == Format::Csv) {
            m_out =
                "First,Last,PeakFrame,PeakAmplitude,DropFirst,DropLast,LengthFrames,LengthSeconds,LengthMm";
            for (const GateQuantity q : kGateQuantities) {
                m_out += ',';
                m_out += quantityKey(q);
                m_out += ',';
                m_out += quantityKey(q);
                m_out += "Unit";
            }
            m_out += '\n';
        } else {
            m_out = "Gate ";
            m_out += gate;
            if (const std::optional<frame::DraggedGate>& move = m_settings.chosenMove())
                m_out += " moved to " + decimalText(move->start) + "," + std::to_string(move->threshold) +
                         " (every frame measured again)";
            if (rules.count.byReference())
                m_out +=
                    ", frames whose dB to reference is at least " + decimalText(rules.count.dB()) + " dB";
            else
                m_out += ", level " + std::to_string(rules.count.percent()) + "%" +
                         (!m_settings.levelFromGate ? ""
                          : m_settings.remeasured   ? " (the gate's threshold as moved)"
                                                    : " (the gate's threshold in frame 1)");
            m_out += ", drop " + decimalText(rules.dropDb) + " dB";
            if (rules.mergeGap > 0)
                m_out += ", gaps up to " + std::to_string(rules.mergeGap) + " frames merged";
            if (rules.minimumFrames > 1)
                m_out += ", at least " + std::to_string(rules.minimumFrames) + " frames";
            m_out += ", frames " + std::to_string(first) + ".." + std::to_string(last) + " at " +
                     std::to_string(m_rec.framesPerSecond()) + " frames a second\n";
            m_out += "    #    First     Last     Peak  Amp%  DropFirst   DropLast   Frames   Seconds";
            if (m_settings.scanSpeed) m_out += "  ~Length mm";
            m_out += "  Readings at the peak\n";
        }
    }

    bool indication(const Indication& found) {
        ++m_count;
        const DropLength length = dropLength(found, m_rec.framesPerSecond(), m_settings.scanSpeed);
        const std::vector<GateReading> readings = peakReadings(found.peakFrame);
        if (m_format == Format::Json)
            json(found, length, readings);
        else if (m_format == Format::Csv)
            csv(found, length, readings);
        else
            text(found, length, readings);
        if (m_out.size() >= (1 << 20) - 4096) flush();
        return m_ok;
    }

    void end() {
        if (m_format == Format::Json)
            m_out += m_count > 0 ? "\n]}\n" : "]}\n";
        else if (m_format == Format::Text) {
            m_out += m_count == 0   ? std::string("No indications.\n")
                     : m_count == 1 ? std::string("1 indication.\n")
                                    : std::to_string(m_count) + " indications.\n";
            if (m_settings.scanSpeed && m_count > 0)
                m_out += "~ an estimate at " + decimalText(*m_settings.scanSpeed) +
                         " mm/s: the recording holds no encoder position.\n";
        }
        flush();
    }

    bool ok() const { return m_ok; }

  private:
    // The gate's readings of the peak frame: recorded, or measured again with the gates moved.
    std::vector<GateReading> peakReadings(int32_t peak) {
        std::vector<GateReading> readings;
        if (m_settings.remeasured) {
            if (!m_remeasurer)
                m_remeasurer = std::make_unique<frame::FrameRemeasurer>(m_rec, m_settings.moved.gateA,
                                                                        m_settings.moved.gateB);
            m_remeasurer->run(peak, peak, [&](const frame::FrameView&, const frame::Remeasured& result) {
                readings = gateReadings(m_rec.header(), result.readings, m_settings.gate);
                return true;
            });
        } else if (const std::optional<FrameHeader> header = frameHeaderAt(m_rec.file(), m_layout, peak)) {
            readings = gateReadings(m_rec.header(), m_rec.derived().velocity, *header, m_settings.gate);
        }
        return readings;
    }

    void json(const Indication& found, const DropLength& length, const std::vector<GateReading>& readings) {
        JsonWriter w;
        w.beginObject();
        w.field("First", found.first);
        w.field("Last", found.last);
        w.field("PeakFrame", found.peakFrame);
        w.field("PeakAmplitude", found.peakAmplitude);
        w.field("DropFirst", found.dropFirst);
        w.field("DropLast", found.dropLast);
        w.field("LengthFrames", length.frames);
        w.field("LengthSeconds", length.seconds);
        w.field("LengthMm", length.millimetres.value_or(std::nan("")));
        w.key("Readings");
        w.beginObject();
        for (const GateReading& r : readings) {
            w.key(quantityKey(r.quantity));
            w.beginObject();
            w.field("name", std::string_view(r.name));
            w.field("value", std::string_view(r.text));
            writeReadingKeys(w, r.text, r.held);
            w.endObject();
        }
        w.endObject();
        w.endObject();
        if (m_count > 1) m_out += ',';
        m_out += '\n';
        m_out += w.text();
    }

    void csv(const Indication& found, const DropLength& length, const std::vector<GateReading>& readings) {
        for (const int32_t v : {found.first, found.last, found.peakFrame, found.peakAmplitude,
                                found.dropFirst, found.dropLast, length.frames}) {
            m_out += std::to_string(v);
            m_out += ',';
        }
        m_out += decimalText(length.seconds);
        m_out += ',';
        if (length.millimetres) m_out += decimalText(*length.millimetres);
        for (const GateQuantity q : kGateQuantities) {
            const GateReading* r = find(readings, q);
            m_out += ',';
            if (r && r->number) m_out += decimalText(*r->number);
            m_out += ',';
            if (r && r->number) m_out += r->unit;
        }
        m_out += '\n';
    }

    void text(const Indication& found, const DropLength& length, const std::vector<GateReading>& readings) {
        char line[160];
        std::snprintf(line, sizeof line, "%5lld %8d %8d %8d %4d%% %10d %10d %8d %9s",
                      static_cast<long long>(m_count), found.first, found.last, found.peakFrame,
                      found.peakAmplitude, found.dropFirst, found.dropLast, length.frames,
                      lengthSecondsText(length).c_str());
        m_out += line;
        if (m_settings.scanSpeed) {
            std::snprintf(line, sizeof line, " %12s",
                          ("~" + numbers::formatFixed(length.millimetres.value_or(0.0), 1)).c_str());
            m_out += line;
        }
        if (!readings.empty()) m_out += "  " + peakReadingsText(readings);
        m_out += '\n';
    }

    static const GateReading* find(const std::vector<GateReading>& readings, GateQuantity q) {
        for (const GateReading& r : readings)
            if (r.quantity == q) return &r;
        return nullptr;
    }

    void flush() {
        m_ok = m_ok && writeStandardOutput(m_out);
        m_out.clear();
    }

    Format m_format;
    const OpenRecording& m_rec;
    FrameRecordLayout m_layout;
    const Settings& m_settings;
    std::unique_ptr<frame::FrameRemeasurer> m_remeasurer;
    std::string m_out;
    int64_t m_count = 0;
    bool m_ok = true;
};

} // namespace

int runIndications(const Args& args) {
    const ParsedArgs parsed = parseArgs(kIndicationsCommand, args);
    if (parsed.help) {
        std::cout << helpText(kIndicationsCommand);
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix indications: " << why << "\n" << helpText(kIndicationsCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    const bool csv = parsed.has("--csv");
    if (csv && parsed.json) return usage("--csv and --json exclude each other");
    if (parsed.has("--level") && parsed.has("--above-reference"))
        return usage("--level and --above-reference exclude each other");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);

    Settings settings;
    std::string gateError;
    const std::optional<Gate> gate = readGateChoice(parsed, Gate::A, gateError);
    if (!gate) return usage(gateError);
    settings.gate = *gate;
    settings.moved = readGateOptions(parsed);
    if (!settings.moved.error.empty()) return usage(settings.moved.error);
    settings.remeasured = settings.chosenMove().has_value();
    std::optional<double> aboveReference;
    if (const std::string* text = parsed.text("--above-reference")) {
        aboveReference = parseDecimal(*text);
        if (!aboveReference || std::fabs(*aboveReference) > kLargestReferenceDb)
            return usage("--above-reference must be a number of dB within -200..200");
    }
    if (const std::string* text = parsed.text("--drop")) {
        const std::optional<double> drop = parseDecimal(*text);
        if (!drop || *drop < 0.0 || *drop > kLargestDropDb)
            return usage("--drop must be a number of dB within 0..200");
        settings.rules.dropDb = *drop;
    }
    if (const std::string* text = parsed.text("--scan-speed")) {
        settings.scanSpeed = parseDecimal(*text);
        if (!settings.scanSpeed || *settings.scanSpeed <= 0.0 ||
            *settings.scanSpeed > kFastestScanMmPerSecond)
            return usage("--scan-speed must be a speed in mm/s above 0 and at most 10000");
    }
    // A gap or a length beyond the largest frame number means the same as that number.
    settings.rules.mergeGap =
        static_cast<int32_t>(std::min<int64_t>(parsed.number("--merge").value_or(0), INT32_MAX));
    settings.rules.minimumFrames =
        static_cast<int32_t>(std::min<int64_t>(parsed.number("--min-frames").value_or(1), INT32_MAX));

    OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    const OpenRecording& rec = *outcome.recording;
    std::string spanError;
    const std::optional<FrameSpan> span =
        frameSpan(parsed.number("--from"), parsed.number("--to"), rec.FrameCount(), spanError);
    if (!span) {
        std::cerr << "pelix indications: " << rec.path() << ": " << spanError << "\n";
        return kExitUsage;
    }
    const FrameRecordLayout layout = frameRecordLayout(rec);
    const auto cutShort = [&rec](int64_t frame) {
        std::cerr << "pelix indications: " << rec.path() << ": the file ends inside frame " << frame
                  << "'s header\n";
        return kExitFrameCutShort;
    };

    if (aboveReference) {
        settings.rules.count = CountRule::atLeastDbToReference(*aboveReference);
    } else if (const std::optional<int64_t> level = parsed.number("--level")) {
        settings.rules.count = CountRule::atLeastPercent(static_cast<int32_t>(*level));
    } else if (const std::optional<frame::DraggedGate>& move = settings.chosenMove()) {
        settings.rules.count = CountRule::atLeastPercent(std::abs(int32_t{move->threshold}));
        settings.levelFromGate = true;
    } else {
        const std::optional<FrameHeader> first = frameHeaderAt(rec.file(), layout, 1);
        if (!first) return cutShort(1);
        settings.rules.count = CountRule::atLeastPercent(defaultLevel(*first, settings.gate));
        settings.levelFromGate = true;
    }

    AmplitudeSeries series(span->first);
    std::optional<int32_t> cutAt;
    if (settings.remeasured) {
        RemeasuredAmplitudes remeasured = remeasureAmplitudes(
            rec, settings.gate, span->first, span->last, settings.moved.gateA, settings.moved.gateB,
            aboveReference.has_value(), frame::defaultWorkerCount());
        if (remeasured.run.end == frame::RemeasureEnd::LibraryMissing) {
            std::cerr << "pelix indications: " << remeasured.failure << "\n";
            return kExitWriteFailed;
        }
        if (remeasured.run.end == frame::RemeasureEnd::CutShort) cutAt = remeasured.run.stoppedAt;
        series = std::move(remeasured.series);
    } else {
        RecordedAmplitudes recorded = scanRecordedAmplitudes(
            rec.file(), layout, settings.gate, span->first, span->last,
            aboveReference ? recordedDbToReferenceOf(rec.header(), settings.gate) : DbToReferenceOf{});
        if (recorded.scan.end == HeaderScanEnd::CutShort)
            cutAt = static_cast<int32_t>(recorded.scan.stoppedAt);
        series = std::move(recorded.series);
    }

    IndicationWriter writer(csv ? Format::Csv : parsed.json ? Format::Json : Format::Text, rec, settings);
    writer.begin(span->first, span->last);
    findIndications(series, settings.rules,
                    [&writer](const Indication& found) { return writer.indication(found); });
    if (!writer.ok()) return kExitWriteFailed;
    writer.end();
    // Only a file that shrank since it was opened ends inside a counted frame: the indications
    // found before that frame are given, but they are not all there are.
    if (cutAt) {
        std::cerr << "pelix indications: " << rec.path() << ": the file ends inside frame " << *cutAt
                  << (settings.remeasured ? "\n" : "'s header\n");
        return kExitFrameCutShort;
    }
    return kExitOk;
}

} // namespace pelix::tool
