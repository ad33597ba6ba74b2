#pragma once

// Internals shared by the modules of the connectivity library.

#include "kelvraapi.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace kelvra {

// ---- wide strings -------------------------------------------------------

QString fromWide(const wchar_t *text);
// A malloc'd copy the caller releases with free() (through a KELVFree... call).
wchar_t *dupWide(const QString &text);

// One line on stderr per problem, however often it is met.
void reportOnce(const QString &line);

// ---- folder-backed phones -----------------------------------------------

struct Memory
{
    QString type;     // the name KELVGetMemoryTypes reports
    QString path;     // absolute folder
    qint64 capacity = 0;
    // The memory is a whole file system of its own (a removable volume): its
    // values are the file system's, not a sum of its files.
    bool wholeDisk = false;
};

// Where a phone's files are: a phone folder of the devices folder, a
// removable volume (both served by the folder backend), or an MTP device.
enum class PhoneKind { Folder, Volume, Mtp };

struct Phone
{
    QString folder;   // absolute folder of the phone
    QString serialNumber;
    QString friendlyName;
    QString manufacturer;
    QString model;
    QList<uint32_t> media;
    QList<Memory> memories;
    QString maxBitrate;      // as written in the manifest, may be empty
    QString wallpaperSize;
    QString picture;         // phone path of the picture file
    QByteArray manifest;     // raw bytes (or a fingerprint), to notice updates
    PhoneKind kind = PhoneKind::Folder;
    QString deviceKey;       // MTP: the USB bus and address of the device

    uint32_t bestMedia() const;
};

// Reads one manifest; on failure returns false and says why in error.
bool readManifest(const QString &phoneFolder, Phone &phone, QString &error);

// Every valid phone of the devices folder, in the order of the folder names.
// Invalid manifests are skipped with one line on stderr (once per problem).
QList<Phone> scanPhones();

// Whether the phones of the devices folder are served as folder phones
// (the default). A test build of the library presents those folders as MTP
// devices instead and switches this off, so that no phone is seen twice.
void setFolderPhonesShown(bool shown);

// Every phone of every kind: folder phones first (in the order of the folder
// names), then removable volumes, then MTP devices. A serial number already
// taken by an earlier phone is skipped.
QList<Phone> scanDevices();

// Looks up an attached phone of any kind by serial number.
bool findPhone(const QString &serialNumber, Phone &phone);

// The MTP devices attached now (mtpdevices.cpp), detected afresh when the
// last detection is more than a moment old.
QList<Phone> mtpPhones();

// The removable volumes that are phones (volumes.cpp).
QList<Phone> scanVolumes();
// The mount roots searched for removable volumes.
QStringList mountRoots();
// Whether a volume phone is still there.
bool volumePresent(const Phone &phone);

// Fills in the video values of a phone that has no manifest of its own (an
// MTP device, a plain memory card): the documented defaults, then the
// overrides of "<data folder>/phones/<serial>.ini", and adds them to the
// phone's fingerprint so that a changed override rewrites its files.
void applyVideoDefaults(Phone &phone);

// Writes the two configuration files of each phone whose manifest changed
// since they were last written (or whose files are missing).
void writeConfigFiles(const QList<Phone> &phones);

// ---- handles ------------------------------------------------------------

// Maps opaque handle values to objects. Values are never reused, so a stale
// handle is recognised instead of reaching a freed object.
template<typename T>
class HandleTable
{
public:
    KELVHANDLE add(std::shared_ptr<T> object)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const uintptr_t id = s_next.fetch_add(1);
        m_objects.emplace(id, std::move(object));
        return reinterpret_cast<KELVHANDLE>(id);
    }
    std::shared_ptr<T> get(KELVHANDLE handle) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
        return it == m_objects.end() ? nullptr : it->second;
    }
    std::shared_ptr<T> take(KELVHANDLE handle)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_objects.find(reinterpret_cast<uintptr_t>(handle));
        if (it == m_objects.end())
            return nullptr;
        auto object = std::move(it->second);
        m_objects.erase(it);
        return object;
    }
    std::map<uintptr_t, std::shared_ptr<T>> takeAll()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_objects, {});
    }

private:
    // Shared by all tables (and kept across reloads of the library) so that
    // no two handles are ever equal.
    static inline std::atomic<uintptr_t> s_next{0x1000};
    mutable std::mutex m_mutex;
    std::map<uintptr_t, std::shared_ptr<T>> m_objects;
};

// ---- module state -------------------------------------------------------

extern std::atomic<int> g_devicesUsers;
extern std::atomic<int> g_filesUsers;
extern std::atomic<int> g_commonUsers;

} // namespace kelvra
