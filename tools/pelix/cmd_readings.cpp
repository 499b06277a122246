// pelix readings: the instrument's recorded readings of every frame, as the
// player's readings panel shows them, one row per frame. The recording is read
// in large blocks and each row is written as soon as it is made, so memory
// stays flat however long the recording is.
#include "core/evaluation/recorded_readings.h"
#include "core/frame/remeasure_frames.h"
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
#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

enum class Format { Text, Csv, Json };

void appendCsvField(std::string& out, const std::string& field) {
    bool plain = true;
    for (const char c : field)
        plain = plain && c != ',' && c != '"' && c != '\n';
    if (plain) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Seconds from the start of the recording, exact: at 50 or 10 frames a second
// a frame starts on a whole hundredth.
void appendSeconds(std::string& out, int64_t frame, int32_t framesPerSecond) {
    const int64_t hundredths = (frame - 1) * 100 / framesPerSecond;
    out += std::to_string(hundredths / 100);
    out += '.';
    out += static_cast<char>('0' + hundredths / 10 % 10);
    out += static_cast<char>('0' + hundredths % 10);
}

class RowWriter {
  public:
    RowWriter(Format format, const OpenRecording& rec)
        : m_format(format), m_rec(rec), m_texts(rec.header(), rec.derived().velocity) {
        m_out.reserve(1 << 20);
    }

    void begin(int64_t from, int64_t to) {
        if (m_format == Format::Csv) {
            m_out += "Frame,Time,Flag";
            for (std::size_t i = 1; i <= kReadingSlots; ++i)
                m_out += ",Name" + std::to_string(i) + ",Value" + std::to_string(i);
            m_out += readingColumnsHeader();
            m_out += '\n';
        } else if (m_format == Format::Json) {
            m_out += "{\"FrameCount\":" + std::to_string(m_rec.FrameCount()) +
                     ",\"From\":" + std::to_string(from) + ",\"To\":" + std::to_string(to) + ",\"Rows\":[";
        }
    }

    // The recorded readings of a frame.
    bool row(int64_t frame, const FrameHeader& f) {
        const RecordingHeader& setup = m_rec.header();
        Slots slots;
        for (std::size_t i = 0; i < kReadingSlots; ++i) {
            const evaluation::RecordedReading r = evaluation::recordedReading(setup, f, i);
            slots.texts[i] = &m_texts.valueText(i, r);
            slots.held[i] = evaluation::readingHeld(r);
        }
        return emit(frame, f.FrameFlag != 0, m_texts.names(f), slots, true);
    }

    // The readings of a frame whose gates were measured again: the window's
    // names, the library's texts, held where the library says the value is not current.
    bool remeasuredRow(const frame::FrameView& view, const frame::Remeasured& result) {
        Slots slots;
        for (std::size_t i = 0; i < kReadingSlots; ++i) {
            m_names[i] = view.readings[i].name;
            slots.texts[i] = &result.readings[i].text;
            slots.held[i] = !result.readings[i].current;
        }
        return emit(view.frame, view.header.FrameFlag != 0, m_names, slots, false);
    }

    void end() {
        if (m_format == Format::Json) m_out += "\n]}\n";
        flush();
    }

    // False once standard output refused a block: the scan stops there.
    bool ok() const { return m_ok; }

  private:
    struct Slots {
        std::array<const std::string*, kReadingSlots> texts{};
        std::array<bool, kReadingSlots> held{};
    };

    // `revisioned`: the texts come from m_texts, whose revisions let the CSV columns be kept.
    bool emit(int64_t frame, bool flagged, const std::array<std::string, kReadingSlots>& names,
              const Slots& slots, bool revisioned) {
        if (m_format == Format::Json) {
            JsonWriter w;
            w.beginObject();
            w.field("Frame", frame);
            w.field("Time", static_cast<double>(frame - 1) / m_rec.framesPerSecond());
            w.field("Flag", flagged);
            w.key("readings");
            w.beginArray();
            for (std::size_t i = 0; i < kReadingSlots; ++i) {
                const std::string& text = *slots.texts[i];
                const bool held = slots.held[i];
                w.beginObject();
                w.field("slot", static_cast<int64_t>(i));
                w.field("name", std::string_view(names[i]));
                w.field("value", std::string_view(text));
                w.field("background", std::string_view(held ? "highlight-text" : "button-face"));
                writeReadingKeys(w, text, held);
                w.endObject();
            }
            w.endArray();
            w.endObject();
            if (m_rows++ > 0) m_out += ',';
            m_out += '\n';
            m_out += w.text();
        } else {
            const char separator = m_format == Format::Csv ? ',' : '\t';
            m_out += std::to_string(frame);
            m_out += separator;
            appendSeconds(m_out, frame, m_rec.framesPerSecond());
            m_out += separator;
            if (m_format == Format::Csv)
                m_out += flagged ? '1' : '0';
            else if (flagged)
                m_out += 'F';
            for (std::size_t i = 0; i < kReadingSlots; ++i) {
                m_out += separator;
                if (m_format == Format::Csv) {
                    appendCsvField(m_out, names[i]);
                    m_out += separator;
                    appendCsvField(m_out, *slots.texts[i]);
                } else {
                    m_out += names[i];
                    m_out += ' ';
                    appendMarkedValue(m_out, *slots.texts[i], slots.held[i]);
                }
            }
            if (m_format == Format::Csv)
                for (std::size_t i = 0; i < kReadingSlots; ++i) {
                    if (revisioned)
                        m_columns.append(m_out, i, m_texts.valueRevision(i), *slots.texts[i], slots.held[i]);
                    else
                        appendReadingColumns(m_out, *slots.texts[i], slots.held[i]);
                }
            m_out += '\n';
        }
        if (m_out.size() >= (1 << 20) - 4096) flush();
        return m_ok;
    }

    void flush() {
        m_ok = m_ok && writeStandardOutput(m_out);
        m_out.clear();
    }

    Format m_format;
    const OpenRecording& m_rec;
    evaluation::RecordedReadingTexts m_texts;
    ReadingColumnsCache m_columns;
    std::array<std::string, kReadingSlots> m_names;
    std::string m_out;
    int64_t m_rows = 0;
    bool m_ok = true;
};

// Every frame of first..last measured again with the moved gates, a row each.
int remeasuredTable(OpenRecording& rec, int32_t first, int32_t last, const GateOptions& gates,
                    RowWriter& writer) {
    // The window's dB-to-reference reading of a DGS recording leans on the library's DGS state,
    // which the A-scan control sets up while it draws the DGS curves; no curve is drawn here.
    if (rec.header().DGSMode == 1)
        std::cerr << "pelix readings: " << rec.path()
                  << ": a DGS recording: the re-measured dB-to-reference readings stay empty here\n";
    evaluation::CalReadings cal;
    const frame::RemeasureOutcome run =
        frame::remeasureFrames(rec, first, last, gates.gateA, gates.gateB, cal,
                               [&writer](const frame::FrameView& view, const frame::Remeasured& result) {
                                   return writer.remeasuredRow(view, result);
                               });
    if (run.end == frame::RemeasureEnd::LibraryMissing) {
        std::cerr << "pelix readings: " << cal.failure() << "\n";
        return kExitWriteFailed;
    }
    const bool cut = run.end == frame::RemeasureEnd::CutShort;
    if (cut)
        std::cerr << "pelix readings: " << rec.path() << ": the file ends inside frame " << run.stoppedAt
                  << "; the table stops before it\n";
    if (!writer.ok()) return kExitWriteFailed;
    writer.end();
    return cut ? kExitFrameCutShort : kExitOk;
}

} // namespace

