#include "platform/SingleInstance.h"

#include "platform/WindowMessages.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtDebug>
#include <unistd.h>

namespace platform {
namespace {

const QByteArray kActivateRequest = QByteArrayLiteral("activate");
constexpr qint64 kMaxRequestLength = 64;
constexpr int kRequestTimeoutMs = 2000;

// A file-name-safe form of a GUID string, qualified with the user so that users never collide.
QString perUserName(const QString& guid) {
    QString safe = guid;
    safe.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9-]")));
    return QStringLiteral("Tindrel-%1-%2").arg(safe).arg(::getuid());
}

QString runtimeDirectory() {
    // Without XDG_RUNTIME_DIR Qt would invent a runtime directory (with a warning); the temporary
    // directory serves as well since the names carry the user. So it does when Qt finds no usable one.
    const QString runtime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")
                                ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                                : QString();
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

SingleInstance::SingleInstance(QString mutexName, QString messageName)
    : m_mutexName(std::move(mutexName)), m_messageName(std::move(messageName)),
      m_directory(runtimeDirectory()) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFilePath() const {
    return m_directory + QLatin1Char('/') + perUserName(m_mutexName) + QStringLiteral(".lock");
}

QString SingleInstance::serverName() const {
    return m_directory + QLatin1Char('/') + perUserName(m_messageName);
}

bool SingleInstance::acquire() {
    if (isOwner())
        return true;
    auto lock = std::make_unique<QLockFile>(lockFilePath());
    // Only a lock whose process has died is stale, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0) && !takeOverUnreadable(*lock)) {
        if (lock->error() != QLockFile::LockFailedError)
            qWarning().noquote()
                << QStringLiteral("Single instance: cannot create the lock file %1.").arg(lockFilePath());
        return false;
    }
    if (!listen())
        return false;
    m_lock = std::move(lock);
    return true;
}

// A lock file without a readable owner (empty or cut short: its writer died between creating and
// writing it) names no process that Qt could find dead, so it would block every start for ever.
// It is taken over when nothing answers on the socket and no process holds the file's lock: a live
// owner holds it from the file's creation on, before it writes its process id or listens.
bool SingleInstance::takeOverUnreadable(QLockFile& lock) const {
    if (lock.error() != QLockFile::LockFailedError || answers())
        return false;
    // One start at a time looks and takes over, as Qt does with a lock whose owner died: another
    // start must not remove the lock this one has just made and not yet written.
    QLockFile removal(lockFilePath() + QStringLiteral(".rmlock"));
    qint64 pid = 0;
    QString host, application;
    if (!removal.tryLock(0) || lock.getLockInfo(&pid, &host, &application) || !lock.removeStaleLockFile())
        return false;
    qWarning().noquote() << QStringLiteral("Single instance: took over the lock file %1 without an owner.")
                                .arg(lockFilePath());
    return lock.tryLock(0);
}

// False only when another instance answers on the socket (its lock file was removed under it): that
// one stays the instance to activate. Otherwise this one runs, with its socket if it can listen.
bool SingleInstance::listen() {
    if (answers()) {
        qWarning().noquote() << QStringLiteral("Single instance: an instance without its lock answers on %1.")
                                    .arg(serverName());
        return false;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    // Nothing answers: listening replaces a socket file that an instance which died left here.
    if (!m_server->listen(serverName()))
        qWarning().noquote() << QStringLiteral("Single instance: cannot listen on %1 (%2).")
                                    .arg(serverName(), m_server->errorString());
    return true;
}

bool SingleInstance::answers() const {
    QLocalSocket probe;
    probe.connectToServer(serverName());
    return probe.waitForConnected(kRequestTimeoutMs);
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequestLength)
            socket->abort();
        return;
    }
    const QByteArray request = socket->readLine(kMaxRequestLength).trimmed();
    socket->disconnectFromServer();
    if (request != kActivateRequest) {
        qWarning() << "Single instance: ignoring an unknown request" << request.left(kMaxRequestLength);
        return;
    }
    if (!PostMessage(m_target, RegisterWindowMessage(m_messageName), 0, 0))
        qWarning() << "Single instance: no window to bring to the foreground";
}

bool SingleInstance::requestActivation() {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(kRequestTimeoutMs)) {
        qWarning().noquote() << QStringLiteral(
                                    "Single instance: the running instance cannot be reached (%1).")
                                    .arg(socket.errorString());
        return false;
    }
    socket.write(kActivateRequest + '\n');
    socket.waitForBytesWritten(kRequestTimeoutMs);
    const bool written = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return written;
}

} // namespace platform
