#pragma once

// Test fixture: folder-backed phones in the connectivity library's devices
// folder (inside the test's private data folder), and helpers to talk to the
// real library through the real loader.

#include "kelvra.h"
#include "kelvrapaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace TestSupport {

inline std::wstring w(const QString &text)
{
    return text.toStdWString();
}

// The phone tests run twice: against folder phones, and against a test build
// of the library that presents the same folders as MTP devices. A case that
// checks what only one kind of phone has says so.
inline bool scriptedMtp()
{
    return qEnvironmentVariableIsSet("TAMSEL_SCRIPTED_MTP");
}

// Points the loader at the library of this build.
inline void useBuiltLibrary()
{
    const QByteArray bin = qgetenv("TAMSEL_BIN_DIR");
    QVERIFY2(!bin.isEmpty(), "run the test through ctest");
    qputenv("KELVRA_API_PATH", bin + "/" KELV_LIBRARY_FILE_NAME);
}

struct MemorySpec
{
    QString type;
    qint64 capacity;
};

class FolderPhones
{
public:
    // Starts from an empty devices folder.
    FolderPhones() : m_root(KelvraPaths::devicesFolder())
    {
        QDir(m_root).removeRecursively();
        QDir().mkpath(m_root);
    }
    ~FolderPhones() { QDir(m_root).removeRecursively(); }

    QString root() const { return m_root; }
    QString folder(const QString &name) const { return m_root + QLatin1Char('/') + name; }

    // A phone with memory folders "M0", "M1", ...; the manifest is written
    // last and atomically, as a phone that arrives complete.
    void addPhone(const QString &name, const QString &serial, const QString &friendly,
                  const QString &media = QStringLiteral("16"),
                  const QList<MemorySpec> &memories = {{QStringLiteral("Phone memory"), 256LL << 20}},
                  const QString &extra = QString())
    {
        QString ini = QStringLiteral("[Phone]\nSerialNumber=%1\nFriendlyName=%2\nManufacturer=Orvak\nModel=Test One\nMedia=%3\n")
                          .arg(serial, friendly, media);
        for (int i = 0; i < memories.size(); ++i) {
            ini += QStringLiteral("[Memory%1]\nType=%2\nPath=M%1\nCapacity=%3\n")
                       .arg(i)
                       .arg(memories.at(i).type)
                       .arg(memories.at(i).capacity);
            QDir().mkpath(memoryFolder(name, i));
        }
        writeManifest(name, (ini + extra).toUtf8());
    }

    void writeManifest(const QString &name, const QByteArray &text)
    {
        QDir().mkpath(folder(name));
        QSaveFile file(folder(name) + QStringLiteral("/phone.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        QVERIFY(file.commit());
    }

    void removePhone(const QString &name) { QVERIFY(QDir(folder(name)).removeRecursively()); }

    QString memoryFolder(const QString &name, int memory) const
    {
        return folder(name) + QStringLiteral("/M") + QString::number(memory);
    }

private:
    QString m_root;
};

inline QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry of a folder, hidden ones included (where partial copies would hide).
inline QStringList everything(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

inline void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), qint64(data.size()));
}

// All three modules initialised for the life of the object.
class Library
{
public:
    Library()
    {
        using namespace Orvak_API;
        m_ok = KelvLoader::initialize(KelvModule::Devices) == 0 && KelvLoader::initialize(KelvModule::Files) == 0
            && KelvLoader::initialize(KelvModule::Common) == 0;
    }
    ~Library()
    {
        using namespace Orvak_API;
        KelvLoader::terminate(KelvModule::Common);
        KelvLoader::terminate(KelvModule::Files);
        KelvLoader::terminate(KelvModule::Devices);
    }
    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

// What a test of the library through the loader sets up: for each test
// function an empty devices folder and the three modules, and a PC folder
// that is emptied after each. A test class derives from it and calls these
// from its slots of the same names.
struct LibraryFixture
{
    std::unique_ptr<FolderPhones> m_phones;
    std::unique_ptr<Library> m_library;
    QTemporaryDir m_pc;

