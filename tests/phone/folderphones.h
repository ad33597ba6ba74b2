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
#include <QTest>

#include <string>

namespace TestSupport {

inline std::wstring w(const QString &text)
{
    return text.toStdWString();
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

} // namespace TestSupport
