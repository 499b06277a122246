// pelix render: frame N of a recording drawn exactly as the player shows it.
// The main window is built (hidden), the recording goes through the player's
// own open sequence and frame N through its own display pipeline; the picture
// is then taken from the A-scan control alone or from the whole window. What a
// user does next (mark a video range, search with the box, drag a gate) goes
// through the window's own controls and handlers before the picture is taken.
#include "core/files/output_file.h"
#include "core/recording/open_recording.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "platform/track_bar.h"
#include "player/display/frame_display.h"
#include "player/display/readings_panel.h"
#include "player/export/output_device.h"
#include "player/search/search_controller.h"
#include "player/search/search_results.h"
#include "player/ui/frm_player.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/gate_option.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/reading_columns.h"
#include "tools/pelix/search_box_option.h"
#include "tools/pelix/tool_outputs.h"
#include "tools/pelix/window_session.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSequentialIterable>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace pelix::tool {

namespace {

struct FrameRange {
    int32_t start = 0, end = 0;
};

// "A,B": two frame numbers.
std::optional<FrameRange> parseRange(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto start = parseWholeNumber(text.substr(0, comma));
    const auto end = parseWholeNumber(text.substr(comma + 1));
    if (!start || !end || *start < 1 || *end > INT32_MAX || *start > *end) return std::nullopt;
    return FrameRange{static_cast<int32_t>(*start), static_cast<int32_t>(*end)};
}

struct RenderOptions {
    std::string file;
    int32_t frame = 0;
    std::string png, ops, state;
    bool window = false;
    int width = 0, height = 0;
    std::optional<DraggedGate> gateA, gateB;
    std::optional<search::SearchLimits> searchBox;
    std::optional<FrameRange> range;
};

// Parses the arguments; returns an exit status when the command should end.
std::optional<int> parseRenderArgs(const Args& args, RenderOptions& out) {
    const ParsedArgs parsed = parseArgs(kRenderCommand, args);
    out.window = parsed.has("--window");
    if (parsed.help) {
        std::cout << helpText(kRenderCommand);
        return kExitOk;
    }
    auto usage = [](const std::string& why) {
        std::cerr << "pelix render: " << why << "\n" << helpText(kRenderCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 2) return usage("expects FILE and N");
    out.file = parsed.positional[0];
    const auto n = parseWholeNumber(parsed.positional[1]);
    if (!n || *n < 1 || *n > INT32_MAX) return usage("N must be a frame number");
    out.frame = static_cast<int32_t>(*n);
    std::string searchBoxNote;
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    out.width = static_cast<int>(parsed.number("--width").value_or(0));
    out.height = static_cast<int>(parsed.number("--height").value_or(0));
    for (const auto& [name, value] : parsed.options) {
        if (name == "-o")
            out.png = value;
        else if (name == "--ops")
            out.ops = value;
        else if (name == "--state")
            out.state = value;
        else if (name == "--search-box") {
            SearchBoxOption box = parseSearchBoxOption(std::string(name), value);
            if (!box.limits) return usage(box.error);
            searchBoxNote = box.note;
            out.searchBox = box.limits;
        } else if (name == "--range") {
            out.range = parseRange(value);
            if (!out.range) return usage("--range takes A,B (frame numbers, A <= B)");
        }
    }
    const GateOptions gates = readGateOptions(parsed);
    if (!gates.error.empty()) return usage(gates.error);
    out.gateA = gates.gateA;
    out.gateB = gates.gateB;
    if ((out.width == 0) != (out.height == 0)) return usage("--width and --height go together");
    if (out.png.empty() && out.ops.empty() && out.state.empty())
        return usage("nothing to write: give -o, --ops or --state");
    if (out.range && out.frame != out.range->start && out.frame != out.range->end)
        return usage("with --range A,B the frame shown is A or B");
    if (!searchBoxNote.empty()) std::cerr << "pelix render: " << searchBoxNote << "\n";
    return std::nullopt;
}

// One property value as JSON: numbers, texts, truth values and lists of numbers.
void writeVariant(JsonWriter& w, const QVariant& v) {
    if (!v.isValid()) {
        w.value(std::string_view("null"));
        return;
    }
    if (v.metaType().id() == QMetaType::QVariant) {
        writeVariant(w, v.value<QVariant>());
        return;
    }
    if (v.metaType().flags() & QMetaType::IsEnumeration) {
        w.value(static_cast<int64_t>(v.toLongLong()));
        return;
    }
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        w.value(v.toBool());
        return;
    case QMetaType::Float:
        w.value(v.toFloat());
        return;
    case QMetaType::Double:
        w.value(v.toDouble());
        return;
    case QMetaType::QString:
        w.value(std::string_view(v.toString().toStdString()));
        return;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        w.value(static_cast<int64_t>(v.toLongLong()));
        return;
    default:
        break;
    }
    if (v.canConvert<QVariantList>()) {
        w.beginArray();
        for (const QVariant& element : v.value<QSequentialIterable>())
            writeVariant(w, element);
        w.endArray();
        return;
    }
    w.value(std::string_view(v.toString().toStdString()));
}

void writeLabel(JsonWriter& w, const QWidget* control, const char* objectName) {
    const auto* label = control->findChild<QLabel*>(QString::fromLatin1(objectName));
    w.beginObject();
    w.field("text", std::string_view(label ? label->text().toStdString() : std::string()));
    w.field("visible", label && label->isVisibleTo(control));
    w.endObject();
}

void writeReadings(JsonWriter& w, frmPlayer& window) {
    const player::PlayerControls& c = window.controls();
    const player::ReadingsPanel& panel = window.display().readings();
    w.beginArray();
    for (std::size_t slot = 0; slot < c.lblRdValue.size(); ++slot) {
        w.beginObject();
        w.field("slot", static_cast<int64_t>(slot));
        w.field("name", std::string_view(c.lblRdName[slot]->text().toStdString()));
        const std::string value = c.lblRdValue[slot]->text().toStdString();
        w.field("value", std::string_view(value));
        w.field("background", std::string_view(panel.held(slot) ? "highlight-text" : "button-face"));
        writeReadingKeys(w, value, panel.held(slot));
        w.endObject();
    }
    w.endArray();
}

// The list as `pelix search --json` gives it: the matching frames, then the entries.
void writeSearch(JsonWriter& w, frmPlayer& window) {
    const player::SearchResults& results = window.search().results();
    w.beginObject();
    w.key("matches");
    w.beginArray();
    for (const int32_t frame : results.matches())
        w.value(static_cast<int64_t>(frame));
    w.endArray();
    w.key("entries");
    w.beginArray();
    for (int row = 0; row < results.rowCount(); ++row)
        w.value(std::string_view(results.index(row, 0).data().toString().toStdString()));
    w.endArray();
    w.endObject();
}

std::string controlState(const QWidget* control, frmPlayer& window, const RenderOptions& o) {
    const bool gatesMoved = o.gateA || o.gateB;
    JsonWriter w;
    w.beginObject();
    w.key("properties");
    w.beginObject();
    // The control's own properties, not those every widget has.
    const QMetaObject* meta = control->metaObject();
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        w.key(p.name());
        writeVariant(w, p.read(control));
    }
    w.endObject();
    w.key("panel");
    w.beginArray();
    for (int row = 0; row < 16; ++row) {
        w.beginObject();
        w.field("row", row);
        w.key("caption");
        writeLabel(w, control, ("lblParamTitle" + std::to_string(row)).c_str());
        w.key("value");
        writeLabel(w, control, ("lblParamValue" + std::to_string(row)).c_str());
        w.endObject();
    }
    w.endArray();
    for (const char* name : {"lblAscanStart", "lblAscanWidth", "lblControlTitle"}) {
        w.key(name);
        writeLabel(w, control, name);
    }
    w.key("readings");
    writeReadings(w, window);
    if (gatesMoved) {
        w.key("GateDataArray");
        w.beginArray();
        // Whole numbers by construction; the mark for nothing found is 2147483648 added.
        for (const double v : window.GateDataArray())
            w.value(static_cast<int64_t>(v));
        w.endArray();
    }
    if (o.searchBox) {
        w.key("search");
        writeSearch(w, window);
    }
    if (o.range) {
        w.key("aviRange");
        w.beginObject();
        w.field("startFrame", static_cast<int64_t>(window.session().avi.startFrame));
        w.field("endFrame", static_cast<int64_t>(window.session().avi.endFrame));
        w.endObject();
    }
    w.endObject();
    return w.text() + "\n";
}

