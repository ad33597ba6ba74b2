// My collection: the videos of the My collection folder and of the current
// phone, a PC file and a phone video of the same name and size shown as one
// item stored on both; and the current phone the collection is built for.

#include "catalogue.h"

#include "confserver.h"
#include "phoneicon.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "settingsstore.h"
#include "xmlfile.h"

#include <QDir>
#include <QHash>
#include <QFileInfo>

namespace {

} // namespace

Catalogue::ScanLengths Catalogue::scanLengths() const
{
    ScanLengths lengths;
    lengths.reserve(scanResults.size());
    for (const FileItem &item : scanResults)
        lengths.append({item.name(), item.pc.playbackLength});
    return lengths;
}

void Catalogue::setCurrentPhone(Orvak_API::PhoneInfo *phone)
{
    if (!phone)
        return;
    currentPhoneSerial = phone->serialNumber();
    currentPhoneName = phone->friendlyName();

    QList<Orvak_API::PhoneMemory *> memories;
    phone->getMemoryInfo(memories);
    memoryTypes.clear();
    memoryNames.clear();
    QList<qint64> free;
    for (const Orvak_API::PhoneMemory *memory : memories) {
        memoryTypes << memory->type;
        memoryNames << memory->name;
        free << memory->free;
    }
    qDeleteAll(memories);
    const int lastMemory = qMax(0, int(free.size()) - 1);

    const int profile = findProfile(currentPhoneSerial);
    if (profile < 0) {
        quality = Orvak_API::newPhoneQuality(currentPhoneSerial);
        if (writeProfile(currentPhoneSerial, lastMemory, quality))
            loadAppSettings(false);
        // A new phone keeps its videos on its last memory, usually the card.
        memoryIndex = lastMemory;
    } else {
        memoryIndex = qMin(profiles.at(profile).memoryIndex, lastMemory);
        quality = profiles.at(profile).quality;
    }
    memoryFree = free.value(memoryIndex);
}

Catalogue::MyCollectionSource Catalogue::myCollectionSource() const
{
    return {currentPhoneSerial, int(memoryTypes.size()), scanLengths()};
}

bool Catalogue::refreshMyCollection()
{
    FileItemList list;
    QList<QImage> pictures;
    collectMyCollection(myCollectionSource(), list, pictures);
    installMyCollection(std::move(list), std::move(pictures));
    return true;
}

void Catalogue::installMyCollection(FileItemList list, QList<QImage> pictures)
{
    myCollection = std::move(list);
    phonePictures = std::move(pictures);
}

void Catalogue::collectMyCollection(const MyCollectionSource &source, FileItemList &list, QList<QImage> &pictures)
{
    pictures.clear();
    list.clear();
    {
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo phones;
        management.getPhones(phones);
        if (Orvak_API::PhoneInfo *phone = phones.findBySerial(source.phoneSerial)) {
            pictures = Orvak_API::API_PhoneIcon(phone).images();
            QList<Orvak_API::PhoneFileEntry *> entries;
            for (int i = 0; i < source.memoryCount; ++i)
                phone->listMemoryFiles(entries, i, L"3gp|3g2|mp4");
            for (const Orvak_API::PhoneFileEntry *entry : entries)
                list.append()->phone.setFromPhoneEntry(*entry);
            qDeleteAll(entries);
        }
    }
    addFolderFiles(list, source.scanLengths);
}

bool Catalogue::buildMyCollection()
{
    addFolderFiles(myCollection, scanLengths());
    return true;
}

void Catalogue::addFolderFiles(FileItemList &list, const ScanLengths &known)
{
    {
        // Every write replaces the cache whole, so reading needs no lock.
        QDomDocument cache;
        if (XmlFile::read(myCollectionCachePath(), cache) == XmlFile::ReadResult::Read)
            loadFileList(list,
                         cache.documentElement().firstChildElement(QStringLiteral("MyCollectionScanResults")), true);
    }

    const QDir folder(Settings::myCollectionFolder());
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.mp4"), QStringLiteral("*.3gp")},
                                                     QDir::Files | QDir::NoSymLinks, QDir::Time);
    // A phone video is a folder file when the names agree before their first
    // dot and the sizes agree to the byte; the first such video in the list
    // wins. Items added below have no phone copy, so the index stays whole.
    auto pairKey = [](const QString &name, qint64 size) -> QString {
        return nameUpToFirstDot(name) + QLatin1Char('\n') + QString::number(size);
    };
    QHash<QString, FileItem *> phoneVideos;
    for (FileItem &candidate : list) {
        if (candidate.phone.name.isEmpty())
            continue;
        const QString key = pairKey(candidate.phone.name, candidate.phone.size);
        if (!phoneVideos.contains(key))
            phoneVideos.insert(key, &candidate);
    }
    const QString folderPath = QDir::cleanPath(folder.absolutePath());
    for (const QFileInfo &file : files) {
        const QString path = folderPath + QLatin1Char('/') + file.fileName();
        FileItem *item = phoneVideos.value(pairKey(file.fileName(), file.size()));
        if (!item)
            item = list.append();
        item->pc.setFromFile(path);
        if (item->pc.playbackLength == 0) {
            const QString name = item->name();
            for (const auto &scanned : known) {
                if (scanned.first == name) {
                    item->pc.playbackLength = scanned.second;
                    break;
                }
            }
        }
    }
}
