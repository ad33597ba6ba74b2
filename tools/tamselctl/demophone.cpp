#include "demophone.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>

namespace DemoPhone {

namespace {

const char s_manifest[] = R"([Phone]
SerialNumber=004401234567890
FriendlyName=Demo Phone
Manufacturer=Orvak
Model=Demo One
Media=16
[Memory0]
Type=Phone memory
Path=C
Capacity=268435456
[Memory1]
Type=Memory card
Path=E
Capacity=2147483648
[Video]
MaxBitrate=384
ImgWallpaperSize=240,320
Picture=\\C:\Data\Images\phone.ico
)";

QImage picture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1e, 0x6f, 0xd9));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(size * 0.2, size * 0.05, size * 0.6, size * 0.9), size * 0.08, size * 0.08);
    p.setBrush(QColor(0xf0, 0xf4, 0xfa));
    p.drawRect(QRectF(size * 0.27, size * 0.15, size * 0.46, size * 0.6));
    return image;
}

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

// A 32-bit bitmap entry: header, pixels bottom row first, then the mask.
QByteArray bitmapEntry(const QImage &image)
{
    QByteArray b;
    put32(b, 40);
    put32(b, quint32(image.width()));
    put32(b, quint32(image.height() * 2));
    put16(b, 1);
    put16(b, 32);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x)
            put32(b, image.pixel(x, y));
    }
    const int maskRow = ((image.width() + 31) / 32) * 4;
    b.append(QByteArray(maskRow * image.height(), '\0'));
    return b;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

// A short test-pattern clip with a tone.
bool makeClip(const QString &ffmpeg, const QString &path, const QString &pattern, const QStringList &codec)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList args = {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                        QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        pattern + QStringLiteral("=duration=2:size=176x144:rate=15"), QStringLiteral("-f"),
                        QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=frequency=440:duration=2")};
    args += codec;
    args += {QStringLiteral("-shortest"), path};
    process.start(ffmpeg, args);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

QByteArray iconFile()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture(48).save(&buffer, "PNG");
    const QByteArray bmp = bitmapEntry(picture(32));

    QByteArray ico;
    put16(ico, 0);
    put16(ico, 1);
    put16(ico, 2);
    const quint32 first = 6 + 2 * 16;
    const auto entry = [&](int size, const QByteArray &data, quint32 offset) {
        ico.append(char(size));
        ico.append(char(size));
        ico.append(char(0));
        ico.append(char(0));
        put16(ico, 1);
        put16(ico, 32);
        put32(ico, quint32(data.size()));
        put32(ico, offset);
    };
    entry(48, png, first);
    entry(32, bmp, first + quint32(png.size()));
    return ico + png + bmp;
}

QString create(const QString &devicesFolder, QString *error, QTextStream &log)
{
    const QString target = QDir(devicesFolder).absoluteFilePath(QStringLiteral("demo-phone"));
    if (QFileInfo::exists(target)) {
        *error = target + QStringLiteral(" already exists");
        return QString();
    }
    if (!QDir().mkpath(devicesFolder)) {
        *error = QStringLiteral("cannot create ") + devicesFolder;
        return QString();
    }
    // Hidden while it is being built, so the library does not see half a phone.
    QTemporaryDir build(QDir(devicesFolder).absoluteFilePath(QStringLiteral(".demo-phone-XXXXXX")));
    if (!build.isValid()) {
        *error = QStringLiteral("cannot create a folder in ") + devicesFolder + QStringLiteral(": ") + build.errorString();
        return QString();
    }
    const QDir phone(build.path());
    const QString videos = phone.filePath(QStringLiteral("C/Data/Videos"));
    const QString images = phone.filePath(QStringLiteral("C/Data/Images"));
    const QString cardVideos = phone.filePath(QStringLiteral("E/Videos"));
    for (const QString &folder : {videos, images, cardVideos}) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("cannot create ") + folder;
            return QString();
        }
    }
    if (!writeFile(images + QStringLiteral("/phone.ico"), iconFile())) {
        *error = QStringLiteral("cannot write the phone's picture");
        return QString();
    }

    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        log << "tamselctl: ffmpeg was not found; the demo phone has no clips\n";
    } else {
        const QStringList h264 = {QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                                  QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac")};
        const QStringList mobile = {QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-c:a"),
                                    QStringLiteral("aac"), QStringLiteral("-ar"), QStringLiteral("22050")};
        const struct
        {
            QString path;
            QString pattern;
            QStringList codec;
        } clips[] = {
            {videos + QStringLiteral("/Test pattern.mp4"), QStringLiteral("testsrc"), h264},
            {videos + QStringLiteral("/Colour bars.3gp"), QStringLiteral("smptebars"), mobile},
            {cardVideos + QStringLiteral("/Gradient.mp4"), QStringLiteral("rgbtestsrc"), h264},
        };
        for (const auto &clip : clips) {
            if (!makeClip(ffmpeg, clip.path, clip.pattern, clip.codec)) {
                log << "tamselctl: could not make the clip " << QFileInfo(clip.path).fileName() << "\n";
                QFile::remove(clip.path);
            }
        }
    }

    if (!writeFile(phone.filePath(QStringLiteral("phone.ini")), QByteArray(s_manifest))) {
        *error = QStringLiteral("cannot write the manifest");
        return QString();
    }
    if (!QDir().rename(build.path(), target)) {
        *error = QStringLiteral("cannot move the phone into ") + target;
        return QString();
    }
    build.setAutoRemove(false);
    return target;
}

} // namespace DemoPhone
