#include "platform/TimerClock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>

namespace platform {
namespace {

struct Entry {
    uint64_t period = 0;
    std::shared_ptr<std::function<void()>> callback;
    uint64_t due = 0;              // virtual timers only
    std::unique_ptr<QTimer> timer; // real timers only
};

struct ClockState {
    bool virtualMode = false;
    uint64_t virtualNow = 0;
    TimerClock::TimerId nextId = 1;
    TimerClock::TimerId firing = 0;
    std::map<TimerClock::TimerId, Entry> entries;
};

ClockState& state() {
    static ClockState instance;
    return instance;
}

uint64_t monotonicNow() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return static_cast<uint64_t>(clock.elapsed());
}

// Runs one timer's callback. The callback may stop any timer, this one included, or start new ones,
// so it is called through its own reference rather than through the entry.
void fire(TimerClock::TimerId id) {
    ClockState& s = state();
    auto it = s.entries.find(id);
    if (it == s.entries.end())
        return;
    const auto callback = it->second.callback;
    const TimerClock::TimerId outer = s.firing;
    s.firing = id;
    (*callback)();
    s.firing = outer;
}

std::map<TimerClock::TimerId, Entry>::iterator earliestVirtual() {
    ClockState& s = state();
    auto best = s.entries.end();
    for (auto it = s.entries.begin(); it != s.entries.end(); ++it) {
        if (it->second.timer == nullptr && (best == s.entries.end() || it->second.due < best->second.due))
            best = it;
    }
    return best;
}

} // namespace

void TimerClock::useVirtualTime(bool on) {
    state().virtualMode = on;
}

bool TimerClock::isVirtual() {
    return state().virtualMode;
}

uint64_t TimerClock::now() {
    const ClockState& s = state();
    return s.virtualMode ? s.virtualNow : monotonicNow();
}

TimerClock::TimerId TimerClock::start(uint64_t periodMs, std::function<void()> callback) {
    ClockState& s = state();
    const TimerId id = s.nextId++;
    Entry entry;
    entry.period = periodMs;
    entry.callback = std::make_shared<std::function<void()>>(std::move(callback));
    if (s.virtualMode) {
        entry.due = s.virtualNow + periodMs;
    } else {
        entry.timer = std::make_unique<QTimer>();
        entry.timer->setInterval(static_cast<int>(std::min<uint64_t>(periodMs, INT32_MAX)));
        QObject::connect(entry.timer.get(), &QTimer::timeout, [id] { fire(id); });
        entry.timer->start();
    }
    s.entries.emplace(id, std::move(entry));
    return id;
}

bool TimerClock::stop(TimerId id) {
    ClockState& s = state();
    auto it = s.entries.find(id);
    if (it == s.entries.end())
        return false;
    if (auto& timer = it->second.timer) {
        timer->stop();
        // A QTimer is not deleted from inside its own timeout signal.
        if (s.firing == id)
            timer.release()->deleteLater();
    }
    s.entries.erase(it);
    return true;
}

bool TimerClock::isActive(TimerId id) {
    return state().entries.count(id) != 0;
}

void TimerClock::advanceTo(uint64_t t) {
    ClockState& s = state();
    for (auto it = earliestVirtual(); it != s.entries.end() && it->second.due <= t; it = earliestVirtual()) {
        s.virtualNow = std::max(s.virtualNow, it->second.due);
        // Rescheduled before the call, so that the callback sees the timer's next due time.
        it->second.due += std::max<uint64_t>(it->second.period, 1);
        fire(it->first);
    }
    s.virtualNow = std::max(s.virtualNow, t);
}

void TimerClock::advance(uint64_t ms) {
    advanceTo(state().virtualNow + ms);
}

std::optional<uint64_t> TimerClock::nextDueTime() {
    auto it = earliestVirtual();
    if (it == state().entries.end())
        return std::nullopt;
    return it->second.due;
}

} // namespace platform
