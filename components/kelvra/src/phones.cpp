#include "kelvra_p.h"
#include "kelvrapaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QXmlStreamWriter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kelvra {

QString fromWide(const wchar_t *text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

wchar_t *dupWide(const QString &text)
{
    auto *copy = static_cast<wchar_t *>(std::malloc((size_t(text.size()) + 1) * sizeof(wchar_t)));
    if (!copy)
        return nullptr;
    const int n = text.toWCharArray(copy);
    copy[n] = L'\0';
    return copy;
}

uint32_t Phone::bestMedia() const
{
    uint32_t best = 0;
    for (uint32_t m : media)
        best = std::max(best, m);
    return best;
}

namespace {

using Sections = QHash<QString, QHash<QString, QString>>;

// A small INI reader: "[Section]", "Key=Value", whole-line comments starting
// with ';' or '#', and a ';' after white space ending a value. Backslashes
// are kept as they are, because phone paths are full of them.
Sections parseIni(const QByteArray &bytes)
{
    Sections sections;
    QString section;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int end = line.indexOf(QLatin1Char(']'));
            section = end > 0 ? line.mid(1, end - 1).trimmed() : QString();
            sections[section];
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        QString value = line.mid(eq + 1);
        static const QRegularExpression comment(QStringLiteral("\\s;"));
        const int c = value.indexOf(comment);
        if (c >= 0)
            value.truncate(c);
        sections[section][line.left(eq).trimmed()] = value.trimmed();
    }
    return sections;
}

bool plainText(const QString &text, int maxLength, const QString &forbidden)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return false;
    }
    return true;
}

constexpr qint64 s_manifestLimit = 64 * 1024;

// The manifest's bytes. Only a regular file is read, and never more than
// the limit: a device or a FIFO in its place (or a symlink to one) would
// block or never end. Opening does not wait for a FIFO's writer.
bool readManifestBytes(const QString &path, QByteArray &out, QString &error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        error = QStringLiteral("cannot read the manifest: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = QStringLiteral("the manifest is not a regular file");
        return false;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = QStringLiteral("cannot read the manifest: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QByteArray bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!ok)
        error = QStringLiteral("the manifest is not a regular file");
    char buffer[16 * 1024];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = QStringLiteral("cannot read the manifest: ") + QString::fromLocal8Bit(std::strerror(errno));
            ok = false;
        } else if (n == 0) {
            break;
        } else if (bytes.size() + n > s_manifestLimit) {
            error = QStringLiteral("the manifest is larger than 64 KiB");
            ok = false;
        } else {
            bytes.append(buffer, n);
        }
    }
    ::close(fd);
    if (ok)
        out = bytes;
    return ok;
}

// The folder of a memory, as a path without symlinks, or empty when Path
// leads out of the phone's folder: with "..", as an absolute path elsewhere,
// or through a symlink. The phone's folder itself is no memory either (its
// manifest would be a file on the phone). A folder that does not exist yet
// (a card not in the phone) is placed under its nearest existing parent.
QString memoryFolder(const QString &phoneFolder, const QString &path)
{
    const QString phoneReal = QFileInfo(phoneFolder).canonicalFilePath();
    const QString phoneClean = QDir::cleanPath(QDir(phoneFolder).absolutePath());
    const QString lexical = QDir::cleanPath(QDir(phoneFolder).absoluteFilePath(path));
    if (phoneReal.isEmpty() || !lexical.startsWith(phoneClean + QLatin1Char('/')))
        return QString();
    QString existing = lexical;
    QString missing;
    while (!QFileInfo::exists(existing) && existing.size() > phoneClean.size()) {
        const int cut = existing.lastIndexOf(QLatin1Char('/'));
        missing.prepend(existing.mid(cut));
        existing.truncate(cut);
    }
    const QString real = QFileInfo(existing).canonicalFilePath() + missing;
    if (!real.startsWith(phoneReal + QLatin1Char('/')))
        return QString();
    return real;
}

} // namespace

