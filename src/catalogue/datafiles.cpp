// The catalogue's data files: the folder they live in, the phone profiles of
// AppSettings.xml, and the log.

#include "catalogue.h"

#include "datafilelock.h"
#include "xmlfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QString inDataFolder(const QString &name)
{
    return Catalogue::dataFolder() + name;
}

void fillPhoneElement(QDomDocument &document, QDomElement &phone, const PhoneProfile &profile)
{
    // Names come from the phone and may hold anything.
    XmlFile::setAttribute(phone, QStringLiteral("ID"), profile.id);
    phone.setAttribute(QStringLiteral("MS"), profile.memoryIndex);
    XmlFile::setAttribute(phone, QStringLiteral("Name"), profile.name);
    XmlFile::setAttribute(phone, QStringLiteral("PMName"), profile.memoryTypes.value(0));
    phone.setAttribute(QStringLiteral("Quality"), profile.quality);
    while (!phone.firstChild().isNull())
        phone.removeChild(phone.firstChild());
    for (int i = 1; i < profile.memoryTypes.size(); ++i) {
        QDomElement memory = document.createElement(QStringLiteral("memory"));
        XmlFile::setText(memory, profile.memoryTypes.at(i));
        phone.appendChild(memory);
    }
}

// Creates or updates the profile's Phone element; false when the file
// cannot be written.
bool storeProfile(const PhoneProfile &profile)
{
    DataFileLock lock(Catalogue::appSettingsPath());
    if (!lock.isLocked()) {
        qWarning("%s", qPrintable(lock.errorText()));
        return false;
    }
    QDomDocument document;
    XmlFile::read(Catalogue::appSettingsPath(), document);
    QDomElement root = document.documentElement();
    if (root.isNull()) {
        root = document.createElement(QStringLiteral("AppSettings"));
        document.appendChild(root);
    }
    QDomElement profiles = root.firstChildElement(QStringLiteral("Profiles"));
    if (profiles.isNull()) {
        profiles = document.createElement(QStringLiteral("Profiles"));
        root.appendChild(profiles);
    }
    QDomElement phone;
    for (QDomElement e = profiles.firstChildElement(QStringLiteral("Phone")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("Phone"))) {
        if (XmlFile::attribute(e, QStringLiteral("ID")) == profile.id) {
            phone = e;
            break;
        }
    }
    if (phone.isNull()) {
        phone = document.createElement(QStringLiteral("Phone"));
        profiles.appendChild(phone);
    }
    fillPhoneElement(document, phone, profile);
    QString why;
    if (XmlFile::write(Catalogue::appSettingsPath(), document, &why))
        return true;
    qWarning("%s cannot be written: %s", qPrintable(Catalogue::appSettingsPath()), qPrintable(why));
    return false;
}

} // namespace

QString Catalogue::dataFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Orvak/Orvak Tamsel/");
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    return folder;
}

QString Catalogue::appSettingsPath()
{
    return inDataFolder(QStringLiteral("AppSettings.xml"));
}

QString Catalogue::myCollectionCachePath()
{
    return inDataFolder(QStringLiteral("MyCollectionCache.xml"));
}

QString Catalogue::logPath()
{
    return inDataFolder(QStringLiteral("Tamsel.log"));
}

bool Catalogue::writeLog(const QString &message)
{
    QFile log(logPath());
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    QTextStream out(&log);
    out << QDateTime::currentDateTime().toString(QStringLiteral("[dd/MM/yyyy HH:mm:ss] ")) << message << '\n';
    return true;
}

bool Catalogue::loadAppSettings(bool withScanResults)
{
    myCollection.clear();
    if (withScanResults) {
        scanResults.clear();
        savedScanResults.clear();
    }
    profiles.clear();

    // Every write replaces the file whole, so reading needs no lock.
    QDomDocument document;
    if (XmlFile::read(appSettingsPath(), document) != XmlFile::ReadResult::Read)
        return false;
    const QDomElement root = document.documentElement();
    const QDomElement section = root.firstChildElement(QStringLiteral("Profiles"));
    for (QDomElement phone = section.firstChildElement(QStringLiteral("Phone")); !phone.isNull();
         phone = phone.nextSiblingElement(QStringLiteral("Phone"))) {
        PhoneProfile profile;
        profile.name = XmlFile::attribute(phone, QStringLiteral("Name"));
        profile.id = XmlFile::attribute(phone, QStringLiteral("ID"));
        profile.memoryIndex = phone.attribute(QStringLiteral("MS")).toInt();
        profile.quality = phone.attribute(QStringLiteral("Quality")).toInt();
        profile.memoryTypes << XmlFile::attribute(phone, QStringLiteral("PMName"));
        for (QDomElement memory = phone.firstChildElement(QStringLiteral("memory")); !memory.isNull();
             memory = memory.nextSiblingElement(QStringLiteral("memory")))
            profile.memoryTypes << XmlFile::text(memory);
        profiles.append(profile);
    }
    if (withScanResults) {
        loadFileList(scanResults, root.firstChildElement(QStringLiteral("ScanResults")), false);
        savedScanResults = scanResults;
    }
    return true;
}

int Catalogue::findProfile(const QString &id) const
{
    for (int i = 0; i < profiles.size(); ++i) {
        if (profiles.at(i).id == id)
            return i;
    }
    return -1;
}

bool Catalogue::writeProfile(const QString &serial, int memory, int profileQuality)
{
    if (serial.isEmpty())
        return false;
    PhoneProfile profile;
    profile.id = serial;
    profile.name = currentPhoneName;
    profile.memoryIndex = memory;
    profile.quality = profileQuality;
    profile.memoryTypes = memoryTypes;
    return storeProfile(profile);
}

bool Catalogue::saveProfile(const QString &id)
{
    const int index = findProfile(id);
    if (index < 0)
        return false;
    return storeProfile(profiles.at(index));
}
