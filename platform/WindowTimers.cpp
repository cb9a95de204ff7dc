#include "platform/WindowTimers.h"

#include <algorithm>

namespace platform {

WindowTimers::WindowTimers(std::function<void(UINT id)> onTimer) : m_onTimer(std::move(onTimer)) {}

WindowTimers::~WindowTimers() {
    for (const auto& [id, clockId] : m_timers)
        TimerClock::stop(clockId);
}

UINT WindowTimers::setTimer(UINT id, UINT periodMs) {
    killTimer(id);
    const UINT period = std::max(periodMs, kMinimumPeriodMs);
    m_timers[id] = TimerClock::start(period, [this, id] {
        // A copy, because the handler may destroy this object.
        const auto onTimer = m_onTimer;
        if (onTimer)
            onTimer(id);
    });
    return id;
}

bool WindowTimers::killTimer(UINT id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    TimerClock::stop(it->second);
    m_timers.erase(it);
    return true;
}

bool WindowTimers::isRunning(UINT id) const {
    return m_timers.count(id) != 0;
}

} // namespace platform
