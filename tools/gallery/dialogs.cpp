#include "dialogs.h"

#include "aboutdialog.h"
#include "dirdialog.h"
#include "firstdialog.h"
#include "formats.h"
#include "messagedialog.h"
#include "settingsdialog.h"
#include "settingsstore.h"
#include "splashscreen.h"
#include "theme.h"
#include "tooltip.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// The message boxes the program shows, with texts as their callers write them.
struct Message
{
    const char *name;
    int kind;
    QString text;
    QString checkBox;
    QString note;
};

QList<Message> messages()
{
    auto tr = [](const char *context, const char *text) { return QCoreApplication::translate(context, text); };
    const QString clip = QStringLiteral("<b>Summer</b> & friends.mp4");
    return {
        {"message-question", 1,
         tr("MyCollectionView", "Are you sure you want to delete '%1'?").arg(Formats::escaped(clip)), {}, {}},
        {"message-download", 1,
         tr("CDownloadQuestion", "Do you want to copy '%1' directly to the phone also?").arg(Formats::escaped(clip)),
         tr("CDownloadQuestion", "Remember my choice"),
         tr("CDownloadQuestion", "You can change your decision from downloads settings.")},
        {"message-notice", 0,
         tr("CVideoTransferWindow", "Have you already connected your mobile phone to Orvak Tamsel? Orvak Tamsel can "
                                    "convert videos to correct format, if it knows the target phone."),
         tr("CVideoTransferWindow", "Do not show this again."), {}},
        {"message-error", 2,
         tr("API_Base", "The operation was rejected by the connected phone. To solve this problem, refer to the phone "
                        "manual or contact <a href=\"https://www.orvak.example/care\">Orvak Care</a>. \n\nSee the log "
                        "file for more information."),
         {}, {}},
        {"message-conversion", 0,
         tr("API_Base", "An error occurred during conversion, and the selected file \n\n%1\n\ncould not be converted. "
                        "\n\nSee the log file for more information.")
             .arg(Formats::escaped(QStringLiteral("/home/me/Videos/<i>holiday</i>.avi"))),
         {}, {}},
        {"message-help", 0,
         tr("HelpMessages", "The help pages of Orvak Tamsel are not installed. They are looked for in the folder "
                            "\"HELP\" beside the program."),
         {}, {}},
    };
}

void installProgramFont()
{
    for (const char *file : {":/Theme/Resources/OrvakStandard Light.otf", ":/Theme/Resources/OrvakStandard.otf"}) {
        const int id = QFontDatabase::addApplicationFont(QLatin1String(file));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            QFont::insertSubstitution(QString::fromLatin1(std::strstr(file, "Light") ? "Orvak Standard Light"
                                                                                     : "Orvak Standard"),
                                      families.constLast());
    }
    QFont font(QStringLiteral("Orvak Standard"), 8);
    font.setStyleName(QStringLiteral("Normal"));
    font.setStyleStrategy(QFont::PreferAntialias);
    QApplication::setFont(font);
}

bool save(const QPixmap &shot, const QString &folder, const char *name)
{
    const QString file = QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png"));
    const bool saved = shot.save(file);
    std::fprintf(stderr, saved ? "saved %s\n" : "cannot save %s\n", qPrintable(file));
    return saved;
}

// Runs a modal dialog started by open and saves what the first modal window
// looks like once it is up; then rejects it.
bool shootModal(const QString &folder, const char *name, const std::function<void()> &open,
                const std::function<void(QWidget *)> &prepare = {})
{
    bool saved = false;
    QTimer poll;
    poll.setInterval(50);
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (prepare && ticks == 0)
            prepare(modal);
        // Give the file system model and the layout a moment to settle.
        if (++ticks < 6)
            return;
        poll.stop();
        saved = save(modal->grab(), folder, name);
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
    poll.start();
    open();
    return saved;
}

void clickNamed(QWidget *dialog, const char *objectName)
{
    if (auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(objectName)))
        button->click();
}

// A balloon is a window of its own: it is drawn over the shot of its dialog.
QPixmap withBalloon(QWidget *dialog)
{
    QPixmap shot = dialog->grab();
    QPainter painter(&shot);
    for (QWidget *balloon : dialog->findChildren<QWidget *>(QStringLiteral("helpBalloon")))
        if (balloon->isVisible())
            painter.drawPixmap(balloon->pos() - dialog->pos(), balloon->grab());
    return shot;
}

