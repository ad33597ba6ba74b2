#include "catalogue.h"
#include "dialogfixture.h"
#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadquestion.h"
#include "messagedialog.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QTest>

namespace {

QString shown(QWidget *dialog, const char *label)
{
    auto *text = dialog->findChild<QLabel *>(QLatin1String(label));
    return text ? shownText(text) : QString();
}

} // namespace

// The copy question a new download asks, answered through the real themed
// message dialog's buttons.
class TestDownloadQuestion : public QObject
{
    Q_OBJECT

private:
    // What the user saw, and the download as it stands after the answer.
    struct Asked
    {
        int dialogs = 0;
        QString text;
        QString note;
        QString box;
        bool copy = false;
    };

    // Adds a link with a phone listed, the user answering with button
    // (ticking "Remember my choice" first when tick is set).
    Asked addLink(const QString &title, const QString &button, bool tick)
    {
        Asked asked;
        CDownloadQuestion question([] { return true; });
        CDownloadManager manager;
        manager.setCopyQuestion(&question);
        User user([&] {
            const QList<CMessageDialog *> dialogs = visibleDialogs<CMessageDialog>();
            if (dialogs.size() != 1 || !dialogs.first()->isActiveWindow())
                return false;
            CMessageDialog *dialog = dialogs.first();
            ++asked.dialogs;
            asked.text = shown(dialog, "messageText");
            asked.note = shown(dialog, "messageNote");
            auto *box = dialog->findChild<QCheckBox *>();
            asked.box = box ? box->text() : QString();
            if (box && tick)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            return clickButton(dialog, button);
        });
        // The port is closed: the download itself fails quietly in the background.
        CDownloadItem *download = manager.add(QStringLiteral("tmk://127.0.0.1:1/v?id=1&itemTitle=") + title);
        asked.copy = download->copyToPhone();
        if (!user.finished())
            asked.dialogs = 0;
        manager.cancelAll();
        return asked;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }
    void cleanupTestCase() { CTheme::setCurrent(nullptr); }
    void cleanup() { Catalogue::instance().downloads.clear(); }

    void askedEachTime_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<int>("stored");
        QTest::addRow("Ok") << QStringLiteral("Ok") << false << true << -1;
        QTest::addRow("Ok, remembered") << QStringLiteral("Ok") << true << true << 1;
        QTest::addRow("Cancel") << QStringLiteral("Cancel") << false << false << -1;
        QTest::addRow("Cancel, remembered") << QStringLiteral("Cancel") << true << false << 0;
    }
    void askedEachTime()
    {
        QFETCH(QString, button);
        QFETCH(bool, tick);
        Settings::setDownloadToPhone(-1);
        const Asked asked = addLink(QStringLiteral("My%20clip"), button, tick);
        QCOMPARE(asked.dialogs, 1);
        QCOMPARE(asked.text, QStringLiteral("Do you want to copy 'My%20clip' directly to the phone also?"));
        QCOMPARE(asked.note, QStringLiteral("You can change your decision from downloads settings."));
        QCOMPARE(asked.box, QStringLiteral("Remember my choice"));
        QTEST(asked.copy, "copy");
        QTEST(Settings::downloadToPhone(), "stored");
    }

    void rememberedChoiceAsksNothing_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<bool>("copy");
        QTest::addRow("always") << 1 << true;
        QTest::addRow("never") << 0 << false;
    }
    void rememberedChoiceAsksNothing()
    {
        QFETCH(int, setting);
        Settings::setDownloadToPhone(setting);
        CDownloadQuestion question([] { return true; });
        CDownloadManager manager;
        manager.setCopyQuestion(&question);
        CDownloadItem *download = manager.add(QStringLiteral("tmk://127.0.0.1:1/v?id=1&itemTitle=clip"));
        QTEST(download->copyToPhone(), "copy");
        QVERIFY(visibleDialogs<CMessageDialog>().isEmpty());
        QVERIFY(!CMessageDialog::isShowing());
        QCOMPARE(Settings::downloadToPhone(), setting);
        manager.cancelAll();
    }

    void noPhoneListedAsksNothing()
    {
        Settings::setDownloadToPhone(-1);
        CDownloadQuestion question([] { return false; });
        QVERIFY(!CopyToPhone::decide(&question, QStringLiteral("clip")));
        QVERIFY(!CMessageDialog::isShowing());
    }

    void markupInANameShowsLiterally()
    {
        CDownloadQuestion question([] { return true; });
        QString text;
        User user([&] {
            const QList<CMessageDialog *> dialogs = visibleDialogs<CMessageDialog>();
            if (dialogs.size() != 1 || !dialogs.first()->isActiveWindow())
                return false;
            text = shown(dialogs.first(), "messageText");
            return clickButton(dialogs.first(), QStringLiteral("Cancel"));
        });
        QVERIFY(!question.askCopyToPhone(QStringLiteral("<b>x</b> <a href=\"http://h/\">y</a>")));
        QVERIFY(user.finished());
        QCOMPARE(text, QStringLiteral("Do you want to copy '<b>x</b> <a href=\"http://h/\">y</a>' directly to the phone "
                                      "also?"));
    }

    void longNameIsShortenedInTheMiddle()
    {
        Settings::setDownloadToPhone(-1);
        const QString title = QStringLiteral("Start%20of%20it") + QString(100, QLatin1Char(0x78)) + QStringLiteral("end");
        const Asked asked = addLink(title, QStringLiteral("Ok"), false);
        QCOMPARE(asked.dialogs, 1);
        QVERIFY2(asked.text.contains(QStringLiteral("'Start%20of%20itxxxxxxxxxxxxx\u2026xxxxxxxxxxxxxxxxxxxxxxxxxend'")),
                 qPrintable(asked.text));
        QVERIFY(asked.copy);
    }
};

QTEST_MAIN(TestDownloadQuestion)
#include "tst_downloadquestion.moc"
