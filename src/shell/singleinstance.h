#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

// One running copy per user. The first copy holds a lock file for its whole
// life (a crashed copy's lock is recognised as stale by its dead process id)
// and listens on a per-user local socket; a later copy hands its command-line
// argument over that socket and exits. Both live in instanceFolder(), which
// no other user can enter, so no one else can take them first or listen in.
//
// Wire format of a hand-over, big-endian: quint32 marker, quint32 byte count,
// then the argument as 8-bit local text with its terminating NUL. The first
// copy answers with one quint32: what its receiver returned (1 accepted, 0 not).
// Where the lock and the socket live: $XDG_RUNTIME_DIR when it is a folder
// of this user's that only they may enter (as the session sets it up); else
// a folder "tamsel-<uid>" made with mode 0700 in the temporary folder, or,
// when that name is taken by something else, in the user's cache folder;
// each used only after checking that it is a real folder owned by this user
// and closed to everyone else. Empty when none qualifies.
QString instanceFolder();

class InstanceLock final
{
    Q_DISABLE_COPY_MOVE(InstanceLock)

public:
    InstanceLock();
    ~InstanceLock();

    // Takes the per-user lock; true for the first copy. Needs no application
    // object. Without a private folder the program runs unguarded.
    bool claim();

    // Empty without a private folder.
    static QString lockFilePath();

private:
    std::unique_ptr<QLockFile> m_lock;
};

// The first copy's end of the hand-over socket. Create it after the
// application object and destroy it before.
class HandOverServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HandOverServer)

public:
    static constexpr quint32 HandOverMarker = 123452;
    // Arguments larger than this are refused.
    static constexpr quint32 MaxHandOverBytes = 64 * 1024;

    using Receiver = std::function<bool(quint32 marker, const QByteArray &data)>;

    explicit HandOverServer(QObject *parent = nullptr);
    ~HandOverServer() override;

    // Call only while holding the InstanceLock: any socket file of our name
    // was then left by a crashed copy and is removed first.
    bool listen();
    // Who handles hand-overs: the main window once it exists. Without one a
    // hand-over is answered with 0 and dropped.
    void setReceiver(Receiver receiver);

    // The second copy's end: sends the argument to the running copy and waits
    // for its answer. Returns the answer, or -1 when no copy could be reached.
    static int send(const QByteArray &argument, int timeoutMs = 5000);

    // The socket's full path; empty without a private folder.
    static QString serverName();

private:
    void onNewConnection();

    QLocalServer *m_server = nullptr;
    Receiver m_receiver;
};
