// What the subcommands that work through the player's own window (render,
// export) share: Qt started headless unless asked to use a display and one
// is at hand, the player's message boxes turned into lines on standard
// error, and an exception inside reported as the command's own failure.
#pragma once

#include "core/frame/moved_gates.h"
#include "platform/message_service.h"

#include <cstdint>
#include <functional>
#include <optional>

class frmPlayer;

namespace pelix::tool {

// Runs `work` inside a QApplication; `command` names the subcommand in messages.
int runWithApplication(const char* command, bool useDisplayAtHand, const std::function<int()>& work);

// Collects what the player would show in message boxes; report() prints it.
struct MessagesToStderr : platform::MessageLog {
    void report() const;
};

using frame::DraggedGate;

// Leaves the given gates where a completed drag would and raises the control's
// MouseUp, so the window's own gate-changed handler measures them again.
void leaveGatesDragged(frmPlayer& window, const std::optional<DraggedGate>& gateA,
                       const std::optional<DraggedGate>& gateB);

} // namespace pelix::tool
