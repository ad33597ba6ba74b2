// How the lists order their items and name their groups.

#include "fileitem.h"
#include "itemordering.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

enum Side { OnPc = 1, OnPhone = 2 };

std::unique_ptr<FileItem> item(const QString &name, int sides = OnPc)
{
    auto made = std::make_unique<FileItem>();
    if (sides & OnPc)
        made->pc.name = name;
    if (sides & OnPhone)
        made->phone.name = name;
    made->pc.created = made->phone.created = QDateTime::currentDateTime().addDays(-3);
    return made;
}

std::unique_ptr<FileItem> sized(qint64 bytes)
{
    auto made = item(QStringLiteral("clip"));
    made->pc.size = bytes;
    return made;
}

std::unique_ptr<FileItem> lasting(int seconds)
{
    auto made = item(QStringLiteral("clip"));
    made->pc.playbackLength = seconds;
    return made;
}

std::unique_ptr<FileItem> created(const QDateTime &when)
{
    auto made = item(QStringLiteral("clip"));
    made->pc.created = when;
    return made;
}

QString word(int index)
{
    return QStringLiteral("Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday|Today|Yesterday|Older Than|"
                          "One Week|Two Weeks|One Month|Older|Newer")
        .split(QLatin1Char('|'))
        .at(index);
}

} // namespace

Q_DECLARE_METATYPE(std::shared_ptr<FileItem>)

