#pragma once

#include "apibase.h"
#include "kelvraapi.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <atomic>
#include <mutex>

namespace Orvak_API {

class PhoneInfo;

// One file found on the phone.
struct PhoneFileEntry
{
    QString name;       // with its extension, as the phone reports it
    QString folder;     // the phone folder it was found in, as listed
    int64_t size = 0;   // bytes
    QDateTime modified; // local time
};

// One memory of the phone (phone memory, memory card).
struct PhoneMemory
{
    QString type;      // as the phone reports it
    QString name;      // the drive ("C:", "E:") when the phone has several
    int64_t free = 0;  // bytes
    int64_t total = 0; // kept as the library gives them
    int64_t used = 0;
};

// The phone folder for videos on memory memoryIndex: "\\C:\Data\Videos" on
// the phone memory (0), "\\E:\Videos" and so on for the cards (1 to 21).
// Empty for any other index.
QString phoneVideoFolder(int memoryIndex);

// The sink of one copy: passes the library's progress reports on as
// copyProgressChanged of its phone.
class FileSystemNotify final : public IKelvFilesNotify
{
public:
    explicit FileSystemNotify(PhoneInfo *phone) : m_phone(phone) {}
    int32_t OnStateChanged(uint32_t dwState, uint32_t dwValue, uint32_t dwParam1, uint32_t dwParam2) override;
    int32_t OnError(uint32_t dwError) override;
    int32_t OnOperation(uint32_t dwParam1, uint32_t dwParam2, uint32_t dwParam3, uint32_t dwParam4) override;

private:
    PhoneInfo *m_phone;
};

// One attached phone: its identity from the device record and its file
// system. Owned by a PhonesInfo. File operations run on the calling thread
// and block it; failures are reported through SignalErrorMessage and answered
// with false. cancel() may be called from any other thread while a copy runs.
class PhoneInfo : public API_Base
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PhoneInfo)

public:
    explicit PhoneInfo(KELV_DEVICE_INFO *device, QObject *parent = nullptr);
    ~PhoneInfo() override;

    QString serialNumber() const;
    QString friendlyName() const;
    // The best connection medium (2, 4 serial, 8 Bluetooth, 16 USB), 0 if none.
    uint bestMedia() const;

    // Opens the phone's file system once; null when it cannot be opened.
    KELVHANDLE openFileSystem();
    KELVHANDLE fileSystem() const { return m_fs; }
    void closeFileSystem();
    int lastProgress() const { return m_lastProgress.load(); }

    // Copies pcFolder/fileName into phoneFolder, replacing a file of that
    // name; the last level of phoneFolder is created when missing. Only a
    // complete copy replaces the phone's file: a failed, cancelled or
    // interrupted copy, or one that cannot fit even in the old file's place,
    // leaves it as it was. When phoneFolder cannot be made because its parent
    // is missing, lastResult is the library's folder code and the failure is
    // reported under NoVideoFolderCode.
    bool copyFileToPhone(const QString &fileName, const QString &pcFolder, const QString &phoneFolder);
    // Copies phoneFolder\fileName into pcFolder; an existing file is kept.
    bool copyFileToPC(const QString &fileName, const QString &phoneFolder, const QString &pcFolder);
    bool deleteFile(const QString &fileName, const QString &phoneFolder);
    // The whole file in out.
    bool readFile(const QString &fileName, const QString &phoneFolder, QByteArray &out);
    // Ends the copy running on this phone, or else the next one, which then
    // fails before it changes anything on either side. A cancel holds until
    // a copy has ended because of it, whenever it comes (also before the
    // file system is open). Any thread may call it; true when it holds.
    bool cancel();

    // Appends the files of folder and of all its subfolders whose extension
    // is one of extensions ("3gp|3g2|mp4", any case; null or empty: every
    // file), depth first: a folder's subfolders come before its own files.
    // Each folder is listed once, however often the phone reports it.
    // The caller owns the entries.
    bool listFiles(QList<PhoneFileEntry *> &out, const QString &folder, const wchar_t *extensions);
    // The same for a whole memory: 0 the phone memory, 1 to 21 the cards.
    bool listMemoryFiles(QList<PhoneFileEntry *> &out, int memoryIndex, const wchar_t *extensions);
    // Replaces out with the phone's memories and their free space, deleting
    // the entries it held. The caller owns the new entries.
    void getMemoryInfo(QList<PhoneMemory *> &out);

    // Whether a file name passes the "|"-separated extension list.
    static bool matchesExtensions(const QString &name, const wchar_t *extensions);

Q_SIGNALS:
    void copyProgressChanged(int value);

private:
    friend class FileSystemNotify;
    // The library's result of one copy, with progress passed on.
    int32_t copy(uint32_t options, const QString &fileName, const QString &from, const QString &to);
    void listFolder(QList<PhoneFileEntry *> &out, const QString &folder, const wchar_t *extensions,
                    QSet<QString> &visited);

    // A cancel's hand-over to the library; see cancel().
    bool takeCancel(int32_t result);

    KELV_DEVICE_INFO *m_device;
    // Written only by the owning thread, and then under m_cancelLock, which
    // cancel() takes to read it from another thread.
    KELVHANDLE m_fs = nullptr;
    std::mutex m_cancelLock;
    std::atomic<bool> m_cancelRequested{false};
    uint32_t m_media = KELV_MEDIA_ANY;
    uint32_t m_deviceId = 0;
    std::atomic<int> m_lastProgress{0};
};

} // namespace Orvak_API
