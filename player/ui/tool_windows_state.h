// The overview and B-scan windows as a session leaves them, as the compact
// JSON object the review file keeps (LastSession::windows): each window that
// shows, with its geometry, and the B-scan's frames when it is zoomed.
//   {"Overview":{"Geometry":[x,y,w,h]},"Bscan":{"Geometry":[x,y,w,h],"Frames":[first,last]}}
// A window that is hidden is left out, and stays as it is when restored.
#pragma once

#include <QRect>

#include <optional>
#include <string>
#include <utility>

namespace pelix::player {

struct ToolWindowState {
    QRect geometry;
    std::optional<std::pair<int, int>> frames; // the B-scan's zoom, first and last frame
};

struct ToolWindowsState {
    std::optional<ToolWindowState> overview;
    std::optional<ToolWindowState> bscan;
};

std::string toolWindowsJson(const ToolWindowsState& state);
// Reads what toolWindowsJson wrote; anything else, or out of any sensible
// range (the text comes from a file), is left out.
ToolWindowsState parseToolWindows(const std::string& json);

} // namespace pelix::player
