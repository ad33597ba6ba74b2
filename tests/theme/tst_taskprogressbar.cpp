#include "componentevent.h"
#include "taskprogressbar.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <functional>

namespace {

class CopyJob final : public CTaskProgressJob
{
public:
    explicit CopyJob(int files) : m_files(files) {}
    int fileCount() const override { return m_files; }

private:
    int m_files;
};

struct Post
{
    ComponentEvent::Kind kind;
    quintptr value;
};

// Posts the events from a thread of its own, as the copy and the converter do.
void postFromWorker(QObject *receiver, const QList<Post> &posts)
{
    QThread *worker = QThread::create([receiver, posts]() {
        for (const Post &post : posts)
            QCoreApplication::postEvent(receiver, new ComponentEvent(post.kind, post.value));
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
}

void runOnWorker(const std::function<void()> &work)
{
    QThread *worker = QThread::create(work);
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
}

} // namespace

class TestTaskProgressBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each file of the copy counts 100: files done x 100 plus the share of
    // the current file.
    void copyProgressFromEvents_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QList<qint64>>("events"); // kind, value pairs
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        const int begins = ComponentEvent::PassBegins;
        const int position = ComponentEvent::PassPosition;
        const int length = ComponentEvent::PassLength;
        QTest::addRow("middle of the second of three files")
            << 3 << QList<qint64>{begins, 1000, position, 1000, begins, 2000, position, 1000} << 150 << 300;
        QTest::addRow("first file a quarter done") << 2 << QList<qint64>{begins, 400, position, 100} << 25 << 200;
        QTest::addRow("size known only later")
            << 1 << QList<qint64>{begins, 0, position, 100, length, 800, position, 400} << 50 << 100;
        QTest::addRow("bytes before any size leave it") << 1 << QList<qint64>{begins, 0, position, 500} << 0 << 100;
        QTest::addRow("large file") << 1 << QList<qint64>{begins, 4000000000LL, position, 3000000000LL} << 75 << 100;
    }

    void copyProgressFromEvents()
    {
        QFETCH(int, files);
        QFETCH(QList<qint64>, events);
        QFETCH(int, value);
        QFETCH(int, maximum);
        CTaskProgressBar bar;
        CopyJob job(files);
        bar.startCopy(&job, QStringLiteral("\\\\C:\\Data\\Videos\\clip.mp4"));
        QCOMPARE(bar.copyName(), QStringLiteral("clip.mp4"));
        QList<Post> posts;
        for (int i = 0; i + 1 < events.size(); i += 2)
            posts.append({ComponentEvent::Kind(events.at(i)), quintptr(events.at(i + 1))});
        postFromWorker(&bar, posts);
        // Everything is posted once the worker has ended; deliver it.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(bar.channelValue(CTaskProgressBar::Copy), value);
        QCOMPARE(bar.channelMaximum(CTaskProgressBar::Copy), maximum);
        QCOMPARE(bar.value(), value);
        QCOMPARE(bar.maximum(), maximum);
    }

    void eventsWithoutACopyAreIgnored()
    {
        CTaskProgressBar bar;
        postFromWorker(&bar, {{ComponentEvent::PassBegins, 100}, {ComponentEvent::PassPosition, 50}});
        QCoreApplication::sendPostedEvents(&bar);
        QCOMPARE(bar.channelValue(CTaskProgressBar::Copy), 0);

        CopyJob job(1);
        bar.startCopy(&job, QStringLiteral("/videos/a.avi"));
        bar.copyFinished();
        postFromWorker(&bar, {{ComponentEvent::PassBegins, 100}, {ComponentEvent::PassPosition, 50}});
        QCoreApplication::sendPostedEvents(&bar);
        QCOMPARE(bar.channelValue(CTaskProgressBar::Copy), 0);
    }