// The wizard's two pages and its help, and every page of the settings dialog
// with the advanced profiles on (stored in a settings folder of their own).
int shootForms(const QString &folder, const QString &videos)
{
    int failures = 0;
    const QString collection = videos + QStringLiteral("/Orvak Tamsel");
    const QVariantMap proposed{{QStringLiteral("MyCollectionFolder"), collection},
                               {QStringLiteral("ScanFolder"), videos}};
    const auto runWizard = [&] {
        C1stDialog wizard;
        wizard.setValues(proposed);
        wizard.exec();
    };
    failures += !shootModal(folder, "wizard-page1", runWizard);
    failures += !shootModal(folder, "wizard-page2", runWizard, [](QWidget *w) { clickNamed(w, "fwdButton"); });
    {
        // The balloon slides up for about half a second.
        C1stDialog wizard;
        wizard.setValues(proposed);
        wizard.show();
        clickNamed(&wizard, "fwdButton");
        clickNamed(&wizard, "helpButton");
        QEventLoop slide;
        QTimer::singleShot(800, &slide, &QEventLoop::quit);
        slide.exec();
        failures += !save(withBalloon(&wizard), folder, "wizard-help");
    }

    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    Settings::setAdvancedProfiles(true);
    Settings::ProfileValues low = Settings::defaultProfile(Settings::Quality::Low);
    low.width = 176;
    low.height = 144;
    low.audio = false;
    Settings::setProfile(Settings::Quality::Low, low);
    const QVariantMap values{{QStringLiteral("MyCollectionFolder"), collection},
                             {QStringLiteral("ScanFolder"), videos},
                             {QStringLiteral("3gp"), true},
                             {QStringLiteral("mp4"), true},
                             {QStringLiteral("avi"), false},
                             {QStringLiteral("NumOfMemUnits"), 3},
                             {QStringLiteral("MemorySelected"), 1},
                             {QStringLiteral("PhoneSupportsQuality"), 1},
                             {QStringLiteral("Quality"), 1},
                             {QStringLiteral("Download2Phone"), 1}};
    const auto runSettings = [&] {
        CSettingsDialog dialog;
        dialog.setValues(values);
        dialog.exec();
    };
    const struct {
        const char *name;
        const char *button;
    } pages[] = {{"settings-conversion", nullptr},   {"settings-folders", "fButton"},
                 {"settings-memory", "mButton"},     {"settings-associations", "aButton"},
                 {"settings-downloads", "dButton"},  {"settings-advanced", "advButton"}};
    for (const auto &page : pages)
        failures += !shootModal(folder, page.name, runSettings, [&page](QWidget *w) {
            if (page.button)
                clickNamed(w, page.button);
        });
    // Without the advanced profiles the phone's limit narrows the choice.
    Settings::setAdvancedProfiles(false);
    failures += !shootModal(folder, "settings-conversion-limited", runSettings);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return failures;
}

int shootAll(const QString &folder)
{
    int failures = 0;
    for (const Message &message : messages())
        failures += !shootModal(folder, message.name, [&] {
            CMessageDialog::ask(message.kind, QString(), message.text, message.checkBox, message.note);
        });

    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Videos/Holiday 2026"));
    QDir(root.path()).mkpath(QStringLiteral("Videos/Work"));
    QDir(root.path()).mkpath(QStringLiteral("Videos/Phone clips"));
    failures += !shootModal(folder, "folder-dialog", [&] {
        CDirDialog::getFolder(nullptr, root.path() + QStringLiteral("/Videos/Work"),
                              QCoreApplication::translate("C1stDialog", "My collection folder:"));
    });
    failures += !shootModal(
        folder, "folder-dialog-new", [&] { CDirDialog::getFolder(nullptr, root.path() + QStringLiteral("/Videos")); },
        [](QWidget *dialog) {
            for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
                if (button->objectName() == QLatin1String("newFolderButton"))
                    button->click();
        });

    failures += shootForms(folder, root.path() + QStringLiteral("/Videos"));

    failures += !shootModal(folder, "about", [] {
        CAboutDialog about;
        about.exec();
    });

    CSplashScreen splash(CTheme::pixmap(CTheme::SplashScreen));
    splash.show();
    QPixmap splashShot(splash.size() * splash.devicePixelRatioF());
    splashShot.setDevicePixelRatio(splash.devicePixelRatioF());
    splashShot.fill(Qt::magenta);
    {
        QPainter painter(&splashShot);
        painter.setClipRegion(splash.mask());
        painter.drawPixmap(0, 0, splash.grab());
    }
    failures += !save(splashShot, folder, "splash");
    splash.close();

    // The balloon over a dialog-sized window, as the wizard shows it.
    QWidget anchor;
    anchor.setWindowTitle(QStringLiteral("anchor"));
    anchor.setGeometry(200, 100, 607, 489);
    anchor.setAutoFillBackground(true);
    QPalette white = anchor.palette();
    white.setColor(QPalette::Window, QColor(0xf3, 0xf7, 0xfc));
    anchor.setPalette(white);
    anchor.show();
    CToolTip *balloon = CToolTip::showBalloon(
        &anchor, QSize(597, 280),
        QCoreApplication::translate("C1stDialog",
                                    "First you need to select a folder where the converted videos will be stored on "
                                    "the PC. Then, choose another folder where the program will scan for existing "
                                    "video files. You can use the default folders or select another folder by "
                                    "pressing the Browse icon. <br><br>Note: These folders can be changed later under "
                                    "Settings. <br><br>Select the folders and press Next to continue. This will start "
                                    "the scanning."));
    QEventLoop settle;
    QTimer::singleShot(800, &settle, &QEventLoop::quit);
    settle.exec();
    QPixmap composite = anchor.grab();
    {
        QPainter painter(&composite);
        painter.drawPixmap(balloon->pos() - anchor.pos(), balloon->grab());
    }
    failures += !save(composite, folder, "balloon");
    return failures == 0 ? 0 : 1;
}

} // namespace

