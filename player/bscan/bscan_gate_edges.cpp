#include "player/bscan/bscan_gate_edges.h"

#include "core/frame/frame_arithmetic.h"

namespace pelix::bscan {

using namespace pelix::recording;

GateEdges gateEdgesOf(const RecordingHeader& setup, const FrameHeader& f) {
    const frame::UnitConstants units = frame::unitConstantsFor(setup.Units);
    const float aStart = frame::toDisplayUnits(f.GateAStart_um, units);
    GateEdges edges;
    if (f.GateAOn != 0) {
        edges.aStart = aStart;
        edges.aEnd = aStart + frame::toDisplayUnits(f.GateAWidth_um, units);
    }
    if (f.GateBOn != 0) {
        const float caretOne = frame::toDisplayUnits(frame::soundPathA(setup, f), units);
        const float bStart = frame::absoluteGateBStart(
            setup, f, aStart, frame::toDisplayUnits(f.GateBStart_um, units), caretOne);
        edges.bStart = bStart;
        edges.bEnd = bStart + frame::toDisplayUnits(f.GateBWidth_um, units);
    }
    return edges;
}

std::vector<GateEdges> columnGateEdges(const RecordingFile& file, const FrameRecordLayout& layout,
                                       const RecordingHeader& setup, const BscanGrid& grid,
                                       const std::atomic<bool>* stop) {
    std::vector<GateEdges> edges(static_cast<std::size_t>(grid.width()));
    FrameHeaderBytes bytes{};
    for (int32_t c = 0; c < grid.width(); ++c) {
        if (stop && stop->load(std::memory_order_relaxed)) break;
        if (!grid.hasValue(c)) continue;
        const int32_t frame = grid.firstFrameOf(c);
        if (frame < 1 || frame > layout.frameCount) continue;
        const int64_t at = layout.firstRecord + (int64_t{frame} - 1) * layout.stride;
        if (file.readAt(at, bytes.data(), bytes.size()) != bytes.size()) continue;
        edges[static_cast<std::size_t>(c)] = gateEdgesOf(setup, decodeFrameHeader(bytes));
    }
    return edges;
}

} // namespace pelix::bscan
