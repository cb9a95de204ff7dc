// Drives the simulated dongle's virtual clock from wall-clock time in the running application.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

namespace platform {

// Sleeps on a single-shot timer until the simulator's next due action, or 10 ms at most, then
// advances the simulator to the wall-clock time elapsed since construction, so its clock stays
// current for what the application schedules. Re-armed whenever the simulator schedules an earlier
// action. When the simulator's clock restarts (a world was loaded), its time zero is mapped
// to that moment. One driver at a time: it owns the simulator's wakeup listener while it lives.
class HostClockDriver : public QObject {
    Q_OBJECT
public:
    explicit HostClockDriver(QObject* parent = nullptr);
    ~HostClockDriver() override;

private:
    void rearm();
    void tick();
    uint64_t simulatedNow() const;

    QElapsedTimer m_wallClock;
    qint64 m_offsetMs = 0; // wall-clock ms at the simulator's time zero
    uint64_t m_lastAdvance = 0;
    QTimer m_timer;
};

} // namespace platform
