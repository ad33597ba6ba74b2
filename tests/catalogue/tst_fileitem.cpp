#include "catalogue.h"
#include "formats.h"
#include "phoneinfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// File items, their two copies and the catalogue's lists, on real files.
class TestFileItem : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString touch(const QString &name, const QByteArray &content = QByteArray("video"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }

    static FileItem *phoneVideo(FileItemList &list, const QString &name)
    {
        FileItem *item = list.append();
        Orvak_API::PhoneFileEntry entry{name, QStringLiteral("\\\\E:\\Videos"), 1000, QDateTime::currentDateTime()};
        item->phone.setFromPhoneEntry(entry);
        return item;
    }

private Q_SLOTS:
    void cleanup() { Catalogue::instance().myCollection.clear(); }

    void itemWithNeitherCopy()
    {
        FileItem item;
        QCOMPARE(item.location(), FileItem::Neither);
        QVERIFY(item.isEmpty());
        QVERIFY(!item.exists());
        QCOMPARE(item.name(), QString());
        QCOMPARE(item.path(), QString());
        QCOMPARE(item.type(), QString());
        QCOMPARE(item.size(), 0LL);
        QCOMPARE(item.playbackLength(), 0);
        const qint64 ago = item.date().daysTo(QDateTime::currentDateTime());
        QVERIFY(ago >= 7300 && ago <= 7306);
        QCOMPARE(item.pc.syncState, int(Unknown));
        QCOMPARE(item.pc.created, QDateTime(QDate(1, 1, 1), QTime(0, 0)));
        QVERIFY(FileItem().uuid != item.uuid);
        QCOMPARE(FileItem(item).uuid, item.uuid);
    }

    void syncStates_data()
    {
        QTest::addColumn<int>("phoneLater");
        QTest::addColumn<int>("phoneSize");
        QTest::addColumn<int>("pcState");
        QTest::addColumn<int>("phoneState");
        QTest::addRow("same time, same size") << 0 << 100 << int(Current) << int(Current);
        QTest::addRow("1 s apart, same size") << 1 << 100 << int(Current) << int(Current);
        QTest::addRow("1 s apart, other size") << 1 << 101 << int(Unknown) << int(Unknown);
        QTest::addRow("-1 s apart, other size") << -1 << 99 << int(Unknown) << int(Unknown);
        QTest::addRow("phone 2 s newer") << 2 << 100 << int(Older) << int(Current);
        QTest::addRow("pc 2 s newer") << -2 << 100 << int(Current) << int(Older);
    }
    void syncStates()
    {
        QFETCH(int, phoneLater);
        QFETCH(int, phoneSize);
        QFETCH(int, pcState);
        QFETCH(int, phoneState);
        const QDateTime when(QDate(2026, 12, 1), QTime(12, 0));
        FileItem item;
        item.pc.name = QStringLiteral("clip");
        item.pc.size = 100;
        item.pc.modified = when;
        item.phone.name = QStringLiteral("clip.mp4");
        item.phone.size = phoneSize;
        item.phone.modified = when.addSecs(phoneLater);
        item.syncStates();
        QCOMPARE(item.pc.syncState, pcState);
        QCOMPARE(item.phone.syncState, phoneState);
        QCOMPARE(item.location(), FileItem::Both);
    }

    void oneSidedSyncStates()
    {
        FileItem item;
        item.pc.name = QStringLiteral("clip");
        item.syncStates();
        QCOMPARE(item.pc.syncState, int(Current));
        QCOMPARE(item.phone.syncState, int(Missing));
        item.pc.clear();
        item.phone.name = QStringLiteral("clip.mp4");
        item.syncStates();
        QCOMPARE(item.pc.syncState, int(Missing));
        QCOMPARE(item.phone.syncState, int(Current));
        QCOMPARE(item.location(), FileItem::PhoneOnly);
    }

    void setFromFile()
    {
        PC pc;
        const QString video = touch(QStringLiteral("holiday.2019.mp4"), QByteArray(5000, 'v'));
        QVERIFY(pc.setFromFile(video));
        QCOMPARE(pc.name, QStringLiteral("holiday.2019"));
        QCOMPARE(pc.suffix, QStringLiteral("mp4"));
        QCOMPARE(pc.type, pc.suffix);
        QCOMPARE(pc.size, 5000LL);
        QCOMPARE(pc.path, video);
        QVERIFY(pc.found);

        // An empty file is described but does not count.
        const QString empty = touch(QStringLiteral("empty.avi"), QByteArray());
        QVERIFY(!pc.setFromFile(empty));
        QCOMPARE(pc.name, QStringLiteral("empty"));
        QCOMPARE(pc.size, 0LL);

        // A missing file changes only the found flag.
        QVERIFY(!pc.setFromFile(m_dir.filePath(QStringLiteral("gone.mp4"))));
        QCOMPARE(pc.name, QStringLiteral("empty"));
        QCOMPARE(pc.path, empty);
        QVERIFY(!pc.found);
    }

    void rowTexts_data()
    {
        QTest::addColumn<int>("viewKind");
        QTest::addColumn<bool>("onPhone");
        QTest::addColumn<QString>("expected");
        // 95 s, 2 MiB, "clip.final" from 2024.
        QTest::addRow("pc, my collection") << 0 << false << QStringLiteral("clip|00:01:35|2.00 MB|mp4|01.02.2024, 10:30");
        QTest::addRow("pc, scan results") << 1 << false
                                          << QStringLiteral("clip.final|00:01:35|2.00 MB|mp4|01.02.2024, 10:30|/v/clip.final.MP4");
        QTest::addRow("pc, tasks") << 2 << false << QStringLiteral("clip.final|00:01:35|2.00 MB");
        QTest::addRow("pc, downloads") << 3 << false << QStringLiteral("clip.final|01.02.2024, 10:30");
        QTest::addRow("pc, other") << 9 << false << QString();
        QTest::addRow("phone, tasks") << 2 << true << QStringLiteral("clip|00:01:35|2.00 MB");
        QTest::addRow("phone, scan results") << 1 << true << QStringLiteral("clip|00:01:35|2.00 MB|mp4|01.02.2024, 10:30");
    }
    void rowTexts()
    {
        QFETCH(int, viewKind);
        QFETCH(bool, onPhone);
        QFETCH(QString, expected);
        FileItem item;
        FileMirror &m = onPhone ? static_cast<FileMirror &>(item.phone) : static_cast<FileMirror &>(item.pc);
        m.name = onPhone ? QStringLiteral("clip.final.MP4") : QStringLiteral("clip.final");
        m.path = QStringLiteral("/v/clip.final.MP4");
        m.suffix = QStringLiteral("MP4");
        m.size = 2 * 1024 * 1024;
        m.playbackLength = 95;
        m.created = QDateTime(QDate(2024, 2, 1), QTime(10, 30));
        QCOMPARE(item.rowText(viewKind), expected);
    }

    void bigFiles_data()
    {
        QTest::addColumn<int>("viewKind");
        QTest::addColumn<bool>("onPhone");
        QTest::addColumn<QString>("sizeColumn");
        // 3,000,000,000 bytes: past 31 bits, where a 32-bit size turns negative.
        QTest::addRow("pc, my collection") << 0 << false << QStringLiteral("2861.02 MB");
        QTest::addRow("pc, scan results") << 1 << false << QStringLiteral("2861.02 MB");
        QTest::addRow("pc, tasks") << 2 << false << QStringLiteral("2861.02 MB");
        QTest::addRow("phone, my collection") << 0 << true << QStringLiteral("2861.02 MB");
        QTest::addRow("phone, tasks") << 2 << true << QStringLiteral("2861.02 MB");
    }
    void bigFiles()
    {
        QFETCH(int, viewKind);
        QFETCH(bool, onPhone);
        QFETCH(QString, sizeColumn);
        const qint64 bytes = 3000000000LL;
        FileItem item;
        if (onPhone) {
            Orvak_API::PhoneFileEntry entry{QStringLiteral("film.mp4"), QStringLiteral("\\\\E:\\Videos"), bytes,
                                            QDateTime::currentDateTime()};
            QVERIFY(item.phone.setFromPhoneEntry(entry));
        } else {
            // Sparse: three gigabytes that take no disk space.
            const QString path = touch(QStringLiteral("film.mp4"), QByteArray());
            QVERIFY(QFile::resize(path, bytes));
            QVERIFY(item.pc.setFromFile(path));
        }
        QCOMPARE(item.size(), bytes);
        QCOMPARE(item.rowText(viewKind).split(QLatin1Char('|')).value(2), sizeColumn);
    }

    void sizesSortPast32Bits()
    {
        // Sparse files around the 31- and 32-bit limits, listed in no order.
        const QList<qint64> sizes{5000000000LL, 1024, 3000000000LL, 2147483647LL, 4294967296LL};
        FileItemList list;
        for (int i = 0; i < sizes.size(); ++i) {
            const QString path = touch(QStringLiteral("big%1.avi").arg(i), QByteArray());
            QVERIFY(QFile::resize(path, sizes.at(i)));
            QVERIFY(list.append()->pc.setFromFile(path));
        }
        QList<FileItem *> items = list.items();
        std::sort(items.begin(), items.end(), [](const FileItem *a, const FileItem *b) { return a->size() < b->size(); });
        QList<qint64> sorted;
        qint64 total = 0;
        for (const FileItem *item : items) {
            sorted << item->size();
            total += item->size();
        }
        QCOMPARE(sorted, (QList<qint64>{1024, 2147483647LL, 3000000000LL, 4294967296LL, 5000000000LL}));
        QCOMPARE(Formats::sizeText(total), QStringLiteral("13773.40 MB"));
    }

    void nameOfAnOverridePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addRow("phone memory") << QStringLiteral("\\\\C:\\Data\\Videos\\clip.mp4") << QStringLiteral("clip.mp4");
        QTest::addRow("memory card, subfolder") << QStringLiteral("\\\\E:\\Videos\\trips\\a b.3gp")
                                                << QStringLiteral("a b.3gp");
        QTest::addRow("phone folder only") << QStringLiteral("\\\\E:\\Videos\\") << QString();
        QTest::addRow("pc") << QStringLiteral("/home/u/Videos/clip.mp4") << QStringLiteral("clip.mp4");
        // On the PC a backslash belongs to the name.
        QTest::addRow("pc, backslash in the name") << QStringLiteral("/home/u/odd\\name.mp4")
                                                   << QStringLiteral("odd\\name.mp4");
        QTest::addRow("none") << QString() << QStringLiteral("own");
    }
    void nameOfAnOverridePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        FileItem item;
        item.pc.name = QStringLiteral("own");
        QCOMPARE(item.name(path), name);
        QCOMPARE(FileItem().name(path), QString());
    }

    void mirrorsTakeEachOther()
    {
        FileItem item;
        Orvak_API::PhoneFileEntry entry{QStringLiteral("clip.mp4"), QStringLiteral("\\\\C:\\Data\\Videos"), 1234,
                                        QDateTime(QDate(2026, 1, 2), QTime(3, 4))};
        QVERIFY(item.phone.setFromPhoneEntry(entry));
        QCOMPARE(item.phone.path, QStringLiteral("\\\\C:\\Data\\Videos\\clip.mp4"));
        QCOMPARE(item.phone.suffix, QStringLiteral("mp4"));
        QVERIFY(item.phone.exists());
        QVERIFY(item.pc.assignFrom(item.phone, QStringLiteral("/home/u/Videos")));
        QCOMPARE(item.pc.path, QStringLiteral("/home/u/Videos/clip.mp4"));

        FileItem other;
        QVERIFY(other.pc.setFromFile(touch(QStringLiteral("trip.avi"))));
        QVERIFY(other.phone.assignFrom(other.pc, QStringLiteral("\\\\E:\\Videos")));
        QCOMPARE(other.phone.path, QStringLiteral("\\\\E:\\Videos\\trip.avi"));
    }

    void listsKeepAddresses()
    {
        FileItemList list;
        FileItem *first = list.append();
        first->pc.name = QStringLiteral("first");
        QList<FileItem *> more;
        for (int i = 0; i < 1000; ++i)
            more << list.append();
        QCOMPARE(first->pc.name, QStringLiteral("first"));
        const QUuid gone = more.at(10)->uuid;
        QCOMPARE(list.removeIf([&](const FileItem &item) { return item.uuid == gone; }), 1);
        QCOMPARE(list.size(), 1000);
        QCOMPARE(list.at(0), first);
        QCOMPARE(list.at(10), more.at(9));
        QCOMPARE(list.at(11), more.at(11));

        FileItemList copy = list;
        QCOMPARE(copy.size(), list.size());
        QVERIFY(copy.at(0) != list.at(0));
        QCOMPARE(copy.at(0)->uuid, list.at(0)->uuid);
    }

    void removeScanResultKeepsSavedAligned()
    {
        Catalogue &c = Catalogue::instance();
        c.scanResults.clear();
        for (int i = 0; i < 3; ++i)
            c.appendScanResult()->pc.name = QString::number(i);
        c.savedScanResults = c.scanResults;
        c.removeScanResult(c.scanResults.at(1)->uuid);
        QCOMPARE(c.scanResults.size(), 2);
        QCOMPARE(c.savedScanResults.size(), 2);
        QCOMPARE(c.savedScanResults.at(1)->pc.name, QStringLiteral("2"));
        c.scanResults.clear();
        c.savedScanResults.clear();
    }

    void uniqueTargetPath()
    {
        QTemporaryDir dir;
        const QString v = dir.path();
        auto file = [&](const QString &name) {
            QFile f(v + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        Catalogue &c = Catalogue::instance();
        QCOMPARE(c.uniqueTargetPath(v + QStringLiteral("/clip.mp4")), v + QStringLiteral("/clip.mp4"));
        file(QStringLiteral("clip.mp4"));
        file(QStringLiteral("clip (1).mp4"));
        QCOMPARE(c.uniqueTargetPath(v + QStringLiteral("/clip.mp4")), v + QStringLiteral("/clip (2).mp4"));
        // A name with several dots keeps the part before the first and the last extension.
        file(QStringLiteral("a.b.mp4"));
        QCOMPARE(c.uniqueTargetPath(v + QStringLiteral("/a.b.mp4")), v + QStringLiteral("/a (1).mp4"));
        // A phone video of the same name is a clash too.
        phoneVideo(c.myCollection, QStringLiteral("clip (2).mp4"));
        QCOMPARE(c.uniqueTargetPath(v + QStringLiteral("/clip.mp4")), v + QStringLiteral("/clip (2) (1).mp4"));
        // ...and the disk rule runs again on the new name.
        file(QStringLiteral("clip (2) (1).mp4"));
        QCOMPARE(c.uniqueTargetPath(v + QStringLiteral("/clip.mp4")), v + QStringLiteral("/clip (2) (1) (1).mp4"));
        // Relative parts are resolved.
        QCOMPARE(c.uniqueTargetPath(v + QStringLiteral("/sub/../fresh.mp4")), v + QStringLiteral("/fresh.mp4"));
    }

    void hasPhoneNameComparesNamesBeforeTheExtension()
    {
        Catalogue &c = Catalogue::instance();
        phoneVideo(c.myCollection, QStringLiteral("Clip.mp4"));
        QVERIFY(c.hasPhoneName(QStringLiteral("Clip")));
        QVERIFY(!c.hasPhoneName(QStringLiteral("clip")));
        QVERIFY(!c.hasPhoneName(QStringLiteral("Clip.mp4")));
    }
};

QTEST_GUILESS_MAIN(TestFileItem)
#include "tst_fileitem.moc"
