#include "formats.h"

#include <QDateTime>
#include <QTest>

class TestFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<bool>("forceMB");
        QTest::addColumn<QString>("expected");
        QTest::addRow("zero") << qint64(0) << false << QStringLiteral("0 B");
        QTest::addRow("1023 bytes") << qint64(1023) << false << QStringLiteral("1023 B");
        QTest::addRow("1 KiB") << qint64(1024) << false << QStringLiteral("1 KB");
        QTest::addRow("1.5 KiB rounds up") << qint64(1536) << false << QStringLiteral("2 KB");
        QTest::addRow("just below 1 MiB") << qint64(1048575) << false << QStringLiteral("1024 KB");
        QTest::addRow("1 MiB") << qint64(1048576) << false << QStringLiteral("1.00 MB");
        QTest::addRow("1.005 MiB") << qint64(1053819) << false << QStringLiteral("1.01 MB");
        QTest::addRow("4 GiB") << qint64(4294967296LL) << false << QStringLiteral("4096.00 MB");
        QTest::addRow("force 2 MiB") << qint64(2097152) << true << QStringLiteral("2 MB");
        QTest::addRow("force small") << qint64(1023) << true << QStringLiteral("0 MB");
        QTest::addRow("force 2.4 MiB") << qint64(2516582) << true << QStringLiteral("2 MB");
        QTest::addRow("force 2.6 MiB") << qint64(2726298) << true << QStringLiteral("3 MB");
    }
    void sizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(bool, forceMB);
        QFETCH(QString, expected);
        QCOMPARE(Formats::sizeText(bytes, forceMB), expected);
    }

    void durationText_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("expected");
        QTest::addRow("zero") << qint64(0) << QStringLiteral("00:00:00");
        QTest::addRow("one minute five") << qint64(65) << QStringLiteral("00:01:05");
        QTest::addRow("3725") << qint64(3725) << QStringLiteral("01:02:05");
        QTest::addRow("last second of a day") << qint64(86399) << QStringLiteral("23:59:59");
        QTest::addRow("wraps after a day") << qint64(90000) << QStringLiteral("01:00:00");
    }
    void durationText()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, expected);
        QCOMPARE(Formats::durationText(seconds), expected);
    }

    void dateText_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("expected");
        const QDate today(2026, 12, 6);
        QTest::addRow("today") << QDateTime(today, QTime(9, 5)) << today << QStringLiteral("09:05");
        QTest::addRow("yesterday") << QDateTime(today.addDays(-1), QTime(23, 59)) << today
                                   << QStringLiteral("05.12.2026, 23:59");
        QTest::addRow("other year") << QDateTime(QDate(2024, 2, 29), QTime(0, 0)) << today
                                    << QStringLiteral("29.02.2024, 00:00");
    }
    void dateText()
    {
        QFETCH(QDateTime, when);
        QFETCH(QDate, today);
        QFETCH(QString, expected);
        QCOMPARE(Formats::dateText(when, today), expected);
    }

    void dateTextUsesTheCurrentDay()
    {
        const QDateTime now = QDateTime::currentDateTime();
        QCOMPARE(Formats::dateText(now), now.toString(QStringLiteral("HH:mm")));
    }

    void statusWrappers()
    {
        QCOMPARE(Formats::whiteText(QStringLiteral("Copying a.mp4")),
                 QStringLiteral("<font color=\"white\">Copying a.mp4</font>"));
        QCOMPARE(Formats::redText(QStringLiteral("12 MB")), QStringLiteral("<font color=\"red\">12 MB</font>"));
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