bool readManifest(const QString &phoneFolder, Phone &phone, QString &error)
{
    QByteArray bytes;
    if (!readManifestBytes(phoneFolder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME), bytes, error))
        return false;
    phone = Phone();
    phone.folder = phoneFolder;
    phone.manifest = bytes;
    const Sections ini = parseIni(phone.manifest);
    const auto general = ini.value(QStringLiteral("Phone"));

    phone.serialNumber = general.value(QStringLiteral("SerialNumber"));
    static const QRegularExpression serialRule(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9._-]{0,63}$"));
    if (!serialRule.match(phone.serialNumber).hasMatch()) {
        error = QStringLiteral("[Phone] SerialNumber must be 1 to 64 letters, digits, '.', '_' or '-'");
        return false;
    }
    phone.friendlyName = general.value(QStringLiteral("FriendlyName"));
    if (!plainText(phone.friendlyName, 128, QString())) {
        error = QStringLiteral("[Phone] FriendlyName must be 1 to 128 printable characters");
        return false;
    }
    // Both become part of a configuration file name.
    const QString forbiddenInNames = QStringLiteral("/\\;:*?\"<>|");
    phone.manufacturer = general.value(QStringLiteral("Manufacturer"), QStringLiteral("Orvak"));
    phone.model = general.value(QStringLiteral("Model"), QStringLiteral("Unknown"));
    if (!plainText(phone.manufacturer, 64, forbiddenInNames) || !plainText(phone.model, 64, forbiddenInNames)
        || phone.manufacturer.startsWith(QLatin1Char('.')) || phone.model.startsWith(QLatin1Char('.'))) {
        error = QStringLiteral("[Phone] Manufacturer and Model must be 1 to 64 characters without / \\ ; : * ? \" < > |");
        return false;
    }
    const QStringList media = general.value(QStringLiteral("Media"), QStringLiteral("16")).split(QLatin1Char(','));
    for (const QString &m : media) {
        bool ok = false;
        const uint value = m.trimmed().toUInt(&ok);
        if (!ok || value == 0) {
            error = QStringLiteral("[Phone] Media must be a comma list of positive numbers");
            return false;
        }
        phone.media.append(value);
    }

    QSet<QString> types;
    for (int i = 0; i < KELV_MAX_MEMORIES; ++i) {
        const QString name = QStringLiteral("Memory") + QString::number(i);
        if (!ini.contains(name))
            break;
        const auto section = ini.value(name);
        Memory memory;
        memory.type = section.value(QStringLiteral("Type"));
        if (!plainText(memory.type, 64, QStringLiteral(",")) || memory.type == QLatin1String("N/A")
            || types.contains(memory.type)) {
            error = QStringLiteral("[%1] Type must be a unique name without commas").arg(name);
            return false;
        }
        types.insert(memory.type);
        const QString path = section.value(QStringLiteral("Path"));
        if (path.isEmpty()) {
            error = QStringLiteral("[%1] Path is missing").arg(name);
            return false;
        }
        memory.path = memoryFolder(phoneFolder, path);
        if (memory.path.isEmpty()) {
            error = QStringLiteral("[%1] Path must name a folder inside the phone's folder").arg(name);
            return false;
        }
        bool ok = false;
        memory.capacity = section.value(QStringLiteral("Capacity")).toLongLong(&ok);
        if (!ok || memory.capacity <= 0) {
            error = QStringLiteral("[%1] Capacity must be a positive number of bytes").arg(name);
            return false;
        }
        phone.memories.append(memory);
    }
    if (phone.memories.isEmpty()) {
        error = QStringLiteral("the manifest has no [Memory0] section");
        return false;
    }
    const auto video = ini.value(QStringLiteral("Video"));
    phone.maxBitrate = video.value(QStringLiteral("MaxBitrate"));
    phone.wallpaperSize = video.value(QStringLiteral("ImgWallpaperSize"));
    phone.picture = video.value(QStringLiteral("Picture"));
    return true;
}

namespace {
std::mutex s_reportMutex;
QSet<QString> s_reported;
} // namespace

void reportOnce(const QString &line)
{
    std::lock_guard<std::mutex> lock(s_reportMutex);
    if (s_reported.contains(line))
        return;
    s_reported.insert(line);
    std::fprintf(stderr, "kelvra: %s\n", line.toLocal8Bit().constData());
}

namespace {

void reportIgnored(const QString &folder, const QString &error)
{
    reportOnce(QStringLiteral("ignoring phone ") + folder + QStringLiteral(": ") + error);
}

} // namespace

