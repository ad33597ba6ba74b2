#include "desktopentry.h"
#include "mimeappslist.h"
#include "firstdialog.h"
#include "splashscreen.h"
#include "startup.h"
#include "videotransferwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs the program's start-up inside this process, so that its dialogs and
// window can be inspected and answered. The program creates its own
// application object; a routine hooked into that object's construction starts
// a timer that plays the user.
namespace {

std::function<void()> g_user;

void onApplicationCreated()
{
    if (!g_user)
        return;
    auto *timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        g_user();
    });
    QObject::connect(qApp, &QObject::destroyed, timer, [timer] { delete timer; });
    timer->start();
}

int runWithArguments(const QStringList &arguments)
{
    static QList<QByteArray> storage;
    storage.clear();
    storage << QByteArray(TAMSEL_TEST_PROGRAM);
    for (const QString &a : arguments)
        storage << a.toLocal8Bit();
    static QVector<char *> argv;
    argv.clear();
    for (QByteArray &a : storage)
        argv << a.data();
    argv << nullptr;
    return runTamsel(int(storage.size()), argv.data());
}

QSettings store() { return QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel")); }

[[maybe_unused]] QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The user's own list of default applications, before the program's first run.
const QByteArray kUsersList = "# mine\n[Default Applications]\nvideo/mp4=org.example.Player.desktop;\n";

void writeUsersList()
{
    QDir().mkpath(QFileInfo(MimeAppsList::userFilePath()).absolutePath());
    QFile file(MimeAppsList::userFilePath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(kUsersList);
}

// Clicks the wizard's button of that accessible name once the event loop
// has control again.
[[maybe_unused]] void clickLater(QWidget *wizard, const QString &name)
{
    for (QAbstractButton *button : wizard->findChildren<QAbstractButton *>())
        if (button->accessibleName() == name && button->isVisible() && button->isEnabled()) {
            QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
            return;
        }
}

} // namespace

class TestStartupInProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QSettings s = store();
        s.clear();
        s.sync();
        g_user = nullptr;
        QFile::remove(DesktopEntry::userFilePath());
        writeUsersList();
    }

#ifdef TAMSEL_WITHOUT_PACKAGE
    void missingResourcePackageStopsStartUp()
    {
        QString title;
        QString text;
        g_user = [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                text = box->text();
                box->reject();
            }
        };
        QCOMPARE(runWithArguments({}), -1);
        QCOMPARE(title, QStringLiteral("TSL"));
        QCOMPARE(text, QStringLiteral("No skin file found. Application not started."));
    }