int runReadings(const Args& args) {
    const ParsedArgs parsed = parseArgs(kReadingsCommand, args);
    const bool csv = parsed.has("--csv");
    if (parsed.help) {
        std::cout << helpText(kReadingsCommand);
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix readings: " << why << "\n" << helpText(kReadingsCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    if (csv && parsed.json) return usage("--csv and --json exclude each other");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    const GateOptions gates = readGateOptions(parsed);
    if (!gates.error.empty()) return usage(gates.error);
    const std::optional<int64_t> from = parsed.number("--from"), to = parsed.number("--to");

    OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    OpenRecording& rec = *outcome.recording;
    std::string spanError;
    const std::optional<FrameSpan> span = frameSpan(from, to, rec.FrameCount(), spanError);
    if (!span) {
        std::cerr << "pelix readings: " << rec.path() << ": " << spanError << "\n";
        return kExitUsage;
    }
    const int64_t first = span->first, last = span->last;

    RowWriter writer(csv ? Format::Csv : parsed.json ? Format::Json : Format::Text, rec);
    writer.begin(first, last);
    if (gates.any()) return remeasuredTable(rec, first, last, gates, writer);
    // Only each frame's header is needed (for envelope pairs, the first record's).
    const HeaderScanResult scan = scanFrameHeaders(rec.file(), frameRecordLayout(rec), first, last,
                                                   [&writer](int64_t frame, const uint8_t* header) {
                                                       return writer.row(frame, decodeFrameHeader(header));
                                                   });
    // Only a file that shrank since it was opened ends inside a counted frame's header.
    const bool cut = scan.end == HeaderScanEnd::CutShort;
    if (cut)
        std::cerr << "pelix readings: " << rec.path() << ": the file ends inside frame " << scan.stoppedAt
                  << "'s header\n";
    // A table that could not be written is reported when the command ends.
    if (!writer.ok()) return kExitWriteFailed;
    writer.end();
    // A table that stops early is not the table asked for.
    return cut ? kExitFrameCutShort : kExitOk;
}

} // namespace pelix::tool
