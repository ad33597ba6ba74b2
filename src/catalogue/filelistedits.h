#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

// Changes to one file-list section of a data file (one "File" element per
// path, with its length in "playback_sec"), gathered in memory and applied in
// one read-modify-write of the file under its DataFileLock. Each write reads
// the file again, so that what other writers (another thread, the window or
// tamselctl) stored in between stays. Use an object from one thread.
class FileListEdits
{
public:
    FileListEdits(const QString &file, const QString &section);

    // The section starts afresh with these entries; earlier edits go.
    // lengths may be null (no lengths) or shorter than paths.
    void replace(const QStringList &paths, const QList<int> *lengths);
    // One entry at the end of the section; the section's earlier entry for
    // the same path goes. A negative length stores none.
    void add(const QString &path, int length);
    bool isEmpty() const { return !m_replace && m_written == m_entries.size(); }

    // Applies the edits not written yet. On failure they are kept for the
    // next try and errorText() says why.
    bool write();
    // write() when a second has passed since the last one, so that a long
    // walk costs about one write a second; true when nothing was due.
    bool writeIfDue();
    // The last write: applies what is pending and stores again every entry
    // since the last replace, so that entries another program's replace
    // removed in between (two scans at once) are back.
    bool writeAll();

    // Whether a write of this object has changed the file.
    bool hasWritten() const { return m_changedFile; }
    QString errorText() const { return m_error; }
    QString file() const { return m_file; }

private:
    struct Entry
    {
        QString path;
        int length;
    };

    bool apply(qsizetype from);

    QString m_file;
    QString m_section;
    bool m_replace = false;
    // Every entry since the last replace; those from m_written on are pending.
    QList<Entry> m_entries;
    qsizetype m_written = 0;
    QElapsedTimer m_sinceWrite;
    bool m_changedFile = false;
    QString m_error;
};
