// The single-instance guard: a second copy is refused and asks the first to
// come forward; the socket a crashed copy left behind does not block a start.
#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString UniqueName(const char *what)
{
    return QStringLiteral("Q9Mutex-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(what));
}

// Leaves a listening socket file behind without anyone listening, as a copy
// that was killed does.
bool LeaveStaleSocket(const QString &name)
{
    const QByteArray path = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0 && ::listen(fd, 1) == 0;
    ::close(fd);
    return bound && QFile::exists(QString::fromLocal8Bit(path));
}

} // namespace

TEST(SingleInstance, ASecondCopyIsRefusedAndTheFirstIsAskedToComeForward)
{
    CSingleInstance first(UniqueName("second"));
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(first.IsListening());
    QSignalSpy activated(&first, &CSingleInstance::activateRequested);

    CSingleInstance second(UniqueName("second"));
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.IsListening());
    EXPECT_TRUE(activated.wait(30000));
    EXPECT_EQ(activated.count(), 1);
}

TEST(SingleInstance, AStartAfterACrashedCopySucceeds)
{
    const QString name = UniqueName("crashed");
    ASSERT_TRUE(LeaveStaleSocket(name));
    CSingleInstance next(name);
    EXPECT_TRUE(next.Acquire());
    EXPECT_TRUE(next.IsListening());
}

TEST(SingleInstance, TheGuardIsGivenUpWhenTheFirstCopyEnds)
{
    const QString name = UniqueName("ended");
    {
        CSingleInstance first(name);
        ASSERT_TRUE(first.Acquire());
    }
    CSingleInstance again(name);
    EXPECT_TRUE(again.Acquire());
}
