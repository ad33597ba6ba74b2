#include "filemirror.h"

#include "formats.h"
#include "phoneinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QPixmapCache>

namespace {

QString columns(std::initializer_list<QString> parts)
{
    QStringList list(parts);
    return list.join(QLatin1Char('|'));
}

} // namespace

QString nameUpToFirstDot(const QString &name)
{
    const int dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QDateTime clearedDate()
{
    return QDateTime(QDate(1, 1, 1), QTime(0, 0));
}

FileMirror::FileMirror() : created(clearedDate()), modified(clearedDate()) {}

FileMirror::~FileMirror() = default;

QPixmap FileMirror::thumbnail() const
{
    static const QString key = QStringLiteral("PreviewThumbnail");
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture.load(QStringLiteral(":/Images/VideoThumbNail.png"));
        QPixmapCache::insert(key, picture);
    }
    return picture;
}

QString FileMirror::myCollectionColumns() const
{
    return columns({nameUpToFirstDot(name), Formats::durationText(playbackLength), Formats::sizeText(size),
                    suffix.toLower(), Formats::dateText(created)});
}

QString FileMirror::rowText(int viewKind) const
{
    if (viewKind == 2)
        return columns({nameUpToFirstDot(name), Formats::durationText(playbackLength), Formats::sizeText(size)});
    return myCollectionColumns();
}

void FileMirror::clear()
{
    found = false;
    name.clear();
    path.clear();
    size = 0;
    syncState = Unknown;
    created = clearedDate();
    modified = clearedDate();
    suffix.clear();
    type.clear();
    playbackLength = 0;
}

void FileMirror::takeDescription(const FileMirror &other)
{
    found = other.found;
    name = other.name;
    suffix = other.suffix;
    size = other.size;
    created = other.created;
    modified = other.modified;
    type = other.type;
    playbackLength = other.playbackLength;
}

bool PC::assignFrom(const FileMirror &other, const QString &folder)
{
    takeDescription(other);
    path = folder + QLatin1Char('/') + name;
    return size != 0;
}

bool PC::exists() const
{
    return QFileInfo::exists(path);
}

QString PC::rowText(int viewKind) const
{
    const QString length = Formats::durationText(playbackLength);
    const QString bytes = Formats::sizeText(size);
    switch (viewKind) {
    case 0:
        return myCollectionColumns();
    case 1:
        return columns({name, length, bytes, suffix.toLower(), Formats::dateText(created), path});
    case 2:
        return columns({name, length, bytes});
    case 3:
        return columns({name, Formats::dateText(created)});
    default:
        return QString();
    }
}

bool PC::setFromFile(const QString &filePath)
{
    const QFileInfo info(filePath);
    found = info.exists();
    if (!found)
        return false;
    name = info.completeBaseName();
    path = filePath;
    size = info.size();
    created = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
    modified = info.lastModified();
    suffix = info.suffix();
    type = suffix;
    return size != 0;
}

bool PC::moveTo(const QString &newPath)
{
    if (!exists())
        return false;
    if (!QFile::copy(path, newPath))
        return false;
    QFile::remove(path);
    path = newPath;
    return true;
}

bool PHONE::assignFrom(const FileMirror &other, const QString &folder)
{
    takeDescription(other);
    // Phone paths keep the phone's own separator.
    path = folder + QLatin1Char('\\') + name + QLatin1Char('.') + suffix;
    return size != 0;
}

bool PHONE::exists() const
{
    return found;
}

bool PHONE::setFromPhoneEntry(const Orvak_API::PhoneFileEntry &entry)
{
    found = true;
    name = entry.name;
    path = entry.folder + QLatin1Char('\\') + entry.name;
    size = entry.size;
    created = entry.modified;
    modified = created;
    const int dot = entry.name.lastIndexOf(QLatin1Char('.'));
    suffix = dot < 0 ? QString() : entry.name.mid(dot + 1);
    type = suffix;
    return size != 0;
}
