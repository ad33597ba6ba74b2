// The main window's commands through the real window: scanning with real
// clips, the start-up argument and hand-overs (with a local HTTP server),
// help, errors one after another, and the settings command.

#include "downloadview.h"
#include "commandfixture.h"

#include "catalogue.h"
#include "dialogfixture.h"
#include "downloadmanager.h"
#include "helpservice.h"
#include "httptestserver.h"
#include "mediaclips.h"
#include "messagedialog.h"
#include "settingsdialog.h"
#include "settingsstore.h"
#include "singleinstance.h"
#include "slider.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QDesktopServices>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrl>

using namespace WindowTest;

namespace {

// Collects the pages the desktop is asked to open.
class OpenedUrls final : public QObject
{
    Q_OBJECT

public:
    OpenedUrls()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    }
    ~OpenedUrls() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

} // namespace

class TestWindowCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        Settings::setMyCollectionFolder(home(QStringLiteral("collection")));
        QDir().mkpath(home(QStringLiteral("collection")));
        // The help pages as an installation ships them.
        const QString help = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             + QStringLiteral("/Orvak/Orvak Tamsel/HELP");
        QDir().mkpath(help);
        QFile index(help + QStringLiteral("/index.html"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("<html><body>Help</body></html>");
    }

    void theArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("handedOver");
        QTest::addColumn<int>("context");
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("download");
        QTest::addRow("video at start-up") << QStringLiteral("clip.MP4") << false << 0 << true << false;
        QTest::addRow("video handed over") << QStringLiteral("clip.MP4") << true << 0 << true << false;
        QTest::addRow("text file") << QStringLiteral("notes.txt") << true << 0 << false << false;
        QTest::addRow("missing video") << QStringLiteral("gone.mp4") << false << 0 << false << false;
        QTest::addRow("link at start-up") << QStringLiteral("tmk://") << false << 3 << false << true;
        QTest::addRow("capital link at start-up") << QStringLiteral("TMK://") << false << 0 << false << false;
        QTest::addRow("capital link handed over") << QStringLiteral("TMK://") << true << 3 << false << true;
    }
    void theArgument()
    {
        QFETCH(QString, argument);
        QFETCH(bool, handedOver);
        QFETCH(int, context);
        QFETCH(bool, single);
        QFETCH(bool, download);
        const QString folder = home(QStringLiteral("given"));
        QDir().mkpath(folder);
        QVERIFY(MediaClips::make(folder + QStringLiteral("/clip.MP4")));
        QFile text(folder + QStringLiteral("/notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a video");
        text.close();
        QByteArray clip;
        {
            QFile file(folder + QStringLiteral("/clip.MP4"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            clip = file.readAll();
        }
        TestSupport::HttpTestServer server;
        server.route("/fetched", TestSupport::HttpResponse::withBody(clip));
        if (argument.endsWith(QLatin1String("://")))
            argument += QString::fromLatin1(server.base()) + QStringLiteral("/fetched?id=7&itemTitle=Fetched");
        else
            argument = folder + QLatin1Char('/') + argument;

        const auto window = openWindow();
        QSignalSpy received(window.get(), &CVideoTransferWindow::argumentReceived);
        if (handedOver) {
            QVERIFY(!window->handOver(HandOverServer::HandOverMarker + 1, argument.toLocal8Bit()));
            QVERIFY(window->handOver(HandOverServer::HandOverMarker, argument.toLocal8Bit()));
            QTRY_COMPARE(received.size(), 1);
        } else {
            window->openArgument(argument, false);
        }
        QCOMPARE(window->currentContext(), context);
        QCOMPARE(window->contextSwitcher()->viewMode() == CContextSwitcher::SingleMode, single);
        QCOMPARE(window->videoPlayer()->isFileOpen(), single);
        if (single)
            QVERIFY(window->form()->labelViewType->text().endsWith(QStringLiteral("/  clip.MP4</small>")));
        const QList<CDownloadItem *> downloads = window->downloadManager()->downloads();
        QCOMPARE(downloads.size(), download ? 1 : 0);
        if (download) {
            QTRY_VERIFY_WITH_TIMEOUT(window->downloadManager()->allFinished(), 30000);
            const int state = Catalogue::instance().downloads.at(Catalogue::instance().downloads.size() - 1)->downloadState();
            QVERIFY2(state & TaskState::DoneBit, qPrintable(QString::number(state, 16)));
        }
        window->downloadManager()->cancelAll();
    }

    void helpFollowsThePage_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<bool>("menu");
        QTest::addColumn<QString>("page");
        QTest::addRow("My collection") << 0 << false << QStringLiteral("1010");
        QTest::addRow("Scan results") << 1 << false << QStringLiteral("1020");
        QTest::addRow("Tasks") << 2 << false << QStringLiteral("1030");
        QTest::addRow("Downloads") << 3 << false << QStringLiteral("1050");
        QTest::addRow("help topics") << 2 << true << QStringLiteral("1000");
    }
    void helpFollowsThePage()
    {
        QFETCH(int, context);
        QFETCH(bool, menu);
        QFETCH(QString, page);
        const auto window = openWindow();
        window->contextSwitcher()->setContext(context);
        // Each topic has its page, or the index when the help ships none.
        const QString topicPage = Help::helpFolder() + QLatin1Char('/') + page + QStringLiteral(".html");
        const bool made = !QFileInfo::exists(topicPage);
        if (made) {
            QFile file(topicPage);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("topic");
        }
        OpenedUrls opened;
        if (menu)
            window->form()->actionHelp_topics_F1->trigger();
        else
            QTest::mouseClick(window->form()->toolButton_Help, Qt::LeftButton);
        if (made)
            QFile::remove(topicPage);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(topicPage)});
    }

    void theWebPageIsTheStoredAddress()
    {
        QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"))
            .setValue(QStringLiteral("Settings/Website"), QStringLiteral("videos.example.org/start"));
        const auto window = openWindow();
        window->contextSwitcher()->setContext(3);
        OpenedUrls opened;
        QTest::mouseClick(window->form()->toolButton_launchWebsite, Qt::LeftButton);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://videos.example.org/start"))});
    }

    void errorsComeOneAfterAnother()
    {
        const auto window = openWindow();
        for (int i = 1; i <= 10; ++i)
            window->SlotErrorMessage(QStringLiteral("System Error"), QStringLiteral("technical %1").arg(i),
                                     QStringLiteral("Friendly %1").arg(i));
        // Every one is logged at once, and the window goes on.
        const QByteArray log = readLog();
        for (int i = 1; i <= 10; ++i)
            QVERIFY(log.contains(QByteArray("] technical " + QByteArray::number(i) + "\n")));
        for (int i = 1; i <= 10; ++i) {
            QTRY_VERIFY(shownMessage());
            QCOMPARE(visibleDialogs<CMessageDialog>().size(), 1);
            QVERIFY2(messageText(shownMessage()).contains(QStringLiteral("Friendly %1").arg(i)),
                     qPrintable(messageText(shownMessage())));
            QCOMPARE(CMessageDialog::waitingCount(), 10 - i);
            QVERIFY(clickButton(shownMessage(), QStringLiteral("Ok")));
        }
        QTRY_VERIFY(!CMessageDialog::isShowing());
    }

    void settingsAreAppliedOnlyWhenSaved_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addRow("saved") << true;
        QTest::addRow("cancelled") << false;
    }
    void settingsAreAppliedOnlyWhenSaved()
    {
        QFETCH(bool, save);
        TestSupport::FolderPhones phones;
        phones.addPhone(QStringLiteral("one"), QStringLiteral("SN-SET-1"), QStringLiteral("Settings phone"));
        Settings::setQuality(1);
        Settings::setScanFolder(home(QStringLiteral("stored")));
        const QString newScan = home(QStringLiteral("other"));
        QDir().mkpath(newScan);
        const auto window = openWindow();
        QTRY_COMPARE(window->form()->comboBox_Phones->count(), 1);
        Catalogue &catalogue = Catalogue::instance();
        QCOMPARE(catalogue.currentPhoneSerial, QStringLiteral("SN-SET-1"));
        const int profile = catalogue.currentProfile();
        QVERIFY(profile >= 0);
        const int oldQuality = catalogue.profiles.at(profile).quality;
        const int newQuality = oldQuality == 0 ? 2 : 0;
        QSettings store(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
        store.sync();
        const QStringList keysBefore = store.allKeys();

        bool seen = false;
        User user([&] {
            const QList<CSettingsDialog *> shown = visibleDialogs<CSettingsDialog>();
            if (shown.size() != 1)
                return false;
            CSettingsDialog *dialog = shown.constFirst();
            seen = true;
            dialog->findChild<CSlider *>(QStringLiteral("sliderQuality"))->setValue(newQuality);
            dialog->findChild<QLineEdit *>(QStringLiteral("slEdit"))->setText(newScan);
            QTest::mouseClick(dialog->findChild<QAbstractButton *>(save ? QStringLiteral("okButton")
                                                                        : QStringLiteral("cancelButton")),
                              Qt::LeftButton);
            return true;
        });
        window->form()->actionSettings->trigger();
        QVERIFY(seen);
        QVERIFY(!user.timedOut());
        store.sync();
        if (save) {
            QCOMPARE(Settings::qualityValue(), newQuality);
            QCOMPARE(Settings::scanFolder(), newScan);
        } else {
            QCOMPARE(store.allKeys(), keysBefore);
            QCOMPARE(Settings::qualityValue(), 1);
            QCOMPARE(Settings::scanFolder(), home(QStringLiteral("stored")));
        }
        // The phone's profile, as the data file keeps it.
        QVERIFY(catalogue.loadAppSettings(false));
        QCOMPARE(catalogue.profiles.at(catalogue.findProfile(QStringLiteral("SN-SET-1"))).quality,
                 save ? newQuality : oldQuality);
        QCOMPARE(catalogue.quality, save ? newQuality : oldQuality);
    }

    void everyShortcutRunsItsEntryOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("context");
        const struct
        {
            const char *name;
            int context;
        } rows[] = {
            {"actionCopy_to_phone", 0}, {"actionCopy_to_PC", 0}, {"actionRemove_from_phone", 0},
            {"actionRemove_from_PC", 0}, {"actionCancel", 2}, {"actionCancelAll", 2}, {"actionCancelD", 3},
            {"actionCancelAllD", 3}, {"actionConvert_Copy_phone", 1}, {"actionConvert_Copy_PC", 1},
            {"actionScan", 0}, {"actionRefresh_F5", 0}, {"actionDelete_DEL", 1}, {"actionClearCompleted", 3},
            {"actionMy_Collection_2", 2}, {"actionScan_results", 0}, {"actionTasks", 0}, {"actionDownloads", 0},
            {"actionSingle_view_2", 0}, {"actionPlay", 4}, {"actionVolume_up", 4}, {"actionVolume_down", 4},
            {"actionSettings", 0}, {"actionQuit", 0},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.context;
    }
    void everyShortcutRunsItsEntryOnce()
    {
        QFETCH(QString, name);
        QFETCH(int, context);
        Settings::setScanFolder(home(QStringLiteral("empty")));
        QDir().mkpath(home(QStringLiteral("empty")));
        Settings::setNoPhoneConnectedNotify(true);
        QDir().mkpath(home(QStringLiteral("given")));
        const QString clip = home(QStringLiteral("given/clip.MP4"));
        QVERIFY(QFileInfo::exists(clip) || MediaClips::make(clip));
        // No downloads left by earlier cases: cancelling them would ask.
        Catalogue::instance().downloads.clear();
        const auto window = openWindow();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (context == CContextSwitcher::SingleViewPage)
            QVERIFY(window->contextSwitcher()->openFile(clip));
        else
            window->contextSwitcher()->setContext(context);
        QAction *action = window->findChild<QAction *>(name);
        QVERIFY(action);
        QVERIFY(action->isEnabled());
        QSignalSpy triggered(action, &QAction::triggered);
        QSignalSpy refreshed(window.get(), &CVideoTransferWindow::myCollectionRefreshed);
        int dialogs = 0;
        User user([&] {
            // Every dialog the command opens is counted and closed.
            for (QDialog *dialog : visibleDialogs<QDialog>()) {
                ++dialogs;
                dialog->reject();
            }
            return false;
        });
        QTest::qWait(300); // the My collection of the new window
        refreshed.clear();

        QTest::keySequence(window.get(), action->shortcut());
        QCOMPARE(triggered.size(), 1);
        QTest::qWait(300);
        if (name == QLatin1String("actionScan")) {
            QCOMPARE(window->scansStarted(), 1);
            QTRY_VERIFY(!window->isScanning());
        } else if (name == QLatin1String("actionRefresh_F5")) {
            QTRY_COMPARE(refreshed.size(), 1);
            QTest::qWait(200);
            QCOMPARE(refreshed.size(), 1);
        } else if (name == QLatin1String("actionMy_Collection_2") || name == QLatin1String("actionScan_results")
                   || name == QLatin1String("actionTasks") || name == QLatin1String("actionDownloads")) {
            const QStringList order = {QStringLiteral("actionMy_Collection_2"), QStringLiteral("actionScan_results"),
                                       QStringLiteral("actionTasks"), QStringLiteral("actionDownloads")};
            QCOMPARE(window->currentContext(), int(order.indexOf(name)));
        } else if (name == QLatin1String("actionSettings") || name == QLatin1String("actionConvert_Copy_PC")) {
            // The settings dialog; the notice that no phone is known.
            QCOMPARE(dialogs, 1);
        } else if (name == QLatin1String("actionQuit")) {
            QVERIFY(!window->isVisible());
        } else if (name == QLatin1String("actionPlay")) {
            QCOMPARE(action->text(), QStringLiteral("Play"));
        }
        if (name != QLatin1String("actionSettings") && name != QLatin1String("actionConvert_Copy_PC"))
            QCOMPARE(dialogs, 0);
    }

    void theHelpKeyOpensThePagesHelp()
    {
        const auto window = openWindow();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->contextSwitcher()->setContext(CContextSwitcher::Downloads);
        OpenedUrls opened;
        QTest::keyClick(window.get(), Qt::Key_F1);
        // A button's shortcut presses it visibly, a moment later.
        QTRY_COMPARE(opened.urls.size(), 1);
        QTest::qWait(300);
        QCOMPARE(opened.urls.size(), 1);
        QVERIFY(opened.urls.constFirst().toLocalFile().startsWith(Help::helpFolder()));
    }

    void theCopyNoticesAreEachTheirOwn_data()
    {
        QTest::addColumn<bool>("phone");
        QTest::addRow("phone listed") << true;
        QTest::addRow("no phone") << false;
    }
    void theCopyNoticesAreEachTheirOwn()
    {
        QFETCH(bool, phone);
        Settings::setOptimizedForPhoneNotify(true);
        Settings::setNoPhoneConnectedNotify(true);
        TestSupport::FolderPhones phones;
        if (phone)
            phones.addPhone(QStringLiteral("one"), QStringLiteral("SN-NOTE-1"), QStringLiteral("Notice phone"));
        const auto window = openWindow();
        if (phone)
            QTRY_COMPARE(window->form()->comboBox_Phones->count(), 1);
        window->contextSwitcher()->setContext(CContextSwitcher::ScanResults);
        QStringList shown;
        const auto answer = [&](bool tick) {
            return [&shown, tick] {
                CMessageDialog *dialog = shownMessage();
                if (!dialog)
                    return false;
                auto *box = dialog->findChild<QCheckBox *>();
                shown << messageText(dialog) + (box ? box->text() : QString());
                if (tick && box)
                    box->setChecked(true);
                return clickButton(dialog, QStringLiteral("Ok"));
            };
        };
        {
            // Nothing selected: the notice still comes, and nothing is queued.
            User user(answer(true));
            QTest::mouseClick(window->form()->toolButton_Copy2MyCollectionFolder, Qt::LeftButton);
            QVERIFY(user.finished());
        }
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.constFirst().contains(phone ? QStringLiteral("automatically convert videos to an optimized size")
                                                  : QStringLiteral("Have you already connected your mobile phone")));
        QVERIFY(shown.constFirst().contains(QStringLiteral("Do not show this again.")));
        QVERIFY(window->taskManager()->tasks().isEmpty());
        QCOMPARE(Settings::optimizedForPhoneNotify(), !phone);
        QCOMPARE(Settings::noPhoneConnectedNotify(), phone);
        // Ticked once, that notice stays away.
        QTest::mouseClick(window->form()->toolButton_Copy2MyCollectionFolder, Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(!CMessageDialog::isShowing());
    }

    void cancellingDownloadsAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addRow("yes") << true;
        QTest::addRow("no") << false;
    }
    void cancellingDownloadsAsksFirst()
    {
        QFETCH(bool, yes);
        TestSupport::HttpTestServer server;
        server.route("/slow", TestSupport::HttpResponse::held());
        const auto window = openWindow();
        window->openArgument(QStringLiteral("tmk://") + QString::fromLatin1(server.base())
                                 + QStringLiteral("/slow?id=1&itemTitle=Slow"),
                             false);
        QCOMPARE(window->currentContext(), 3);
        QVERIFY(window->form()->toolButton_DeleteDownloads->isEnabled());
        // The new download's row is current; with nothing selected the
        // button cancels them all.
        QCOMPARE(window->downloadView()->selectedFileItems().size(), 1);
        window->downloadView()->clearSelection();
        QString question;
        User user([&] {
            CMessageDialog *dialog = shownMessage();
            if (!dialog)
                return false;
            question = messageText(dialog);
            return clickButton(dialog, yes ? QStringLiteral("Ok") : QStringLiteral("Cancel"));
        });
        QTest::mouseClick(window->form()->toolButton_DeleteDownloads, Qt::LeftButton);
        QVERIFY(user.finished());
        QVERIFY(question.contains(QStringLiteral("Are you sure you want to cancel all downloads?")));
        QCOMPARE(window->downloadManager()->allFinished(), yes);
        QCOMPARE(window->form()->toolButton_DeleteDownloads->isEnabled(), !yes);
        server.release("/slow");
        window->downloadManager()->cancelAll();
    }
};

WINDOW_TEST_MAIN(TestWindowCommands)
#include "tst_windowcommands.moc"