#else
    void cancelledFirstRunEndsWithoutAWindow()
    {
        bool wizardSeen = false;
        bool windowSeen = false;
        g_user = [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                windowSeen |= qobject_cast<CVideoTransferWindow *>(w) != nullptr;
            if (auto *wizard = qobject_cast<C1stDialog *>(QApplication::activeModalWidget())) {
                wizardSeen = true;
                clickLater(wizard, QStringLiteral("Close"));
            }
        };
        QCOMPARE(runWithArguments({}), 0);
        QVERIFY(wizardSeen);
        QVERIFY(!windowSeen);
        QVERIFY(!store().contains(QStringLiteral("Settings/ScanFolder")));
        QVERIFY(!store().contains(QStringLiteral("Settings/MyCollectionFolder")));
        // Nothing is registered with the desktop either.
        QVERIFY(!QFileInfo::exists(DesktopEntry::userFilePath()));
        QCOMPARE(readFile(MimeAppsList::userFilePath()), kUsersList);
    }

    void finishedFirstRunStartsAScan()
    {
        bool scanRequested = false;
        QString title;
        QSize minimumSize;
        QString fontFamily;
        QString resolvedFamily;
        QStringList proposed;
        g_user = [&] {
            if (auto *wizard = qobject_cast<C1stDialog *>(QApplication::activeModalWidget())) {
                // Next to the folders, and Next again with the proposed ones.
                if (wizard->currentPage() == 1)
                    proposed = QStringList{wizard->findChild<QLineEdit *>(QStringLiteral("mcflEdit"))->text(),
                                           wizard->findChild<QLineEdit *>(QStringLiteral("slEdit"))->text()};
                clickLater(wizard, QStringLiteral("Next"));
                return;
            }
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *window = qobject_cast<CVideoTransferWindow *>(w);
                if (window && window->isVisible()) {
                    scanRequested = window->scanRequested();
                    title = window->windowTitle();
                    minimumSize = window->minimumSize();
                    fontFamily = QApplication::font().family();
                    resolvedFamily = QFontInfo(QApplication::font()).family();
                    window->close();
                }
            }
        };
        QCOMPARE(runWithArguments({}), 0);
        QVERIFY(scanRequested);
        QCOMPARE(title, QStringLiteral("Orvak Tamsel"));
        QCOMPARE(minimumSize, QSize(930, 601));
        // The program asks for its own family and gets the packed font.
        QCOMPARE(fontFamily, QStringLiteral("Orvak Standard"));
        QCOMPARE(resolvedFamily, QStringLiteral("Open Sans"));
        // The wizard proposed the home folder to scan and the default
        // collection folder, created for it; they are what was stored.
        QCOMPARE(proposed.value(1), QDir::homePath());
        QCOMPARE(store().value(QStringLiteral("Settings/ScanFolder")).toString(), QDir::homePath());
        QCOMPARE(store().value(QStringLiteral("Settings/MyCollectionFolder")).toString(), proposed.value(0));
        QVERIFY(QDir(proposed.value(0)).exists());

        // The program was started by its bare name, as through PATH: the
        // desktop entry still names the program file itself.
        const QByteArray entry = readFile(DesktopEntry::userFilePath());
        const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        QVERIFY2(entry.contains(QByteArray("\nExec=" + self.toUtf8() + " %u\n")), entry.constData());
        MimeAppsList list;
        QVERIFY(list.load());
        QVERIFY(list.isDefault(QStringLiteral("video/mp4"), DesktopEntry::fileId()));
        QVERIFY(list.isDefault(QStringLiteral("video/3gpp"), DesktopEntry::fileId()));
        QVERIFY(list.isDefault(QStringLiteral("x-scheme-handler/tmk"), DesktopEntry::fileId()));
        QVERIFY(!list.isDefault(QStringLiteral("video/x-msvideo"), DesktopEntry::fileId()));
        QVERIFY(readFile(MimeAppsList::userFilePath()).startsWith("# mine\n"));
    }

    void wizardProposesAStoredCollectionFolder_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addRow("stored folder exists") << true;
        QTest::addRow("stored folder is gone") << false;
    }
    void wizardProposesAStoredCollectionFolder()
    {
        QFETCH(bool, exists);
        const QString stored = QDir::homePath() + QStringLiteral("/My clips");
        if (exists)
            QVERIFY(QDir().mkpath(stored));
        else
            QDir(stored).removeRecursively();
        store().setValue(QStringLiteral("Settings/MyCollectionFolder"), stored);
        QString proposed;
        g_user = [&] {
            if (auto *wizard = qobject_cast<C1stDialog *>(QApplication::activeModalWidget())) {
                proposed = wizard->findChild<QLineEdit *>(QStringLiteral("mcflEdit"))->text();
                clickLater(wizard, QStringLiteral("Close"));
            }
        };
        QCOMPARE(runWithArguments({}), 0);
        QCOMPARE(proposed == stored, exists);
        QVERIFY(proposed.endsWith(QLatin1String(exists ? "/My clips" : "/Orvak Tamsel")));
        // Closing the wizard wrote nothing.
        QCOMPARE(store().value(QStringLiteral("Settings/MyCollectionFolder")).toString(), stored);
        QVERIFY(!store().contains(QStringLiteral("Settings/ScanFolder")));
    }

    void laterStartSkipsTheWizardAndDoesNotScan()
    {
        store().setValue(QStringLiteral("Settings/ScanFolder"), QDir::homePath());
        bool wizardSeen = false;
        bool scanRequested = true;
        QSize splashSize;
        bool splashRounded = false;
        g_user = [&] {
            if (QApplication::activeModalWidget())
                wizardSeen = true;
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget *w : windows) {
                // The splash screen has been finished on the window by now, but it is still there.
                if (auto *splash = qobject_cast<CSplashScreen *>(w)) {
                    splashSize = splash->pixmap().deviceIndependentSize().toSize();
                    splashRounded = !splash->mask().contains(QPoint(0, 0))
                                    && splash->mask().contains(QPoint(splash->width() / 2, splash->height() / 2));
                }
            }
            for (QWidget *w : windows) {
                auto *window = qobject_cast<CVideoTransferWindow *>(w);
                if (window && window->isVisible()) {
                    scanRequested = window->scanRequested();
                    window->close();
                }
            }
        };
        QCOMPARE(runWithArguments({}), 0);
        QVERIFY(!wizardSeen);
        QVERIFY(!scanRequested);
        // The theme's splash picture, with rounded corners.
        QCOMPARE(splashSize, QSize(480, 300));
        QVERIFY(splashRounded);
    }
#endif
};

int main(int argc, char **argv)
{
    qAddPreRoutine(onApplicationCreated);
    // The window lists phones through this build's connectivity library;
    // without one it would say so in a message.
    qputenv("KELVRA_API_PATH", qgetenv("TAMSEL_BIN_DIR") + "/libkelvraapi.so");
    // The same for the player the window builds: without it the window says
    // the component is missing.
    qputenv("TAMSEL_PLAYER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselplayer.so");
    TestStartupInProcess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup_inprocess.moc"
