#include "catalogue.h"
#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadquestion.h"
#include "settingsstore.h"

#include <QTest>

// The copy question's texts and how its answers are kept. The dialog is
// given as the function that shows it; here the test answers in its place
// with the results the dialog returns for each button.
class TestDownloadQuestion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Catalogue::instance().downloads.clear(); }

    void answers_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<int>("stored");
        QTest::addRow("ok") << 1 << true << -1;
        QTest::addRow("ok, remembered") << 3 << true << 1;
        QTest::addRow("cancel") << 0 << false << -1;
        QTest::addRow("cancel, remembered") << 4 << false << 0;
    }
    void answers()
    {
        QFETCH(int, result);
        Settings::setDownloadToPhone(-1);
        QStringList shown;
        CDownloadQuestion question([] { return true; },
                                   [&](int kind, const QString &title, const QString &text, const QString &box,
                                       const QString &note) {
                                       shown << QString::number(kind) << title << text << box << note;
                                       return result;
                                   });
        // As a new download asks it, with the remembered choice read first.
        CDownloadManager manager;
        manager.setCopyQuestion(&question);
        CDownloadItem *download = manager.add(QStringLiteral("tmk://127.0.0.1:1/v?id=1&itemTitle=My%20<b>clip</b>"));
        QTEST(download->copyToPhone(), "copy");
        QTEST(Settings::downloadToPhone(), "stored");
        QCOMPARE(shown, (QStringList{QStringLiteral("1"), QStringLiteral("Orvak Tamsel"),
                                     QStringLiteral("Do you want to copy 'My%20%3Cb%3Eclip%3C%2Fb%3E' directly to the "
                                                    "phone also?"),
                                     QStringLiteral("Remember my choice"),
                                     QStringLiteral("You can change your decision from downloads settings.")}));
        manager.cancelAll();

        // A remembered choice is not asked again.
        shown.clear();
        if (Settings::downloadToPhone() != -1) {
            CDownloadItem *next = manager.add(QStringLiteral("tmk://127.0.0.1:1/v?id=2&itemTitle=next"));
            QCOMPARE(next->copyToPhone(), Settings::downloadToPhone() == 1);
            QVERIFY(shown.isEmpty());
            manager.cancelAll();
        }
    }

    void markupInANameIsShownAsText()
    {
        QString text;
        CDownloadQuestion question([] { return true; },
                                   [&](int, const QString &, const QString &t, const QString &, const QString &) {
                                       text = t;
                                       return 0;
                                   });
        question.askCopyToPhone(QStringLiteral("<a href=\"x\">clip</a>"));
        QCOMPARE(text, QStringLiteral("Do you want to copy '&lt;a href=&quot;x&quot;&gt;clip&lt;/a&gt;' directly to the "
                                      "phone also?"));
    }

    void noPhoneNoQuestion()
    {
        Settings::setDownloadToPhone(-1);
        int asked = 0;
        CDownloadQuestion question([] { return false; },
                                   [&](int, const QString &, const QString &, const QString &, const QString &) {
                                       ++asked;
                                       return 1;
                                   });
        QVERIFY(!CopyToPhone::decide(&question, QStringLiteral("clip")));
        QCOMPARE(asked, 0);
    }
};

QTEST_MAIN(TestDownloadQuestion)
#include "tst_downloadquestion.moc"
