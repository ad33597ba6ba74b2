#include "confserver.h"
#include "kelvra.h"
#include "phonelog.h"
#include "videocapabilities.h"

#include <QFile>

namespace Orvak_API {

namespace {

// The parts of a file name taken from the files themselves; they must not
// lead out of the folder.
bool safeNamePart(const QString &part)
{
    return !part.contains(QLatin1Char('/')) && !part.contains(QChar(0)) && part != QLatin1String("..");
}

bool loadDocument(const QString &path, QDomDocument &document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString message;
    int line = -1;
    int column = -1;
    QDomDocument parsed;
    if (!bool(parsed.setContent(&file, true, &message, &line, &column))) {
        if (line >= 0 || column >= 0 || !message.isEmpty()) {
            qCWarning(lcPhone, "Reading ConfServer settings. Parse error at line %d, column %d:\n%s", line, column,
                      qPrintable(message));
            return false;
        }
        // Nothing to say about the failure: an empty document.
        document = QDomImplementation().createDocument(QString(), QString(), QDomDocumentType());
        return true;
    }
    document = parsed;
    return true;
}

QString firstChildText(const QDomElement &parent, const QString &tag)
{
    return parent.firstChildElement(tag).text();
}

} // namespace

QString API_ConfServer::folder()
{
    return KelvLoader::commonAppDataFolder() + QStringLiteral("/Pelmora/ConfServer/");
}

API_ConfServer::API_ConfServer(const QString &name) : m_name(name)
{
    if (name.isEmpty() || !safeNamePart(name))
        return;
    QDomDocument document;
    if (loadDocument(folder() + QStringLiteral("ConfSTmp") + name + QStringLiteral(".xml"), document))
        m_document = document;
}

QString API_ConfServer::phonePictureFolder() const
{
    QString value;
    const QDomElement root = m_document.documentElement();
    for (QDomElement service = root.firstChildElement(QStringLiteral("Service")); !service.isNull() && value.isEmpty();
         service = service.nextSiblingElement(QStringLiteral("Service"))) {
        if (firstChildText(service, QStringLiteral("Name")) != QLatin1String("Pelmora-Settings"))
            continue;
        for (QDomElement ext = service.firstChildElement(QStringLiteral("Ext")); !ext.isNull() && value.isEmpty();
             ext = ext.nextSiblingElement(QStringLiteral("Ext"))) {
            if (firstChildText(ext, QStringLiteral("XNam")) != QLatin1String("PelmoraConf"))
                continue;
            for (QDomElement val = ext.firstChildElement(QStringLiteral("XVal")); !val.isNull();
                 val = val.nextSiblingElement(QStringLiteral("XVal"))) {
                const QString text = val.text();
                if (text.startsWith(QLatin1String("File=")) && text.size() > 5) {
                    value = text.mid(5);
                    break;
                }
            }
        }
    }
    if (value.isEmpty())
        return QString();
    // A value that names the picture itself gives its folder.
    const int slash = value.lastIndexOf(QLatin1Char('\\'));
    if (slash >= 0 && value.lastIndexOf(QLatin1Char('.')) > slash)
        value.truncate(slash);
    if (!value.startsWith(QLatin1String("\\\\")))
        value.prepend(QLatin1String("\\\\"));
    return value;
}

bool API_ConfServer::readVideoCapabilities(Phone_VideoCapabilities &caps) const
{
    const QDomElement root = m_document.documentElement();
    const QDomElement general = root.firstChildElement(QStringLiteral("General"));
    const QDomElement maker = general.firstChildElement(QStringLiteral("Manufacturer"));
    const QDomElement model = general.firstChildElement(QStringLiteral("Model"));
    if (root.isNull() || general.isNull() || maker.isNull() || model.isNull())
        return false;
    if (!safeNamePart(maker.text()) || !safeNamePart(model.text()) || !safeNamePart(m_name))
        return false;
    QDomDocument modelFile;
    if (!loadDocument(folder() + maker.text() + QStringLiteral(";PelmoraConf;") + model.text() + QLatin1Char(';')
                          + m_name + QStringLiteral(".xml"),
                      modelFile))
        return false;

    QString bitrate, size, picture;
    bool hasBitrate = false, hasSize = false;
    const QDomElement phone = modelFile.documentElement().firstChildElement(QStringLiteral("Phone"));
    for (QDomElement property = phone.firstChildElement(QStringLiteral("Property")); !property.isNull();
         property = property.nextSiblingElement(QStringLiteral("Property"))) {
        const QString name = property.attribute(QStringLiteral("Name"));
        const QString value = property.attribute(QStringLiteral("Value"));
        if (name == QLatin1String("MaxBitrate")) {
            bitrate = value;
            hasBitrate = true;
        } else if (name == QLatin1String("ImgWallpaperSize")) {
            size = value;
            hasSize = true;
        } else if (name == QLatin1String("DEV")) {
            picture = value;
        }
    }

    if (hasBitrate) {
        // A bit rate that is no positive number would make every conversion
        // for this phone fail; the default is kept instead.
        bool ok = false;
        const int kbps = bitrate.trimmed().toInt(&ok);
        if (ok && kbps > 0)
            caps.maxBitrate = kbps;
        else
            qCWarning(lcPhone, "ignoring the maximum bit rate \"%s\" of phone %s", qPrintable(bitrate), qPrintable(m_name));
    }
    caps.imageFile = picture;
    if (!hasSize)
        return false;
    const QStringList parts = size.split(QLatin1Char(','), Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return false;
    bool okWidth = false, okHeight = false;
    const int width = parts.at(0).trimmed().toInt(&okWidth);
    const int height = parts.at(1).trimmed().toInt(&okHeight);
    // Nor is a picture without an area a limit to convert to.
    if (!okWidth || !okHeight || width <= 0 || height <= 0)
        return false;
    caps.width = width;
    caps.height = height;
    return true;
}

int newPhoneQuality(const QString &serialNumber)
{
    const API_ConfServer conf(serialNumber);
    if (!conf.isLoaded())
        return Phone_VideoCapabilities::Medium;
    Phone_VideoCapabilities caps;
    conf.readVideoCapabilities(caps);
    if (caps.maxBitrate < 192)
        return Phone_VideoCapabilities::Low;
    if (caps.maxBitrate < 384)
        return Phone_VideoCapabilities::Medium;
    return Phone_VideoCapabilities::High;
}

} // namespace Orvak_API
