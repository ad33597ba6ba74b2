#pragma once

#include <QDateTime>
#include <QString>

class QPixmap;

namespace Orvak_API {
struct PhoneFileEntry;
}

// How one copy of a video compares with the copy on the other side.
enum SyncState {
    Older = 0,   // the other side is newer
    Missing = 1, // this side has no copy
    Current = 2, // this side is the newest, or both are the same
    Unknown = 4, // not determined
};

// One copy of a video: on the PC (PC) or on the phone (PHONE).
class FileMirror
{
public:
    FileMirror();
    virtual ~FileMirror();
    FileMirror(const FileMirror &) = default;
    FileMirror &operator=(const FileMirror &) = default;

    // Takes the other side's description and places this copy in folder.
    // Returns whether the copy has any bytes.
    virtual bool assignFrom(const FileMirror &other, const QString &folder) = 0;
    virtual bool exists() const = 0;
    // Every video shows the same generic picture.
    virtual QPixmap thumbnail() const;
    // The columns of one list row, joined with "|"; viewKind 0 My collection,
    // 1 Scan results, 2 Tasks, 3 Downloads.
    virtual QString rowText(int viewKind) const;
    virtual void clear();

    int syncState = Unknown;
    QString name;
    QString path;
    QString targetPath;
    QString suffix;
    QString type;
    QDateTime created;
    QDateTime modified;
    bool found = false; // the copy was found where it was looked for
    int playbackLength = 0;
    qint64 size = 0; // bytes

protected:
    QString myCollectionColumns() const;
    // Takes the other side's description (not its path or target).
    void takeDescription(const FileMirror &other);
};

class PC final : public FileMirror
{
public:
    bool assignFrom(const FileMirror &other, const QString &folder) override;
    bool exists() const override;
    QString rowText(int viewKind) const override;

    // Describes the file at path. True only when it exists and is not empty;
    // a missing file changes nothing but the found flag.
    bool setFromFile(const QString &path);
    // Moves the file to newPath (copy, then remove the old one).
    bool moveTo(const QString &newPath);
};

class PHONE final : public FileMirror
{
public:
    bool assignFrom(const FileMirror &other, const QString &folder) override;
    bool exists() const override;

    bool setFromPhoneEntry(const Orvak_API::PhoneFileEntry &entry);
};

// "Midnight of 1-1-1", the date of a cleared copy.
QDateTime clearedDate();

// A file name up to its first dot: what pairs a PC file with a phone video.
QString nameUpToFirstDot(const QString &name);
