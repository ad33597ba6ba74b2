// Removable volumes as phones: a memory card or a phone mounted as a disk.

#include "kelvra_p.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace kelvra {

namespace {

QString userName()
{
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

bool hasCameraFolder(const QString &folder)
{
    return QFileInfo(folder + QStringLiteral("/DCIM")).isDir();
}

// A serial number for a volume without a manifest, from its mount point's
// name (udisks names it after the volume's label or UUID, so it stays the
// same each time the card is put in).
QString volumeSerial(const QString &name)
{
    QString serial = QStringLiteral("vol-") + name;
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9._-]"));
    serial.replace(other, QStringLiteral("_"));
    return serial.left(64);
}

Phone cardPhone(const QString &folder, const QString &name)
{
    Phone phone;
    phone.kind = PhoneKind::Volume;
    phone.folder = folder;
    phone.serialNumber = volumeSerial(name);
    phone.friendlyName = name.left(128);
    phone.manufacturer = QStringLiteral("Generic");
    phone.model = QStringLiteral("Removable volume");
    phone.media = {KELV_MEDIA_USB};
    Memory memory;
    memory.type = QStringLiteral("Memory card");
    memory.path = folder;
    memory.wholeDisk = true;
    struct statvfs st;
    if (statvfs(QFile::encodeName(folder).constData(), &st) == 0)
        memory.capacity = qint64(st.f_blocks) * qint64(st.f_frsize);
    phone.memories = {memory};
    phone.manifest = "volume\n" + QFile::encodeName(folder);
    applyVideoDefaults(phone);
    return phone;
}

} // namespace

QStringList mountRoots()
{
    if (qEnvironmentVariableIsSet("KELVRA_MOUNT_ROOT")) {
        QStringList roots;
        const QStringList parts = qEnvironmentVariable("KELVRA_MOUNT_ROOT").split(QLatin1Char(':'), Qt::SkipEmptyParts);
        for (const QString &part : parts)
            roots.append(QDir::cleanPath(part));
        return roots;
    }
    const QString user = userName();
    if (user.isEmpty())
        return {};
    return {QStringLiteral("/media/") + user, QStringLiteral("/run/media/") + user};
}

QList<Phone> scanVolumes()
{
    QList<Phone> phones;
    const QStringList roots = mountRoots();
    for (const QString &root : roots) {
        const QDir dir(root);
        const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &name : names) {
            const QString folder = QFileInfo(dir.absoluteFilePath(name)).canonicalFilePath();
            if (folder.isEmpty())
                continue;
            if (QFileInfo::exists(folder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME))) {
                Phone phone;
                QString error;
                if (!readManifest(folder, phone, error)) {
                    reportOnce(QStringLiteral("ignoring volume %1: %2").arg(folder, error));
                    continue;
                }
                phone.kind = PhoneKind::Volume;
                phones.append(phone);
            } else if (hasCameraFolder(folder)) {
                phones.append(cardPhone(folder, name));
            }
        }
    }
    return phones;
}

bool volumePresent(const Phone &phone)
{
    // Unmounting leaves an empty folder (or none) behind.
    return QFileInfo::exists(phone.folder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME))
        || hasCameraFolder(phone.folder);
}

} // namespace kelvra
