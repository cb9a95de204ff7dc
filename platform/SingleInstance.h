// Single instance: a per-user lock file, and a local socket on which a second instance asks the
// running one to come to the foreground.
#pragma once

#include "platform/WinTypes.h"

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace platform {

// Both names are GUID strings: mutexName names the lock, messageName the activation channel and the
// registered window message posted to the activation target.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    SingleInstance(QString mutexName, QString messageName);
    ~SingleInstance() override;

    // Takes the per-user lock (a stale lock of a process that died is taken over) and starts
    // listening for activation requests. False when another instance holds the lock.
    bool acquire();
    bool isOwner() const { return m_lock != nullptr; }

    // Where the owner posts RegisterWindowMessage(messageName) on each activation request.
    void setActivationTarget(HWND window) { m_target = window; }

    // Asks the instance holding the lock to come to the foreground. Returns false, with a warning,
    // when no instance answered.
    bool requestActivation();

    QString lockFilePath() const;
    QString serverName() const;

private:
    void listen();
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QString m_mutexName;
    QString m_messageName;
    HWND m_target = nullptr;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace platform
