#include "singleinstance.h"

#include "shelllog.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kHeaderBytes = 8;

QByteArray encodeHandOver(quint32 marker, const QByteArray &argument)
{
    QByteArray payload = argument;
    payload.append('\0');
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << marker << quint32(payload.size());
    message.append(payload);
    return message;
}

// Reads one hand-over from a connected peer and answers it; owned by the socket.
class HandOverConnection final : public QObject
{
public:
    HandOverConnection(QLocalSocket *socket, const HandOverServer::Receiver &receiver)
        : QObject(socket), m_socket(socket), m_receiver(receiver)
    {
        connect(socket, &QLocalSocket::readyRead, this, &HandOverConnection::readSome);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readSome();
    }

private:
    void readSome()
    {
        m_buffer.append(m_socket->readAll());
        if (m_buffer.size() < kHeaderBytes)
            return;
        QDataStream in(m_buffer);
        quint32 marker = 0;
        quint32 length = 0;
        in >> marker >> length;
        if (length == 0 || length > HandOverServer::MaxHandOverBytes) {
            qCWarning(lcShell) << "refused a hand-over of" << length << "bytes";
            answer(0);
            return;
        }
        if (quint32(m_buffer.size() - kHeaderBytes) < length)
            return;
        QByteArray data = m_buffer.mid(kHeaderBytes, int(length));
        // The sender includes the NUL; the receiver gets the text up to it.
        const int nul = data.indexOf('\0');
        if (nul >= 0)
            data.truncate(nul);
        answer(m_receiver && m_receiver(marker, data) ? 1 : 0);
    }

    void answer(quint32 result)
    {
        disconnect(m_socket, &QLocalSocket::readyRead, this, nullptr);
        QByteArray reply;
        QDataStream(&reply, QIODevice::WriteOnly) << result;
        m_socket->write(reply);
        m_socket->flush();
        m_socket->disconnectFromServer();
    }

    QLocalSocket *m_socket;
    HandOverServer::Receiver m_receiver;
    QByteArray m_buffer;
};

} // namespace

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

HandOverServer::HandOverServer(QObject *parent) : QObject(parent) {}
HandOverServer::~HandOverServer() = default;

namespace {

// Whether path is a real folder (not a link) of this user that nobody else
// may enter or change.
bool isPrivateFolder(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// A private folder at path, made if missing; empty when path is taken by
// something that is not ours alone.
QString privateFolder(const QString &path)
{
    if (path.isEmpty())
        return {};
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return isPrivateFolder(path) ? path : QString();
}

} // namespace

QString instanceFolder()
{
    // The session's own runtime folder, when it is what it should be.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime))
        return QDir::cleanPath(runtime);
    // Otherwise a folder of our own; in the shared temporary folder another
    // user may have made it first, so it is checked, and the user's cache
    // folder serves when it fails the check.
    const QString own = QStringLiteral("/tamsel-") + QString::number(::getuid());
    QString folder = privateFolder(QDir::tempPath() + own);
    if (folder.isEmpty()) {
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (!cache.isEmpty() && QDir().mkpath(cache))
            folder = privateFolder(cache + own);
    }
    return folder;
}

QString HandOverServer::serverName()
{
    const QString name = QStringLiteral("TSL_AppKernelFlag") + QString::number(::getuid());
    const QString folder = instanceFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

QString InstanceLock::lockFilePath()
{
    const QString server = HandOverServer::serverName();
    return server.isEmpty() ? QString() : server + QStringLiteral(".lock");
}

bool InstanceLock::claim()
{
    if (lockFilePath().isEmpty()) {
        qCWarning(lcShell) << "no private folder for the instance lock; running without it";
        return true;
    }
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // A live first copy must never lose its lock by age; only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError) {
        // Held by a live process: we are the second copy.
        return false;
    }
    // The lock file cannot be created at all (unwritable temporary folder).
    // Running without the guard beats refusing to start.
    qCWarning(lcShell) << "cannot create the instance lock" << lockFilePath();
    return true;
}

bool HandOverServer::listen()
{
    if (m_server)
        return m_server->isListening();
    if (serverName().isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so any socket file of that name was left by a crashed copy.
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName())) {
        qCWarning(lcShell) << "cannot listen for hand-overs:" << m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &HandOverServer::onNewConnection);
    return true;
}

void HandOverServer::setReceiver(Receiver receiver)
{
    m_receiver = std::move(receiver);
}

void HandOverServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection())
        new HandOverConnection(socket, m_receiver);
}

int HandOverServer::send(const QByteArray &argument, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    if (serverName().isEmpty())
        return -1;
    QLocalSocket socket;
    // The first copy may hold the lock but not listen yet while it starts up.
    for (;;) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired())
            return -1;
        QThread::msleep(50);
    }
    socket.write(encodeHandOver(HandOverMarker, argument));
    if (!socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
        return -1;
    while (socket.bytesAvailable() < 4) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return -1;
    }
    quint32 result = 0;
    QDataStream(socket.read(4)) >> result;
    return int(result);
}