int runDialogs(const QString &shotFolder)
{
    installProgramFont();
    if (!shotFolder.isEmpty()) {
        QDir().mkpath(shotFolder);
        return shootAll(shotFolder);
    }

    // A window with one button per dialog, to open and try them by hand.
    QWidget window;
    window.setWindowTitle(QStringLiteral("Themed dialogs"));
    auto *layout = new QVBoxLayout(&window);
    for (const Message &message : messages()) {
        auto *button = new QPushButton(QLatin1String(message.name), &window);
        QObject::connect(button, &QPushButton::clicked, [message] {
            const int result = CMessageDialog::ask(message.kind, QString(), message.text, message.checkBox,
                                                   message.note);
            std::fprintf(stderr, "%s: %d\n", message.name, result);
        });
        layout->addWidget(button);
    }
    auto *queued = new QPushButton(QStringLiteral("three errors at once"), &window);
    QObject::connect(queued, &QPushButton::clicked, [] {
        for (int i = 1; i <= 3; ++i)
            CMessageDialog::showInTurn(QStringLiteral("System Error"), QStringLiteral("Error %1 of 3").arg(i));
    });
    layout->addWidget(queued);
    auto *folder = new QPushButton(QStringLiteral("folder dialog"), &window);
    QObject::connect(folder, &QPushButton::clicked, [&window] {
        std::fprintf(stderr, "folder: %s\n", qPrintable(CDirDialog::getFolder(&window, QDir::homePath())));
    });
    layout->addWidget(folder);
    auto *balloon = new QPushButton(QStringLiteral("help balloon"), &window);
    QObject::connect(balloon, &QPushButton::clicked, [&window] {
        CToolTip::showBalloon(&window, QSize(window.width() - 10, 280), QStringLiteral("Help text\nSecond line"));
    });
    layout->addWidget(balloon);
    auto *wizard = new QPushButton(QStringLiteral("first-run wizard"), &window);
    QObject::connect(wizard, &QPushButton::clicked, [] {
        C1stDialog dialog;
        dialog.setValues({{QStringLiteral("MyCollectionFolder"), Settings::collectionDefaultFolder()},
                          {QStringLiteral("ScanFolder"), QDir::homePath()}});
        std::fprintf(stderr, "wizard: %d\n", dialog.exec());
    });
    layout->addWidget(wizard);
    // The gallery only prints what the settings dialog gives back; the
    // dialog itself stores the advanced profiles on Save when they are on.
    auto *settings = new QPushButton(QStringLiteral("settings"), &window);
    QObject::connect(settings, &QPushButton::clicked, [&window] {
        CSettingsDialog dialog(&window);
        dialog.setValues({{QStringLiteral("MyCollectionFolder"), Settings::myCollectionFolder()},
                          {QStringLiteral("ScanFolder"), Settings::scanFolderForScan()},
                          {QStringLiteral("NumOfMemUnits"), 2},
                          {QStringLiteral("PhoneSupportsQuality"), 2},
                          {QStringLiteral("Quality"), Settings::qualityValue()},
                          {QStringLiteral("Download2Phone"), Settings::downloadToPhone()}});
        if (dialog.exec() == QDialog::Accepted) {
            QVariantMap values;
            dialog.getValues(values);
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                std::fprintf(stderr, "%s = %s\n", qPrintable(it.key()), qPrintable(it.value().toString()));
        }
    });
    layout->addWidget(settings);
    auto *about = new QPushButton(QStringLiteral("about"), &window);
    QObject::connect(about, &QPushButton::clicked, [&window] { CAboutDialog(&window).exec(); });
    layout->addWidget(about);
    window.resize(420, 480);
    window.show();
    return QApplication::exec();
}
