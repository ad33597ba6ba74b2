#include "mimeappslist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString kDefaultGroup = QStringLiteral("Default Applications");
const QString kRemovedGroup = QStringLiteral("Removed Associations");

QByteArray withoutBom(const QByteArray &line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.mid(3) : line;
}

bool sameKey(const QString &a, const QString &b)
{
    // Type names are case-insensitive; desktops write them in lower case.
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString MimeAppsList::userFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
}

MimeAppsList::MimeAppsList(const QString &path) : m_path(path) {}

bool MimeAppsList::load()
{
    m_lines.clear();
    m_finalNewline = true;
    m_crlf = false;
    m_modified = false;
    m_readable = true;
    m_error.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_readable = false;
        m_error = file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_readable = false;
        m_error = file.errorString();
        return false;
    }
    if (data.isEmpty())
        return true;
    m_lines = data.split('\n');
    m_finalNewline = data.endsWith('\n');
    if (m_finalNewline)
        m_lines.removeLast();
    m_crlf = !m_lines.isEmpty() && m_lines.constFirst().endsWith('\r');
    return true;
}

QString MimeAppsList::groupName(const QByteArray &line)
{
    const QByteArray t = withoutBom(line).trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']'))
        return {};
    return QString::fromUtf8(t.mid(1, t.size() - 2));
}

bool MimeAppsList::parseEntry(const QByteArray &line, Entry *entry)
{
    const QByteArray t = withoutBom(line).trimmed();
    const int eq = t.indexOf('=');
    if (t.isEmpty() || t.startsWith('#') || t.startsWith('[') || eq <= 0)
        return false;
    entry->key = QString::fromUtf8(t.left(eq).trimmed());
    entry->values.clear();
    for (const QByteArray &part : t.mid(eq + 1).split(';')) {
        const QByteArray value = part.trimmed();
        if (!value.isEmpty())
            entry->values << QString::fromUtf8(value);
    }
    return true;
}

QList<int> MimeAppsList::entryLines(const QString &group, const QString &key) const
{
    QList<int> found;
    bool inGroup = false;
    Entry entry;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString name = groupName(m_lines.at(i));
        if (!name.isNull()) {
            inGroup = name == group;
            continue;
        }
        if (inGroup && parseEntry(m_lines.at(i), &entry) && sameKey(entry.key, key))
            found << i;
    }
    return found;
}

QStringList MimeAppsList::defaultApplications(const QString &mimeType) const
{
    // The first line counts, as the desktop tools read it.
    const QList<int> lines = entryLines(kDefaultGroup, mimeType);
    Entry entry;
    if (lines.isEmpty() || !parseEntry(m_lines.at(lines.constFirst()), &entry))
        return {};
    return entry.values;
}

bool MimeAppsList::isDefault(const QString &mimeType, const QString &desktopId) const
{
    const QStringList apps = defaultApplications(mimeType);
    return !apps.isEmpty() && apps.constFirst() == desktopId;
}

QByteArray MimeAppsList::makeLine(const QString &key, const QStringList &values) const
{
    QByteArray line = key.toUtf8() + '=';
    for (const QString &value : values)
        line += value.toUtf8() + ';';
    if (m_crlf)
        line += '\r';
    return line;
}

void MimeAppsList::insertEntry(const QString &group, const QByteArray &line)
{
    // After the last entry of the first such group, before the blank lines
    // and comments that lead to the next group.
    int header = -1;
    int after = -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString name = groupName(m_lines.at(i));
        if (!name.isNull()) {
            if (header >= 0)
                break;
            if (name == group)
                header = after = i;
            continue;
        }
        const QByteArray t = m_lines.at(i).trimmed();
        if (header >= 0 && !t.isEmpty() && !t.startsWith('#'))
            after = i;
    }
    if (header >= 0) {
        m_lines.insert(after + 1, line);
    } else {
        if (!m_lines.isEmpty() && !m_lines.constLast().trimmed().isEmpty())
            m_lines << (m_crlf ? QByteArray("\r") : QByteArray());
        m_lines << ('[' + group.toUtf8() + ']' + (m_crlf ? "\r" : "")) << line;
        m_finalNewline = true;
    }
    m_modified = true;
}

void MimeAppsList::putEntry(const QString &group, const QString &key, const QStringList &values)
{
    const QList<int> lines = entryLines(group, key);
    for (int i = int(lines.size()) - 1; i >= 1; --i) {
        m_lines.removeAt(lines.at(i));
        m_modified = true;
    }
    if (lines.isEmpty()) {
        if (!values.isEmpty())
            insertEntry(group, makeLine(key, values));
        return;
    }
    const int first = lines.constFirst();
    Entry current;
    parseEntry(m_lines.at(first), &current);
    if (values.isEmpty()) {
        m_lines.removeAt(first);
        m_modified = true;
    } else if (current.values != values) {
        m_lines[first] = makeLine(current.key, values);
        m_modified = true;
    }
}

void MimeAppsList::setDefault(const QString &mimeType, const QString &desktopId)
{
    QStringList apps = defaultApplications(mimeType);
    apps.removeAll(desktopId);
    apps.prepend(desktopId);
    putEntry(kDefaultGroup, mimeType, apps);

    const QList<int> removed = entryLines(kRemovedGroup, mimeType);
    if (removed.isEmpty())
        return;
    Entry entry;
    parseEntry(m_lines.at(removed.constFirst()), &entry);
    if (entry.values.removeAll(desktopId) > 0)
        putEntry(kRemovedGroup, mimeType, entry.values);
}

bool MimeAppsList::clearDefault(const QString &mimeType, const QString &desktopId)
{
    if (!isDefault(mimeType, desktopId))
        return false;
    QStringList apps = defaultApplications(mimeType);
    apps.removeAll(desktopId);
    putEntry(kDefaultGroup, mimeType, apps);
    return true;
}

QByteArray MimeAppsList::contents() const
{
    QByteArray data = m_lines.join('\n');
    if (m_finalNewline && !m_lines.isEmpty())
        data += '\n';
    return data;
}

bool MimeAppsList::save()
{
    if (!m_readable) {
        m_error = QStringLiteral("%1 could not be read and is left as it is").arg(m_path);
        return false;
    }
    if (!m_modified)
        return true;
    // A linked file is changed where it lives; the link stays.
    const QFileInfo link(m_path);
    QString target = m_path;
    if (link.isSymLink())
        target = link.exists() ? link.canonicalFilePath() : link.symLinkTarget();
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath())) {
        m_error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    file.write(contents());
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_modified = false;
    return true;
}
