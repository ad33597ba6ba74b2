#include "confserver.h"
#include "folderphones.h"
#include "icodecoder.h"
#include "phoneicon.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "videocapabilities.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QImage>
#include <QTest>
#include <QtEndian>

#include <limits>

using namespace Orvak_API;
using namespace TestSupport;

namespace {

void put16(QByteArray &b, quint16 v)
{
    char d[2];
    qToLittleEndian(v, d);
    b.append(d, 2);
}

void put32(QByteArray &b, quint32 v)
{
    char d[4];
    qToLittleEndian(v, d);
    b.append(d, 4);
}

// A picture whose top row is red and the rest blue, so a flip shows.
QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 255, 200));
    for (int x = 0; x < width; ++x)
        image.setPixel(x, 0, qRgba(255, 0, 0, 255));
    return image;
}

QByteArray png(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

constexpr qint32 Natural = std::numeric_limits<qint32>::min(); // the picture's own dimension

// A bitmap entry as icon files keep them: header, rows bottom first, mask.
QByteArray bitmap(const QImage &image, quint16 bits = 32, quint32 compression = 0, quint32 colours = 0,
                  qint32 width = Natural, qint32 doubleHeight = Natural, quint32 headerSize = 40)
{
    QByteArray b;
    put32(b, headerSize);
    put32(b, quint32(width == Natural ? image.width() : width));
    put32(b, quint32(doubleHeight == Natural ? image.height() * 2 : doubleHeight));
    put16(b, 1);
    put16(b, bits);
    put32(b, compression);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, colours);
    put32(b, 0);
    b.append(QByteArray(qMax(0, int(headerSize) - 40), '\0'));
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            if (bits == 32) {
                put32(b, image.pixel(x, y));
            } else {
                const QRgb p = image.pixel(x, y);
                b.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
            }
        }
        if (bits == 24)
            b.append(QByteArray((4 - image.width() * 3 % 4) % 4, '\0'));
    }
    b.append(QByteArray(((image.width() + 31) / 32) * 4 * image.height(), '\0'));
    return b;
}

struct Entry
{
    QByteArray data;
    qint64 size = -1;   // as written in the directory; -1: the data's size
    qint64 offset = -1; // -1: where the data is placed
};

QByteArray ico(const QList<Entry> &entries, int count = -1, quint16 reserved = 0, quint16 type = 1)
{
    QByteArray out;
    put16(out, reserved);
    put16(out, type);
    put16(out, quint16(count < 0 ? entries.size() : count));
    quint32 at = 6 + 16 * quint32(entries.size());
    QByteArray body;
    for (const Entry &e : entries) {
        out.append(QByteArray(4, '\0'));
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(e.size < 0 ? e.data.size() : e.size));
        put32(out, quint32(e.offset < 0 ? at + quint32(body.size()) : e.offset));
        body += e.data;
    }
    return out + body;
}

// count directory entries that all name the same picture data.
QByteArray sharedEntries(int count, const QByteArray &data)
{
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(count));
    const quint32 at = 6 + 16 * quint32(count);
    for (int i = 0; i < count; ++i) {
        out.append(QByteArray(4, '\0'));
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(data.size()));
        put32(out, at);
    }
    return out + data;
}

qint64 pixelBytes(const QList<QImage> &images)
{
    qint64 total = 0;
    for (const QImage &image : images)
        total += image.sizeInBytes();
    return total;
}

QString sizes(const QList<QImage> &images)
{
    QStringList out;
    for (const QImage &image : images)
        out << QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
    return out.join(QLatin1Char(' '));
}

void writeText(const QString &path, const QString &text)
{
    writeFile(path, text.toUtf8());
}

