#pragma once

#include "fileitemlist.h"

#include <QDomElement>
#include <QImage>
#include <QMutex>
#include <QSet>
#include <QStringList>

class FileListEdits;
class QObject;

namespace Orvak_API {
class PhoneInfo;
class VideoConverter;
}

// One phone the program has met, as AppSettings.xml remembers it.
struct PhoneProfile
{
    QString name;
    QString id;           // serial number
    int memoryIndex = 0;  // memory chosen for videos
    int quality = 1;      // 0 Low, 1 Medium, 2 High
    QStringList memoryTypes;
};

// The program's application data: the item lists the views show, the
// current phone, the phone profiles, and the data files and log behind them.
// The lists belong to the main thread, except that a My collection rebuild
// runs on its own thread while the main thread keeps away from that list.
// The data files may be written from any thread and by several processes of
// the program at once: each read-modify-write of a file holds that file's
// DataFileLock, and every write replaces the file whole.
class Catalogue
{
    Q_DISABLE_COPY_MOVE(Catalogue)

public:
    static Catalogue &instance();

    // --- item lists
    FileItemList myCollection;
    FileItemList scanResults;
    FileItemList tasks;
    FileItemList savedScanResults;
    FileItemList downloads;

    FileItem *appendMyCollectionItem() { return myCollection.append(); }
    FileItem *appendScanResult() { return scanResults.append(); }
    FileItem *appendDownload() { return downloads.append(); }
    FileItem *appendTask(const FileItem &source) { return tasks.append(source); }
    void removeTasks(const QList<QUuid> &ids);
    void removeDownloads(const QList<QUuid> &ids);
    void removeMyCollectionItem(const QUuid &id);
    void clearMyCollection() { myCollection.clear(); }
    // Removes the scan result and the saved result at the same position.
    void removeScanResult(const QUuid &id);

    // Whether a My collection item has this phone name (before its first dot).
    bool hasPhoneName(const QString &baseName) const;
    // The names before their first dot of My collection's phone videos: what
    // a worker thread is handed instead of the list. Main thread.
    QSet<QString> phoneNames() const;
    // A path like path for a new file that clashes neither with a file on
    // disk nor with a phone video of My collection. Main thread.
    QString uniqueTargetPath(const QString &path) const;
    // The same against a set of phone names taken earlier; any thread.
    static QString uniqueTargetPath(const QString &path, const QSet<QString> &phoneNames);

    // --- current phone
    QString currentPhoneSerial;
    QString currentPhoneName;
    // The phone chosen in the main window's selector while none is current.
    QString selectedPhoneName;
    int memoryIndex = 0;
    int quality = 1;
    qint64 memoryFree = 0;
    QStringList memoryTypes;
    QStringList memoryNames;
    // The current phone's pictures; images, since the builder fetches them
    // on its own thread.
    QList<QImage> phonePictures;
    QList<PhoneProfile> profiles;

    // Makes an attached phone the current one, creating its profile when it
    // is new.
    void setCurrentPhone(Orvak_API::PhoneInfo *phone);
    int findProfile(const QString &id) const;
    int currentProfile() const { return findProfile(currentPhoneSerial); }
    // The phone folder videos go to on the current phone's chosen memory.
    QString phoneVideoFolder() const;

    // --- data files
    static QString dataFolder();
    static QString appSettingsPath();
    static QString myCollectionCachePath();
    static QString logPath();

    bool loadAppSettings(bool withScanResults);
    bool writeProfile(const QString &serial, int memoryIndex, int quality);
    bool saveProfile(const QString &id);
    // Appends "[dd/MM/yyyy HH:mm:ss] message" to the log.
    static bool writeLog(const QString &message);

    // --- scanning
    void setScanAbort(bool abort);
    bool scanAbort() const;
    // 0 when folder can be listed, else the system's error number (ENOENT,
    // EACCES, ENAMETOOLONG, ...).
    static int folderError(const QString &folder);
    // Walks folder for files matching filters ("*.avi,*.mp4"), measuring each,
    // newest first, then the subfolders; files without a video stream are
    // left out. Announced files are posted as QScanFileEvent to receiver.
    // Stops, unwinding level by level, as soon as the scan-abort flag is set.
    // The measurements go to cache, written about once a second; without
    // one they are written to the My collection cache when the walk ends.
    // Returns false, with nothing walked, when folder cannot be listed;
    // subfolders that cannot be listed are skipped.
    bool scanFolder(QStringList &paths, QList<int> &lengths, const QString &folder, const QString &filters,
                    bool announce, QObject *receiver, FileListEdits *cache = nullptr);
    // Length in seconds, 0 when unknown; recorded at once in the My
    // collection cache (a scan gathers its measurements and writes them
    // about once a second instead).
    int probeLength(Orvak_API::VideoConverter *probe, const QString &path);
    // The writers of the two file lists; error (if given) says why one failed.
    bool saveScanResults(const QStringList &paths, const QList<int> &lengths, bool replace,
                         QString *error = nullptr);
    bool saveMyCollectionResults(const QStringList &paths, const QList<int> &lengths, bool replace,
                                 QString *error = nullptr);
    // Writes section of file: with replace the section is written afresh
    // (other sections stay); without, each path replaces its earlier entry.
    // lengths may be null. A file that cannot be parsed counts as empty.
    bool writeFileList(const QString &file, const QString &section, const QStringList &paths,
                       const QList<int> *lengths, bool replace, QString *error = nullptr);
    // Reads the "File" elements of section into list (dropping files that are
    // gone or empty); with merge, only passes their lengths to list's items.
    void loadFileList(FileItemList &list, const QDomElement &section, bool merge);

    // --- My collection
    // Names and lengths of the scan results, for a builder on another thread.
    using ScanLengths = QList<QPair<QString, int>>;
    ScanLengths scanLengths() const;
    // What a rebuild reads of the catalogue: the current phone and the scan
    // results' lengths. Taken on the main thread for a builder thread.
    struct MyCollectionSource
    {
        QString phoneSerial;
        int memoryCount = 0;
        ScanLengths scanLengths;
    };
    MyCollectionSource myCollectionSource() const;
    // Rebuilds myCollection and the phone pictures from the current phone
    // and the My collection folder. Main thread.
    bool refreshMyCollection();
    // Adds the My collection folder's files to myCollection. Main thread.
    bool buildMyCollection();
    // A rebuild into lists of the caller's, touching none of the catalogue's
    // lists or current-phone fields; any thread.
    void collectMyCollection(const MyCollectionSource &source, FileItemList &list, QList<QImage> &pictures);
    // Makes a rebuild's result My collection. Main thread.
    void installMyCollection(FileItemList list, QList<QImage> pictures);

private:
    Catalogue() = default;

    struct Measurement
    {
        bool opened = false;
        bool video = false;
        int length = 0;
    };
    Measurement measure(Orvak_API::VideoConverter *probe, const QString &path);
    void addFolderFiles(FileItemList &list, const ScanLengths &known);
    void scanLevel(QStringList &paths, QList<int> &lengths, const QString &folder, const QStringList &filters,
                   bool announce, QObject *receiver, FileListEdits &cache);

    mutable QMutex m_scanAbortLock;
    bool m_scanAbort = false;
};
