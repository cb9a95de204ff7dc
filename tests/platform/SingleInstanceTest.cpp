#include "platform/SingleInstance.h"

#include "platform/WindowMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
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

// The lock of an open file description, as the owner of a lock file holds it from the file's creation.
class FileLockHolder {
public:
    explicit FileLockHolder(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0600)) {}
    ~FileLockHolder() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool lock() { return m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0; }

private:
    int m_fd;
};

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override {
        m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_previousTemp = qgetenv("TMPDIR");
    }
    void TearDown() override {
        qputenv("XDG_RUNTIME_DIR", m_previousRuntime);
        if (m_previousTemp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_previousTemp);
    }

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
    QByteArray m_previousTemp;
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

TEST_F(SingleInstanceTest, ALockWithoutAReadableOwnerIsTakenOverUnlessAProcessHoldsItOrAnInstanceAnswers) {
    enum class Lock { Empty, NoProcessId, EmptyHeld, NamesALiveProcess, HeldByAnInstance };
    enum class Beside { Nothing, AnInstanceAnswers, AnotherStartTakesOver };
    struct Case {
        const char* name;
        Lock lock;
        Beside beside;
        bool acquires;
    };
    const Case cases[] = {
        {"empty, left by a crash", Lock::Empty, Beside::Nothing, true},
        {"no process id in it", Lock::NoProcessId, Beside::Nothing, true},
        {"empty, its creator still writing it", Lock::EmptyHeld, Beside::Nothing, false},
        {"empty, an instance without its lock answers", Lock::Empty, Beside::AnInstanceAnswers, false},
        {"empty, another start taking it over", Lock::Empty, Beside::AnotherStartTakesOver, false},
        {"naming a live process", Lock::NamesALiveProcess, Beside::Nothing, false},
        {"an instance not yet listening", Lock::HeldByAnInstance, Beside::Nothing, false},
    };
    const auto contents = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt;
    };
    QByteArray ofThisProcess; // a lock file as this process writes it
    {
        QLockFile sample(m_sessions[1].filePath(QStringLiteral("sample.lock")));
        ASSERT_TRUE(sample.tryLock(0));
        ofThisProcess =
            contents(m_sessions[1].filePath(QStringLiteral("sample.lock"))).value_or(QByteArray());
    }
    ASSERT_TRUE(ofThisProcess.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    qputenv("XDG_RUNTIME_DIR", m_sessions[0].path().toUtf8()); // the session's directory takes what is left
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SingleInstance instance(newGuid(), newGuid());
        const QString path = instance.lockFilePath();
        QLockFile other(path);
        FileLockHolder holder(path); // an empty lock file
        if (c.lock == Lock::HeldByAnInstance) {
            ASSERT_TRUE(QFile::remove(path));
            ASSERT_TRUE(other.tryLock(0));
        }
        const QByteArray written = c.lock == Lock::NoProcessId         ? QByteArrayLiteral("\nTindrel\n")
                                   : c.lock == Lock::NamesALiveProcess ? ofThisProcess
                                                                       : QByteArray();
        if (!written.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(written) == written.size());
        }
        ASSERT_TRUE(c.lock != Lock::EmptyHeld || holder.lock());
        QLocalServer answering;
        ASSERT_TRUE(c.beside != Beside::AnInstanceAnswers || answering.listen(instance.serverName()));
        QLockFile takingOver(path + QStringLiteral(".rmlock"));
        ASSERT_TRUE(c.beside != Beside::AnotherStartTakesOver || takingOver.tryLock(0));
        const std::optional<QByteArray> before = contents(path);
        ASSERT_TRUE(before);

        EXPECT_EQ(instance.acquire(), c.acquires);
        const std::optional<QByteArray> after = contents(path);
        ASSERT_TRUE(after) << "the lock file stays";
        if (c.acquires) {
            EXPECT_TRUE(after->startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        } else {
            EXPECT_EQ(*after, *before) << "left as it was";
        }
    }
}

TEST_F(SingleInstanceTest, WithoutAUsableRuntimeDirectoryThePathsAreInTheTemporaryDirectory) {
    // The runtime directory named is a file, and so is the one Qt would fall back to.
    QTemporaryDir temp;
    const passwd* user = ::getpwuid(::geteuid());
    const QString fallback =
        QStringLiteral("runtime-") + (user ? QFile::decodeName(user->pw_name) : QString());
    for (const QString& name : {QStringLiteral("runtime"), fallback}) {
        QFile file(temp.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(temp.filePath(QStringLiteral("runtime"))));
    ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), QString());

    SingleInstance instance(m_mutexGuid, m_messageGuid);
    const QString directory = QDir(temp.path()).canonicalPath();
    EXPECT_EQ(QFileInfo(instance.lockFilePath()).path(), directory);
    EXPECT_EQ(QFileInfo(instance.serverName()).path(), directory);
}

} // namespace
} // namespace platform
