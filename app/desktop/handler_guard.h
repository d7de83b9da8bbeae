#pragma once

#include "app/desktop/platform.h"

#include <exception>
#include <utility>

namespace pagelark {

// Runs one event handler. An error ends the handler where it stands and is
// shown in the application's error box; whatever the handler changed before
// it stays, and the program goes on. Every handler of the windows runs
// through here, so no error ever passes through the toolkit's own code. A
// handler that needs another one to run as part of it calls it directly, so
// that the inner handler's error ends the outer one too.
template <typename Handler>
void runGuarded(Platform& platform, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        platform.showError(error.what());
    }
}

// A slot that runs a window's handler method through the guard.
template <typename Window>
auto guardedSlot(Platform& platform, Window* window, void (Window::*handler)())
{
    return [&platform, window, handler] { runGuarded(platform, [&] { (window->*handler)(); }); };
}

}  // namespace pagelark
