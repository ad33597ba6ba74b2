// The whole job through the real window, as a user does it: scan a folder of
// real clips, convert and copy two of them to a folder phone, remove one from
// the phone and from My collection with its storage buttons, take a download
// handed over by a second start into My collection and onto the phone, and
// open a video whose file has gone.

#include "commandfixture.h"

#include "downloadmanager.h"
#include "fileitem.h"
#include "httptestserver.h"
#include "mycollectionview.h"
#include "scanview.h"
#include "settingsstore.h"
#include "singleinstance.h"
#include "storagebtns.h"
#include "taskmanager.h"

#include <QCheckBox>
#include <QTimer>
#include <QToolButton>

using namespace WindowTest;
using TestSupport::FolderPhones;

namespace {

const QList<TestSupport::MemorySpec> s_memoryAndCard = {{QStringLiteral("Phone memory"), 256LL << 20},
                                                        {QStringLiteral("Memory card"), 1LL << 30}};

// Answers the next message with Ok, ticking its check box when asked to.
std::unique_ptr<User> confirm(QStringList *texts = nullptr, bool tick = false)
{
    return std::make_unique<User>([texts, tick] {
        CMessageDialog *dialog = shownMessage();
        if (!dialog)
            return false;
        if (texts)
            *texts << messageText(dialog);
        if (auto *box = dialog->findChild<QCheckBox *>(); box && tick)
            box->setChecked(true);
        return clickButton(dialog, QStringLiteral("Ok"));
    });
}

bool waitForTasks(const CVideoTransferWindow &window)
{
    return QTest::qWaitFor([&] { return window.taskManager()->allFinished(); }, 180000);
}

} // namespace

class TestWindowJourney : public QObject
{
    Q_OBJECT

    std::unique_ptr<FolderPhones> m_phones;

    QString card() const { return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos"); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        Settings::setMyCollectionFolder(home(QStringLiteral("collection")));
        QDir().mkpath(home(QStringLiteral("collection")));
    }