QList<Phone> scanPhones()
{
    QList<Phone> phones;
    QSet<QString> serials;
    const QDir devices(KelvraPaths::devicesFolder());
    const QStringList folders = devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : folders) {
        const QString folder = devices.absoluteFilePath(name);
        if (!QFileInfo::exists(folder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME)))
            continue;
        Phone phone;
        QString error;
        if (!readManifest(folder, phone, error)) {
            reportIgnored(folder, error);
            continue;
        }
        if (serials.contains(phone.serialNumber)) {
            reportIgnored(folder, QStringLiteral("serial number %1 is already used by another phone").arg(phone.serialNumber));
            continue;
        }
        serials.insert(phone.serialNumber);
        phones.append(phone);
    }
    return phones;
}

namespace {

std::atomic<bool> s_folderPhonesShown{true};

} // namespace

void setFolderPhonesShown(bool shown)
{
    s_folderPhonesShown.store(shown);
}

QList<Phone> scanDevices()
{
    QList<Phone> phones = s_folderPhonesShown.load() ? scanPhones() : QList<Phone>();
    QSet<QString> serials;
    for (const Phone &p : std::as_const(phones))
        serials.insert(p.serialNumber);
    const QList<Phone> more = scanVolumes() + mtpPhones();
    for (const Phone &p : more) {
        if (serials.contains(p.serialNumber)) {
            reportOnce(QStringLiteral("ignoring %1: serial number %2 is already used by another phone")
                           .arg(p.friendlyName, p.serialNumber));
            continue;
        }
        serials.insert(p.serialNumber);
        phones.append(p);
    }
    return phones;
}

namespace {

// Suited to current phones: full HD pictures at a rate that the High
// quality preset fits under, so the program offers High for them.
const QLatin1String s_defaultMaxBitrate("4000");
const QLatin1String s_defaultWallpaperSize("1920,1080");

} // namespace

void applyVideoDefaults(Phone &phone)
{
    phone.maxBitrate = s_defaultMaxBitrate;
    phone.wallpaperSize = s_defaultWallpaperSize;
    phone.picture.clear(); // the program shows its own phone picture
    const QString overrides = KelvraPaths::dataFolder() + QStringLiteral("/phones/") + phone.serialNumber
        + QStringLiteral(".ini");
    QByteArray bytes;
    QString error;
    if (QFileInfo::exists(overrides)) {
        if (!readManifestBytes(overrides, bytes, error)) {
            reportOnce(QStringLiteral("ignoring %1: %2").arg(overrides, error));
        } else {
            const auto video = parseIni(bytes).value(QStringLiteral("Video"));
            static const QRegularExpression number(QStringLiteral("^[0-9]{1,6}$"));
            static const QRegularExpression size(QStringLiteral("^[0-9]{1,5},[0-9]{1,5}$"));
            const QString rate = video.value(QStringLiteral("MaxBitrate"));
            const QString picture = video.value(QStringLiteral("ImgWallpaperSize"));
            if (number.match(rate).hasMatch())
                phone.maxBitrate = rate;
            else if (!rate.isEmpty())
                reportOnce(QStringLiteral("ignoring MaxBitrate in %1: not a number of kbps").arg(overrides));
            if (size.match(picture).hasMatch())
                phone.wallpaperSize = picture;
            else if (!picture.isEmpty())
                reportOnce(QStringLiteral("ignoring ImgWallpaperSize in %1: not \"width,height\"").arg(overrides));
        }
    }
    phone.manifest += "\n[Video]\n" + phone.maxBitrate.toUtf8() + '\n' + phone.wallpaperSize.toUtf8() + '\n';
}

bool findPhone(const QString &serialNumber, Phone &phone)
{
    const QList<Phone> phones = scanDevices();
    for (const Phone &p : phones) {
        if (p.serialNumber == serialNumber) {
            phone = p;
            return true;
        }
    }
    return false;
}

