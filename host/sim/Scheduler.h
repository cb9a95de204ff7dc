// Simulated radio: discrete-event scheduler on the virtual clock (milliseconds).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace orv::sim {

// Actions run in time order, ties in the order they were scheduled. An action may schedule more
// actions; those due within the same advance run in the same advance.
class Scheduler {
public:
    using Action = std::function<void()>;

    uint64_t now() const { return m_now; }
    std::optional<uint64_t> nextDueTime() const;

    // Schedules action at absolute time at (never before now). owner lets cancel() drop it later.
    void scheduleAt(uint64_t at, Action action, const void* owner = nullptr);
    // A delay beyond the clock's range waits for ever rather than wrapping round to the past.
    void scheduleIn(uint64_t delay, Action action, const void* owner = nullptr) {
        scheduleAt(delay > UINT64_MAX - m_now ? UINT64_MAX : m_now + delay, std::move(action), owner);
    }
    void cancel(const void* owner);

    // Runs every action due at or before t, then sets the clock to t. A nested call is ignored.
    void advanceTo(uint64_t t);
    // Drops every action and sets the clock back to 0.
    void reset();

    // Called when an action becomes the earliest pending one.
    void setWakeupListener(std::function<void()> listener) { m_wakeup = std::move(listener); }

private:
    struct Entry {
        Action action;
        const void* owner;
    };
    using Key = std::pair<uint64_t, uint64_t>; // time, sequence

    std::map<Key, Entry> m_queue;
    uint64_t m_now = 0;
    uint64_t m_sequence = 0;
    bool m_running = false;
    std::function<void()> m_wakeup;
};

} // namespace orv::sim
