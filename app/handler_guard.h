#pragma once

#include "app/platform.h"

#include <exception>
#include <utility>

namespace pagelark {

namespace detail {
// How many guarded handlers are running, one inside another.
inline int guardedDepth = 0;
}  // namespace detail

// Runs one event handler. An error ends the handler where it stands and is
// shown in the application's error box; whatever the handler changed before
// it stays, and the program goes on. Every handler of the windows runs
// through here, so no error ever reaches the event loop. A handler that runs
// inside another one (a spin edit changed by the version choice, say) passes
// its error on, so the error ends the outer handler too and is shown once.
template <typename Handler>
void runGuarded(Platform& platform, Handler&& handler)
{
    if (detail::guardedDepth > 0) {
        std::forward<Handler>(handler)();
        return;
    }
    struct Depth {
        Depth() { ++detail::guardedDepth; }
        ~Depth() { --detail::guardedDepth; }
    };
    try {
        const Depth inside;
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
