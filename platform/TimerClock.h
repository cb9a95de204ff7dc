// The process-wide clock behind window timers: real Qt timers, or a virtual clock driven by tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

// Schedules periodic callbacks. In real mode (the default) each one runs on a QTimer of the calling
// thread. In virtual mode, switched on by tests, callbacks run only from advanceTo()/advance(), in
// time order, ties in the order the timers were started. A timer keeps the mode it was started in.
// Used from the UI thread only.
class TimerClock {
public:
    using TimerId = uint64_t;

    static void useVirtualTime(bool on);
    static bool isVirtual();

    // Milliseconds: virtual time in virtual mode (never goes backwards), otherwise a monotonic clock.
    static uint64_t now();

    // Starts a periodic timer; the first run is periodMs from now. Returns a never-reused id.
    static TimerId start(uint64_t periodMs, std::function<void()> callback);
    // Stops a timer; safe from inside its own callback. Returns false for an unknown id.
    static bool stop(TimerId id);
    static bool isActive(TimerId id);

    // Virtual mode: runs every timer due at or before t (a periodic timer as often as it falls due),
    // then sets now to t. A t earlier than now runs nothing.
    static void advanceTo(uint64_t t);
    static void advance(uint64_t ms);
    // Virtual mode: the earliest due time of the virtual timers.
    static std::optional<uint64_t> nextDueTime();
};

} // namespace platform
