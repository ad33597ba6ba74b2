#pragma once

#include <QLockFile>
#include <QMutex>
#include <QString>

// Holds one data file for a read-modify-write: against the other threads of
// this process (a mutex per file) and against other processes of the program
// (the window and tamselctl), through a lock file beside it ("<file>.lock").
// Waits a while for another holder; a lock left by a process that died is
// taken over. Readers need no lock: every write replaces the file whole.
class DataFileLock
{
    Q_DISABLE_COPY_MOVE(DataFileLock)

public:
    explicit DataFileLock(const QString &file);
    ~DataFileLock();

    bool isLocked() const { return m_locked; }
    // Why the file could not be locked.
    QString errorText() const { return m_error; }

private:
    QMutex *m_mutex;
    QLockFile m_lockFile;
    bool m_locked = false;
    QString m_error;
};
