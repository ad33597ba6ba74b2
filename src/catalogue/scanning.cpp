// The catalogue's folder walk, length measurements and the file lists of the
// two data files.

#include "catalogue.h"

#include "filelistedits.h"
#include "scanthread.h"
#include "videoconverter.h"
#include "xmlfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <dirent.h>
#include <memory>

namespace {

Q_LOGGING_CATEGORY(lcScan, "tamsel.catalogue")

const char kCacheSection[] = "MyCollectionScanResults";

// Measures with one converter per folder level, made when the level meets
// its first video and released when the level is left.
class LevelProbe
{
public:
    Orvak_API::VideoConverter *get()
    {
        if (!m_probe)
            m_probe = std::make_unique<Orvak_API::VideoConverter>();
        return m_probe.get();
    }
    ~LevelProbe()
    {
        if (m_probe)
            m_probe->closeFile();
    }

private:
    std::unique_ptr<Orvak_API::VideoConverter> m_probe;
};

} // namespace

int Catalogue::folderError(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return errno;
    ::closedir(dir);
    return 0;
}

bool Catalogue::scanFolder(QStringList &paths, QList<int> &lengths, const QString &folder, const QString &filters,
                           bool announce, QObject *receiver, FileListEdits *cache)
{
    if (const int error = folderError(folder)) {
        qCWarning(lcScan).noquote() << "cannot list" << folder << ':' << qt_error_string(error);
        return false;
    }
    FileListEdits ownCache(myCollectionCachePath(), QString::fromLatin1(kCacheSection));
    FileListEdits &edits = cache ? *cache : ownCache;
    scanLevel(paths, lengths, folder, filters.split(QLatin1Char(','), Qt::SkipEmptyParts), announce, receiver, edits);
    if (!cache && !ownCache.write())
        qCWarning(lcScan).noquote() << ownCache.errorText();
    return true;
}

void Catalogue::scanLevel(QStringList &paths, QList<int> &lengths, const QString &folder, const QStringList &filters,
                          bool announce, QObject *receiver, FileListEdits &cache)
{
    LevelProbe probe;
    const QDir dir(folder);
    const QString prefix = QDir::cleanPath(dir.absolutePath()) + QLatin1Char('/');
    const QFileInfoList files = dir.entryInfoList(filters, QDir::Files | QDir::NoSymLinks, QDir::Time);
    for (const QFileInfo &file : files) {
        if (scanAbort())
            return;
        if (file.size() == 0)
            continue;
        const QString path = prefix + file.fileName();
        const Measurement measured = measure(probe.get(), path);
        // Audio alone cannot become a phone video.
        if (measured.opened && !measured.video)
            continue;
        if (measured.opened) {
            cache.add(path, measured.length);
            if (!cache.writeIfDue())
                qCWarning(lcScan).noquote() << cache.errorText();
        }
        paths.append(path);
        lengths.append(measured.length);
        if (announce && receiver)
            QCoreApplication::postEvent(receiver, new QScanFileEvent(path, measured.length));
    }
    const QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Unsorted);
    for (const QString &subfolder : subfolders) {
        if (scanAbort())
            return;
        const QString path = prefix + subfolder;
        if (const int error = folderError(path)) {
            qCWarning(lcScan).noquote() << "skipped" << path << ':' << qt_error_string(error);
            continue;
        }
        // Videos below the top folder are always announced.
        scanLevel(paths, lengths, path, filters, true, receiver, cache);
    }
}

Catalogue::Measurement Catalogue::measure(Orvak_API::VideoConverter *probe, const QString &path)
{
    Measurement measured;
    if (!probe)
        return measured;
    // Files that cannot be measured are listed with no length, silently.
    probe->setSuppressErrors(true);
    if (!probe->openFile(path))
        return measured;
    measured.opened = true;
    measured.video = probe->hasVideo();
    measured.length = int(probe->playbackLength());
    probe->closeFile();
    return measured;
}

int Catalogue::probeLength(Orvak_API::VideoConverter *probe, const QString &path)
{
    const Measurement measured = measure(probe, path);
    if (!measured.opened)
        return 0;
    QString error;
    if (!saveMyCollectionResults({path}, {measured.length}, false, &error))
        qCWarning(lcScan).noquote() << error;
    return measured.length;
}

bool Catalogue::saveScanResults(const QStringList &paths, const QList<int> &lengths, bool replace, QString *error)
{
    return writeFileList(appSettingsPath(), QStringLiteral("ScanResults"), paths, &lengths, replace, error);
}

bool Catalogue::saveMyCollectionResults(const QStringList &paths, const QList<int> &lengths, bool replace,
                                        QString *error)
{
    return writeFileList(myCollectionCachePath(), QString::fromLatin1(kCacheSection), paths, &lengths, replace,
                         error);
}

bool Catalogue::writeFileList(const QString &file, const QString &section, const QStringList &paths,
                              const QList<int> *lengths, bool replace, QString *error)
{
    FileListEdits edits(file, section);
    if (replace) {
        edits.replace(paths, lengths);
    } else {
        for (qsizetype i = 0; i < paths.size(); ++i)
            edits.add(paths.at(i), lengths && i < lengths->size() ? lengths->at(i) : -1);
    }
    if (edits.write())
        return true;
    if (error)
        *error = edits.errorText();
    return false;
}

void Catalogue::loadFileList(FileItemList &list, const QDomElement &section, bool merge)
{
    FileItemList found;
    for (QDomNode node = section.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement entry = node.toElement();
        if (entry.isNull())
            continue;
        FileItem item;
        if (!item.pc.setFromFile(XmlFile::text(entry)))
            continue;
        item.pc.playbackLength = entry.attribute(QStringLiteral("playback_sec"), QStringLiteral("0")).toInt();
        found.append(item);
    }
    if (!merge) {
        for (const FileItem &item : found)
            list.append(item);
        return;
    }
    // Merging only hands the measured lengths to the items already listed.
    for (FileItem &old : list) {
        QString key = old.name();
        const int dot = key.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            key.truncate(dot);
        for (const FileItem &item : found) {
            if (item.name() == key) {
                old.pc.playbackLength = item.pc.playbackLength;
                break;
            }
        }
    }
}
