// Single instance: a per-user lock file, and beside it a local socket on which a second instance
// asks the running one to come to the foreground.
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
// registered window message posted to the activation target. The lock and the socket live in the
// user's runtime directory as it is at construction (the temporary directory without a usable one),
// so each desktop session has an instance of its own.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    SingleInstance(QString mutexName, QString messageName);
    ~SingleInstance() override;

    // Takes the per-user lock (a stale lock of a process that died is taken over, and so is one
    // without a readable owner that no process holds) and starts listening for activation requests.
    // False when another instance holds the lock or still answers on the socket.
    bool acquire();
    bool isOwner() const { return m_lock != nullptr; }

    // Where the owner posts RegisterWindowMessage(messageName) on each activation request.
    void setActivationTarget(HWND window) { m_target = window; }

    // Asks the instance holding the lock to come to the foreground. Returns false, with a warning,
    // when no instance answered.
    bool requestActivation();

    QString lockFilePath() const;
    // The socket's full path, beside the lock file.
    QString serverName() const;

private:
    bool takeOverUnreadable(QLockFile& lock) const;
    bool listen();
    bool answers() const;
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QString m_mutexName;
    QString m_messageName;
    QString m_directory;
    HWND m_target = nullptr;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace platform
