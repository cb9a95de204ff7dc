#include "platform/HostClockDriver.h"

#include "veyrasim.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <algorithm>

namespace platform {
namespace {

constexpr uint64_t kMaxSleepMs = 60'000;

} // namespace

HostClockDriver::HostClockDriver(QObject* parent, WallClock wallClock)
    : QObject(parent), m_wallSource(std::move(wallClock)) {
    m_wallClock.start();
    m_offsetMs = wallNow() - static_cast<qint64>(orv::sim::now());
    m_lastAdvance = orv::sim::now();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &HostClockDriver::tick);
    orv::sim::setWakeupListener([this] { rearm(); });
    // Whatever the application asks of the host library when the event loop wakes is scheduled from the
    // present, not from the last time something was due.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, &HostClockDriver::onAwake);
    // The glib event dispatcher reports waking only after it has delivered what woke it, so the
    // events themselves are watched as well.
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installEventFilter(this);
    rearm();
}

HostClockDriver::~HostClockDriver() {
    orv::sim::setWakeupListener(nullptr);
}

qint64 HostClockDriver::wallNow() const {
    return m_wallSource ? m_wallSource() : m_wallClock.elapsed();
}

uint64_t HostClockDriver::simulatedNow() const {
    return static_cast<uint64_t>(std::max<qint64>(0, wallNow() - m_offsetMs));
}

void HostClockDriver::rearm() {
    const auto due = orv::sim::nextDueTime();
    if (!due) {
        m_timer.stop();
        m_armedDue.reset();
        return;
    }
    // The event loop wakes often; a timer already running for this due time is left alone.
    if (m_timer.isActive() && m_armedDue == due)
        return;
    m_armedDue = due;
    const uint64_t now = simulatedNow();
    const uint64_t delay = *due > now ? std::min(*due - now, kMaxSleepMs) : 0;
    m_timer.start(static_cast<int>(delay));
}

void HostClockDriver::onAwake() {
    if (simulatedNow() > orv::sim::now() || orv::sim::now() < m_lastAdvance)
        tick();
}

bool HostClockDriver::eventFilter(QObject* watched, QEvent* event) {
    onAwake();
    return QObject::eventFilter(watched, event);
}

void HostClockDriver::tick() {
    if (orv::sim::now() < m_lastAdvance) {
        // A world was loaded and the simulator's clock began again at zero.
        m_offsetMs = wallNow() - static_cast<qint64>(orv::sim::now());
    }
    const uint64_t target = std::max(simulatedNow(), orv::sim::now());
    orv::sim::advanceTo(target);
    m_lastAdvance = target;
    rearm();
}

} // namespace platform
