#include "filelistedits.h"

#include "datafilelock.h"
#include "xmlfile.h"

#include <QDateTime>
#include <QDir>
#include <QHash>

namespace {

constexpr qint64 kWriteIntervalMs = 1000;

} // namespace

FileListEdits::FileListEdits(const QString &file, const QString &section) : m_file(file), m_section(section) {}

void FileListEdits::replace(const QStringList &paths, const QList<int> *lengths)
{
    m_replace = true;
    m_entries.clear();
    m_written = 0;
    m_entries.reserve(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i)
        m_entries.append({paths.at(i), lengths && i < lengths->size() ? lengths->at(i) : -1});
}

void FileListEdits::add(const QString &path, int length)
{
    m_entries.append({path, length});
}

bool FileListEdits::writeIfDue()
{
    if (isEmpty() || (m_sinceWrite.isValid() && m_sinceWrite.elapsed() < kWriteIntervalMs))
        return true;
    return write();
}

bool FileListEdits::write()
{
    return isEmpty() || apply(m_written);
}

bool FileListEdits::writeAll()
{
    return (m_entries.isEmpty() && !m_replace) || apply(0);
}

bool FileListEdits::apply(qsizetype from)
{
    m_sinceWrite.start();
    DataFileLock lock(m_file);
    if (!lock.isLocked()) {
        m_error = lock.errorText();
        return false;
    }
    // The file is always read first, so that a section written afresh keeps
    // its neighbours (the phone profiles beside the scan results).
    QDomDocument document;
    XmlFile::read(m_file, document);
    QDomElement root = document.documentElement();
    if (root.isNull()) {
        root = document.createElement(QStringLiteral("AppSettings"));
        document.appendChild(root);
    }
    QDomElement list = root.firstChildElement(m_section);
    if (list.isNull()) {
        list = document.createElement(m_section);
        root.appendChild(list);
    } else if (m_replace) {
        while (!list.firstChild().isNull())
            list.removeChild(list.firstChild());
    }
    list.setAttribute(QStringLiteral("Timestamp"),
                      QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy, HH:mm")));

    // Each path's first entry, so that replacing one costs no walk of the list.
    QHash<QString, QDomElement> byPath;
    if (!m_replace) {
        for (QDomElement e = list.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            const QString path = XmlFile::text(e);
            if (!byPath.contains(path))
                byPath.insert(path, e);
        }
    }
    for (qsizetype i = from; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries.at(i);
        QDomElement element = document.createElement(QStringLiteral("File"));
        XmlFile::setText(element, entry.path);
        if (entry.length >= 0)
            element.setAttribute(QStringLiteral("playback_sec"), entry.length);
        const auto old = byPath.find(entry.path);
        if (old != byPath.end()) {
            list.removeChild(*old);
            *old = element;
        } else {
            byPath.insert(entry.path, element);
        }
        list.appendChild(element);
    }
    QString why;
    if (!XmlFile::write(m_file, document, &why)) {
        m_error = QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(m_file), why);
        return false;
    }
    m_replace = false;
    m_written = m_entries.size();
    m_changedFile = true;
    m_error.clear();
    return true;
}
