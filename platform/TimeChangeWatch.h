// Changes of the system clock and of the system time zone, as the time-change message reports them.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QSocketNotifier;

namespace platform {

// Emits timeChanged when the system clock is set (not when it merely runs on) and when the file that
// names the system zone (by default /etc/localtime, a link replaced when the zone changes) is
// replaced or changed. The clock is watched with a real-time timer that the kernel cancels when the
// clock is set; the zone file through its directory.
class TimeChangeWatch : public QObject {
    Q_OBJECT
public:
    explicit TimeChangeWatch(const QString& zoneFile = QStringLiteral("/etc/localtime"),
                             QObject* parent = nullptr);
    ~TimeChangeWatch() override;

signals:
    void timeChanged();

private:
    void ArmClockWatch();
    void OnClockEvent();
    void OnZoneDirectoryChanged();
    // What identifies the zone file's contents: its link target, size and modification time.
    QString ZoneFileStamp() const;

    QString m_zoneFile;
    QString m_zoneStamp;
    int m_clockFd = -1;
    QSocketNotifier* m_clockNotifier = nullptr;
    QFileSystemWatcher* m_directoryWatcher = nullptr;
};

} // namespace platform
