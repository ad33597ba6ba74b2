#include "mediacommands.h"

#include "componentevent.h"
#include "conversionplan.h"
#include "failures.h"
#include "interrupt.h"
#include "settingsstore.h"
#include "videocapabilities.h"
#include "videoconverter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QTextStream>
#include <QThread>

#include <atomic>

using Orvak_API::Phone_VideoCapabilities;
using Orvak_API::VideoConverter;

namespace {

void printErrors(VideoConverter &converter, QTextStream &err)
{
    QObject::connect(&converter, &VideoConverter::SignalErrorMessage, &converter,
                     [&err](const QString &, const QString &technical, const QString &friendly) {
                         printFailure(err, technical, friendly);
                     },
                     Qt::DirectConnection);
}

// Prints the conversion's progress events as one updating line.
class ProgressLine final : public QObject
{
public:
    explicit ProgressLine(QTextStream &err) : m_err(err) {}

    bool event(QEvent *e) override
    {
        if (!ComponentEvent::isComponentEvent(e))
            return QObject::event(e);
        const auto *c = static_cast<const ComponentEvent *>(e);
        if (c->kind() == ComponentEvent::PassBegins || c->kind() == ComponentEvent::PassLength)
            m_length = qMax<quintptr>(1, c->wParam());
        else if (c->kind() == ComponentEvent::PassPosition)
            m_err << "\rconverting: " << c->wParam() * 100 / m_length << " %" << Qt::flush;
        return true;
    }

private:
    QTextStream &m_err;
    quintptr m_length = 100;
};

bool parseCaps(const QString &text, Phone_VideoCapabilities &caps)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})@(\\d{1,7})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    caps.width = match.captured(1).toInt();
    caps.height = match.captured(2).toInt();
    caps.maxBitrate = match.captured(3).toInt();
    return caps.width > 0 && caps.height > 0 && caps.maxBitrate > 0;
}

} // namespace

namespace MediaCommands {

int probe(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty()) {
        err << "usage: tamselctl probe FILE...\n";
        return 2;
    }
    int result = 0;
    for (const QString &file : args) {
        VideoConverter converter;
        printErrors(converter, err);
        if (!converter.openFile(file)) {
            result = 1;
            continue;
        }
        Conversion::SourceProperties source;
        converter.sourceProperties(source);
        const QString audio = source.channels > 0
            ? QStringLiteral("%1 Hz %2 ch").arg(source.sampleRate).arg(source.channels)
            : QStringLiteral("no audio");
        out << file << '\t' << converter.playbackLength() << " s\t" << QFileInfo(file).size() << " bytes\t"
            << source.width << 'x' << source.height << '\t' << QString::number(source.frameRate, 'g', 5) << " fps\t"
            << audio << '\n';
        out.flush();
        converter.closeFile();
    }
    return result;
}

int convert(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const QString usage =
        QStringLiteral("usage: tamselctl convert FILE [--quality low|medium|high] [--caps WxH@KBPS] [--out DIR]\n");
    QString file;
    QString folder;
    int quality = Settings::qualityValue();
    bool haveCaps = false;
    Phone_VideoCapabilities caps;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--quality") && hasValue) {
            const QString value = args.at(++i);
            const QStringList names{QStringLiteral("low"), QStringLiteral("medium"), QStringLiteral("high")};
            quality = int(names.indexOf(value));
            if (quality < 0) {
                err << "tamselctl: unknown quality '" << value << "'\n" << usage;
                return 2;
            }
        } else if (arg == QLatin1String("--caps") && hasValue) {
            if (!parseCaps(args.at(++i), caps)) {
                err << "tamselctl: --caps takes WIDTHxHEIGHT@KBPS, for example 320x240@384\n";
                return 2;
            }
            haveCaps = true;
        } else if (arg == QLatin1String("--out") && hasValue) {
            folder = args.at(++i);
        } else if (file.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            file = arg;
        } else {
            err << usage;
            return 2;
        }
    }
    if (file.isEmpty()) {
        err << usage;
        return 2;
    }
    // Without a phone's own limits the conversion keeps within the quality's preset.
    if (!haveCaps)
        caps.setPreset(Phone_VideoCapabilities::Preset(int(Settings::qualityFromValue(quality))));
    if (folder.isEmpty())
        folder = Settings::myCollectionFolder();
    if (!QFileInfo(folder).isDir()) {
        err << "tamselctl: no such folder: " << folder << "\n";
        return 1;
    }

    ProgressLine progress(err);
    // The converter lives on the worker; cancel reaches it under this lock.
    QMutex runningLock;
    VideoConverter *running = nullptr;
    std::atomic<bool> cancelled{false};
    bool converted = false;
    QString target = QFileInfo(file).absoluteFilePath();
    // The conversion blocks its thread, as in the program's tasks; this
    // thread shows progress and takes Ctrl+C.
    QThread *worker = QThread::create([&] {
        VideoConverter converter(&progress);
        printErrors(converter, err);
        {
            // Reachable before it opens the file: opening a source that
            // blocks (a FIFO) must give way to Ctrl+C as well.
            QMutexLocker lock(&runningLock);
            if (cancelled)
                return;
            running = &converter;
        }
        if (converter.openFile(file))
            converted = converter.convert(folder, target, quality, caps);
        QMutexLocker lock(&runningLock);
        running = nullptr;
        converter.closeFile();
    });

    Interrupt interrupt;
    QObject::connect(&interrupt, &Interrupt::requested, &interrupt, [&] {
        QMutexLocker lock(&runningLock);
        cancelled = true;
        if (running)
            running->cancel();
    });

    QObject::connect(worker, &QThread::finished, QCoreApplication::instance(), &QCoreApplication::quit);
    worker->start();
    QCoreApplication::exec();
    worker->wait();
    delete worker;
    QCoreApplication::sendPostedEvents(&progress);
    err << "\n";
    if (!converted) {
        if (cancelled)
            err << "tamselctl: conversion cancelled\n";
        return 1;
    }
    out << target << "\n";
    return 0;
}

} // namespace MediaCommands
