#pragma once

// Real video clips for tests, made at test time with FFmpeg's command-line
// program from its built-in test sources, and read back with ffprobe. Nothing
// here is committed media.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MediaClips {

struct ClipSpec
{
    int width = 320;
    int height = 240;
    double rate = 25;
    double seconds = 2;
    bool audio = true;
    int sampleRate = 44100;
    int channels = 2;
    QString videoCodec = QStringLiteral("mpeg4");
    QString audioCodec = QStringLiteral("aac");
    QStringList outputOptions; // given to FFmpeg just before the output path
};

// Writes a clip with a moving test picture and a tone; returns false with the
// tool's output in `log` when FFmpeg fails.
inline bool make(const QString &path, const ClipSpec &spec = {}, QString *log = nullptr)
{
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                     QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc2=size=%1x%2:rate=%3:duration=%4")
                         .arg(spec.width).arg(spec.height).arg(spec.rate).arg(spec.seconds)};
    if (spec.audio) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(spec.sampleRate).arg(spec.seconds)
             << QStringLiteral("-ac") << QString::number(spec.channels)
             << QStringLiteral("-c:a") << spec.audioCodec;
    }
    args << QStringLiteral("-c:v") << spec.videoCodec << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p")
         << spec.outputOptions << path;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    const bool ok = ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
    if (log)
        *log = QString::fromLocal8Bit(ffmpeg.readAll());
    return ok;
}

// The first `fraction` of a file's bytes, as an interrupted download or
// copy leaves it.
inline bool cutShort(const QString &path, const QString &cut, double fraction)
{
    QFile whole(path);
    QFile part(cut);
    if (!whole.open(QIODevice::ReadOnly) || !part.open(QIODevice::WriteOnly))
        return false;
    return part.write(whole.read(qint64(whole.size() * fraction))) > 0;
}

// A FIFO standing for a source that blocks (a stalled stream or network
// file): opening or reading it waits until the test writes to it.
class StalledFifo
{
public:
    explicit StalledFifo(const QString &path) : m_path(path)
    {
        QFile::remove(path);
        m_made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    }
    ~StalledFifo()
    {
        if (m_writer >= 0)
            ::close(m_writer);
        QFile::remove(m_path);
    }
    StalledFifo(const StalledFifo &) = delete;
    StalledFifo &operator=(const StalledFifo &) = delete;

    bool made() const { return m_made; }
    QString path() const { return m_path; }
    // Opens the write end; this succeeds only while a reader holds the FIFO.
    bool openWriter()
    {
        if (m_writer < 0)
            m_writer = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        return m_writer >= 0;
    }
    bool feed(const QByteArray &bytes)
    {
        return m_writer >= 0 && ::write(m_writer, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Bytes fed and not read yet; 0 once the reader has taken them and waits.
    int unread() const
    {
        int count = -1;
        return m_writer >= 0 && ::ioctl(m_writer, FIONREAD, &count) == 0 ? count : -1;
    }

private:
    QString m_path;
    bool m_made = false;
    int m_writer = -1;
};

// What ffprobe says of a file: {"format": {...}, "streams": [...]}.
inline QJsonObject probe(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_format"),
                   QStringLiteral("-show_streams"), QStringLiteral("-of"), QStringLiteral("json"), path});
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
}

inline QJsonObject stream(const QJsonObject &probed, const QString &type)
{
    for (const QJsonValue &s : probed.value(QStringLiteral("streams")).toArray()) {
        if (s.toObject().value(QStringLiteral("codec_type")).toString() == type)
            return s.toObject();
    }
    return {};
}

inline double rational(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 2 || parts.at(1).toDouble() == 0)
        return text.toDouble();
    return parts.at(0).toDouble() / parts.at(1).toDouble();
}

// The first frame as 8-bit luma, `width` bytes a row.
inline QByteArray firstFrameLuma(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                  QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-f"), QStringLiteral("rawvideo"),
                  QStringLiteral("-pix_fmt"), QStringLiteral("gray"), QStringLiteral("-")});
    ffmpeg.waitForFinished(60000);
    return ffmpeg.readAllStandardOutput();
}

// Top-level MP4 box names in file order ("ftyp", "moov", "mdat", ...).
inline QStringList topLevelBoxes(const QString &path)
{
    QFile file(path);
    QStringList boxes;
    if (!file.open(QIODevice::ReadOnly))
        return boxes;
    qint64 at = 0;
    while (at + 8 <= file.size() && boxes.size() < 64) {
        file.seek(at);
        const QByteArray header = file.read(16);
        quint64 size = (quint64(quint8(header[0])) << 24) | (quint64(quint8(header[1])) << 16)
            | (quint64(quint8(header[2])) << 8) | quint64(quint8(header[3]));
        boxes << QString::fromLatin1(header.mid(4, 4));
        if (size == 1 && header.size() >= 16) {
            size = 0;
            for (int i = 8; i < 16; ++i)
                size = (size << 8) | quint8(header[i]);
        }
        if (size < 8)
            break;
        at += qint64(size);
    }
    return boxes;
}

// Files in a folder, hidden ones included (where temporary files would hide).
inline QStringList allEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace MediaClips
