#pragma once

// The hidden temporary files copies are written to, and the lock that makes a
// memory's free-space check and reservation one step.

#include <QByteArray>
#include <QString>

namespace kelvra {

// Names starting with this are the library's own temporary copies.
// Listings never show them.
extern const QLatin1String g_reservedPrefix;

bool isReservedName(const QString &name);

// A temporary copy ".~kelvra-<random>.part" in a folder, held with an
// exclusive flock from creation until it is published or removed, so that one
// left behind by a killed process is told apart from one still being written.
// Removed on destruction unless published.
class PartFile
{
public:
    PartFile() = default;
    ~PartFile();
    PartFile(const PartFile &) = delete;
    PartFile &operator=(const PartFile &) = delete;

    // Creates and locks a new temporary in folder; 0 or an errno value.
    int create(const QString &folder);
    // Gives the file its final size at once, so that it counts as used
    // space of its memory from now on; 0 or an errno value.
    int reserve(qint64 size);
    // The descriptor to write to; -1 after finishWriting.
    int fd() const { return m_fd; }
    // Closes the written data, reporting a failure to store it (0 or errno);
    // the lock stays held until publish or destruction.
    int finishWriting();
    // Moves the file to target (a full path); without replace an existing
    // target stays and EEXIST is answered. 0 or an errno value.
    int publish(const QByteArray &target, bool replace);

private:
    void discard();

    QByteArray m_path;
    int m_fd = -1;     // for writing
    int m_lockFd = -1; // holds the lock (the same open file as m_fd)
    bool m_published = false;
};

// Sums the bytes of the files under folder, subfolders included, without
// following symlinks. Temporaries that no process holds are removed on the
// way and not counted.
qint64 usedBytes(const QString &folder);

// Removes the temporaries under folder (and, when recursive, its subfolders,
// without following symlinks) that no process holds.
void removeStaleParts(const QString &folder, bool recursive);

// Held for its lifetime: the exclusive lock of one memory's space (an flock
// on the memory's folder), shared by every thread and process using the
// library. When the folder cannot be opened nothing is held, and nothing can
// be copied into it anyway.
class MemoryLock
{
public:
    explicit MemoryLock(const QString &memoryFolder);
    ~MemoryLock();
    MemoryLock(const MemoryLock &) = delete;
    MemoryLock &operator=(const MemoryLock &) = delete;

private:
    int m_fd = -1;
};

} // namespace kelvra
