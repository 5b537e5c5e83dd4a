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

// Installs `handler` for as long as it lives, then puts the previous one
// back: what a test double holds, as its last member.
template <typename Handler> class ScopedHandler {
public:
    explicit ScopedHandler(Handler handler) : previous_(replaceHandler(std::move(handler))) {}
    ~ScopedHandler() { replaceHandler(std::move(previous_)); }
    ScopedHandler(const ScopedHandler &) = delete;
    ScopedHandler &operator=(const ScopedHandler &) = delete;

private:
    Handler previous_;
};
