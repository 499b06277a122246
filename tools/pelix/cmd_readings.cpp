// pelix readings: the instrument's recorded readings of every frame, as the
// player's readings panel shows them, one row per frame. The recording is read
// in large blocks and each row is written as soon as it is made, so memory
// stays flat however long the recording is.
#include "core/evaluation/recorded_readings.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/json_writer.h"
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

const char* kHelp =
    "usage: pelix readings FILE [--from A --to B] [--csv | --json]\n"
    "One row per frame: the frame number, its time in seconds from the start of the recording, the\n"
    "operator's flag mark, and the seven reading slots' names and recorded values exactly as the\n"
    "player's readings panel shows them (for envelope recordings, the first record of each pair).\n"
    "  --from A --to B   only frames A..B (default: all)\n"
    "  --csv             comma-separated: Frame,Time,Flag,Name1,Value1,...,Name7,Value7, then\n"
    "                    Number1,Unit1,Held1,...,Number7,Unit7,Held7 (Flag and Held 1 or 0)\n"
    "  --json            "
    "{\"FrameCount\":..,\"Rows\":[{\"Frame\":..,\"Time\":..,\"Flag\":..,\"readings\":[{\"slot\",\n"
    "                    \"name\",\"value\",\"background\",\"number\",\"unit\",\"held\"}, ...]}, ...]}\n"
    "Without --csv or --json: one line per frame, tab-separated, flagged frames marked F, held\n"
    "values marked with a trailing *.\n"
    "Number is the value as a plain decimal (20.8; empty, or null in JSON, when the slot shows no\n"
    "value) and Unit its unit: mm, in, us, %, dB or empty. A held value is one the instrument kept\n"
    "from an earlier frame because its gate found no echo in this one; the player's window shows it\n"
    "on a white background.\n"
    "A frame whose header the end of the file cuts short ends the table (noted on standard error).\n"
    "Exit status 0 done, 1 the table could not be written, 2 usage, 3 recording rejected,\n"
    "4 the file ended inside a frame's header (the table stops there).\n";

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

    bool row(int64_t frame, const FrameHeader& f) {
        const RecordingHeader& setup = m_rec.header();
        const auto& names = m_texts.names(f);
        const bool flagged = f.FrameFlag != 0;
        if (m_format == Format::Json) {
            JsonWriter w;
            w.beginObject();
            w.field("Frame", frame);
            w.field("Time", static_cast<double>(frame - 1) / m_rec.framesPerSecond());
            w.field("Flag", flagged);
            w.key("readings");
            w.beginArray();
            for (std::size_t i = 0; i < kReadingSlots; ++i) {
                const evaluation::RecordedReading r = evaluation::recordedReading(setup, f, i);
                const std::string& text = m_texts.valueText(i, r);
                const bool held = evaluation::readingHeld(r);
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
            std::array<const std::string*, kReadingSlots> texts{};
            std::array<bool, kReadingSlots> held{};
            for (std::size_t i = 0; i < kReadingSlots; ++i) {
                const evaluation::RecordedReading r = evaluation::recordedReading(setup, f, i);
                texts[i] = &m_texts.valueText(i, r);
                held[i] = evaluation::readingHeld(r);
                m_out += separator;
                if (m_format == Format::Csv) {
                    appendCsvField(m_out, names[i]);
                    m_out += separator;
                    appendCsvField(m_out, *texts[i]);
                } else {
                    m_out += names[i];
                    m_out += ' ';
                    appendMarkedValue(m_out, *texts[i], held[i]);
                }
            }
            if (m_format == Format::Csv)
                for (std::size_t i = 0; i < kReadingSlots; ++i)
                    m_columns.append(m_out, i, m_texts.valueRevision(i), *texts[i], held[i]);
            m_out += '\n';
        }
        if (m_out.size() >= (1 << 20) - 4096) flush();
        return m_ok;
    }

    void end() {
        if (m_format == Format::Json) m_out += "\n]}\n";
        flush();
    }

    // False once standard output refused a block: the scan stops there.
    bool ok() const { return m_ok; }

  private:
    void flush() {
        m_ok = m_ok && writeStandardOutput(m_out);
        m_out.clear();
    }

    Format m_format;
    const OpenRecording& m_rec;
    evaluation::RecordedReadingTexts m_texts;
    ReadingColumnsCache m_columns;
    std::string m_out;
    int64_t m_rows = 0;
    bool m_ok = true;
};

} // namespace

int runReadings(const Args& args) {
    const ParsedArgs parsed = parseArgs(args, {"--from", "--to"}, {"--csv", "--json"});
    const bool csv = parsed.has("--csv");
    if (parsed.help) {
        std::cout << kHelp;
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix readings: " << why << "\n" << kHelp;
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    if (csv && parsed.json) return usage("--csv and --json exclude each other");
    std::optional<int64_t> from, to;
    for (const auto& [name, value] : parsed.options) {
        const auto n = parseWholeNumber(value);
        if (!n) return usage(name + " must be a frame number");
        (name == "--from" ? from : to) = n;
    }

    OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    const OpenRecording& rec = *outcome.recording;
    std::string spanError;
    const std::optional<FrameSpan> span = frameSpan(from, to, rec.FrameCount(), spanError);
    if (!span) {
        std::cerr << "pelix readings: " << rec.path() << ": " << spanError << "\n";
        return kExitUsage;
    }
    const int64_t first = span->first, last = span->last;

    RowWriter writer(csv ? Format::Csv : parsed.json ? Format::Json : Format::Text, rec);
    writer.begin(first, last);
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
