// pelix readings: the instrument's recorded readings of every frame, as the
// player's readings panel shows them, one row per frame. The recording is read
// in large blocks and each row is written as soon as it is made, so memory
// stays flat however long the recording is.
#include "core/evaluation/recorded_readings.h"
#include "core/frame/remeasure_in_order.h"
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
#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

enum class Format { Text, Csv, Json };

// Seconds from the start of the recording, exact: at 50 or 10 frames a second
// a frame starts on a whole hundredth.
// Writes the seconds after `at` (room for 24 characters) and returns their end.
char* writeSeconds(char* at, int64_t frame, int32_t framesPerSecond) {
    const int64_t hundredths = (frame - 1) * 100 / framesPerSecond;
    at = std::to_chars(at, at + 20, hundredths / 100).ptr;
    *at++ = '.';
    *at++ = static_cast<char>('0' + hundredths / 10 % 10);
    *at++ = static_cast<char>('0' + hundredths % 10);
    return at;
}

// Formats the rows of the table. Each worker thread has its own (the reading texts keep caches).
// A JSON row is written with the comma that separates it from the row before; the table drops
// the first row's.
class RowFormatter {
  public:
    RowFormatter(Format format, const OpenRecording& rec)
        : m_format(format), m_rec(rec), m_texts(rec.header(), rec.derived().velocity) {}

    // The recorded readings of a frame.
    void row(std::string& out, int64_t frame, const FrameHeader& f) {
        const RecordingHeader& setup = m_rec.header();
        Slots slots;
        for (std::size_t i = 0; i < kReadingSlots; ++i) {
            const evaluation::RecordedReading r = evaluation::recordedReading(setup, f, i);
            slots.texts[i] = &m_texts.valueText(i, r);
            slots.held[i] = evaluation::readingHeld(r);
        }
        const std::array<std::string, kReadingSlots>& recordedNames = m_texts.names(f);
        Names names;
        std::copy(recordedNames.begin(), recordedNames.end(), names.begin());
        emit(out, frame, f.FrameFlag != 0, names, slots);
    }

    // The readings of a frame whose gates were measured again: the window's
    // names, the library's texts, held where the library says the value is not current.
    void remeasuredRow(std::string& out, const frame::FrameView& view, const frame::Remeasured& result) {
        Slots slots;
        Names names;
        for (std::size_t i = 0; i < kReadingSlots; ++i) {
            names[i] = view.readings[i].name;
            slots.texts[i] = &result.readings[i].text;
            slots.held[i] = !result.readings[i].current;
        }
        emit(out, view.frame, view.header.FrameFlag != 0, names, slots);
    }

  private:
    using Names = std::array<std::string_view, kReadingSlots>;
    struct Slots {
        std::array<const std::string*, kReadingSlots> texts{};
        std::array<bool, kReadingSlots> held{};
    };

    void emit(std::string& out, int64_t frame, bool flagged, const Names& names, const Slots& slots) {
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
                w.field("name", names[i]);
                w.field("value", std::string_view(text));
                w.field("background", std::string_view(held ? "highlight-text" : "button-face"));
                writeReadingKeys(w, text, held);
                w.endObject();
            }
            w.endArray();
            w.endObject();
            out += ",\n";
            out += w.text();
            return;
        }
        const char separator = m_format == Format::Csv ? ',' : '\t';
        // Frame and time first, in one piece: every row has them.
        char prefix[64];
        char* at = std::to_chars(prefix, prefix + 20, frame).ptr;
        *at++ = separator;
        at = writeSeconds(at, frame, m_rec.framesPerSecond());
        *at++ = separator;
        out.append(prefix, at);
        if (m_format == Format::Csv) {
            out += flagged ? '1' : '0';
            std::array<const CsvSlotCells::Cells*, kReadingSlots> cells{};
            for (std::size_t i = 0; i < kReadingSlots; ++i) {
                cells[i] = &m_cells.of(i, names[i], *slots.texts[i], slots.held[i]);
                out += cells[i]->nameAndValue;
            }
            for (const CsvSlotCells::Cells* c : cells)
                out += c->columns;
        } else {
            if (flagged) out += 'F';
            for (std::size_t i = 0; i < kReadingSlots; ++i) {
                out += separator;
                out += names[i];
                out += ' ';
                appendMarkedValue(out, *slots.texts[i], slots.held[i]);
            }
        }
        out += '\n';
    }

    Format m_format;
    const OpenRecording& m_rec;
    evaluation::RecordedReadingTexts m_texts;
    CsvSlotCells m_cells;
};

// The table on standard output: its head, the rows as the workers formatted them (in frame
// order), its end.
class TableOutput {
  public:
    TableOutput(Format format, const OpenRecording& rec) : m_format(format), m_rec(rec) {}

    void begin(int64_t from, int64_t to) {
        std::string head;
        if (m_format == Format::Csv) {
            head += "Frame,Time,Flag";
            for (std::size_t i = 1; i <= kReadingSlots; ++i)
                head += ",Name" + std::to_string(i) + ",Value" + std::to_string(i);
            head += readingColumnsHeader();
            head += '\n';
        } else if (m_format == Format::Json) {
            head += "{\"FrameCount\":" + std::to_string(m_rec.FrameCount()) +
                    ",\"From\":" + std::to_string(from) + ",\"To\":" + std::to_string(to) + ",\"Rows\":[";
        }
        write(head);
    }

