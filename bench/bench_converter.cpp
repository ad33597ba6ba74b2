// Measures the converter component against FFmpeg's command-line program on
// the same clip and the same settings, side by side in one run, and the cost
// of reading a length (open + media information) against a full decode.
//
// usage: bench_converter [SECONDS] [ROUNDS]

#include "mediaclips.h"
#include "videoconvertercomponent.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLibrary>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

using namespace ConverterComponent;

namespace {

struct Event final : EndEvent
{
    void set() override { semaphore.release(); }
    QSemaphore semaphore;
};

const char16_t *wide(const QString &text)
{
    return reinterpret_cast<const char16_t *>(text.utf16());
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args.at(1).toInt() : 20;
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 3;

    QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/libtamselconverter.so"));
    auto create = reinterpret_cast<TamselConverterFactory>(library.resolve(TAMSEL_CONVERTER_FACTORY));
    if (!create) {
        out << "cannot load the converter: " << library.errorString() << "\n";
        return 1;
    }

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mp4"));
    MediaClips::ClipSpec spec;
    spec.width = 1280;
    spec.height = 720;
    spec.rate = 25;
    spec.seconds = seconds;
    spec.videoCodec = QStringLiteral("libx264");
    out << "making a " << seconds << " s 1280x720 H.264/AAC clip...\n";
    out.flush();
    if (!MediaClips::make(source, spec))
        return 1;

    // Phone-sized output: 16:9 fitted into 320x240 with bars, 15 fps, 384 kbit/s video.
    const int kbps = 384;
    QList<double> component;
    QList<double> commandLine;
    for (int round = 0; round < rounds; ++round) {
        const QString base = dir.filePath(QStringLiteral("ours%1").arg(round));
        QElapsedTimer timer;
        timer.start();
        IVideoConverter *c = create();
        quint16 kind = 0;
        qint32 error = 0;
        c->openFile(wide(source), &kind, &error);
        EncoderConfig config;
        config.width = 320;
        config.height = 240;
        config.frameRate = 15;
        config.videoBitrate = kbps * 1024;
        config.audioChannels = 2;
        config.audioSampleRate = 48000;
        AudioRecord audio;
        audio.bitrate = 128000;
        c->configure(&config, nullptr, 0, &audio, sizeof audio, &error);
        Event done;
        c->setEndEvent(&done, 2);
        c->start(wide(base), 11, &error);
        done.semaphore.acquire();
        c->finalResult(&error);
        c->release();
        component << timer.elapsed() / 1000.0;
        if (error != NoError) {
            out << "conversion failed with " << error << "\n";
            return 1;
        }

        timer.restart();
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-i"), source,
                      QStringLiteral("-vf"),
                      QStringLiteral("scale=320:180:flags=bicubic,pad=320:240:0:30,setsar=1"),
                      QStringLiteral("-r"), QStringLiteral("15"), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                      QStringLiteral("-profile:v"), QStringLiteral("main"), QStringLiteral("-pix_fmt"),
                      QStringLiteral("yuv420p"), QStringLiteral("-b:v"), QString::number(kbps * 1024),
                      QStringLiteral("-g"), QStringLiteral("30"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                      QStringLiteral("-b:a"), QStringLiteral("128000"), QStringLiteral("-ac"), QStringLiteral("2"),
                      QStringLiteral("-ar"), QStringLiteral("48000"), QStringLiteral("-movflags"),
                      QStringLiteral("+faststart"), dir.filePath(QStringLiteral("cli%1.mp4").arg(round))});
        ffmpeg.waitForFinished(-1);
        commandLine << timer.elapsed() / 1000.0;
        out << QStringLiteral("round %1: component %2 s, ffmpeg %3 s\n")
                   .arg(round + 1).arg(component.last(), 0, 'f', 2).arg(commandLine.last(), 0, 'f', 2);
        out.flush();
    }
    out << QStringLiteral("conversion: component %1 s, ffmpeg %2 s (medians), ratio %3\n")
               .arg(median(component), 0, 'f', 2).arg(median(commandLine), 0, 'f', 2)
               .arg(median(component) / median(commandLine), 0, 'f', 3);

    // Reading a length must not decode the file.
    QList<double> probe;
    QList<double> decode;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        IVideoConverter *c = create();
        quint16 kind = 0;
        qint32 error = 0;
        c->openFile(wide(source), &kind, &error);
        const MediaInfo *info = nullptr;
        c->mediaInfo(&info);
        c->closeFile();
        c->release();
        probe << timer.nsecsElapsed() / 1e9;
        timer.restart();
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"),
                                                source, QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
        ffmpeg.waitForFinished(-1);
        decode << timer.elapsed() / 1000.0;
    }
    out << QStringLiteral("length: probe %1 s, full decode %2 s (medians), %3 times faster\n")
               .arg(median(probe), 0, 'f', 4).arg(median(decode), 0, 'f', 2)
               .arg(median(decode) / median(probe), 0, 'f', 0);
    return 0;
}