    void initTestCase()
    {
        useBuiltLibrary();
        QVERIFY(m_pc.isValid());
    }
    void init()
    {
        m_phones = std::make_unique<FolderPhones>();
        m_library = std::make_unique<Library>();
        QVERIFY(m_library->ok());
    }
    void cleanup()
    {
        m_library.reset();
        m_phones.reset();
        for (const QString &entry : everything(m_pc.path()))
            QFile::remove(m_pc.filePath(entry));
    }
    // Writes a PC file; its folder.
    QString pcFile(const QString &name, const QByteArray &data)
    {
        writeFile(m_pc.filePath(name), data);
        return m_pc.path();
    }
};

inline void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// The markers of the connectivity service going away and coming back.
inline QString awayMarker()
{
    return Orvak_API::KelvLoader::serviceEventFolder() + QStringLiteral("/" KELV_SERVICE_AWAY_EVENT);
}

inline QString backMarker()
{
    return Orvak_API::KelvLoader::serviceEventFolder() + QStringLiteral("/" KELV_SERVICE_BACK_EVENT);
}

constexpr uint32_t AllListed = 0x80300000u;

struct Listing
{
    QStringList folders;
    QStringList files;
    QList<uint32_t> sizes;
    uint32_t folderEnd = 0;
    uint32_t fileEnd = 0;
};

// One folder as the library lists it; 0 or FindBegin's code.
inline uint32_t list(KELVHANDLE fs, const QString &folder, Listing &out)
{
    using namespace Orvak_API;
    KELVHANDLE find = nullptr;
    const KELV_RESULT r = Kelv::FindBegin(fs, 0, &find, w(folder).c_str());
    if (r < 0)
        return uint32_t(r);
    KELV_FOLDER_INFO dir{};
    KELV_RESULT n;
    while ((n = Kelv::FindNextFolder(find, &dir)) == 0) {
        out.folders << QString::fromWCharArray(dir.pstrName);
        Kelv::FreeFolderInfoStructure(&dir);
    }
    out.folderEnd = uint32_t(n);
    KELV_FILE_INFO file{};
    while ((n = Kelv::FindNextFile(find, &file)) == 0) {
        out.files << QString::fromWCharArray(file.pstrName);
        out.sizes << file.dwFileSize;
        Kelv::FreeFileInfoStructure(&file);
    }
    out.fileEnd = uint32_t(n);
    Kelv::FindEnd(find);
    return 0;
}

inline KELVHANDLE openFs(const QString &serial)
{
    KELVHANDLE fs = nullptr;
    uint32_t media = KELV_MEDIA_ANY, id = 0;
    const KELV_RESULT r = Orvak_API::Kelv::OpenFS(w(serial).c_str(), &media, &fs, &id);
    return r == 0 ? fs : nullptr;
}

// Records copy progress and can act on it from the copying thread.
class ProgressSink final : public IKelvFilesNotify
{
public:
    QList<uint32_t> values;
    QList<Qt::HANDLE> threads;
    std::function<void(uint32_t)> onProgress;

    int32_t OnStateChanged(uint32_t state, uint32_t value, uint32_t, uint32_t) override
    {
        if (state == KELV_STATE_COPY_PROGRESS) {
            values << value;
            threads << QThread::currentThreadId();
            if (onProgress)
                onProgress(value);
        }
        return 0;
    }
    int32_t OnError(uint32_t) override { return 0; }
    int32_t OnOperation(uint32_t, uint32_t, uint32_t, uint32_t) override { return 0; }
};

// A counting semaphore of the standard library's parts, whose waits thread
// checkers can follow (Qt's own are not instrumented).
class Semaphore
{
public:
    void release()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_count;
        m_changed.notify_all();
    }
    void acquire() { tryAcquire(-1); }
    // Waits at most milliseconds (for ever when negative).
    bool tryAcquire(int milliseconds)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const auto available = [this] { return m_count > 0; };
        if (milliseconds < 0)
            m_changed.wait(lock, available);
        else if (!m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), available))
            return false;
        --m_count;
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

// A copy through the library on a thread of its own that stops in its first
// progress report past zero (data has been written) until it is let go, so
// that a test acts while the copy is certainly running.
class HeldCopy
{
public:
    HeldCopy(KELVHANDLE fs, uint32_t options, const QString &name, const QString &from, const QString &to)
        : m_fs(fs)
    {
        using namespace Orvak_API;
        m_sink.onProgress = [this](uint32_t value) {
            if (value > 0 && value < 100 && !m_held.exchange(true)) {
                m_running.release();
                m_letGo.acquire();
            }
        };
        m_registered = Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &m_sink) == 0;
        m_thread = std::thread([=] {
            m_result = Kelv::CopyFile(fs, options, w(name).c_str(), w(from).c_str(), w(to).c_str());
            m_ended = true;
            m_running.release();
        });
    }
    ~HeldCopy() { finish(); }

    // True once the copy holds mid-way; false when it ended before.
    bool waitUntilRunning()
    {
        m_running.acquire();
        return !m_ended.load();
    }
    // Lets the copy go on and gives its result.
    KELV_RESULT finish()
    {
        if (!m_thread.joinable())
            return m_result;
        // Either the copy holds (or is about to) and is let go, or it will
        // not hold any more.
        if (m_held.exchange(true))
            m_letGo.release();
        m_thread.join();
        if (m_registered)
            Orvak_API::Kelv::RegisterFSNotifyIF(m_fs, KELV_NOTIFY_UNREGISTER, &m_sink);
        return m_result;
    }

private:
    KELVHANDLE m_fs;
    ProgressSink m_sink;
    Semaphore m_running, m_letGo;
    std::atomic<bool> m_held{false}, m_ended{false};
    bool m_registered = false;
    KELV_RESULT m_result = 0;
    std::thread m_thread;
};

// Stands for a copy some living process is writing: a file named as the
// library names its temporaries, held with the lock a writer holds.
class LivePart
{
public:
    explicit LivePart(const QString &path, qsizetype size = 0) : m_path(path)
    {
        writeFile(path, QByteArray(size, 'l'));
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~LivePart()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        QFile::remove(m_path);
    }
    bool held() const { return m_fd >= 0; }

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace TestSupport
