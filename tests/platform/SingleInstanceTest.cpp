#include "platform/SingleInstance.h"

#include "platform/WindowMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

// Bounds every wait: a regression fails the test instead of hanging it.
constexpr int kWaitMs = 5000;

QString newGuid() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

// A socket file whose process is gone: bound, never listened on, closed.
void leaveDeadSocket(const QString& path) {
    sockaddr_un address{AF_UNIX, {}};
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override { m_previousRuntime = qgetenv("XDG_RUNTIME_DIR"); }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_previousRuntime); }

    // An instance of this test's names in the session whose runtime directory is runtime.
    std::unique_ptr<SingleInstance> inSession(const QTemporaryDir& runtime) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        return std::make_unique<SingleInstance>(m_mutexGuid, m_messageGuid);
    }

    // The owner's side of a request already written: taken and read on the spot.
    void serveRequest(SingleInstance& owner) {
        auto* server = owner.findChild<QLocalServer*>();
        ASSERT_NE(server, nullptr);
        server->waitForNewConnection(kWaitMs); // the owner takes the connection as it comes
        const QList<QLocalSocket*> sockets = server->findChildren<QLocalSocket*>(); // the newest last
        if (!sockets.isEmpty() && sockets.last()->bytesAvailable() == 0)
            sockets.last()->waitForReadyRead(kWaitMs);
        QCoreApplication::sendPostedEvents(&m_target);
    }

    const QString m_mutexGuid = newGuid();
    const QString m_messageGuid = newGuid();
    std::optional<UINT> m_received;
    QObject m_target;
    MessageWindow m_window{&m_target, [this](UINT msg, WPARAM, LPARAM) {
                               m_received = msg;
                               return LRESULT(0);
                           }};
    QTemporaryDir m_sessions[2];

private:
    QByteArray m_previousRuntime;
};

TEST_F(SingleInstanceTest, OnlyAnActivationRequestReachesTheOwnersWindow) {
    SingleInstance lonely(newGuid(), newGuid());
    EXPECT_FALSE(lonely.requestActivation());
    SingleInstance owner(m_mutexGuid, m_messageGuid);
    ASSERT_TRUE(owner.acquire());
    owner.setActivationTarget(m_window.handle());

    QLocalSocket stranger;
    stranger.connectToServer(owner.serverName());
    ASSERT_TRUE(stranger.waitForConnected(kWaitMs));
    stranger.write("shutdown\n");
    ASSERT_TRUE(stranger.waitForBytesWritten(kWaitMs));
    serveRequest(owner);
    EXPECT_TRUE(stranger.state() == QLocalSocket::UnconnectedState || stranger.waitForDisconnected(kWaitMs));
    EXPECT_EQ(m_received, std::nullopt);

    SingleInstance second(m_mutexGuid, m_messageGuid);
    ASSERT_TRUE(second.requestActivation());
    serveRequest(owner);
    EXPECT_EQ(m_received, RegisterWindowMessage(m_messageGuid));
}

TEST_F(SingleInstanceTest, EachSessionHasOneOwnerThatItsRequestsReachAndADeadOwnersPlaceIsTakenOver) {
    std::unique_ptr<SingleInstance> owners[2];
    for (int session : {0, 1}) {
        owners[session] = inSession(m_sessions[session]);
        ASSERT_TRUE(owners[session]->acquire());
        EXPECT_EQ(QFileInfo(owners[session]->serverName()).path(), m_sessions[session].path());
        EXPECT_TRUE(inSession(m_sessions[session])->requestActivation()) << session;
    }
    EXPECT_FALSE(inSession(m_sessions[1])->acquire());
    EXPECT_TRUE(SingleInstance(newGuid(), newGuid()).acquire()); // another name, another lock

    // An owner that died leaves its lock (naming a process that is gone) and its socket behind.
    owners[0].reset();
    auto next = inSession(m_sessions[0]);
    QFile stale(next->lockFilePath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly) && stale.write("2147483646\nTindrel\n\n") > 0);
    stale.close();
    leaveDeadSocket(next->serverName());
    ASSERT_TRUE(next->acquire());
    EXPECT_TRUE(inSession(m_sessions[0])->requestActivation());

    owners[1].reset();
    QLocalServer unlocked; // an instance whose lock file was removed under it
    ASSERT_TRUE(unlocked.listen(inSession(m_sessions[1])->serverName()));
    EXPECT_FALSE(inSession(m_sessions[1])->acquire());
}

} // namespace
} // namespace platform
