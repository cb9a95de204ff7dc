#include "platform/SingleInstance.h"

#include "platform/WindowMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUuid>
#include <gtest/gtest.h>
#include <optional>

namespace platform {
namespace {

QString newGuid() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

class SingleInstanceTest : public testing::Test {
protected:
    // The owner's side of a request already written: taken and read on the spot, nothing waits for time.
    void serveRequest(SingleInstance& owner) {
        auto* server = owner.findChild<QLocalServer*>();
        ASSERT_NE(server, nullptr);
        server->waitForNewConnection(-1); // the owner takes the connection as it comes
        const QList<QLocalSocket*> sockets = server->findChildren<QLocalSocket*>(); // the newest last
        if (!sockets.isEmpty() && sockets.last()->bytesAvailable() == 0)
            sockets.last()->waitForReadyRead(-1);
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
};

TEST_F(SingleInstanceTest, OnlyOneInstanceOfANameHoldsTheLockUntilItIsGone) {
    {
        SingleInstance first(m_mutexGuid, m_messageGuid);
        SingleInstance second(m_mutexGuid, m_messageGuid);
        SingleInstance other(newGuid(), newGuid());
        EXPECT_TRUE(first.acquire());
        EXPECT_FALSE(second.acquire() || second.isOwner());
        EXPECT_TRUE(other.acquire());
    }
    SingleInstance next(m_mutexGuid, m_messageGuid);
    QFile stale(next.lockFilePath()); // a stale lock of a dead process (no process has this id)
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly) && stale.write("2147483646\nTindrel\n\n") > 0);
    stale.close();
    EXPECT_TRUE(next.acquire());
}

TEST_F(SingleInstanceTest, OnlyAnActivationRequestReachesTheOwnersWindow) {
    SingleInstance lonely(newGuid(), newGuid());
    EXPECT_FALSE(lonely.requestActivation());
    SingleInstance owner(m_mutexGuid, m_messageGuid);
    ASSERT_TRUE(owner.acquire());
    owner.setActivationTarget(m_window.handle());

    QLocalSocket stranger;
    stranger.connectToServer(owner.serverName());
    ASSERT_TRUE(stranger.waitForConnected(-1));
    stranger.write("shutdown\n");
    ASSERT_TRUE(stranger.waitForBytesWritten(-1));
    serveRequest(owner);
    EXPECT_TRUE(stranger.state() == QLocalSocket::UnconnectedState || stranger.waitForDisconnected(-1));
    EXPECT_EQ(m_received, std::nullopt);

    SingleInstance second(m_mutexGuid, m_messageGuid);
    ASSERT_TRUE(second.requestActivation());
    serveRequest(owner);
    EXPECT_EQ(m_received, RegisterWindowMessage(m_messageGuid));
}

} // namespace
} // namespace platform
