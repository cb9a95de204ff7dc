// Window timers: numbered periodic timers of one window, on the process-wide timer clock.
#pragma once

#include "platform/TimerClock.h"
#include "platform/WinTypes.h"

#include <functional>
#include <map>

namespace platform {

// A window's timers, each known by its numeric id. Setting an id again replaces that timer; a timer
// runs periodically until it is killed or this object is destroyed. The callback may kill, set or
// destroy anything, this object included.
class WindowTimers {
public:
    // Periods below this run at this period, so that no timer becomes a busy loop.
    static constexpr UINT kMinimumPeriodMs = 10;

    explicit WindowTimers(std::function<void(UINT id)> onTimer);
    ~WindowTimers();
    WindowTimers(const WindowTimers&) = delete;
    WindowTimers& operator=(const WindowTimers&) = delete;

    // Starts (or restarts) timer id; returns id.
    UINT setTimer(UINT id, UINT periodMs);
    // Returns false when timer id was not running.
    bool killTimer(UINT id);
    bool isRunning(UINT id) const;

private:
    std::function<void(UINT id)> m_onTimer;
    std::map<UINT, TimerClock::TimerId> m_timers;
};

} // namespace platform
