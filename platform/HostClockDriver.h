// Drives the simulated dongle's virtual clock from wall-clock time in the running application.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

// Sleeps on a single-shot timer until the simulator's next due action, then advances the simulator
// to the wall-clock time elapsed since construction. Re-armed whenever the simulator schedules an
// earlier action. When the simulator's clock restarts (a world was loaded), its time zero is mapped
// to that moment. Every time the event loop wakes, and before it delivers any event (a click, a
// timer), the simulator is brought up to the present too, so what a request starts runs at its own
// pace and at its own time instead of catching up at once on the time since the last due action.
// One driver at a time: it owns the simulator's wakeup listener while it lives.
class HostClockDriver : public QObject {
    Q_OBJECT
public:
    // Milliseconds of wall-clock time from some fixed start.
    using WallClock = std::function<qint64()>;

    // wallClock: the time source; empty for the real one.
    explicit HostClockDriver(QObject* parent = nullptr, WallClock wallClock = {});
    ~HostClockDriver() override;

protected:
    // Watches the application's events: each one finds the simulator at the present.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rearm();
    void tick();
    // The event loop woke: brings the simulator up to the present when it is behind.
    void onAwake();
    uint64_t simulatedNow() const;
    qint64 wallNow() const;

    QElapsedTimer m_wallClock;
    WallClock m_wallSource;
    qint64 m_offsetMs = 0; // wall-clock ms at the simulator's time zero
    uint64_t m_lastAdvance = 0;
    std::optional<uint64_t> m_armedDue; // the due time the timer runs for
    QTimer m_timer;
};

} // namespace platform
