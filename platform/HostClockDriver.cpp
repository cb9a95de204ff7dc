#include "platform/HostClockDriver.h"

#include "veyrasim.h"

#include <algorithm>

namespace platform {
namespace {

// The simulator's clock never lags the wall clock by more than this, also while nothing is due: what
// the application asks of the host library is scheduled from the simulator's present, so a clock
// left behind would run the answers' follow-ups (a peer's timers among them) at once when it catches up.
constexpr uint64_t kMaxSleepMs = 10;

} // namespace

HostClockDriver::HostClockDriver(QObject* parent) : QObject(parent) {
    m_wallClock.start();
    m_offsetMs = -static_cast<qint64>(orv::sim::now());
    m_lastAdvance = orv::sim::now();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &HostClockDriver::tick);
    orv::sim::setWakeupListener([this] { rearm(); });
    rearm();
}

HostClockDriver::~HostClockDriver() {
    orv::sim::setWakeupListener(nullptr);
}

uint64_t HostClockDriver::simulatedNow() const {
    return static_cast<uint64_t>(std::max<qint64>(0, m_wallClock.elapsed() - m_offsetMs));
}

void HostClockDriver::rearm() {
    const auto due = orv::sim::nextDueTime();
    const uint64_t now = simulatedNow();
    const uint64_t delay = due && *due <= now ? 0 : due ? std::min(*due - now, kMaxSleepMs) : kMaxSleepMs;
    m_timer.start(static_cast<int>(delay));
}

void HostClockDriver::tick() {
    if (orv::sim::now() < m_lastAdvance) {
        // A world was loaded and the simulator's clock began again at zero.
        m_offsetMs = m_wallClock.elapsed() - static_cast<qint64>(orv::sim::now());
    }
    const uint64_t target = std::max(simulatedNow(), orv::sim::now());
    orv::sim::advanceTo(target);
    m_lastAdvance = target;
    rearm();
}

} // namespace platform
