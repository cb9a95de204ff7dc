// Simulated radio: discrete-event scheduler on the virtual clock (milliseconds).
#include "Scheduler.h"

#include <algorithm>
#include <iostream>

namespace orv::sim {

std::optional<uint64_t> Scheduler::nextDueTime() const {
    if (m_queue.empty()) {
        return std::nullopt;
    }
    return m_queue.begin()->first.first;
}

void Scheduler::scheduleAt(uint64_t at, Action action, const void* owner) {
    const uint64_t due = std::max(at, m_now);
    const bool earliest = m_queue.empty() || due < m_queue.begin()->first.first;
    m_queue.emplace(Key{due, m_sequence++}, Entry{std::move(action), owner});
    if (earliest && m_wakeup) {
        m_wakeup();
    }
}

void Scheduler::cancel(const void* owner) {
    std::erase_if(m_queue, [owner](const auto& item) { return item.second.owner == owner; });
}

void Scheduler::advanceTo(uint64_t t) {
    if (m_running) {
        std::cerr << "veyrasim: advanceTo called from inside a scheduled action; ignored\n";
        return;
    }
    m_running = true;
    while (!m_queue.empty() && m_queue.begin()->first.first <= t) {
        auto node = m_queue.extract(m_queue.begin());
        m_now = node.key().first;
        node.mapped().action();
    }
    m_now = std::max(m_now, t);
    m_running = false;
}

void Scheduler::reset() {
    m_queue.clear();
    m_now = 0;
    m_sequence = 0;
}

} // namespace orv::sim
