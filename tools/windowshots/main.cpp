// windowshots OUTPUT_FOLDER [--translation FILE.qm] [--prefix NAME]
//
// Builds the program's main window on a private folder phone with a few
// dozen videos and saves one picture of it per context into OUTPUT_FOLDER
// (NAME-0-mycollection.png ... NAME-3-downloads.png) and one of the single
// view playing a clip made on the spot (NAME-4-singleview.png). Run it in a throw-away
// home, on the offscreen platform, and with QT_SCALE_FACTOR=2 for 200 %:
//
//     QT_QPA_PLATFORM=offscreen tests/sandbox.sh build/bin/windowshots /tmp/shots
//
// The phone is written into the connectivity library's devices folder of
// that home; its videos are sparse files, so nothing large is written.

#include "contextswitcher.h"
#include "kelvrapaths.h"
#include "mediaclips.h"
#include "settingsstore.h"
#include "startup.h"
#include "style.h"
#include "theme.h"
#include "ui_videotransferwindow.h"
#include "videotransferwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QResource>
#include <QTest>
#include <QTranslator>

#include <cstdio>

namespace {

bool sparseFile(const QString &path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

const char *const s_titles[] = {
    "Beach day", "Birthday cake", "City lights", "Concert", "Dog in the snow", "Fireworks", "Garden party",
    "Harbour walk", "Hiking trail", "Kite festival", "Lake at dawn", "Market square", "Mountain bike",
    "Night train", "Old town", "Picnic", "Rainy street", "River boat", "School play", "Skate park",
    "Summer camp", "Sunset", "Train station", "Wedding dance",
};

// A phone with a memory and a card, and videos on both.
bool makePhone(const QString &devices)
{
    const QString phone = devices + QStringLiteral("/shot-phone");
    const QByteArray manifest = "[Phone]\nSerialNumber=004401234567890\nFriendlyName=Demo Phone\n"
                                "Manufacturer=Orvak\nModel=Demo One\nMedia=16\n"
                                "[Memory0]\nType=Phone memory\nPath=C\nCapacity=268435456\n"
                                "[Memory1]\nType=Memory card\nPath=E\nCapacity=2147483648\n"
                                "[Video]\nMaxBitrate=384\nImgWallpaperSize=240,320\n";
    int index = 0;
    for (const char *title : s_titles) {
        const QString folder = index % 3 == 0 ? QStringLiteral("/C/Data/Videos/") : QStringLiteral("/E/Videos/");
        if (!sparseFile(phone + folder + QLatin1String(title) + QStringLiteral(".mp4"), (index + 3) * 1377331LL))
            return false;
        ++index;
    }
    QFile file(phone + QStringLiteral("/phone.ini"));
    return file.open(QIODevice::WriteOnly) && file.write(manifest) == manifest.size();
}

bool makeCollection()
{
    const QString folder = Settings::myCollectionFolder();
    for (int i = 0; i < 12; ++i) {
        if (!sparseFile(folder + QLatin1Char('/') + QLatin1String(s_titles[i * 2]) + QStringLiteral(".mp4"),
                        (i + 5) * 2264211LL))
            return false;
    }
    return true;
}

bool waitFor(const std::function<bool()> &done, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication::setStyle(new CStyle);
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString translation;
    QString prefix = QStringLiteral("window");
    QString out;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--translation") && i + 1 < args.size())
            translation = args.at(++i);
        else if (args.at(i) == QLatin1String("--prefix") && i + 1 < args.size())
            prefix = args.at(++i);
        else
            out = args.at(i);
    }
    if (out.isEmpty()) {
        std::fprintf(stderr, "usage: windowshots OUTPUT_FOLDER [--translation FILE.qm] [--prefix NAME]\n");
        return 2;
    }
    const QString bin = QCoreApplication::applicationDirPath();
    if (!QResource::registerResource(bin + QStringLiteral("/Resource/videotransfer.rcc"), QStringLiteral("/Theme/"))) {
        std::fprintf(stderr, "windowshots: no resource package beside the program\n");
        return 1;
    }
    CTheme::setCurrent(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));
    QTranslator translator;
    if (!translation.isEmpty() && !translator.load(translation)) {
        std::fprintf(stderr, "windowshots: cannot load %s\n", qPrintable(translation));
        return 1;
    }
    QCoreApplication::installTranslator(&translator);
    installApplicationFonts();
    qputenv("KELVRA_API_PATH", QFile::encodeName(bin + QStringLiteral("/libkelvraapi.so")));
    if (!makePhone(KelvraPaths::devicesFolder()) || !makeCollection()) {
        std::fprintf(stderr, "windowshots: cannot write the phone or the collection\n");
        return 1;
    }
    QDir().mkpath(out);

    int failures = 0;
    {
        CVideoTransferWindow window;
        window.show();
        Ui::VideoTransferClass *form = window.form();
        if (!waitFor([&] { return form->comboBox_Phones->count() > 0 && !window.isCollectionBuilding(); }))
            std::fprintf(stderr, "windowshots: the phone did not show up\n");
        const struct
        {
            QPushButton *button;
            const char *name;
        } contexts[] = {
            {form->pushButtonMyCollection, "mycollection"},
            {form->pushButtonScanResults, "scanresults"},
            {form->pushButtonTasks, "tasks"},
            {form->pushButtonDownloads, "downloads"},
        };
        int index = 0;
        for (const auto &context : contexts) {
            context.button->click();
            QTest::qWait(100);
            const QString file = QStringLiteral("%1/%2-%3-%4.png").arg(out, prefix).arg(index++).arg(QLatin1String(context.name));
            if (!window.grab().save(file)) {
                std::fprintf(stderr, "windowshots: cannot write %s\n", qPrintable(file));
                ++failures;
            } else {
                std::printf("%s\n", qPrintable(file));
            }
        }

        // The single view, a little way into a clip.
        const QString clip = Settings::myCollectionFolder() + QStringLiteral("/Kite festival.mp4");
        MediaClips::ClipSpec spec;
        spec.width = 640;
        spec.height = 360;
        spec.seconds = 8;
        QString log;
        form->pushButtonMyCollection->click();
        if (!MediaClips::make(clip, spec, &log) || !window.contextSwitcher()->openFile(clip)) {
            std::fprintf(stderr, "windowshots: cannot play a clip in the single view\n%s\n", qPrintable(log));
            ++failures;
        } else {
            QTest::qWait(1500);
            const QString file = QStringLiteral("%1/%2-4-singleview.png").arg(out, prefix);
            if (!window.grab().save(file)) {
                std::fprintf(stderr, "windowshots: cannot write %s\n", qPrintable(file));
                ++failures;
            } else {
                std::printf("%s\n", qPrintable(file));
            }
        }
    }
    return failures ? 1 : 0;
}