    // Rows as RowFormatter made them.
    bool rows(std::string_view text) {
        if (text.empty()) return m_ok;
        if (m_format == Format::Json && !m_anyRow) text.remove_prefix(1); // no comma before the first row
        m_anyRow = true;
        return write(text);
    }

    void end() {
        if (m_format == Format::Json) write("\n]}\n");
    }

    // False once standard output refused a block: the work stops there.
    bool ok() const { return m_ok; }

  private:
    bool write(std::string_view text) {
        m_ok = m_ok && writeStandardOutput(text);
        return m_ok;
    }

    Format m_format;
    const OpenRecording& m_rec;
    bool m_anyRow = false;
    bool m_ok = true;
};

// Frames a batch of a parallel table holds: a few hundred kilobytes of rows.
constexpr int32_t kRemeasuredBatchFrames = 512;
constexpr int32_t kRecordedBatchFrames = 2048;

// Every frame of first..last measured again with the moved gates, a row each.
int remeasuredTable(const OpenRecording& rec, Format format, int32_t first, int32_t last,
                    const GateOptions& gates, TableOutput& output) {
    std::string failure;
    const frame::RemeasureOutcome run = frame::remeasureFramesInOrder<std::string>(
        rec, first, last, gates.gateA, gates.gateB, frame::defaultWorkerCount(), kRemeasuredBatchFrames,
        [&rec, format, formatter = std::shared_ptr<RowFormatter>()](
            const frame::FrameView& view, const frame::Remeasured& result, std::string& rows) mutable {
            // One formatter a worker thread: each worker holds its own copy of this function.
            if (!formatter) formatter = std::make_shared<RowFormatter>(format, rec);
            formatter->remeasuredRow(rows, view, result);
        },
        [&output](const std::string& rows) { return output.rows(rows); }, &failure,
        // The rows show the seven readings; no amplitude number or caret.
        frame::RemeasureOptions{.panelRows = false, .amplitudes = false, .carets = false});
    if (run.end == frame::RemeasureEnd::LibraryMissing) {
        std::cerr << "pelix readings: " << failure << "\n";
        return kExitWriteFailed;
    }
    const bool cut = run.end == frame::RemeasureEnd::CutShort;
    if (cut)
        std::cerr << "pelix readings: " << rec.path() << ": the file ends inside frame " << run.stoppedAt
                  << "; the table stops before it\n";
    if (!output.ok()) return kExitWriteFailed;
    output.end();
    return cut ? kExitFrameCutShort : kExitOk;
}

// The recorded readings of first..last, a row each: only each frame's header is read (for
// envelope pairs, the first record's), in large blocks, the rows formatted on every core.
int recordedTable(const OpenRecording& rec, Format format, int32_t first, int32_t last, TableOutput& output) {
    struct Batch {
        std::string rows;
        HeaderScanResult scan;
    };
    const FrameRecordLayout layout = frameRecordLayout(rec);
    const int64_t batches = (int64_t{last} - first) / kRecordedBatchFrames + 1;
    HeaderScanResult end;
    const auto makeWorker = [&] {
        return [&, file = std::make_shared<RecordingFile>(rec.file().duplicate()),
                formatter = std::make_shared<RowFormatter>(format, rec)](int64_t index, Batch& batch) {
            batch.rows.clear();
            const int64_t from = first + index * kRecordedBatchFrames;
            const int64_t to = std::min<int64_t>(last, from + kRecordedBatchFrames - 1);
            // Should the system refuse a handle of our own, the recording's serves.
            batch.scan = scanFrameHeaders(file->isOpen() ? *file : rec.file(), layout, from, to,
                                          [&](int64_t frame, const uint8_t* header) {
                                              formatter->row(batch.rows, frame, decodeFrameHeader(header));
                                              return true;
                                          });
        };
    };
    frame::runOrderedBatches<Batch>(batches, frame::defaultWorkerCount(), makeWorker,
                                    [&](const Batch& batch) {
                                        const bool more = output.rows(batch.rows);
                                        if (batch.scan.end != HeaderScanEnd::Complete) {
                                            end = batch.scan;
                                            return false;
                                        }
                                        return more;
                                    });
    // Only a file that shrank since it was opened ends inside a counted frame's header.
    const bool cut = end.end == HeaderScanEnd::CutShort;
    if (cut)
        std::cerr << "pelix readings: " << rec.path() << ": the file ends inside frame " << end.stoppedAt
                  << "'s header\n";
    // A table that could not be written is reported when the command ends.
    if (!output.ok()) return kExitWriteFailed;
    output.end();
    // A table that stops early is not the table asked for.
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
    const OpenRecording& rec = *outcome.recording;
    std::string spanError;
    const std::optional<FrameSpan> span = frameSpan(from, to, rec.FrameCount(), spanError);
    if (!span) {
        std::cerr << "pelix readings: " << rec.path() << ": " << spanError << "\n";
        return kExitUsage;
    }
    const auto first = static_cast<int32_t>(span->first), last = static_cast<int32_t>(span->last);

    const Format format = csv ? Format::Csv : parsed.json ? Format::Json : Format::Text;
    TableOutput output(format, rec);
    output.begin(first, last);
    if (gates.any()) return remeasuredTable(rec, format, first, last, gates, output);
    return recordedTable(rec, format, first, last, output);
}

} // namespace pelix::tool