// The phone file of the connectivity service, with the given "XVal" texts.
void writePhoneFile(const QString &serial, const QString &maker, const QString &model, const QStringList &values,
                    const QString &service = QStringLiteral("Pelmora-Settings"),
                    const QString &ext = QStringLiteral("PelmoraConf"))
{
    QString xvals;
    for (const QString &v : values)
        xvals += QStringLiteral("<XVal>%1</XVal>").arg(v.toHtmlEscaped());
    writeText(API_ConfServer::folder() + QStringLiteral("ConfSTmp") + serial + QStringLiteral(".xml"),
              QStringLiteral("<?xml version=\"1.0\"?>\n<ConfServer><General><Manufacturer>%1</Manufacturer>"
                             "<Model>%2</Model></General>"
                             "<Service><Name>Other</Name><Ext><XNam>PelmoraConf</XNam><XVal>File=\\\\X:\\wrong</XVal></Ext></Service>"
                             "<Service><Name>%3</Name><Ext><XNam>Unrelated</XNam><XVal>File=\\\\X:\\wrong</XVal></Ext>"
                             "<Ext><XNam>%4</XNam>%5</Ext></Service></ConfServer>\n")
                  .arg(maker.toHtmlEscaped(), model.toHtmlEscaped(), service, ext, xvals));
}

void writeModelFile(const QString &serial, const QList<QPair<QString, QString>> &properties,
                    const QString &maker = QStringLiteral("Orvak"), const QString &model = QStringLiteral("One"))
{
    QString body;
    for (const auto &p : properties)
        body += QStringLiteral("<Property Name=\"%1\" Value=\"%2\"/>").arg(p.first, p.second.toHtmlEscaped());
    writeText(API_ConfServer::folder() + maker + QStringLiteral(";PelmoraConf;") + model + QLatin1Char(';') + serial
                  + QStringLiteral(".xml"),
              QStringLiteral("<?xml version=\"1.0\"?>\n<ConfServer><Phone>%1</Phone></ConfServer>\n").arg(body));
}

using Properties = QList<QPair<QString, QString>>;

} // namespace

