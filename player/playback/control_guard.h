// Runs one step that drives the A-scan control by name. A name the control
// lacks is a programming error: it is reported loudly on the error stream and
// the step is abandoned, but the window's event handling goes on (an exception
// must never unwind through the toolkit's event loop).
#pragma once

#include "platform/control_binding.h"

#include <QtGlobal>

#include <utility>

namespace pelix::player {

int controlBindingFailures(); // since the program started; tests expect 0

void reportControlBindingFailure(const char* what);

template <typename Step> bool guardedControlStep(Step&& step) {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const platform::ControlBindingError& error) {
        reportControlBindingFailure(error.what());
        return false;
    }
}

} // namespace pelix::player