class TestItemOrdering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        ItemOrdering::setSortKey(ItemOrdering::ByName);
        ItemOrdering::setReverse(0);
    }

    void groupNames_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<std::shared_ptr<FileItem>>("subject");
        QTest::addColumn<QString>("group");
        using namespace ItemOrdering;
        auto row = [](const char *name, int key, std::unique_ptr<FileItem> subject, const QString &group) {
            QTest::newRow(name) << key << std::shared_ptr<FileItem>(std::move(subject)) << group;
        };
        row("5242879 bytes", BySize, sized(5242879), QStringLiteral("Small"));
        row("5242880 bytes", BySize, sized(5242880), QStringLiteral("Medium"));
        row("104857599 bytes", BySize, sized(104857599), QStringLiteral("Medium"));
        row("104857600 bytes", BySize, sized(104857600), QStringLiteral("Big"));
        row("5 GiB", BySize, sized(5LL << 30), QStringLiteral("Big"));
        row("0 s", ByLength, lasting(0), QStringLiteral("Small"));
        row("299 s", ByLength, lasting(299), QStringLiteral("Small"));
        row("300 s", ByLength, lasting(300), QStringLiteral("Medium"));
        row("1800 s", ByLength, lasting(1800), QStringLiteral("Medium"));
        row("1859 s", ByLength, lasting(1859), QStringLiteral("Medium"));
        row("1860 s", ByLength, lasting(1860), QStringLiteral("Large"));
        const QDateTime now = QDateTime::currentDateTime();
        row("today", ByCreated, created(QDateTime(QDate::currentDate(), QTime(0, 0))), word(7));
        row("yesterday", ByCreated, created(now.addDays(-1)), word(8));
        const QDateTime threeDaysAgo = now.addDays(-3);
        row("three days ago", ByCreated, created(threeDaysAgo), word(threeDaysAgo.date().dayOfWeek() - 1));
        row("7 days ago", ByCreated, created(now.addDays(-7)), QStringLiteral("Older Than One Week"));
        row("14 days ago", ByCreated, created(now.addDays(-14)), QStringLiteral("Older Than Two Weeks"));
        row("30 days ago", ByCreated, created(now.addDays(-30)), QStringLiteral("Older Than One Month"));
        row("59 days ago", ByCreated, created(now.addDays(-59)), QStringLiteral("Older Than One Month"));
        row("60 days ago", ByCreated, created(now.addDays(-60)), QStringLiteral("Older"));
        row("in the future", ByCreated, created(now.addSecs(3600)), QStringLiteral("Newer"));
        row("digit", ByName, item(QStringLiteral("2 fast")), QStringLiteral("Other"));
        row("bracket", ByName, item(QStringLiteral("(live)")), QStringLiteral("Other"));
        row("empty name", ByName, item(QString()), QStringLiteral("Other"));
        row("lower-case a", ByName, item(QStringLiteral("alpha")), QStringLiteral("A"));
        row("umlaut", ByName, item(QStringLiteral("über")), QStringLiteral("Ü"));
        auto typed = item(QStringLiteral("clip"));
        typed->pc.type = QStringLiteral("MPEG-4 video");
        row("type", ByType, std::move(typed), QStringLiteral("MPEG-4 video"));
        row("PC only, sorted by PC only", PcOnlyFirst, item(QStringLiteral("a"), OnPc), QStringLiteral("PC only"));
        row("both, sorted by PC only", PcOnlyFirst, item(QStringLiteral("a"), OnPc | OnPhone), QStringLiteral("Other"));
        row("phone only, sorted by phone only", PhoneOnlyFirst, item(QStringLiteral("a"), OnPhone),
            QStringLiteral("Phone only"));
        row("PC only, sorted by phone only", PhoneOnlyFirst, item(QStringLiteral("a"), OnPc), QStringLiteral("Other"));
        row("both, sorted by phone only", PhoneOnlyFirst, item(QStringLiteral("a"), OnPc | OnPhone),
            QStringLiteral("Other"));
        row("both, sorted by both", BothFirst, item(QStringLiteral("a"), OnPc | OnPhone), QStringLiteral("Both"));
        row("location has one group", ByLocation, item(QStringLiteral("a")), QString());
    }
    void groupNames()
    {
        QFETCH(int, key);
        QFETCH(std::shared_ptr<FileItem>, subject);
        QFETCH(QString, group);
        QCOMPARE(ItemOrdering::groupName(subject.get(), key), group);
    }

    void orderingByKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("reverse");
        QTest::addColumn<bool>("smallFirst");
        QTest::newRow("size ascending") << int(ItemOrdering::BySize) << 0 << true;
        QTest::newRow("size reversed") << int(ItemOrdering::BySize) << 1 << false;
        QTest::newRow("length ascending") << int(ItemOrdering::ByLength) << 0 << true;
        QTest::newRow("length reversed") << int(ItemOrdering::ByLength) << 1 << false;
    }
    // A 5 GiB file is larger than a 2 GiB one, whatever 32 bits would say.
    void orderingByKey()
    {
        QFETCH(int, key);
        QFETCH(int, reverse);
        QFETCH(bool, smallFirst);
        ItemOrdering::setSortKey(key);
        ItemOrdering::setReverse(reverse);
        auto small = sized(2LL << 30);
        auto big = sized(5LL << 30);
        small->pc.playbackLength = 10;
        big->pc.playbackLength = 4000;
        QList<FileItem *> list{big.get(), small.get()};
        ItemOrdering::sortList(list);
        QCOMPARE(list.first() == small.get(), smallFirst);
    }

    void namesIgnoreCase()
    {
        auto lower = item(QStringLiteral("banana"));
        auto upper = item(QStringLiteral("Apple"));
        QVERIFY(ItemOrdering::lessThan(upper.get(), lower.get()));
        QVERIFY(!ItemOrdering::lessThan(lower.get(), upper.get()));
        ItemOrdering::setReverse(1);
        QVERIFY(ItemOrdering::lessThan(lower.get(), upper.get()));
    }

    void storageSortPutsTheChosenFirst_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("sides");
        QTest::newRow("PC only") << int(ItemOrdering::PcOnlyFirst) << int(OnPc);
        QTest::newRow("phone only") << int(ItemOrdering::PhoneOnlyFirst) << int(OnPhone);
        QTest::newRow("both") << int(ItemOrdering::BothFirst) << int(OnPc | OnPhone);
    }
    void storageSortPutsTheChosenFirst()
    {
        QFETCH(int, key);
        QFETCH(int, sides);
        std::vector<std::unique_ptr<FileItem>> items;
        QList<FileItem *> list;
        for (int i = 0; i < 30; ++i) {
            items.push_back(item(QStringLiteral("v%1").arg(i), 1 + i % 3));
            list.append(items.back().get());
        }
        // The reverse flag does not turn the storage sorts round.
        for (int reverse : {0, 1}) {
            ItemOrdering::setSortKey(key);
            ItemOrdering::setReverse(reverse);
            ItemOrdering::sortList(list);
            const auto chosen = [&](const FileItem *it) {
                const bool pc = !it->pc.name.isEmpty(), phone = !it->phone.name.isEmpty();
                return (pc ? OnPc : 0) + (phone ? OnPhone : 0) == sides;
            };
            QVERIFY(std::is_partitioned(list.begin(), list.end(), chosen));
            QCOMPARE(std::count_if(list.begin(), list.end(), chosen), 10);
        }
    }

    void everyKeyIsAStrictWeakOrdering_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("reverse");
        for (int key : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14})
            for (int reverse : {0, 1})
                QTest::addRow("key %d, reverse %d", key, reverse) << key << reverse;
    }
    // A thousand items with many equal values sorted by every key: no
    // element compares before itself, no two before each other, and the
    // result is in order.
    void everyKeyIsAStrictWeakOrdering()
    {
        QFETCH(int, key);
        QFETCH(int, reverse);
        QRandomGenerator random(1234);
        std::vector<std::unique_ptr<FileItem>> items;
        QList<FileItem *> list;
        const QDateTime base = QDateTime::currentDateTime();
        for (int i = 0; i < 1000; ++i) {
            auto made = item(QStringLiteral("name%1").arg(random.bounded(50)), 1 + random.bounded(3));
            made->pc.size = made->phone.size = qint64(random.bounded(20)) << 30;
            made->pc.playbackLength = made->phone.playbackLength = random.bounded(40) * 60;
            made->pc.type = made->phone.type = QStringLiteral("t%1").arg(random.bounded(4));
            made->pc.created = made->phone.created = base.addDays(-random.bounded(90));
            made->pc.path = QStringLiteral("/v/%1").arg(random.bounded(100));
            list.append(made.get());
            items.push_back(std::move(made));
        }
        ItemOrdering::setSortKey(key);
        ItemOrdering::setReverse(reverse);
        for (int i = 0; i < 200; ++i) {
            const FileItem *a = list.at(random.bounded(1000));
            const FileItem *b = list.at(random.bounded(1000));
            QVERIFY(!ItemOrdering::lessThan(a, a));
            QVERIFY(!(ItemOrdering::lessThan(a, b) && ItemOrdering::lessThan(b, a)));
        }
        ItemOrdering::sortList(list);
        QCOMPARE(list.size(), 1000);
        for (int i = 1; i < list.size(); ++i)
            QVERIFY(!ItemOrdering::lessThan(list.at(i), list.at(i - 1)));
    }
};


QTEST_GUILESS_MAIN(TestItemOrdering)
#include "tst_itemordering.moc"
