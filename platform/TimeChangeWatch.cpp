// Changes of the system clock and of the system time zone, as the time-change message reports them.
#include "platform/TimeChangeWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <QtDebug>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {
namespace {

// The watch timer expires this far in the future: it only waits to be cancelled.
constexpr time_t kFarFutureSeconds = time_t{100} * 365 * 24 * 3600;

} // namespace

TimeChangeWatch::TimeChangeWatch(const QString& zoneFile, QObject* parent)
    : QObject(parent), m_zoneFile(zoneFile), m_zoneStamp(ZoneFileStamp()) {
    m_clockFd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_clockFd < 0) {
        qWarning() << "Time change watch: no clock timer; changes of the clock are not seen";
    } else {
        m_clockNotifier = new QSocketNotifier(m_clockFd, QSocketNotifier::Read, this);
        connect(m_clockNotifier, &QSocketNotifier::activated, this, [this] { OnClockEvent(); });
        ArmClockWatch();
    }
    m_directoryWatcher = new QFileSystemWatcher(this);
    if (!m_directoryWatcher->addPath(QFileInfo(m_zoneFile).absolutePath()))
        qWarning().noquote() << QStringLiteral(
                                    "Time change watch: cannot watch %1; zone changes are not seen")
                                    .arg(QFileInfo(m_zoneFile).absolutePath());
    connect(m_directoryWatcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { OnZoneDirectoryChanged(); });
}

TimeChangeWatch::~TimeChangeWatch() {
    if (m_clockFd >= 0)
        close(m_clockFd);
}

void TimeChangeWatch::ArmClockWatch() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    itimerspec expiry{};
    expiry.it_value.tv_sec = now.tv_sec + kFarFutureSeconds;
    if (timerfd_settime(m_clockFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &expiry, nullptr) != 0)
        qWarning() << "Time change watch: cannot arm the clock timer; changes of the clock are not seen";
}

void TimeChangeWatch::OnClockEvent() {
    uint64_t expirations = 0;
    const ssize_t got = read(m_clockFd, &expirations, sizeof expirations);
    const bool clockSet = got < 0 && errno == ECANCELED;
    if (got < 0 && errno == EAGAIN)
        return;
    ArmClockWatch();
    if (clockSet)
        emit timeChanged();
}

void TimeChangeWatch::OnZoneDirectoryChanged() {
    const QString stamp = ZoneFileStamp();
    if (stamp == m_zoneStamp)
        return;
    m_zoneStamp = stamp;
    emit timeChanged();
}

QString TimeChangeWatch::ZoneFileStamp() const {
    const QFileInfo file(m_zoneFile);
    return file.symLinkTarget() + QLatin1Char('|') + QString::number(file.size()) + QLatin1Char('|') +
           QString::number(file.lastModified().toMSecsSinceEpoch());
}

} // namespace platform