    // Messages of the previous copy still queued when the next one starts do
    // not count towards it.
    void staleEventsAreDropped()
    {
        CTaskProgressBar bar;
        CopyJob first(2);
        bar.startCopy(&first, QStringLiteral("/videos/a.avi"));
        postFromWorker(&bar, {{ComponentEvent::PassBegins, 100}, {ComponentEvent::PassBegins, 100}});
        CopyJob second(1);
        bar.startCopy(&second, QStringLiteral("/videos/b.avi"));
        postFromWorker(&bar, {{ComponentEvent::PassBegins, 100}, {ComponentEvent::PassPosition, 50}});
        QTRY_COMPARE(bar.channelValue(CTaskProgressBar::Copy), 50);
        QCOMPARE(bar.channelMaximum(CTaskProgressBar::Copy), 100);
    }

    void conversionDoesNotTakeOverACopy()
    {
        CTaskProgressBar bar;
        QSignalSpy changed(&bar, &CTaskProgressBar::taskChanged);
        CopyJob job(1);
        bar.startCopy(&job, QStringLiteral("C:\\clips\\copy.avi"));
        bar.setCopyMaximum(100);
        bar.setCopyProgress(30);
        bar.startConversion(QStringLiteral("/home/me/Videos/convert.avi"));
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Copy);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(bar.conversionName(), QStringLiteral("convert.avi"));
        QCOMPARE(bar.copyName(), QStringLiteral("copy.avi"));

        postFromWorker(bar.conversionProgressTarget(),
                       {{ComponentEvent::PassBegins, 100}, {ComponentEvent::PassPosition, 40}});
        QTRY_COMPARE(bar.channelValue(CTaskProgressBar::Conversion), 40);
        QTRY_COMPARE(bar.value(), 30);

        bar.copyFinished();
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Conversion);
        QCOMPARE(changed.size(), 2);
        QTRY_COMPARE(bar.value(), 40);
        QCOMPARE(bar.maximum(), 100);

        bar.conversionFinished();
        QCOMPARE(changed.size(), 2);
    }

    void copyReturnsWhenAConversionEnds()
    {
        CTaskProgressBar bar;
        QSignalSpy changed(&bar, &CTaskProgressBar::taskChanged);
        bar.startConversion(QStringLiteral("/v/a.avi"));
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Conversion);
        CopyJob job(1);
        bar.startCopy(&job, QStringLiteral("/v/b.mp4"));
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Copy);
        bar.copyFinished();
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Conversion);
        bar.startCopy(&job, QStringLiteral("/v/c.mp4"));
        bar.conversionFinished();
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Copy);
        QCOMPARE(changed.size(), 5);
    }

    // Progress reported from a task thread through the slots reaches the bar
    // on its own thread.
    void slotsFromAWorkerThread()
    {
        CTaskProgressBar bar;
        CopyJob job(1);
        runOnWorker([&]() {
            bar.startCopy(&job, QStringLiteral("/v/clip.mp4"));
            bar.setCopyMaximum(100);
            bar.setCopyProgress(64);
        });
        QTRY_COMPARE(bar.value(), 64);
        QCOMPARE(bar.maximum(), 100);

        runOnWorker([&]() {
            bar.startConversion(QStringLiteral("/v/other.avi"));
            bar.setConversionProgress(10);
            bar.copyFinished();
        });
        QTRY_COMPARE(bar.value(), 10);
        QCOMPARE(bar.shownChannel(), CTaskProgressBar::Conversion);
    }

    // A converter making several passes spans 100 per pass.
    void conversionPasses()
    {
        CTaskProgressBar bar;
        bar.startConversion(QStringLiteral("/v/a.avi"));
        postFromWorker(bar.conversionProgressTarget(),
                       {{ComponentEvent::PassBegins, 50}, {ComponentEvent::PassPosition, 50},
                        {ComponentEvent::PassBegins, 200}, {ComponentEvent::PassPosition, 0},
                        {ComponentEvent::PassLength, 0}, {ComponentEvent::PassPosition, 10},
                        {ComponentEvent::PassLength, 40}, {ComponentEvent::PassPosition, 10}});
        QTRY_COMPARE(bar.channelValue(CTaskProgressBar::Conversion), 125);
        QCOMPARE(bar.channelMaximum(CTaskProgressBar::Conversion), 200);
        QTRY_COMPARE(bar.value(), 125);
    }
};

QTEST_MAIN(TestTaskProgressBar)
#include "tst_taskprogressbar.moc"
