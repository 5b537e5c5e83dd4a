#pragma once

#include <utility>

// The process-wide handler that takes the place of a service's default
// behaviour (a test double, or nothing). One slot per handler type.
template <typename Handler> Handler &handlerSlot() {
    static Handler handler;
    return handler;
}

// Installs `handler` and returns the one it replaces.
template <typename Handler> Handler replaceHandler(Handler handler) {
    Handler previous = std::move(handlerSlot<Handler>());
    handlerSlot<Handler>() = std::move(handler);
    return previous;
}
