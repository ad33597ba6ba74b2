#pragma once

#include <QDomDocument>
#include <QString>

namespace Orvak_API {

class Phone_VideoCapabilities;

// Reads what the connectivity service knows about a phone model from the
// two configuration files it keeps per attached phone in the common
// application-data folder: the phone file ("ConfSTmp<serial>.xml": maker,
// model, where the phone keeps its picture) and the model file (video limits,
// the picture's file name). Missing or broken files leave the defaults; only
// a parse warning is logged. Any thread.
class API_ConfServer
{
public:
    // Loads the phone file of the phone with this serial number.
    explicit API_ConfServer(const QString &name);

    bool isLoaded() const { return !m_document.isNull(); }
    QString name() const { return m_name; }

    // The phone folder that holds the phone's picture ("\\C:\Data\Images"),
    // or empty.
    QString phonePictureFolder() const;

    // Fills caps from the model file: the bit rate and the picture's file
    // name whenever given, the picture size when given as "width,height".
    // False when the files or the size cannot be used.
    bool readVideoCapabilities(Phone_VideoCapabilities &caps) const;

    // The folder both files live in, with a trailing "/".
    static QString folder();

private:
    QDomDocument m_document;
    QString m_name;
};

// The conversion quality for a phone seen for the first time (0 Low,
// 1 Medium, 2 High) from its maximum bit rate: below 192 kbit/s Low, below
// 384 Medium, else High; Medium when nothing is known.
int newPhoneQuality(const QString &serialNumber);

} // namespace Orvak_API