    void init()
    {
        m_phones = std::make_unique<FolderPhones>();
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("SN-JOURNEY"), QStringLiteral("Journey phone"),
                           QStringLiteral("16"), s_memoryAndCard);
    }

    void cleanup() { m_phones.reset(); }

    void scanConvertCopyAndRemove()
    {
        makeClips(home(QStringLiteral("trip")), QStringLiteral("trip"), 3);
        Settings::setScanFolder(home(QStringLiteral("trip")));
        Settings::setOptimizedForPhoneNotify(true);
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QTRY_COMPARE(form->comboBox_Phones->count(), 1);
        QTRY_VERIFY(!window->isCollectionBuilding());

        // Scan: three rows with their lengths.
        QTest::mouseClick(form->toolButton_StartScan, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(plainText(form->ScanInfoLabel), QStringLiteral("Scanning Completed."), 120000);
        ScanView *scan = window->scanView();
        QTRY_COMPARE(scan->fileRows().size(), 3);
        for (TreeItem *row : scan->fileRows())
            QVERIFY2(row->text(1) != QLatin1String("00:00:00"), qPrintable(row->text(0)));

        // Convert and copy two of them: the notice once, then one conversion at a time.
        scan->clearSelection();
        scan->fileRows().at(0)->setSelected(true);
        scan->fileRows().at(1)->setSelected(true);
        QStringList notices;
        QStringList taskTexts;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            const QString text = plainText(form->TaskInfoLabel);
            if (taskTexts.isEmpty() || taskTexts.last() != text)
                taskTexts << text;
        });
        watch.start(5);
        {
            const auto user = confirm(&notices, true);
            QTest::mouseClick(form->toolButton_Copy2Phone, Qt::LeftButton);
            QVERIFY(user->finished());
        }
        QCOMPARE(notices.size(), 1);
        QVERIFY(!Settings::optimizedForPhoneNotify());
        QCOMPARE(window->taskManager()->tasks().size(), 2);
        QVERIFY(waitForTasks(*window));
        QTRY_COMPARE(plainText(form->TaskInfoLabel), QStringLiteral("No ongoing tasks."));
        watch.stop();
        QVERIFY2(taskTexts.filter(QStringLiteral("Converting trip")).size() >= 1, qPrintable(taskTexts.join(u'|')));
        for (const char *name : {"trip1.mp4", "trip2.mp4"}) {
            QVERIFY2(QFile::exists(card() + QLatin1Char('/') + QLatin1String(name)), name);
            QVERIFY2(QFile::exists(home(QStringLiteral("collection/")) + QLatin1String(name)), name);
        }
        MyCollectionView *collection = window->myCollectionView();
        TreeItem *row = collection->rowNamed(QStringLiteral("trip1.mp4"));
        QVERIFY(row);
        QCOMPARE(row->fileItem()->location(), FileItem::Both);
        QVERIFY(collection->rowNamed(QStringLiteral("trip2.mp4")));
        // The same command again does not ask a second time.
        form->pushButtonScanResults->click();
        scan->clearSelection();
        scan->fileRows().at(2)->setSelected(true);
        QTest::mouseClick(form->toolButton_Copy2MyCollectionFolder, Qt::LeftButton);
        QVERIFY(!CMessageDialog::isShowing());
        QVERIFY(waitForTasks(*window));

        // Remove trip1 from the phone with its storage button.
        form->pushButtonMyCollection->click();
        const QUuid id = row->fileItem()->uuid;
        collection->scrollToItem(row);
        StorageBtns *buttons = collection->storageButtons(row);
        QVERIFY(buttons);
        QCOMPARE(buttons->phoneAction(), 3);
        {
            QStringList questions;
            const auto user = confirm(&questions);
            QTest::mouseClick(buttons->phoneButton(), Qt::LeftButton);
            QVERIFY(user->finished());
            QVERIFY2(questions.first().contains(QStringLiteral("Are you sure you want to delete 'trip1")),
                     qPrintable(questions.first()));
        }
        QVERIFY(waitForTasks(*window));
        QTRY_VERIFY(!QFile::exists(card() + QStringLiteral("/trip1.mp4")));
        row = collection->rowOf(id);
        QVERIFY(row);
        QTRY_COMPARE(row->fileItem()->location(), FileItem::PcOnly);
        QCOMPARE(collection->storageButtons(row)->phoneAction(), 5);
        QCOMPARE(collection->storageButtons(row)->phoneButton()->toolTip(), QStringLiteral("Copy to Phone"));

        // And from My collection: the row goes with the file.
        buttons = collection->storageButtons(row);
        {
            const auto user = confirm();
            QTest::mouseClick(buttons->pcButton(), Qt::LeftButton);
            QVERIFY(user->finished());
        }
        QVERIFY(waitForTasks(*window));
        QTRY_VERIFY(!collection->rowOf(id));
        QVERIFY(!QFile::exists(home(QStringLiteral("collection/trip1.mp4"))));
        QVERIFY(!Catalogue::instance().myCollection.find(id));
    }

    void aHandedOverLinkEndsInMyCollectionAndOnThePhone()
    {
        const QString clipPath = home(QStringLiteral("served/parade.mp4"));
        QDir().mkpath(QFileInfo(clipPath).absolutePath());
        QVERIFY(MediaClips::make(clipPath));
        QFile clip(clipPath);
        QVERIFY(clip.open(QIODevice::ReadOnly));
        TestSupport::HttpTestServer server;
        server.route("/parade", TestSupport::HttpResponse::withBody(clip.readAll()));
        Settings::setDownloadToPhone(1);
        const auto window = openWindow();
        QTRY_COMPARE(window->form()->comboBox_Phones->count(), 1);
        QTRY_VERIFY(!window->isCollectionBuilding());

        const QString link = QStringLiteral("TMK://") + QString::fromLatin1(server.base())
                             + QStringLiteral("/parade?id=3&itemTitle=Parade");
        QVERIFY(window->handOver(HandOverServer::HandOverMarker, link.toLocal8Bit()));
        QTRY_COMPARE(window->currentContext(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(window->downloadManager()->allFinished(), 60000);
        QTRY_VERIFY(window->myCollectionView()->rowNamed(QStringLiteral("Parade.mp4")));
        QVERIFY(QFile::exists(home(QStringLiteral("collection/Parade.mp4"))));
        QVERIFY(waitForTasks(*window));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(card() + QStringLiteral("/Parade.mp4")), 60000);
        QTRY_COMPARE(window->myCollectionView()->rowNamed(QStringLiteral("Parade.mp4"))->fileItem()->location(),
                     FileItem::Both);
        Settings::setDownloadToPhone(-1);
    }

    void openingAVideoWhoseFileHasGone()
    {
        const QString path = home(QStringLiteral("collection/vanishing.mp4"));
        QVERIFY(MediaClips::make(path));
        const auto window = openWindow();
        QTRY_VERIFY(!window->isCollectionBuilding());
        MyCollectionView *collection = window->myCollectionView();
        QTRY_VERIFY(collection->rowNamed(QStringLiteral("vanishing.mp4")));
        collection->setCurrentItem(collection->rowNamed(QStringLiteral("vanishing.mp4")));
        QVERIFY(QFile::remove(path));
        QStringList messages;
        const auto user = confirm(&messages);
        QTest::mouseClick(window->form()->toolButton_Open, Qt::LeftButton);
        // Errors are shown in turn, without holding up the window.
        QTRY_VERIFY(user->finished());
        QVERIFY2(messages.first().contains(QStringLiteral("File %1 does not exist.").arg(path)),
                 qPrintable(messages.first()));
        QCOMPARE(window->contextSwitcher()->viewMode(), int(CContextSwitcher::ListMode));
    }
};

WINDOW_TEST_MAIN(TestWindowJourney)
#include "tst_windowjourney.moc"