// The left mouse button on the search box, at `at` in the box's own pixels.
void mouseOnBox(QWidget* box, QEvent::Type type, QPointF at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &event);
}

// One drag on the search box: press at `from` (box units), move by `by`
// (picture units), release. `perUnit` turns picture units into pixels.
void dragBox(QWidget* box, QPointF from, QPointF by, double perUnit) {
    const QPointF press = from * perUnit;
    const QPointF to = press + by * perUnit;
    mouseOnBox(box, QEvent::MouseButtonPress, press);
    mouseOnBox(box, QEvent::MouseMove, to);
    mouseOnBox(box, QEvent::MouseButtonRelease, to);
}

// Ticks "Search box", drags the box where the limits put it and presses
// "Search", as a user does: the control's own mouse handling moves and sizes
// the box and works out the limits the search then uses. The box's place is
// not a property, so it is first brought to a known one: pulled in to its
// smallest size and pushed against the picture's top-left corner, where the
// control puts it back inside at (16, 1).
bool searchWithBox(frmPlayer& window, const search::SearchLimits& want) {
    const player::PlayerControls& c = window.controls();
    if (!c.CheckSearch->isEnabled()) return false;
    if (!c.CheckSearch->isChecked()) c.CheckSearch->click();
    auto* box = c.Ascan->findChild<QWidget*>(QStringLiteral("SearchRange"));
    const auto* picture = c.Ascan->findChild<QWidget*>(QStringLiteral("picAscan"));
    player::AscanPort& port = window.display().port();
    const double width = port.get("WidthX").toDouble();
    const double height = port.get("PicCurrentHeight").toDouble();
    if (!box || box->isHidden() || !picture || width <= 0 || height <= 0) return false;
    const double perUnit = picture->width() / width; // pixels per picture unit

    // The smallest box the mouse can make, and where the corner push leaves it.
    constexpr double kSmallest = 150.0;
    const QPointF kCorner(16.0, 1.0);
    const double boxWidth = box->width() / perUnit;
    const double boxHeight = box->height() / perUnit;
    dragBox(box, {std::nearbyint(boxWidth * 0.9), std::nearbyint(boxHeight * 0.9)}, {-boxWidth, -boxHeight},
            perUnit);
    const QPointF middle(kSmallest / 2, kSmallest / 2);
    dragBox(box, middle, {-(box->x() / perUnit + 1000.0), -(box->y() / perUnit + 1000.0)}, perUnit);

    // In RF the amplitude window lies in the upper half, clear of the centre line.
    const bool rf = port.get("iAscanRectMode").toInt() != 0;
    const double span = rf ? height / 2 : height;
    const double left = want.SearchLowwidthRange / 800 * width;
    const double right = want.SearchUpwidthRange / 800 * width;
    const double top = (100 - want.SearchUphightlimit) / 100 * span;
    double bottom = (100 - want.SearchLowhightlimit) / 100 * span;
    if (rf) bottom = std::min(bottom, span - 0.5);
    dragBox(box, middle, QPointF(left, top) - kCorner, perUnit);
    const QPointF lowerRight(kSmallest * 0.9, kSmallest * 0.9);
    dragBox(box, lowerRight, {right - left - kSmallest, bottom - top - kSmallest}, perUnit);
    QApplication::processEvents();

    if (!c.cmdSearch->isEnabled()) return false;
    c.cmdSearch->click();
    QApplication::processEvents();
    return true;
}

