#include "startup.h"

#include "firstrunsetup.h"
#include "helpmessages.h"
#include "programfiles.h"
#include "settingsstore.h"
#include "shelllog.h"
#include "singleinstance.h"
#include "startargument.h"
#include "splashscreen.h"
#include "style.h"
#include "theme.h"
#include "translation.h"
#include "videotransferwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QResource>
#include <QTranslator>

namespace {

const char *const kResourceRoot = "/Theme/";

// Keeps the loaded theme current for the run and deletes it on the way out:
// after the translator, before the application object.
class CurrentTheme
{
public:
    explicit CurrentTheme(CTheme *theme) { CTheme::setCurrent(theme); }
    ~CurrentTheme() { CTheme::setCurrent(nullptr); }
    Q_DISABLE_COPY_MOVE(CurrentTheme)
};

} // namespace

void installApplicationFonts()
{
    const struct {
        const char *file;
        const char *family;
    } fonts[] = {
        {":/Theme/Resources/OrvakStandard Light.otf", "Orvak Standard Light"},
        {":/Theme/Resources/OrvakStandard.otf", "Orvak Standard"},
    };
    for (const auto &font : fonts) {
        const int id = QFontDatabase::addApplicationFont(QLatin1String(font.file));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            QFont::insertSubstitution(QLatin1String(font.family), families.constLast());
    }
    QFont font(QStringLiteral("Orvak Standard"), 8);
    font.setStyleName(QStringLiteral("Normal"));
    font.setStyleStrategy(QFont::PreferAntialias);
    QApplication::setFont(font);
}

namespace {

// The translation an installer placed in Lang, else the shipped one for the
// user's language; none leaves the program in English. Returns the file
// name, for the choice of font.
QString loadTranslation(QTranslator &translator)
{
    QString folder = ProgramFiles::langFolder();
    QString file = Translation::chooseFile(QDir(folder));
    if (file.isEmpty()) {
        folder = ProgramFiles::translationsFolder();
        file = Translation::chooseForLanguages(QDir(folder), QLocale::system().uiLanguages());
    }
    if (file.isEmpty())
        return file;
    const QString path = folder + QLatin1Char('/') + file;
    if (translator.load(path)) {
        qCInfo(lcShell).noquote() << "translation loaded from" << path;
        Translation::setLoadedLanguage(translator.language());
    } else {
        qCInfo(lcShell).noquote() << "translation" << path << "could not be loaded";
    }
    return file;
}

} // namespace

int runTamsel(int argc, char **argv)
{
    InstanceLock instanceLock;
    if (!instanceLock.claim()) {
        if (argc > 1) {
            // The socket needs an application object; a bare core one is enough.
            QCoreApplication messenger(argc, argv);
            // The running copy has its own current folder.
            const QString given = QFile::decodeName(argv[1]);
            const QString argument = normalizedArgument(given);
            HandOverServer::send(argument == given ? QByteArray(argv[1]) : QFile::encodeName(argument));
        }
        return -1;
    }

    // The application style is installed before the application object exists,
    // so the first widget is already drawn from the theme.
    QApplication::setStyle(new CStyle);
    QApplication app(argc, argv);
    HandOverServer handOverServer;
    handOverServer.listen();

    const QString package = ProgramFiles::resourcePackage();
    if (!QResource::registerResource(package, QLatin1String(kResourceRoot))) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("TSL"),
                        QCoreApplication::translate("Startup", "No skin file found. Application not started."),
                        QMessageBox::Close);
        box.exec();
        return -1;
    }

    // A theme that cannot be read leaves the program unthemed, not stopped.
    const CurrentTheme theme(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));

    // The current folder stays the one the program was started in, so that a
    // relative path on the command line keeps its meaning; the program's own
    // files are found by absolute paths.
    QTranslator translator;
    const bool wantDefaultFont = Translation::wantsDefaultFont(loadTranslation(translator));
    QCoreApplication::installTranslator(&translator);
    installHelpMessages();

    if (wantDefaultFont)
        installApplicationFonts();

    bool startScan = false;
    if (Settings::scanFolder().isEmpty()) {
        if (!firstRunSetup())
            return 0;
        startScan = true;
    }

    CSplashScreen splash{CTheme::pixmap(CTheme::SplashScreen)};
    splash.show();

    CVideoTransferWindow window;
    window.setMinimumSize(930, 601);
    handOverServer.setReceiver([&window](quint32 marker, const QByteArray &data) {
        return window.handOver(marker, data);
    });
    if (startScan)
        window.on_toolButton_StartScan_clicked();

    window.show();
    splash.finish(&window);
    // The splash screen lets events through while it waits for the window, so
    // the window may already be closed here; the event loop would then wait
    // for a last-window-closed that is never sent, since Qt sends it only
    // while the loop runs.
    if (!window.isVisible()) {
        handOverServer.setReceiver({});
        return 0;
    }

    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);
    const int result = QApplication::exec();
    handOverServer.setReceiver({});
    return result;
}
