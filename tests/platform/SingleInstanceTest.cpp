#include "platform/SingleInstance.h"

#include "platform/WindowMessages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
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
    // Runs the event loop until the window has received a message; the deadline only guards against a
    // hang when the message never comes.
    void waitForMessage() {
        QEventLoop loop;
        m_quit = [&] { loop.quit(); };
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        if (!m_received)
            loop.exec();
        m_quit = nullptr;
    }

    const QString m_mutexGuid = newGuid();
    const QString m_messageGuid = newGuid();
    std::optional<UINT> m_received;
    std::function<void()> m_quit;
    QObject m_target;
    MessageWindow m_window{&m_target, [this](UINT msg, WPARAM, LPARAM) {
                               m_received = msg;
                               if (m_quit)
                                   m_quit();
                               return LRESULT(0);
                           }};
};

TEST_F(SingleInstanceTest, SecondInstanceCannotAcquire) {
    SingleInstance first(m_mutexGuid, m_messageGuid);
    SingleInstance second(m_mutexGuid, m_messageGuid);
    EXPECT_TRUE(first.acquire());
    EXPECT_TRUE(first.isOwner());
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.isOwner());
}

TEST_F(SingleInstanceTest, InstancesWithOtherNamesDoNotCollide) {
    SingleInstance first(m_mutexGuid, m_messageGuid);
    SingleInstance other(newGuid(), newGuid());
    EXPECT_TRUE(first.acquire());
    EXPECT_TRUE(other.acquire());
}

TEST_F(SingleInstanceTest, LockIsFreeAgainOnceTheOwnerIsGone) {
    {
        SingleInstance first(m_mutexGuid, m_messageGuid);
        ASSERT_TRUE(first.acquire());
    }
    SingleInstance next(m_mutexGuid, m_messageGuid);
    EXPECT_TRUE(next.acquire());
}

TEST_F(SingleInstanceTest, StaleLockOfADeadProcessIsTakenOver) {
    SingleInstance instance(m_mutexGuid, m_messageGuid);
    QFile stale(instance.lockFilePath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // The lock file format: process id, application name, host name. No process has this id.
    stale.write("2147483646\nTindrel\n\n");
    stale.close();
    EXPECT_TRUE(instance.acquire());
}

TEST_F(SingleInstanceTest, ActivationRequestReachesTheTargetWindow) {
    SingleInstance owner(m_mutexGuid, m_messageGuid);
    ASSERT_TRUE(owner.acquire());
    owner.setActivationTarget(m_window.handle());

    SingleInstance second(m_mutexGuid, m_messageGuid);
    ASSERT_FALSE(second.acquire());
    EXPECT_TRUE(second.requestActivation());
    waitForMessage();
    EXPECT_EQ(m_received, RegisterWindowMessage(m_messageGuid));
}

TEST_F(SingleInstanceTest, UnknownRequestIsAnsweredByHangingUpWithoutActivating) {
    SingleInstance owner(m_mutexGuid, m_messageGuid);
    ASSERT_TRUE(owner.acquire());
    owner.setActivationTarget(m_window.handle());

    QLocalSocket socket;
    socket.connectToServer(owner.serverName());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write("shutdown\n");
    QEventLoop loop;
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(&m_target);

    EXPECT_EQ(socket.state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(m_received, std::nullopt);
}

TEST_F(SingleInstanceTest, RequestWithoutARunningInstanceFails) {
    SingleInstance lonely(m_mutexGuid, m_messageGuid);
    EXPECT_FALSE(lonely.requestActivation());
}

} // namespace
} // namespace platform
