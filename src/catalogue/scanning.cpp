// The catalogue's folder walk, length measurements and the file lists of the
// two data files.

#include "catalogue.h"

#include "scanthread.h"
#include "videoconverter.h"
#include "xmlfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

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

QMutex *Catalogue::lockFor(const QString &file)
{
    if (file == appSettingsPath())
        return &m_appSettingsLock;
    if (file == myCollectionCachePath())
        return &m_cacheLock;
    return &m_otherFileLock;
}

void Catalogue::scanFolder(QStringList &paths, QList<int> &lengths, const QString &folder, const QString &filters,
                           bool announce, QObject *receiver)
{
    scanLevel(paths, lengths, folder, filters.split(QLatin1Char(','), Qt::SkipEmptyParts), announce, receiver);
}

void Catalogue::scanLevel(QStringList &paths, QList<int> &lengths, const QString &folder, const QStringList &filters,
                          bool announce, QObject *receiver)
{
    LevelProbe probe;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(filters, QDir::Files | QDir::NoSymLinks, QDir::Time);
    for (const QFileInfo &file : files) {
        if (scanAbort())
            return;
        const QString path = QDir::cleanPath(dir.absolutePath() + QLatin1Char('/') + file.fileName());
        if (file.size() == 0)
            continue;
        paths.append(path);
        const int length = probeLength(probe.get(), path);
        lengths.append(length);
        if (announce && receiver)
            QCoreApplication::postEvent(receiver, new QScanFileEvent(path, length));
    }
    const QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Unsorted);
    for (const QString &subfolder : subfolders) {
        if (scanAbort())
            return;
        // Videos below the top folder are always announced.
        scanLevel(paths, lengths, dir.absoluteFilePath(subfolder), filters, true, receiver);
    }
}

int Catalogue::probeLength(Orvak_API::VideoConverter *probe, const QString &path)
{
    if (!probe)
        return 0;
    // Files that cannot be measured are listed with no length, silently.
    probe->setSuppressErrors(true);
    if (!probe->openFile(path))
        return 0;
    const int length = int(probe->playbackLength());
    probe->closeFile();
    saveMyCollectionResults({path}, {length}, false);
    return length;
}

bool Catalogue::saveScanResults(const QStringList &paths, const QList<int> &lengths, bool replace)
{
    return writeFileList(appSettingsPath(), QStringLiteral("ScanResults"), paths, &lengths, replace);
}

bool Catalogue::saveMyCollectionResults(const QStringList &paths, const QList<int> &lengths, bool replace)
{
    return writeFileList(myCollectionCachePath(), QStringLiteral("MyCollectionScanResults"), paths, &lengths,
                         replace);
}

bool Catalogue::writeFileList(const QString &file, const QString &section, const QStringList &paths,
                              const QList<int> *lengths, bool replace)
{
    QMutexLocker lock(lockFor(file));
    // The file is always read first, so that a section written afresh keeps
    // its neighbours (the phone profiles beside the scan results).
    QDomDocument document;
    XmlFile::read(file, document);
    QDomElement root = document.documentElement();
    if (root.isNull()) {
        root = document.createElement(QStringLiteral("AppSettings"));
        document.appendChild(root);
    }
    QDomElement list = root.firstChildElement(section);
    if (list.isNull()) {
        list = document.createElement(section);
        root.appendChild(list);
    } else if (replace) {
        while (!list.firstChild().isNull())
            list.removeChild(list.firstChild());
    }
    list.setAttribute(QStringLiteral("Timestamp"),
                      QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy, HH:mm")));
    for (int i = 0; i < paths.size(); ++i) {
        QDomElement entry = document.createElement(QStringLiteral("File"));
        entry.appendChild(document.createTextNode(paths.at(i)));
        if (lengths && i < lengths->size())
            entry.setAttribute(QStringLiteral("playback_sec"), lengths->at(i));
        for (QDomNode old = list.firstChild(); !old.isNull(); old = old.nextSibling()) {
            if (old.toElement().text() == paths.at(i)) {
                list.removeChild(old);
                break;
            }
        }
        list.appendChild(entry);
    }
    return XmlFile::write(file, document);
}

void Catalogue::loadFileList(FileItemList &list, const QDomElement &section, bool merge)
{
    FileItemList found;
    for (QDomNode node = section.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement entry = node.toElement();
        if (entry.isNull())
            continue;
        FileItem item;
        if (!item.pc.setFromFile(entry.text()))
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
