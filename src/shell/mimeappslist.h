#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A careful editor of one mimeapps.list, the file in which the desktop keeps
// which application opens which type of file or link by default. A change
// rewrites only the lines it is about: every other group, entry, comment and
// blank line keeps its bytes and its place. Only the [Default Applications]
// and [Removed Associations] groups are ever changed, and in them only the
// entries of the types asked about.
//
// One object per edit, on one thread: load(), change, save(). The file is
// replaced atomically, so a reader sees the old file or the new one, never
// a part; nothing guards against another program writing it between load()
// and save().
class MimeAppsList final
{
public:
    // $XDG_CONFIG_HOME/mimeapps.list: the user's own choices, where the
    // desktops' settings write them, and the first file read.
    static QString userFilePath();

    explicit MimeAppsList(const QString &path = userFilePath());

    QString path() const { return m_path; }

    // Reads the file. A missing file is an empty list. Returns false when
    // the file exists but cannot be read; save() then refuses to write, so
    // the user's file is never replaced by one that lost its content.
    bool load();

    // The desktop file ids named as defaults for mimeType, most preferred
    // first; the first one installed is the type's default.
    QStringList defaultApplications(const QString &mimeType) const;
    bool isDefault(const QString &mimeType, const QString &desktopId) const;

    // Makes desktopId the default for mimeType: first in its list, with the
    // applications named before kept after it, so that clearing it later
    // gives the type back to them. Also takes desktopId out of the type's
    // [Removed Associations], which would keep the default from counting.
    void setDefault(const QString &mimeType, const QString &desktopId);
    // Takes desktopId out of the defaults of mimeType, but only while it is
    // the type's default: another application's choice is left alone.
    // Returns whether anything changed.
    bool clearDefault(const QString &mimeType, const QString &desktopId);

    bool isModified() const { return m_modified; }
    QByteArray contents() const;

    // Writes the file when it changed, creating its folder: through a
    // temporary file renamed over the old one. Returns true when the file
    // holds contents() afterwards.
    bool save();
    QString errorString() const { return m_error; }

private:
    struct Entry
    {
        QString key;
        QStringList values;
    };

    static bool parseEntry(const QByteArray &line, Entry *entry);
    static QString groupName(const QByteArray &line);
    QList<int> entryLines(const QString &group, const QString &key) const;
    QByteArray makeLine(const QString &key, const QStringList &values) const;
    // Gives key the value list, in place of its first line in group, other
    // lines of it in that group removed; an empty list removes the key.
    void putEntry(const QString &group, const QString &key, const QStringList &values);
    void insertEntry(const QString &group, const QByteArray &line);

    QString m_path;
    QList<QByteArray> m_lines; // without their '\n'
    bool m_finalNewline = true;
    bool m_crlf = false;
    bool m_readable = true;
    bool m_modified = false;
    QString m_error;
};