// What the program learns about a phone model from the service's
// configuration files, and the phone's picture.
class TestPhoneCapabilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QDir(API_ConfServer::folder()).removeRecursively(); }

    void presets()
    {
        Phone_VideoCapabilities caps;
        QCOMPARE(QList<int>({caps.width, caps.height, caps.maxBitrate}), QList<int>({320, 240, 192}));
        caps.imageFile = QStringLiteral("keep.ico");
        caps.setPreset(Phone_VideoCapabilities::Low);
        QCOMPARE(QList<int>({caps.width, caps.height, caps.maxBitrate}), QList<int>({176, 144, 128}));
        caps.setPreset(Phone_VideoCapabilities::High);
        QCOMPARE(QList<int>({caps.width, caps.height, caps.maxBitrate}), QList<int>({320, 240, 384}));
        QCOMPARE(caps.imageFile, QStringLiteral("keep.ico"));
    }

    void wallpaperSize_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addRow("comma") << QStringLiteral("240,320") << true << 240 << 320;
        QTest::addRow("spaces") << QStringLiteral(" 176 , 208 ") << true << 176 << 208;
        QTest::addRow("an x") << QStringLiteral("240x320") << false << 320 << 240;
        QTest::addRow("three numbers") << QStringLiteral("240,320,400") << false << 320 << 240;
        QTest::addRow("second part empty") << QStringLiteral("240,") << false << 320 << 240;
        QTest::addRow("not a number") << QStringLiteral("wide,320") << false << 320 << 240;
        QTest::addRow("no area") << QStringLiteral("0,320") << false << 320 << 240;
        QTest::addRow("absent") << QString() << false << 320 << 240;
    }
    void wallpaperSize()
    {
        QFETCH(QString, value);
        QFETCH(bool, result);
        QFETCH(int, width);
        QFETCH(int, height);
        writePhoneFile(QStringLiteral("S1"), QStringLiteral("Orvak"), QStringLiteral("One"), {});
        Properties properties = {{QStringLiteral("MaxBitrate"), QStringLiteral("64")},
                                 {QStringLiteral("DEV"), QStringLiteral("first.ico")},
                                 {QStringLiteral("MaxBitrate"), QStringLiteral("300")},
                                 {QStringLiteral("DEV"), QStringLiteral("phone.ico")}};
        if (!value.isNull())
            properties.append({QStringLiteral("ImgWallpaperSize"), value});
        writeModelFile(QStringLiteral("S1"), properties);
        const API_ConfServer conf(QStringLiteral("S1"));
        QVERIFY(conf.isLoaded());
        Phone_VideoCapabilities caps;
        QCOMPARE(conf.readVideoCapabilities(caps), result);
        QCOMPARE(caps.width, width);
        QCOMPARE(caps.height, height);
        // The last of each name counts, whatever became of the size.
        QCOMPARE(caps.maxBitrate, 300);
        QCOMPARE(caps.imageFile, QStringLiteral("phone.ico"));
    }

    void newPhoneQuality_data()
    {
        QTest::addColumn<QString>("bitrate"); // null: no MaxBitrate, "-": no files
        QTest::addColumn<int>("quality");
        QTest::addRow("no files") << QStringLiteral("-") << 1;
        QTest::addRow("no bit rate") << QString() << 1;
        QTest::addRow("128") << QStringLiteral("128") << 0;
        QTest::addRow("191") << QStringLiteral("191") << 0;
        QTest::addRow("192") << QStringLiteral("192") << 1;
        QTest::addRow("383") << QStringLiteral("383") << 1;
        QTest::addRow("384") << QStringLiteral("384") << 2;
        QTest::addRow("2000") << QStringLiteral("2000") << 2;
        // Unusable values keep the default rather than make a phone Low.
        QTest::addRow("not a number") << QStringLiteral("fast") << 1;
        QTest::addRow("zero") << QStringLiteral("0") << 1;
        QTest::addRow("negative") << QStringLiteral("-5") << 1;
    }
    void newPhoneQuality()
    {
        QFETCH(QString, bitrate);
        QFETCH(int, quality);
        if (bitrate != QLatin1String("-")) {
            writePhoneFile(QStringLiteral("Q1"), QStringLiteral("Orvak"), QStringLiteral("One"), {});
            Properties properties = {{QStringLiteral("ImgWallpaperSize"), QStringLiteral("176,144")}};
            if (!bitrate.isNull())
                properties.append({QStringLiteral("MaxBitrate"), bitrate});
            writeModelFile(QStringLiteral("Q1"), properties);
        }
        QCOMPARE(Orvak_API::newPhoneQuality(QStringLiteral("Q1")), quality);
    }

    void unusableFiles_data()
    {
        QTest::addColumn<QString>("phoneFile"); // the phone file's text; null: none
        QTest::addColumn<bool>("loaded");
        QTest::addRow("missing") << QString() << false;
        QTest::addRow("broken") << QStringLiteral("<ConfServer><General>") << false;
        QTest::addRow("binary") << QString::fromLatin1("\x01\x02\xff\xfe", 4) << false;
        QTest::addRow("no General") << QStringLiteral("<ConfServer/>") << true;
        QTest::addRow("no Model")
            << QStringLiteral("<ConfServer><General><Manufacturer>Orvak</Manufacturer></General></ConfServer>") << true;
        QTest::addRow("model leading out of the folder")
            << QStringLiteral("<ConfServer><General><Manufacturer>Orvak</Manufacturer><Model>x/../../y</Model>"
                              "</General></ConfServer>")
            << true;
        QTest::addRow("no model file")
            << QStringLiteral("<ConfServer><General><Manufacturer>Orvak</Manufacturer><Model>Gone</Model>"
                              "</General></ConfServer>")
            << true;
    }
    void unusableFiles()
    {
        QFETCH(QString, phoneFile);
        QFETCH(bool, loaded);
        if (!phoneFile.isNull())
            writeText(API_ConfServer::folder() + QStringLiteral("ConfSTmpU1.xml"), phoneFile);
        writeModelFile(QStringLiteral("U1"), {{QStringLiteral("MaxBitrate"), QStringLiteral("64")}});
        if (!loaded && !phoneFile.isNull())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Reading ConfServer settings. Parse error at line")));
        const API_ConfServer conf(QStringLiteral("U1"));
        QCOMPARE(conf.isLoaded(), loaded);
        Phone_VideoCapabilities caps;
        QVERIFY(!conf.readVideoCapabilities(caps));
        QCOMPARE(caps.maxBitrate, 192);
        QCOMPARE(conf.phonePictureFolder(), QString());
        QCOMPARE(Orvak_API::newPhoneQuality(QStringLiteral("U1")), 1);
        QVERIFY(!API_ConfServer(QString()).isLoaded());
        QVERIFY(!API_ConfServer(QStringLiteral("../ConfSTmpU1")).isLoaded());
    }

    void pictureFolder_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("folder");
        QTest::addRow("a file") << QStringList{QStringLiteral("File=\\\\C:\\Data\\Images\\phone.ico")}
                                << QStringLiteral("\\\\C:\\Data\\Images");
        QTest::addRow("a folder without the backslashes")
            << QStringList{QStringLiteral("File=E:\\Pictures")} << QStringLiteral("\\\\E:\\Pictures");
        QTest::addRow("a dot in a folder name")
            << QStringList{QStringLiteral("File=\\\\E:\\My.Pics\\Phone")} << QStringLiteral("\\\\E:\\My.Pics\\Phone");
        QTest::addRow("the first usable value")
            << QStringList{QStringLiteral("Size=3"), QStringLiteral("File="), QStringLiteral("File=C:\\a.b\\c.ico"),
                           QStringLiteral("File=\\\\C:\\later")}
            << QStringLiteral("\\\\C:\\a.b");
        QTest::addRow("an equals sign in the value")
            << QStringList{QStringLiteral("File=\\\\C:\\x=y")} << QStringLiteral("\\\\C:\\x=y");
        QTest::addRow("none") << QStringList{QStringLiteral("Folder=\\\\C:\\x")} << QString();
    }
    void pictureFolder()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, folder);
        writePhoneFile(QStringLiteral("F1"), QStringLiteral("Orvak"), QStringLiteral("One"), values);
        QCOMPARE(API_ConfServer(QStringLiteral("F1")).phonePictureFolder(), folder);
        // Only the named service and entry count.
        writePhoneFile(QStringLiteral("F2"), QStringLiteral("Orvak"), QStringLiteral("One"), values,
                       QStringLiteral("Other-Settings"));
        QCOMPARE(API_ConfServer(QStringLiteral("F2")).phonePictureFolder(), QString());
        writePhoneFile(QStringLiteral("F3"), QStringLiteral("Orvak"), QStringLiteral("One"), values,
                       QStringLiteral("Pelmora-Settings"), QStringLiteral("OtherConf"));
        QCOMPARE(API_ConfServer(QStringLiteral("F3")).phonePictureFolder(), QString());
    }

    void decodeIcons_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("sizes");
        const QImage p = picture(4, 3);
        const QByteArray good = bitmap(p);
        QTest::addRow("PNG, 32-bit and 24-bit entries")
            << ico({{png(picture(5, 5))}, {good}, {bitmap(p, 24)}}) << QStringLiteral("5x5 4x3");
        QTest::addRow("only 24-bit") << ico({{bitmap(p, 24)}}) << QString();
        QTest::addRow("compressed") << ico({{bitmap(p, 32, 3)}}) << QString();
        QTest::addRow("colour table") << ico({{bitmap(p, 32, 0, 2)}}) << QString();
        QTest::addRow("longer header") << ico({{bitmap(p, 32, 0, 0, Natural, Natural, 108)}}) << QStringLiteral("4x3");
        QTest::addRow("empty") << QByteArray() << QString();
        QTest::addRow("header only") << ico({}, 0).left(6) << QString();
        QTest::addRow("reserved set") << ico({{good}}, -1, 1) << QString();
        QTest::addRow("cursor file") << ico({{good}}, -1, 0, 2) << QString();
        QTest::addRow("no entries") << ico({{good}}, 0) << QString();
        QTest::addRow("negative count") << ico({{good}}, 0xffff) << QString();
        QTest::addRow("directory cut short") << ico({{good}}, 40).left(6 + 16 + 8) << QString();
        QTest::addRow("entries past the directory's end") << ico({{good}}, 3).left(6 + 16) << QString();
        QTest::addRow("offset past the end") << ico({{good, -1, 1 << 20}}) << QString();
        QTest::addRow("size past the end") << ico({{good, good.size() + 1}}) << QString();
        QTest::addRow("offset and size wrapping") << ico({{good, 0x20, 0xfffffff0}}) << QString();
        QTest::addRow("size zero") << ico({{good, 0}}) << QString();
        QTest::addRow("shorter than a header") << ico({{good.left(39)}}) << QString();
        QByteArray longHeader = good;
        qToLittleEndian<quint32>(0x10000, longHeader.data());
        QTest::addRow("header size beyond the entry") << ico({{longHeader}}) << QString();
        QTest::addRow("width zero") << ico({{bitmap(p, 32, 0, 0, 0)}}) << QString();
        QTest::addRow("width negative") << ico({{bitmap(p, 32, 0, 0, -4)}}) << QString();
        QTest::addRow("height one row with the mask") << ico({{bitmap(p, 32, 0, 0, Natural, 1)}}) << QString();
        QTest::addRow("height negative") << ico({{bitmap(p, 32, 0, 0, Natural, -6)}}) << QString();
        QTest::addRow("pixels past the entry") << ico({{bitmap(p, 32, 0, 0, 40)}}) << QString();
        QTest::addRow("width overflowing") << ico({{bitmap(p, 32, 0, 0, 0x40000001, 8)}}) << QString();
        QTest::addRow("height overflowing") << ico({{bitmap(p, 32, 0, 0, 1, 0x7ffffffe)}}) << QString();
        QTest::addRow("too wide") << ico({{bitmap(picture(1100, 1))}}) << QString();
        QTest::addRow("PNG cut short") << ico({{png(p).left(40)}, {good}}) << QStringLiteral("4x3");
        QImage huge(2000, 1, QImage::Format_ARGB32);
        huge.fill(Qt::red);
        QTest::addRow("PNG too large") << ico({{png(huge)}}) << QString();
        QByteArray pngSignatureOnly("\x89PNG\r\n\x1a\n", 8);
        QTest::addRow("PNG signature only") << ico({{pngSignatureOnly}}) << QString();
    }
    void decodeIcons()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, sizes);
        QCOMPARE(::sizes(IcoDecoder::decode(data)), sizes);
    }

    void manyEntriesAreBounded_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("last");
        const QByteArray large = png(picture(1024, 1024));
        const QByteArray shown = bitmap(picture(75, 217));
        // One small file, 400 times the same 4 MiB picture: 1.6 GB if all were kept.
        QTest::addRow("400 entries, one large picture") << sharedEntries(400, large) << 16 << QStringLiteral("1024x1024");
        QTest::addRow("the most entries a file has")
            << sharedEntries(32767, bitmap(picture(2, 2))) << 16 << QStringLiteral("2x2");
        QList<Entry> entries(400, Entry{large, -1, 6 + 16 * 401});
        entries.append(Entry{shown});
        QTest::addRow("the shown size after the limits") << ico(entries) << 17 << QStringLiteral("75x217");
        QList<Entry> small(20, Entry{png(picture(8, 8))});
        QTest::addRow("many small pictures") << ico(small) << 16 << QStringLiteral("8x8");
    }
    void manyEntriesAreBounded()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, count);
        QFETCH(QString, last);
        const QList<QImage> images = IcoDecoder::decode(data);
        QCOMPARE(images.size(), count);
        QCOMPARE(::sizes({images.last()}), last);
        QVERIFY(pixelBytes(images) <= IcoDecoder::MaxDecodedBytes + 75 * 217 * 4);
    }

    void bitmapPixels()
    {
        const QList<QImage> images = IcoDecoder::decode(ico({{bitmap(picture(3, 4))}}));
        QCOMPARE(images.size(), 1);
        // Stored bottom row first, shown top row first, alpha kept.
        QCOMPARE(images.first().pixel(1, 0), qRgba(255, 0, 0, 255));
        QCOMPARE(images.first().pixel(1, 3), qRgba(0, 0, 255, 200));
        QVERIFY(images.first().hasAlphaChannel());

        // No alpha at all: an older icon that means opaque.
        QImage opaque(2, 2, QImage::Format_ARGB32);
        opaque.fill(qRgba(10, 20, 30, 0));
        const QList<QImage> old = IcoDecoder::decode(ico({{bitmap(opaque)}}));
        QCOMPARE(old.size(), 1);
        QCOMPARE(old.first().pixel(0, 0), qRgb(10, 20, 30));
    }

    void pictureFromThePhone()
    {
        // The real library writes the configuration files for a phone whose
        // manifest names a picture; the picture is read from the phone.
        if (scriptedMtp())
            QSKIP("an MTP phone has no picture of its own");
        useBuiltLibrary();
        FolderPhones phones;
        const QByteArray icon = ico({{png(picture(6, 6))}, {bitmap(picture(4, 3))}, {bitmap(picture(4, 3), 24)}});
        writeFile(phones.memoryFolder(QStringLiteral("p"), 0) + QStringLiteral("/Data/Images/phone.ico"), icon);
        phones.addPhone(QStringLiteral("p"), QStringLiteral("I1"), QStringLiteral("Pictured"), QStringLiteral("16"),
                        {{QStringLiteral("Phone memory"), 1 << 20}},
                        QStringLiteral("[Video]\nMaxBitrate=128\nImgWallpaperSize=176,208\n"
                                       "Picture=\\\\C:\\Data\\Images\\phone.ico\n"));
        PhoneManagement management;
        PhonesInfo list;
        QVERIFY(management.getPhones(list));
        PhoneInfo *phone = list.first();
        QVERIFY(phone->fileSystem());
        const API_PhoneIcon pictures(phone);
        QCOMPARE(::sizes(pictures.images()), QStringLiteral("6x6 4x3"));
        QCOMPARE(Orvak_API::newPhoneQuality(QStringLiteral("I1")), 0);
        Phone_VideoCapabilities caps;
        QVERIFY(API_ConfServer(QStringLiteral("I1")).readVideoCapabilities(caps));
        QCOMPARE(QList<int>({caps.width, caps.height, caps.maxBitrate}), QList<int>({176, 208, 128}));

        QVERIFY(API_PhoneIcon(nullptr).images().isEmpty());
        // A picture that is not on the phone: nothing, and the failed read is reported.
        QVERIFY(QFile::remove(phones.memoryFolder(QStringLiteral("p"), 0) + QStringLiteral("/Data/Images/phone.ico")));
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QVERIFY(API_PhoneIcon(phone).images().isEmpty());
        QCOMPARE(errors.count(), 1);
    }

    void configurationFilesForAnyName()
    {
        // Characters XML cannot carry in the names the library writes into
        // the configuration files: the limits must still be read.
        useBuiltLibrary();
        FolderPhones phones;
        const QString odd = QStringLiteral("Odd") + QChar(0xFFFF) + QChar(0xFFFE);
        phones.writeManifest(QStringLiteral("p"),
                             (QStringLiteral("[Phone]\nSerialNumber=U1\nFriendlyName=") + odd + QStringLiteral("\nManufacturer=")
                              + odd + QStringLiteral("\nModel=") + odd
                              + QStringLiteral("\n[Memory0]\nType=Phone memory\nPath=C\nCapacity=1000000\n"
                                               "[Video]\nMaxBitrate=384\nImgWallpaperSize=320,240\n"))
                                 .toUtf8());
        QVERIFY(QDir().mkpath(phones.folder(QStringLiteral("p")) + QStringLiteral("/C")));
        PhoneManagement management;
        PhonesInfo list;
        QVERIFY(management.getPhones(list));
        QCOMPARE(list.first()->friendlyName(), odd);
        const API_ConfServer conf(QStringLiteral("U1"));
        QVERIFY(conf.isLoaded());
        Phone_VideoCapabilities caps;
        QVERIFY(conf.readVideoCapabilities(caps));
        QCOMPARE(QList<int>({caps.width, caps.height, caps.maxBitrate}), QList<int>({320, 240, 384}));
        QCOMPARE(Orvak_API::newPhoneQuality(QStringLiteral("U1")), 2);
    }
};

QTEST_GUILESS_MAIN(TestPhoneCapabilities)
#include "tst_phonecapabilities.moc"