namespace {

std::mutex s_configMutex;
QHash<QString, QByteArray> s_written; // serial number -> manifest hash

// The text with every character XML cannot carry (most control characters,
// U+FFFE, U+FFFF, a lone surrogate) replaced by U+FFFD. The writer would
// otherwise fail on such a name and leave the phone without its files.
QString xmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out += text.at(i);
            out += text.at(++i);
        } else if ((c < 0x20 && c != 0x9 && c != 0xA && c != 0xD) || c == 0xFFFE || c == 0xFFFF
                   || QChar::isSurrogate(c)) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += text.at(i);
        }
    }
    return out;
}

// Writes one configuration file; why it failed, or empty.
QString writeXml(const QString &path, const std::function<void(QXmlStreamWriter &)> &body)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ConfServer"));
    body(xml);
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError())
        return QStringLiteral("the text cannot be written as XML");
    return file.commit() ? QString() : file.errorString();
}

QString pictureFileName(const QString &picture)
{
    return picture.mid(picture.lastIndexOf(QLatin1Char('\\')) + 1);
}

} // namespace

void writeConfigFiles(const QList<Phone> &phones)
{
    std::lock_guard<std::mutex> lock(s_configMutex);
    const QString folder = KelvraPaths::dataFolder() + QStringLiteral("/Pelmora/ConfServer");
    for (const Phone &phone : phones) {
        // Readers build the model file's name from the texts in the phone
        // file, so the name uses the same cleaned texts.
        const QString manufacturer = xmlText(phone.manufacturer);
        const QString model = xmlText(phone.model);
        const QString phoneFile = folder + QStringLiteral("/ConfSTmp") + phone.serialNumber + QStringLiteral(".xml");
        const QString modelFile = folder + QLatin1Char('/') + manufacturer + QStringLiteral(";PelmoraConf;") + model
            + QLatin1Char(';') + phone.serialNumber + QStringLiteral(".xml");
        const QByteArray hash = QCryptographicHash::hash(phone.manifest, QCryptographicHash::Sha1);
        if (s_written.value(phone.serialNumber) == hash && QFileInfo::exists(phoneFile) && QFileInfo::exists(modelFile))
            continue;
        if (!QDir().mkpath(folder)) {
            reportOnce(QStringLiteral("cannot create %1").arg(folder));
            return;
        }
        QString error = writeXml(phoneFile, [&](QXmlStreamWriter &xml) {
            xml.writeStartElement(QStringLiteral("General"));
            xml.writeTextElement(QStringLiteral("Manufacturer"), manufacturer);
            xml.writeTextElement(QStringLiteral("Model"), model);
            xml.writeTextElement(QStringLiteral("SerialNumber"), phone.serialNumber);
            xml.writeTextElement(QStringLiteral("FriendlyName"), xmlText(phone.friendlyName));
            xml.writeEndElement();
            if (!phone.picture.isEmpty()) {
                xml.writeStartElement(QStringLiteral("Service"));
                xml.writeTextElement(QStringLiteral("Name"), QStringLiteral("Pelmora-Settings"));
                xml.writeStartElement(QStringLiteral("Ext"));
                xml.writeTextElement(QStringLiteral("XNam"), QStringLiteral("PelmoraConf"));
                xml.writeTextElement(QStringLiteral("XVal"), QStringLiteral("File=") + xmlText(phone.picture));
                xml.writeEndElement();
                xml.writeEndElement();
            }
        });
        if (error.isEmpty()) {
            error = writeXml(modelFile, [&](QXmlStreamWriter &xml) {
                xml.writeStartElement(QStringLiteral("Phone"));
                const auto property = [&xml](const QString &name, const QString &value) {
                    if (value.isEmpty())
                        return;
                    xml.writeEmptyElement(QStringLiteral("Property"));
                    xml.writeAttribute(QStringLiteral("Name"), name);
                    xml.writeAttribute(QStringLiteral("Value"), xmlText(value));
                };
                property(QStringLiteral("MaxBitrate"), phone.maxBitrate);
                property(QStringLiteral("ImgWallpaperSize"), phone.wallpaperSize);
                property(QStringLiteral("DEV"), pictureFileName(phone.picture));
                xml.writeEndElement();
            });
        }
        if (error.isEmpty())
            s_written.insert(phone.serialNumber, hash);
        else
            reportOnce(QStringLiteral("cannot write the configuration files of %1 in %2: %3")
                           .arg(phone.serialNumber, folder, error));
    }
}

} // namespace kelvra
