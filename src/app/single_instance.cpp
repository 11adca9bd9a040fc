#include "app/single_instance.h"

#include "core/syslog.h"

#include <QLocalSocket>

#include <unistd.h>

namespace {
constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 1000;
} // namespace

CSingleInstance::CSingleInstance(const QString &name, QObject *parent) : QObject(parent), m_name(name)
{
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::onNewConnection);
}

CSingleInstance::~CSingleInstance()
{
    m_server.close();
}

QString CSingleInstance::DefaultName()
{
    return QStringLiteral("Q9Mutex-%1").arg(::getuid());
}

bool CSingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(QByteArray(kActivate) + '\n');
    socket.flush();
    socket.waitForBytesWritten(kWriteTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool CSingleInstance::Acquire()
{
    if (askRunningInstance())
        return false;
    // Nobody answers: a socket left behind by a copy that crashed is removed.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name))
        return true;
    // Another copy may have started in the same moment.
    if (askRunningInstance())
        return false;
    WriteSyslog(LOG_WARNING, "CSingleInstance::Acquire : Listen Error : %s", qUtf8Printable(m_server.errorString()));
    return true;
}

void CSingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine().trimmed() == kActivate)
                    emit activateRequested();
            }
        });
    }
}
