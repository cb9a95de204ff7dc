#include "support/VirtualTime.h"

#include "platform/TimerClock.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <algorithm>

namespace {
uint64_t Until(std::optional<uint64_t> due, uint64_t now, uint64_t limit) {
    if (!due)
        return limit;
    return std::min(limit, *due > now ? *due - now : 0);
}
} // namespace

void AdvanceVirtualTime(uint64_t ms) {
    uint64_t remaining = ms;
    do {
        QCoreApplication::processEvents();
        uint64_t step = Until(orv::sim::nextDueTime(), orv::sim::now(), remaining);
        step = Until(platform::TimerClock::nextDueTime(), platform::TimerClock::now(), step);
        orv::sim::advance(step);
        platform::TimerClock::advance(step);
        QCoreApplication::processEvents();
        remaining -= step;
    } while (remaining > 0);
    QCoreApplication::processEvents();
}
