// pelix render: frame N of a recording drawn exactly as the player shows it.
// The main window is built (hidden), the recording goes through the player's
// own open sequence and frame N through its own display pipeline; the picture
// is then taken from the A-scan control alone or from the whole window.
#include "platform/message_service.h"
#include "player/display/frame_display.h"
#include "player/evaluation/readings_panel.h"
#include "player/recording/open_recording.h"
#include "player/ui/frm_player.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/window_session.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMetaProperty>
#include <QPixmap>
#include <QSequentialIterable>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

namespace pelix::tool {

namespace {

const char* kHelp =
    "usage: pelix render FILE N -o OUT.png [--window] [--ops OPS.json] [--state STATE.json]\n"
    "                         [--width W --height H] [--gate-a START,THRESH] [--gate-b START,THRESH]\n"
    "Opens FILE as the player does and shows frame N through the player's display pipeline, headless.\n"
    "  -o OUT.png      the A-scan control as drawn (the whole main window with --window)\n"
    "  --window        picture the whole main window instead of the control alone\n"
    "  --ops FILE      the control's drawing operations of the last redraw, as JSON\n"
    "  --state FILE    every property of the control by name, the sixteen panel rows (caption and\n"
    "                  value with their visibility), the two scale labels, the title and the seven\n"
    "                  readings (name, value, background), as JSON; after a gate option also the\n"
    "                  six measured gate values (GateDataArray)\n"
    "  --width W --height H   the control's size in pixels (default: its size in the main window\n"
    "                  at the window's starting size; never below the control's minimum of 7200 x 3500 "
    "twips)\n"
    "  --gate-a START,THRESH, --gate-b START,THRESH   after frame N is shown, leave that gate where a\n"
    "                  completed drag would: start in display units (mm, or inch for inch recordings;\n"
    "                  gate B's absolute start), threshold in percent (-100..100); the player then\n"
    "                  measures the gates on the frame and shows the re-measured readings\n"
    "At least one of -o, --ops and --state is needed. Exit status 0 done, 1 an output could not be\n"
    "written, 2 usage, 3 recording rejected, 4 frame N is cut short by the end of the file (nothing "
    "written).\n";

// "START,THRESH": a finite start and a whole threshold in percent.
std::optional<DraggedGate> parseMovedGate(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const std::string startText = text.substr(0, comma);
    char* end = nullptr;
    const float start = std::strtof(startText.c_str(), &end);
    if (startText.empty() || end != startText.c_str() + startText.size() || !std::isfinite(start))
        return std::nullopt;
    const auto threshold = parseWholeNumber(text.substr(comma + 1));
    if (!threshold || *threshold < -100 || *threshold > 100) return std::nullopt;
    return DraggedGate{start, static_cast<int16_t>(*threshold)};
}

struct RenderOptions {
    std::string file;
    int32_t frame = 0;
    std::string png, ops, state;
    bool window = false;
    int width = 0, height = 0;
    std::optional<DraggedGate> gateA, gateB;
};

// Parses the arguments; returns an exit status when the command should end.
std::optional<int> parseRenderArgs(const Args& args, RenderOptions& out) {
    const ParsedArgs parsed = parseArgs(
        args, {"-o", "--ops", "--state", "--width", "--height", "--gate-a", "--gate-b"}, {"--window"});
    out.window = parsed.has("--window");
    if (parsed.help) {
        std::cout << kHelp;
        return kExitOk;
    }
    auto usage = [](const std::string& why) {
        std::cerr << "pelix render: " << why << "\n" << kHelp;
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 2) return usage("expects FILE and N");
    out.file = parsed.positional[0];
    const auto n = parseWholeNumber(parsed.positional[1]);
    if (!n || *n < 1 || *n > INT32_MAX) return usage("N must be a frame number");
    out.frame = static_cast<int32_t>(*n);
    for (const auto& [name, value] : parsed.options) {
        if (name == "-o")
            out.png = value;
        else if (name == "--ops")
            out.ops = value;
        else if (name == "--state")
            out.state = value;
        else if (name == "--gate-a" || name == "--gate-b") {
            const auto gate = parseMovedGate(value);
            if (!gate) return usage(name + " takes START,THRESH (a number and a whole percent -100..100)");
            (name == "--gate-a" ? out.gateA : out.gateB) = gate;
        } else {
            const auto pixels = parseWholeNumber(value);
            if (!pixels || *pixels < 1 || *pixels > 10000) return usage(name + " must be 1..10000 pixels");
            (name == "--width" ? out.width : out.height) = static_cast<int>(*pixels);
        }
    }
    if ((out.width == 0) != (out.height == 0)) return usage("--width and --height go together");
    if (out.png.empty() && out.ops.empty() && out.state.empty())
        return usage("nothing to write: give -o, --ops or --state");
    return std::nullopt;
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) std::cerr << "pelix render: cannot write " << path << "\n";
    return static_cast<bool>(out);
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
        w.field("value", std::string_view(c.lblRdValue[slot]->text().toStdString()));
        w.field("background", std::string_view(panel.held(slot) ? "highlight-text" : "button-face"));
        w.endObject();
    }
    w.endArray();
}

std::string controlState(const QWidget* control, frmPlayer& window, bool gatesMoved) {
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
    w.endObject();
    return w.text() + "\n";
}

int render(const RenderOptions& o) {
    // Reject what the player rejects before a window exists, with the player's own texts.
    {
        const recording::OpenOutcome outcome = recording::OpenRecording::open(o.file);
        if (!outcome.recording) return reportRejected(outcome);
        if (o.frame > outcome.recording->FrameCount()) {
            std::cerr << "pelix render: frame " << o.frame << " is outside 1.."
                      << outcome.recording->FrameCount() << "\n";
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

    const player::OpenResult opened = window.openRecording(QString::fromStdString(o.file));
    if (opened != player::OpenResult::Opened) {
        messages.report();
        return kExitRejected;
    }
    window.jumpToFrame(o.frame);
    QApplication::processEvents();
    const bool gatesMoved = o.gateA || o.gateB;
    if (gatesMoved) {
        leaveGatesDragged(window, o.gateA, o.gateB);
        QApplication::processEvents();
    }
    messages.report();
    if (window.display().lastFrameTraceMissing()) {
        // The screen would hold another frame's trace under this frame's panel: no picture of that.
        std::cerr << "pelix render: frame " << o.frame
                  << " is cut short by the end of the file; its trace cannot be shown\n";
        return kExitFrameCutShort;
    }

    if (!o.png.empty()) {
        const QPixmap picture = o.window ? window.grab() : control->grab();
        if (!picture.save(QString::fromStdString(o.png), "PNG")) {
            std::cerr << "pelix render: cannot write " << o.png << "\n";
            return kExitWriteFailed;
        }
    }
    if (!o.ops.empty()) {
        QString json;
        QMetaObject::invokeMethod(control, "surfaceOperationsJson", Qt::DirectConnection,
                                  Q_RETURN_ARG(QString, json));
        if (!writeFile(o.ops, json.toStdString() + "\n")) return kExitWriteFailed;
    }
    if (!o.state.empty() && !writeFile(o.state, controlState(control, window, gatesMoved)))
        return kExitWriteFailed;
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