// Ticks "Select range" and moves the slider as a user marks a range from A
// to B, ending on the frame `shown` (A or B).
bool selectRange(frmPlayer& window, const FrameRange& range, int32_t shown) {
    const player::PlayerControls& c = window.controls();
    const bool endOnStart = shown == range.start && range.start != range.end;
    c.Slider->setValue(endOnStart ? range.end : range.start);
    if (!c.AVI_Select->isEnabled()) return false;
    if (!c.AVI_Select->isChecked()) c.AVI_Select->click();
    c.optEnd->click();
    if (endOnStart) c.optStart->click();
    c.Slider->setValue(shown);
    QApplication::processEvents();
    return window.session().avi.startFrame == range.start && window.session().avi.endFrame == range.end;
}

int render(const RenderOptions& o) {
    // Every output is vetted (and its temporary file made) before any drawing.
    files::OutputFile png, ops, state;
    // Reject what the player rejects before a window exists, with the player's own texts.
    {
        const recording::OpenOutcome outcome =
            recording::OpenRecording::open(o.file, recording::OpenRecording::FlagScan::Skip);
        if (!outcome.recording) return reportRejected(outcome);
        const auto beingRead = outcome.recording->file().identity();
        for (const auto& [name, output] : {std::pair{&o.png, &png}, {&o.ops, &ops}, {&o.state, &state}})
            if (!name->empty() && !output->open(*name, beingRead)) return reportNotWritten("render", *output);
        if (o.frame > outcome.recording->FrameCount()) {
            std::cerr << "pelix render: " << o.file << ": frame " << o.frame << " is outside 1.."
                      << outcome.recording->FrameCount() << "\n";
            return kExitUsage;
        }
        if (o.range && o.range->end > outcome.recording->FrameCount()) {
            std::cerr << "pelix render: " << o.file << ": range " << o.range->start << ".." << o.range->end
                      << " is outside 1.." << outcome.recording->FrameCount() << "\n";
            return kExitUsage;
        }
    }

    MessagesToStderr messages;
    frmPlayer window;
    if (!window.ascanError().isEmpty()) {
        std::cerr << "pelix render: " << window.ascanError().toStdString() << "\n";
        return kExitWriteFailed;
    }
    window.showOffScreen();
    QWidget* control = window.controls().Ascan;
    if (o.width > 0) control->resize(o.width, o.height);

    const player::OpenResult opened = window.openRecording(platform::pathFromBytes(o.file));
    if (opened != player::OpenResult::Opened) {
        messages.report();
        return kExitRejected;
    }
    window.jumpToFrame(o.frame);
    QApplication::processEvents();
    // The range moves the slider and so shows frames; the search shows none; a
    // moved gate lasts until the next frame is shown.
    if (o.range && !selectRange(window, *o.range, o.frame))
        throw std::runtime_error("the window did not take the range");
    if (o.searchBox && !searchWithBox(window, *o.searchBox))
        throw std::runtime_error("the window did not take the search box");
    const bool gatesMoved = o.gateA || o.gateB;
    if (gatesMoved) {
        leaveGatesDragged(window, o.gateA, o.gateB);
        QApplication::processEvents();
    }
    messages.report();
    if (window.display().lastFrameTraceMissing()) {
        // The screen would hold another frame's trace under this frame's panel: no picture of that.
        std::cerr << "pelix render: " << o.file << ": frame " << o.frame
                  << " is cut short by the end of the file; its trace cannot be shown\n";
        return kExitFrameCutShort;
    }

    // Nothing replaces its target until every output has been written whole.
    if (png.isOpen()) {
        const QPixmap picture = o.window ? window.grab() : control->grab();
        if (!player::saveImage(picture.toImage(), png)) return reportNotWritten("render", png);
    }
    if (ops.isOpen()) {
        QString json;
        QMetaObject::invokeMethod(control, "surfaceOperationsJson", Qt::DirectConnection,
                                  Q_RETURN_ARG(QString, json));
        if (!ops.write(json.toStdString() + "\n")) return reportNotWritten("render", ops);
    }
    if (state.isOpen() && !state.write(controlState(control, window, o)))
        return reportNotWritten("render", state);
    for (files::OutputFile* output : {&png, &ops, &state})
        if (output->isOpen() && !output->commit()) return reportNotWritten("render", *output);
    return kExitOk;
}

} // namespace

int runRender(const Args& args) {
    RenderOptions options;
    if (const auto status = parseRenderArgs(args, options)) return *status;
    // A display at hand is used, so pictures match the running player's fonts.
    return runWithApplication("render", true, [&] { return render(options); });
}

} // namespace pelix::tool
