#include "catalogue.h"

#include "phoneinfo.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The extension part of a name: after its last dot, empty without one.
QString suffixOf(const QString &fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

QString withCounter(const QString &folder, const QString &base, int n, const QString &suffix)
{
    QString name = base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
    if (!suffix.isEmpty())
        name += QLatin1Char('.') + suffix;
    return folder + QLatin1Char('/') + name;
}

} // namespace

Catalogue &Catalogue::instance()
{
    static Catalogue catalogue;
    return catalogue;
}

void Catalogue::removeTasks(const QList<QUuid> &ids)
{
    tasks.removeIf([&](const FileItem &item) { return ids.contains(item.uuid); });
}

void Catalogue::removeDownloads(const QList<QUuid> &ids)
{
    downloads.removeIf([&](const FileItem &item) { return ids.contains(item.uuid); });
}

void Catalogue::removeMyCollectionItem(const QUuid &id)
{
    myCollection.removeIf([&](const FileItem &item) { return item.uuid == id; });
}

void Catalogue::removeScanResult(const QUuid &id)
{
    const int index = scanResults.indexOf(id);
    if (index < 0)
        return;
    scanResults.removeAt(index);
    if (index < savedScanResults.size())
        savedScanResults.removeAt(index);
}

bool Catalogue::hasPhoneName(const QString &baseName) const
{
    // Phone names carry their extension; a clash is the same name before it.
    for (const FileItem &item : myCollection) {
        if (!item.phone.name.isEmpty() && nameUpToFirstDot(item.phone.name) == baseName)
            return true;
    }
    return false;
}

QSet<QString> Catalogue::phoneNames() const
{
    QSet<QString> names;
    for (const FileItem &item : myCollection) {
        if (!item.phone.name.isEmpty())
            names.insert(nameUpToFirstDot(item.phone.name));
    }
    return names;
}

QString Catalogue::uniqueTargetPath(const QString &path) const
{
    return uniqueTargetPath(path, phoneNames());
}

QString Catalogue::uniqueTargetPath(const QString &path, const QSet<QString> &phoneNames)
{
    const auto hasPhoneName = [&phoneNames](const QString &baseName) { return phoneNames.contains(baseName); };
    const QFileInfo wanted(path);
    const QString folder = wanted.absolutePath();
    QString candidate = wanted.absoluteFilePath();
    for (;;) {
        const QString base = nameUpToFirstDot(QFileInfo(candidate).fileName());
        for (int n = 1; QFileInfo::exists(candidate); ++n)
            candidate = withCounter(folder, base, n, suffixOf(QFileInfo(candidate).fileName()));

        bool renamed = false;
        for (int n = 1; hasPhoneName(nameUpToFirstDot(QFileInfo(candidate).fileName())); ++n) {
            const QString fileName = QFileInfo(candidate).fileName();
            candidate = withCounter(folder, nameUpToFirstDot(fileName), n, suffixOf(fileName));
            renamed = true;
        }
        // A name changed for the phone may now clash on disk.
        if (!renamed || !QFileInfo::exists(candidate))
            break;
    }
    return QDir::cleanPath(candidate);
}

QString Catalogue::phoneVideoFolder() const
{
    return Orvak_API::phoneVideoFolder(memoryIndex);
}

void Catalogue::setScanAbort(bool abort)
{
    QMutexLocker lock(&m_scanAbortLock);
    m_scanAbort = abort;
}

bool Catalogue::scanAbort() const
{
    QMutexLocker lock(&m_scanAbortLock);
    return m_scanAbort;
}
