// Scanning through the real window: a folder of real clips is found,
// listed with its lengths and stored; Start Scan while scanning stops, and
// the recover question decides what the list and the stored results hold.

#include "commandfixture.h"

#include "scanview.h"
#include "settingsstore.h"

using namespace WindowTest;

class TestWindowScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        Settings::setMyCollectionFolder(home(QStringLiteral("collection")));
        QDir().mkpath(home(QStringLiteral("collection")));
    }

    void aScanListsAndStoresWhatItFinds()
    {
        const QStringList clips = makeClips(home(QStringLiteral("scan five")), QStringLiteral("clip"), 5);
        QCOMPARE(clips.size(), 5);
        Settings::setScanFolder(home(QStringLiteral("scan five")));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();

        QTest::mouseClick(form->toolButton_StartScan, Qt::LeftButton);
        QCOMPARE(window->scansStarted(), 1);
        QCOMPARE(window->currentContext(), 1);
        QVERIFY(form->ScanBox->isVisible());
        QVERIFY(form->toolButton_StopScan->isEnabled());
        QVERIFY(!form->toolButton_StartScan->isEnabled());
        QVERIFY(form->busyBar->isAnimating());
        QCOMPARE(plainText(form->ScanInfoLabel), QStringLiteral("Scanning..."));

        QTRY_COMPARE_WITH_TIMEOUT(plainText(form->ScanInfoLabel), QStringLiteral("Scanning Completed."), 120000);
        QVERIFY(!form->ScanBox->isVisible());
        QVERIFY(form->toolButton_StartScan->isEnabled());
        QVERIFY(!form->toolButton_StopScan->isEnabled());
        QVERIFY(!form->busyBar->isAnimating());
        QCOMPARE(scanResultPaths(), clips);
        for (const FileItem &item : Catalogue::instance().scanResults)
            QVERIFY2(item.pc.playbackLength >= 1, qPrintable(item.pc.path));
        // The list shows them, with their lengths.
        const QList<TreeItem *> rows = window->scanView()->fileRows();
        QCOMPARE(rows.size(), 5);
        for (const TreeItem *row : rows)
            QVERIFY2(row->text(1) != QLatin1String("00:00:00"), qPrintable(row->text(0)));

        // The next start offers them again, with their lengths.
        QVERIFY(Catalogue::instance().loadAppSettings(true));
        QCOMPARE(Catalogue::instance().savedScanResults.size(), 5);
        QVERIFY(Catalogue::instance().savedScanResults.at(0)->pc.playbackLength >= 1);
    }

    void startScanWhileScanningStops_data()
    {
        QTest::addColumn<bool>("recover");
        QTest::addRow("previous results recovered") << true;
        QTest::addRow("found results kept") << false;
    }
    void startScanWhileScanningStops()
    {
        QFETCH(bool, recover);
        Catalogue &catalogue = Catalogue::instance();
        const QStringList stored = makeClips(home(QStringLiteral("stored")), QStringLiteral("old"), 2);
        QVERIFY(catalogue.saveScanResults(stored, {1, 1}, true));
        makeClips(home(QStringLiteral("other")), QStringLiteral("new"), 2);
        Settings::setScanFolder(home(QStringLiteral("other")));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QCOMPARE(catalogue.savedScanResults.size(), 2);

        QString question;
        User user([&] {
            CMessageDialog *dialog = shownMessage();
            if (!dialog)
                return false;
            question = messageText(dialog);
            return clickButton(dialog, recover ? QStringLiteral("Ok") : QStringLiteral("Cancel"));
        });
        form->actionScan->trigger();
        // The same command again, while the scan runs, stops it.
        QVERIFY(!form->toolButton_StartScan->isEnabled());
        form->actionScan->trigger();
        QVERIFY(user.finished());
        QVERIFY(question.contains(QStringLiteral("Do you wish to recover previous scan results?")));
        QCOMPARE(plainText(form->ScanInfoLabel), QStringLiteral("Scanning Stopped."));
        QVERIFY(!window->isScanning());
        QVERIFY(form->toolButton_StartScan->isEnabled());
        QVERIFY(!form->toolButton_StopScan->isEnabled());
        QVERIFY(!form->ScanBox->isVisible());
        QCOMPARE(window->scansStarted(), 1);

        // Nothing the stopped scan still posts reaches the list.
        QTest::qWait(500);
        if (recover)
            QCOMPARE(scanResultPaths(), stored);
        else
            QVERIFY(scanResultPaths().isEmpty());
        QCOMPARE(window->scanView()->fileRows().size(), recover ? 2 : 0);
        // Declining stores what the list shows in place of the old results.
        QVERIFY(catalogue.loadAppSettings(true));
        QCOMPARE(catalogue.savedScanResults.size(), recover ? 2 : 0);
    }

    void aStoppedScanDoesNotRunOnWithTheNext()
    {
        makeClips(home(QStringLiteral("scan five")), QStringLiteral("clip"), 5);
        Settings::setScanFolder(home(QStringLiteral("scan five")));
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        User user([&] {
            CMessageDialog *dialog = shownMessage();
            return dialog && clickButton(dialog, QStringLiteral("Cancel"));
        });
        form->toolButton_StartScan->click();
        form->toolButton_StopScan->click();
        QVERIFY(user.finished());
        form->toolButton_StartScan->click();
        QTRY_COMPARE_WITH_TIMEOUT(plainText(form->ScanInfoLabel), QStringLiteral("Scanning Completed."), 120000);
        QCOMPARE(Catalogue::instance().scanResults.size(), 5);
    }

};

WINDOW_TEST_MAIN(TestWindowScan)
#include "tst_windowscan.moc"
