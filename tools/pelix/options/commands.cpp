#include "tools/pelix/options/commands.h"

#include <algorithm>
#include <array>

namespace pelix::tool {

namespace {

constexpr std::string_view kWholeNumberNeeded = "needs a whole number";
constexpr std::string_view kFrameNumberNeeded = "must be a frame number";

// The frame span of the commands that go through a range of frames, declared once.
constexpr OptionSpec kFromFrame{.name = "--from",
                                .argument = Argument::WholeNumber,
                                .label = "--from A",
                                .listing = Listing::WithNext,
                                .refused = kFrameNumberNeeded};
constexpr OptionSpec kToFrame{.name = "--to",
                              .argument = Argument::WholeNumber,
                              .label = "--to B",
                              .help = "only frames A..B (default: all)",
                              .refused = kFrameNumberNeeded};
constexpr std::string_view kPixelsNeeded = "must be 16..10000 pixels";

constexpr OptionSpec kJson{.name = "--json", .label = {}, .help = {}, .listing = Listing::InText};

// A picture's size, one rule wherever a command takes one: --width W --height H
// on one help line, which the height carries.
constexpr OptionSpec kWidth{.name = "--width",
                            .argument = Argument::WholeNumber,
                            .label = "--width W",
                            .listing = Listing::WithNext,
                            .least = kLeastPixels,
                            .most = kMostPixels,
                            .refused = kPixelsNeeded};
constexpr OptionSpec height(std::string_view help) {
    return {.name = "--height",
            .argument = Argument::WholeNumber,
            .label = "--height H",
            .help = help,
            .least = kLeastPixels,
            .most = kMostPixels,
            .refused = kPixelsNeeded};
}

// ---- gates moved for every frame (readings, overview): the words of render's
// --gate-a/--gate-b, measured on each frame of the range in turn.
constexpr OptionSpec kEveryFrameGateA{.name = "--gate-a",
                                      .argument = Argument::Text,
                                      .label = "--gate-a START,THRESH,",
                                      .listing = Listing::WithNext};
constexpr OptionSpec everyFrameGateB(std::string_view help) {
    return {.name = "--gate-b", .argument = Argument::Text, .label = "--gate-b START,THRESH", .help = help};
}
constexpr std::string_view kReadingsGateHelp =
    "measure every frame again with that gate left where a\n"
    "completed drag would (as pelix render --gate-a/--gate-b: start in display units,\n"
    "gate B's absolute start; threshold in percent -100..100), each frame on its own:\n"
    "the rows then hold the re-measured readings pelix render N --state shows";
constexpr std::string_view kOverviewGateHelp =
    "that gate's series is then every frame's re-measured\n"
    "amplitude (gate left as pelix render --gate-a/--gate-b leaves it), and --json\n"
    "adds \"Remeasured\": [\"A\"] (or \"B\", or both); not with -o";

// ---- info
constexpr OptionSpec kInfoOptions[] = {
    {.name = "--fields",
     .help = "every setup field by name instead, the derived velocity, display delay and\n"
             "display range, HeaderSize, FrameCount, the rate, TotalSeconds, FlagCount and FlagIndex"},
    {.name = "--json", .help = "the --fields content as JSON"},
};

// ---- frame
constexpr OptionSpec kFrameOptions[] = {kJson};

// ---- render
constexpr OptionSpec kRenderOptions[] = {
    {.name = "-o",
     .argument = Argument::Text,
     .label = "-o OUT.png",
     .help = "the A-scan control as drawn (the whole main window with --window)"},
    {.name = "--window", .help = "picture the whole main window instead of the control alone"},
    {.name = "--ops",
     .argument = Argument::Text,
     .label = "--ops FILE",
     .help = "the control's drawing operations of the last redraw, as JSON"},
    {.name = "--state",
     .argument = Argument::Text,
     .label = "--state FILE",
     .help = "every property of the control by name, the sixteen panel rows (caption and\n"
             "value with their visibility), the two scale labels, the title and the seven\n"
             "readings (name, value, background, number, unit, held: as pelix readings\n"
             "--json gives them), as JSON; after a gate option also the\n"
             "six measured gate values (GateDataArray)"},
    kWidth,
    height("the control's size, 16..10000 pixels each (default: its size in the main\n"
           "window at the window's starting size; never below the control's minimum of\n"
           "7200 x 3500 twips)"),
    {.name = "--gate-a",
     .argument = Argument::Text,
     .label = "--gate-a START,THRESH,",
     .listing = Listing::WithNext},
    {.name = "--gate-b",
     .argument = Argument::Text,
     .label = "--gate-b START,THRESH",
     .help = "after frame N is shown, leave that gate where a\n"
             "completed drag would: start in display units (mm, or inch for inch recordings;\n"
             "gate B's absolute start), threshold in percent (-100..100); the player then\n"
             "measures the gates on the frame and shows the re-measured readings"},
    {.name = "--search-box",
     .argument = Argument::Text,
     .label = "--search-box L,U,H1,H2",
     .help = "after frame N is shown, tick \"Search box\", drag the box with the mouse\n"
             "to the left and right edge L..U (0..800 across the picture) and the amplitude\n"
             "window H1..H2 (percent, 0..100; in RF the box lies in the upper half and counts\n"
             "from the centre line) as near as the mouse can place it, and press \"Search\": the\n"
             "list and the marks under the slider show the matches; --state then also holds\n"
             "\"search\" (the list's entries and the matching frames); L > U or H1 > H2 is a\n"
             "usage error, limits beyond 0..800 or 0..100 are clamped to them (noted on\n"
             "standard error), as pelix search --box reads them"},
    {.name = "--range",
     .argument = Argument::Text,
     .label = "--range A,B",
     .help = "tick \"Select range\" with the slider at A, choose End Point and move the slider\n"
             "to B; N must be B, or A, in which case Start Point is chosen last and the slider\n"
             "moved back to A (1 <= A <= B <= the frame count); --state then also holds\n"
             "\"aviRange\" (its start and end frame)"},
};

// ---- readings
constexpr OptionSpec kReadingsOptions[] = {
    kFromFrame,
    kToFrame,
    {.name = "--csv",
     .help = "comma-separated: Frame,Time,Flag,Name1,Value1,...,Name7,Value7, then\n"
             "Number1,Unit1,Held1,...,Number7,Unit7,Held7 (Flag and Held 1 or 0)"},
    {.name = "--json",
     .help = "{\"FrameCount\":..,\"Rows\":[{\"Frame\":..,\"Time\":..,\"Flag\":..,\"readings\":[{\"slot\",\n"
             "\"name\",\"value\",\"background\",\"number\",\"unit\",\"held\"}, ...]}, ...]}"},
    kEveryFrameGateA,
    everyFrameGateB(kReadingsGateHelp),
};

// ---- export
constexpr OptionSpec kExportOptions[] = {
    {.name = "-o",
     .argument = Argument::Text,
     .label = "-o OUT",
     .help = "the video: H.264 in MP4 for OUT.mp4, in Matroska for OUT.mkv, the player's AVI for\n"
             "any other name; an existing file of that name is replaced once the video is complete\n"
             "(never the recording, a read-only file, a folder, a device, a FIFO or a socket)"},
    {.name = "--from",
     .argument = Argument::WholeNumber,
     .label = "--from A",
     .help = "first frame (default 1)",
     .refused = kWholeNumberNeeded},
    {.name = "--to",
     .argument = Argument::WholeNumber,
     .label = "--to B",
     .help = "last frame (default the frame count)",
     .refused = kWholeNumberNeeded},
    // Any whole rate is taken: the command clamps it to what the video can play, and says so.
    {.name = "--fps",
     .alias = "--rate",
     .argument = Argument::WholeNumber,
     .label = "--fps F",
     .help = "frames per second of the video, also --rate F (default 10, clamped to 1..30; a\n"
             "clamped rate is said on standard error)",
     .refused = kWholeNumberNeeded},
    {.name = "--lossless",
     .help = "MP4 and MKV only: every pixel of every picture kept exactly (RGB at quantiser 0;\n"
             "the demo: 26 MB against 20 MB, the AVI 273 MB)"},
    {.name = "--window", .help = "show the player window on the screen while it records"},
    // HDF5 output (-o OUT.h5 or OUT.hdf5): written by `pelix` itself, no window.
    {.name = "--compress",
     .argument = Argument::WholeNumber,
     .label = "--compress N",
     .help = "HDF5 only: shuffle and deflate every table at level N, 0..9 (default 1; 0 stores\n"
             "the tables uncompressed)",
     .least = 0,
     .most = 9,
     .refused = "needs a whole number in 0..9"},
};

// ---- search
constexpr OptionSpec kSearchOptions[] = {
    {.name = "--box", .argument = Argument::Text, .listing = Listing::InText},
    kJson,
};

// ---- overview
constexpr OptionSpec kOverviewOptions[] = {
    {.name = "--json",
     .help = "{\"FrameCount\": N, \"GateAAmplitude\": [...], \"GateBAmplitude\": [...],\n"
             "\"Flags\": [frame numbers]}: one amplitude (percent of screen height) per\n"
             "frame, null while that gate is off"},
    {.name = "-o",
     .argument = Argument::Text,
     .label = "-o OUT.png",
     .help = "the strip as the player's overview window draws it (default 1000 x 120 pixels)"},
    kWidth,
    height("the strip's size with -o, 16..10000 pixels each"),
    kEveryFrameGateA,
    everyFrameGateB(kOverviewGateHelp),
};

// ---- bscan
constexpr OptionSpec kBscanOptions[] = {
    {.name = "--json",
     .help = "{\"Width\":W,\"Height\":H,\"From\":A,\"To\":B,\"Cells\":[[row 0 ...],...]}:\n"
             "H rows of W cells, row 0 the start of the display window; a cell in percent\n"
             "of screen height, 0..100 rectified, 0..50 from the centre line for RF;\n"
             "null in a column that no whole frame of the file fills"},
    {.name = "-o",
     .argument = Argument::Text,
     .label = "-o OUT.png",
     .help = "the B-scan drawn, one pixel a cell, with a colour bar, the frame axis in\n"
             "frames and seconds, the sample axis in the recording's units and the gate A\n"
             "and B start and end of each column's first frame"},
    kFromFrame,
    kToFrame,
    {.name = "--width",
     .argument = Argument::WholeNumber,
     .label = "--width W",
     .listing = Listing::WithNext,
     .least = 1,
     .most = 20000,
     .refused = "must be 1..20000 columns"},
    {.name = "--height",
     .argument = Argument::WholeNumber,
     .label = "--height H",
     .help = "columns of frames and rows of samples (default 1000 x 400)",
     .least = 1,
     .most = 800,
     .refused = "must be 1..800 rows"},
};

// ---- report
constexpr OptionSpec kReportOptions[] = {
    {.name = "-o", .argument = Argument::Text, .label = "-o REPORT.pdf", .listing = Listing::InText},
    {.name = "--frames",
     .argument = Argument::Text,
     .label = "--frames LIST",
     .help = "the frames to show, e.g. 12 or 3,7,20-25 (at most 2000)"},
    {.name = "--flags", .help = "every flagged frame (the default); frame 1 when the operator flagged none"},
    {.name = "--bookmarks", .help = "every frame with a bookmark in the review file, once each"},
    {.name = "--indications", .help = "each indication's peak frame (as the indication table lists them)"},
    {.name = "--gate",
     .argument = Argument::Text,
     .label = "--gate a|b",
     .help = "the gate of the indication table (default a)"},
    {.name = "--level",
     .argument = Argument::WholeNumber,
     .label = "--level P",
     .help = "an indication's frames reach P percent of screen height, 0..100\n"
             "(default: the gate's threshold in frame 1)",
     .least = 0,
     .most = 100,
     .refused = "must be 0..100 percent"},
    {.name = "--drop",
     .argument = Argument::Text,
     .label = "--drop DB",
     .help = "the drop that sizes an indication, 0..200 dB (default 6)"},
};

} // namespace

const CommandSpec kInfoCommand{
    .name = "info",
    .listArguments = "FILE",
    .summary = "the recording's setup, frame count, length and flags",
    .listColumn = 16,
    .usage = "FILE [--fields | --json]",
    .description =
        "Prints the recording in words: its magic bytes, version, units, velocity, rectification,\n"
        "display window, probe angle, the gates of frame 1, the evaluation mode, the number of frames,\n"
        "the rate, the length, and the flagged frames (with the header's flag count where it differs).\n",
    .helpColumn = 13,
    .options = kInfoOptions,
};

const CommandSpec kFrameCommand{
    .name = "frame",
    .listArguments = "FILE N",
    .summary = "frame N's header fields and decoded samples",
    .listColumn = 16,
    .usage = "FILE N [--json]",
    .description =
        "Prints frame N's time index, every FrameHeader field, AscanPoints and AscanRaw (0..1600),\n"
        "EnvelopePoints (0..3200) for envelope recordings, and the trace mode the A-scan control gets.\n"
        "For an envelope recording FrameHeader is the pair's first record (panel and readings) and\n"
        "AscanPoints/AscanRaw hold the second record's samples, as after the player shows the frame.\n"
        "Exit status 0 done, 1 standard output could not be written, 2 usage, 3 recording rejected,\n"
        "4 the file ends inside frame N (what it holds is printed, marked ShortRead).\n",
    .options = kFrameOptions,
};

const CommandSpec kRenderCommand{
    .name = "render",
    .listArguments = "FILE N -o OUT.png",
    .summary = "frame N drawn as the player shows it",
    .usage =
        "FILE N -o OUT.png [--window] [--ops OPS.json] [--state STATE.json]\n"
        "                         [--width W --height H] [--gate-a START,THRESH] [--gate-b START,THRESH]\n"
        "                         [--search-box L,U,H1,H2] [--range A,B]",
    .description =
        "Opens FILE as the player does and shows frame N through the player's display pipeline, headless.\n",
    .helpColumn = 18,
    .options = kRenderOptions,
    .closing =
        "At least one of -o, --ops and --state is needed. An output replaces an existing file only once\n"
        "every output is complete; the recording itself, a read-only file, a folder, a device, a FIFO or a\n"
        "socket is never replaced. Exit status 0 done, 1 an output refused or not written (none is\n"
        "written), 2 usage, 3 recording rejected, 4 frame N is cut short by the end of the file (nothing\n"
        "written).\n",
};

const CommandSpec kReadingsCommand{
    .name = "readings",
    .listArguments = "FILE [--csv]",
    .summary = "every frame's recorded readings as the panel shows them",
    .listColumn = 28,
    .usage = "FILE [--from A --to B] [--gate-a START,THRESH] [--gate-b START,THRESH] [--csv | --json]",
    .description =
        "One row per frame: the frame number, its time in seconds from the start of the recording, the\n"
        "operator's flag mark, and the seven reading slots' names and recorded values exactly as the\n"
        "player's readings panel shows them (for envelope recordings, the first record of each pair).\n",
    .helpColumn = 20,
    .options = kReadingsOptions,
    .closing =
        "Without --csv or --json: one line per frame, tab-separated, flagged frames marked F, held\n"
        "values marked with a trailing *.\n"
        "Number is the value as a plain decimal (20.8; empty, or null in JSON, when the slot shows no\n"
        "value) and Unit its unit: mm, in, us, %, dB or empty. A held value is one the instrument kept\n"
        "from an earlier frame because its gate found no echo in this one; the player's window shows it\n"
        "on a white background.\n"
        "A frame whose header the end of the file cuts short ends the table (noted on standard error).\n"
        "Exit status 0 done, 1 the table could not be written, 2 usage, 3 recording rejected,\n"
        "4 the file ended inside a frame's header (the table stops there).\n",
};

namespace {
// ---- indications
constexpr std::string_view kIndicationsGateHelp =
    "measure every frame again with that gate left where a\n"
    "completed drag would (as pelix readings --gate-a/--gate-b); when it is\n"
    "the chosen gate, its re-measured amplitude, dB to reference and peak\n"
    "readings are followed instead of the recorded ones";
constexpr OptionSpec kIndicationsOptions[] = {
    {.name = "--gate",
     .argument = Argument::Text,
     .label = "--gate a|b",
     .help = "the gate whose recorded amplitude is followed (default a)"},
    kEveryFrameGateA,
    everyFrameGateB(kIndicationsGateHelp),
    {.name = "--level",
     .argument = Argument::WholeNumber,
     .label = "--level P",
     .help = "a frame counts when the gate's amplitude is at least P percent of\n"
             "screen height, 0..100 (default: the gate's threshold in frame 1, or\n"
             "as moved)",
     .least = 0,
     .most = 100,
     .refused = "must be 0..100 percent"},
    {.name = "--above-reference",
     .argument = Argument::Text,
     .label = "--above-reference DB",
     .help = "instead, a frame counts when its dB-to-reference reading of the\n"
             "gate (dBrA or dBrB, as the readings panel shows it) is at least DB,\n"
             "-200..200; a frame without that reading does not count"},
    {.name = "--drop",
     .argument = Argument::Text,
     .label = "--drop DB",
     .help = "the drop extent keeps the frames around the peak whose amplitude\n"
             "stays within DB of it, 0..200 (default 6): amplitude x 10^(DB/20)\n"
             ">= peak, compared unrounded"},
    {.name = "--merge",
     .argument = Argument::WholeNumber,
     .label = "--merge G",
     .help = "runs separated by at most G frames that do not count are one\n"
             "indication (default 0)",
     .least = 0,
     .refused = "must be 0 or more frames"},
    {.name = "--min-frames",
     .argument = Argument::WholeNumber,
     .label = "--min-frames K",
     .help = "leave out indications shorter than K frames, first to last\n"
             "(default 1)",
     .least = 1,
     .refused = "must be 1 or more frames"},
    {.name = "--scan-speed",
     .argument = Argument::Text,
     .label = "--scan-speed MM_PER_S",
     .help = "the probe's travel speed, above 0 and at most 10000: each length\n"
             "also in mm, an estimate (the recording holds no encoder position)"},
    kFromFrame,
    kToFrame,
    {.name = "--csv",
     .help = "one row per indication: First,Last,PeakFrame,PeakAmplitude,\n"
             "DropFirst,DropLast,LengthFrames,LengthSeconds,LengthMm, then\n"
             "SoundPath,SoundPathUnit,Depth,DepthUnit,Projection,ProjectionUnit,\n"
             "DbToReference,DbToReferenceUnit (empty where there is none)"},
    {.name = "--json",
     .help = "{\"Gate\":\"A\",\"Level\":..,\"AboveReference\":..,\"Drop\":..,...,\n"
             "\"Indications\":[{\"First\",\"Last\",\"PeakFrame\",\"PeakAmplitude\",\n"
             "\"DropFirst\",\"DropLast\",\"LengthFrames\",\"LengthSeconds\",\"LengthMm\",\n"
             "\"Readings\":{\"SoundPath\":{\"name\",\"value\",\"number\",\"unit\",\"held\"},\n"
             "\"Depth\",\"Projection\",\"DbToReference\"}}, ...]}"},
};
} // namespace

const CommandSpec kIndicationsCommand{
    .name = "indications",
    .listArguments = "FILE [--gate a|b]",
    .summary = "where a gate's recorded echo stands above a level, sized",
    .listColumn = 28,
    .usage = "FILE [--gate a|b] [--gate-a START,THRESH] [--gate-b START,THRESH]\n"
             "                         [--level P | --above-reference DB] [--drop DB] [--merge G]\n"
             "                         [--min-frames K] [--scan-speed MM_PER_S]\n"
             "                         [--from A --to B] [--csv | --json]",
    .description =
        "Finds the indications in the gate's recorded echo amplitudes (for envelope recordings, the\n"
        "first record of each pair): runs of frames that count, merged and kept by their length. A frame\n"
        "whose gate is off, or whose header the end of the file cuts short, has no amplitude: it counts\n"
        "for nothing and ends a run. For each indication: its first and last frame, the peak frame (the\n"
        "first with the run's largest amplitude), the peak amplitude, and the drop extent: from the peak\n"
        "outwards while the amplitude stays within the drop, across the run's ends but never across a\n"
        "frame without amplitude; its length in frames, in seconds (frames / frame rate) and, with\n"
        "--scan-speed, in mm. With it the gate's readings of the peak frame as the readings panel shows\n"
        "them: sound path, depth, projection and dB to reference, those the recording records.\n",
    .helpColumn = 27,
    .options = kIndicationsOptions,
    .closing = "Without --csv or --json: a table, one line per indication, held readings marked with a\n"
               "trailing *.\n"
               "Exit status 0 done, 1 the list could not be written, 2 usage, 3 recording rejected,\n"
               "4 the file ended inside a frame's header, or inside a frame being measured again (the\n"
               "indications before it are given).\n",
};

const CommandSpec kExportCommand{
    .name = "export",
    .listArguments = "FILE -o OUT.avi|.mp4|.h5",
    .summary = "a range of frames to an AVI, MP4 or MKV video, or to HDF5",
    .listColumn = 28,
    .usage = "FILE -o OUT.avi|OUT.mp4|OUT.mkv [--from A --to B] [--fps F] [--lossless] [--window]\n"
             "       pelix export FILE -o OUT.h5 [--from A --to B] [--compress N]",
    .description =
        "Records frames A..B of FILE (default: all of them) through the player's own window, capture and\n"
        "video writer, headless: one picture per frame, the window cut to its capture area (full width,\n"
        "down to the controls below the position slider). OUT.avi: Microsoft Video 1, every frame a key\n"
        "frame. OUT.mp4 or OUT.mkv: H.264 at full colour resolution (4:4:4), constant quality CRF 18,\n"
        "tuned for still pictures, a key frame every 5 seconds: a tenth of the AVI's size or less, with\n"
        "one-pixel lines kept.\n",
    .helpColumn = 15,
    .options = kExportOptions,
    .closing = "With -o OUT.h5 or OUT.hdf5 the frames are written as HDF5 instead (docs/hdf5-layout.md):\n"
               "every frame's trace, header fields and readings, the setup and the recording's SHA-256.\n"
               "Exit status 0 done, 1 the video was refused or could not be written (nothing is written; an\n"
               "existing file is left as it was), 2 usage (a range outside 1..FrameCount or reversed writes\n"
               "nothing), 3 recording rejected.\n",
};

const CommandSpec kSearchCommand{
    .name = "search",
    .listArguments = "FILE --box L,U,H1,H2",
    .summary = "every frame whose trace passes through the box",
    .usage = "FILE --box L,U,H1,H2 [--json]",
    .description =
        "Lists every frame whose trace passes through the search box, in the player's words\n"
        "(\"1.  Frame 57\", or \"Not found.\"). L and U are the box's left and right edge on the\n"
        "0..800 sample scale, H1 and H2 its lower and upper amplitude limit in percent of screen\n"
        "height (in RF, of half the height from the centre line): the control's\n"
        "SearchLowwidthRange, SearchUpwidthRange, SearchLowhightlimit and SearchUphightlimit.\n"
        "Reversed limits (L > U or H1 > H2) are a usage error: no trace passes through such a box.\n"
        "Limits beyond 0..800 or 0..100 are clamped to them, as the window keeps its box inside the\n"
        "picture; a note on standard error says so.\n"
        "--json prints {\"matches\": [frame numbers], \"entries\": [list entries]}.\n",
    .options = kSearchOptions,
};

const CommandSpec kOverviewCommand{
    .name = "overview",
    .listArguments = "FILE [--json | -o OUT.png]",
    .summary = "every frame's gate amplitudes and the flags",
    .usage =
        "FILE [--json [--gate-a START,THRESH] [--gate-b START,THRESH] | -o OUT.png [--width W --height H]]",
    .description =
        "The recorded gate A and gate B echo amplitudes of every frame and the operator's flags, read\n"
        "from the frame headers (for envelope recordings, the first record of each pair).\n",
    .helpColumn = 18,
    .options = kOverviewOptions,
    .closing =
        "Without --json or -o: frame count, flag count and each gate's highest amplitude.\n"
        "A frame whose header the end of the file cuts short counts as both gates off (noted on\n"
        "standard error, exit status 4). -o never replaces the recording, a read-only file, a folder, a\n"
        "device, a FIFO or a socket, and replaces an existing file only with a complete picture.\n"
        "Exit status 0 done, 1 output refused or not written (nothing is written), 2 usage, 3 recording\n"
        "rejected, 4 cut short.\n",
};

const CommandSpec kBscanCommand{
    .name = "bscan",
    .listArguments = "FILE --json | -o OUT.png",
    .summary = "the A-scans of a frame range side by side",
    .usage = "FILE (--json | -o OUT.png) [--from A --to B] [--width W --height H]",
    .description =
        "The B-scan: one column per group of frames and one row per group of the 800 displayed samples,\n"
        "each cell the largest sample of its frames and samples, so an echo of a single frame still\n"
        "shows. With N frames in A..B, column c of W holds frames A + floor(c*N/W) .. A + floor((c+1)*N/W)\n"
        "- 1 (with fewer frames than columns, frame A + floor(c*N/W)); row r of H holds samples\n"
        "floor(r*800/H) .. floor((r+1)*800/H) - 1. RF recordings show how far both half-waves reach\n"
        "from the centre line, half the screen height at most; envelope recordings their live trace.\n",
    .helpColumn = 25,
    .options = kBscanOptions,
    .closing =
        "A frame the end of the file cuts short is left out: its column and the later ones have no\n"
        "cells (noted on standard error, exit status 4). -o never replaces the recording, a read-only\n"
        "file, a folder, a device, a FIFO or a socket, and replaces an existing file only with a\n"
        "complete picture.\n"
        "Exit status 0 done, 1 output refused or not written (nothing is written), 2 usage, 3 recording\n"
        "rejected, 4 cut short.\n",
};

const CommandSpec kReportCommand{
    .name = "report",
    .listArguments = "FILE -o REPORT.pdf [--frames LIST | --flags]",
    .summary = "an inspection report",
    .usage = "FILE -o REPORT.pdf [--frames LIST | --flags | --bookmarks | --indications]\n"
             "       [--gate a|b] [--level P] [--drop DB]",
    .description =
        "Writes an inspection report. Page 1 holds the inspection details from the recording's review\n"
        "file (pelix inspection), the recording (file, size, SHA-256, version, units, velocity,\n"
        "rectification, probe angle, gates, evaluation mode, frames, rate, length, flags) with the\n"
        "overview strip, the indications of the recorded echo as pelix indications finds them, and the\n"
        "bookmarks with their notes; long lists run on to further pages. Then one page per chosen frame\n"
        "with the player's window showing it, the frame number and time, its bookmark notes and the\n"
        "seven readings. Pages are numbered; the footer holds the file name and the date of the report.\n"
        "The review file is found as pelix review finds it. Without one the report says so; one that\n"
        "is not applied (it does not parse, or names another recording) is named with the reason on\n"
        "page 1 and on standard error, and the report is written without it.\n",
    .helpColumn = 18,
    .options = kReportOptions,
    .closing =
        "The report never replaces the recording, a read-only file, a folder, a device, a FIFO or a\n"
        "socket, and replaces an existing file only once it is complete.\n"
        "Exit status 0 written, 1 refused or not written (nothing is written), 2 usage, 3 recording\n"
        "rejected, 4 a chosen frame is cut short by the end of the file (its page says so; the report is\n"
        "written).\n",
};

namespace {
// ---- summary
constexpr OptionSpec kSummaryOptions[] = {
    {.name = "--gate",
     .argument = Argument::Text,
     .label = "--gate a|b",
     .help = "only that gate's columns (default both)"},
    {.name = "--level",
     .argument = Argument::WholeNumber,
     .label = "--level P",
     .help = "count frames and indications at P percent of screen height, 0..100\n"
             "(default: each gate's threshold in frame 1 of each recording)",
     .least = 0,
     .most = 100,
     .refused = "must be 0..100 percent"},
    {.name = "-j",
     .argument = Argument::WholeNumber,
     .label = "-j N",
     .help = "read N recordings at a time, 1..256 (default: the processor's cores)",
     .least = 1,
     .most = 256,
     .refused = "must be 1..256 workers"},
    {.name = "--csv",
     .help = "one row per recording: File,Status,Reason,SizeBytes,Version,Frames,\n"
             "DurationSeconds,FramesPerSecond,Envelope,Flags,FlagCount,EvaluationMode,\n"
             "TrailingBytes, then for each gate shown (A, then B) GateALargest,\n"
             "GateALargestFrame,GateALevel,GateAFramesAtLevel,GateAIndications\n"
             "(empty where there is none)"},
    {.name = "--json",
     .help = "an array of one object per recording with the --csv keys (null where\n"
             "there is none; Envelope true or false)"},
};
} // namespace

const CommandSpec kSummaryCommand{
    .name = "summary",
    .listArguments = "FILE... [--csv | --json]",
    .summary = "many recordings at a glance, one row each",
    .listColumn = 28,
    .usage = "FILE... [--csv | --json] [-j N] [--gate a|b] [--level P]",
    .description =
        "One row per recording, in the order the files are given, the files read in parallel: the file,\n"
        "its status (read; cut-short: a partial frame follows the last whole one; rejected; unreadable)\n"
        "with the reader's reason, its size, the setup record's version, the frames, the length (frames /\n"
        "frame rate), the rate, the flagged frames, the evaluation mode, and for each gate its largest\n"
        "recorded echo amplitude with the first frame holding it, the level, the frames at or above the\n"
        "level and the indications there (as pelix indications finds them with its default drop and\n"
        "merge). Each file's frame headers are read once (for envelope recordings, the first record of\n"
        "each pair). A folder is refused: pass the recordings themselves, as a shell glob (DIR/*.BIN) or\n"
        "from find (find DIR -name '*.BIN' -exec pelix summary {} +), so that xargs -P or a batch\n"
        "scheduler can share a larger collection out.\n",
    .helpColumn = 15,
    .options = kSummaryOptions,
    .closing = "Without --csv or --json: a table, then a line of totals.\n"
               "Exit status 0 every recording was read, 1 a recording was rejected or unreadable (every\n"
               "other file is still summarised and every row written) or the table could not be written,\n"
               "2 usage (a folder given, or -j outside 1..256: nothing is read).\n",
};

// ---- the review file: review, bookmarks, inspection
namespace {
constexpr OptionSpec kReviewOptions[] = {
    {.name = "--json",
     .help = "the review file's content as the program writes it (null when there is none)"},
};
constexpr OptionSpec kBookmarksOptions[] = {
    {.name = "--json",
     .help = "{\"FrameCount\":N,\"Bookmarks\":[{\"Frame\",\"Seconds\",\"Text\",\"Created\",\n"
             "\"OutOfRange\"}, ...]} (Seconds null before frame 1)"},
    {.name = "--tsv",
     .help = "Frame, Seconds, Created, Text, OutOfRange (1 or 0), tab-separated under a\n"
             "header line; tabs and line breaks in a note become spaces"},
    {.name = "--add",
     .argument = Argument::WholeNumber,
     .label = "--add N TEXT",
     .help = "add a bookmark at frame N (1..the frame count) with the note TEXT",
     .refused = kFrameNumberNeeded},
    {.name = "--delete",
     .argument = Argument::WholeNumber,
     .label = "--delete N",
     .help = "delete the bookmarks at frame N",
     .refused = kFrameNumberNeeded},
    {.name = "--import",
     .argument = Argument::Text,
     .label = "--import LABELS.txt",
     .help = "add a bookmark for each label of a label file (START<TAB>END<TAB>TEXT,\n"
             "seconds): at the frame its start falls in, a range's end kept in the note\n"
             "\"TEXT (to END s)\"; lines that are no label are named on standard error by\n"
             "their number and the others imported"},
    {.name = "--export",
     .argument = Argument::Text,
     .label = "--export LABELS.txt",
     .help = "write the bookmarks as a label file, one point label a line at its frame's\n"
             "start ((N - 1) / the rate, six decimals)"},
};
constexpr OptionSpec kInspectionOptions[] = {
    {.name = "--set",
     .argument = Argument::Text,
     .label = "--set KEY=VALUE",
     .help = "set an inspection detail (given again for more; an empty VALUE clears it).\n"
             "KEY, in any letter case: PartId, Location, Procedure, ProcedureRevision,\n"
             "AcceptanceStandard, Operator, CertificationLevel, Instrument,\n"
             "InstrumentSerial, Probe, ProbeSerial, CalibrationBlock, Couplant,\n"
             "ReferenceGain, Date, Notes",
     .repeatable = true},
    {.name = "--json", .help = "the sixteen details as {\"PartId\": \"...\", ...}"},
};
constexpr std::string_view kReviewClosing =
    "The review file lies beside the recording (FILE.review.json, the recording's own name), or,\n"
    "where that folder cannot be written, in $XDG_DATA_HOME/pelix-player/reviews/ (default\n"
    "~/.local/share) named by the recording's SHA-256; docs/review-file.md describes it. A change is\n"
    "written to a temporary file and renamed into place; the recording is never written.\n"
    "Exit status 0 done, 1 the review file or an output could not be written (an existing file is\n"
    "left as it was), 2 usage, 3 recording rejected, 5 the review file is not applied and left as\n"
    "it is: it does not parse, is of another version, lacks a field it needs, is over 16 MiB or\n"
    "unreadable, or belongs to another recording (the reason on standard error).\n";
} // namespace

const CommandSpec kReviewCommand{
    .name = "review",
    .listArguments = "FILE [--json]",
    .summary = "the recording's review file: inspection details, bookmarks, last session",
    .listColumn = 28,
    .usage = "FILE [--json]",
    .description =
        "Shows what reviewers added to the recording: the review file's place, the recording it names\n"
        "(name, size, SHA-256), the inspection details, the bookmarks (those beyond the last frame\n"
        "marked) and where the last session left the window.\n",
    .helpColumn = 13,
    .options = kReviewOptions,
    .closing = kReviewClosing,
};

const CommandSpec kBookmarksCommand{
    .name = "bookmarks",
    .listArguments = "FILE [--add N TEXT]",
    .summary = "list, add, delete, import and export bookmarks",
    .listColumn = 28,
    .usage = "FILE [--json | --tsv] [--add N TEXT] [--delete N] [--import LABELS.txt]\n"
             "                         [--export LABELS.txt]",
    .description =
        "Lists the recording's bookmarks, one a line: frame, seconds from the start, when it was made\n"
        "and its note on one line (shortened); a bookmark beyond the last frame is kept and marked.\n"
        "Changes run in the order --delete, --add, --import, then the review file is written once;\n"
        "--export then writes the label file. The list is printed when no change or export is asked\n"
        "for, or with --json or --tsv.\n",
    .helpColumn = 24,
    .options = kBookmarksOptions,
    .closing = kReviewClosing,
};

const CommandSpec kInspectionCommand{
    .name = "inspection",
    .listArguments = "FILE [--set KEY=VALUE ...]",
    .summary = "the inspection details the report names",
    .listColumn = 28,
    .usage = "FILE [--set KEY=VALUE ...] [--json]",
    .description =
        "Shows the inspection details of the recording's review, after setting those given with --set\n"
        "(the review file is then written once).\n",
    .helpColumn = 20,
    .options = kInspectionOptions,
    .closing = kReviewClosing,
};

std::span<const CommandSpec* const> commandTable() {
    static constexpr std::array kCommands = {
        &kInfoCommand,    &kFrameCommand,  &kRenderCommand,    &kReadingsCommand,  &kIndicationsCommand,
        &kExportCommand,  &kSearchCommand, &kOverviewCommand,  &kReportCommand,    &kBscanCommand,
        &kSummaryCommand, &kReviewCommand, &kBookmarksCommand, &kInspectionCommand};
    return kCommands;
}

const CommandSpec* findCommand(std::string_view name) {
    const auto commands = commandTable();
    const auto it =
        std::find_if(commands.begin(), commands.end(), [&](const CommandSpec* c) { return c->name == name; });
    return it == commands.end() ? nullptr : *it;
}

} // namespace pelix::tool
