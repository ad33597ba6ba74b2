// Tasks through the real window: conversions of broken files fail one
// after another with the real converter, and their messages come one at a
// time while the window goes on.

#include "commandfixture.h"

#include "settingsstore.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"

using namespace WindowTest;

class TestWindowTasks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        Settings::setMyCollectionFolder(home(QStringLiteral("collection")));
        QDir().mkpath(home(QStringLiteral("collection")));
    }

    void tenFailingConversionsReportOneAfterAnother()
    {
        const QString folder = home(QStringLiteral("broken"));
        QDir().mkpath(folder);
        Catalogue &catalogue = Catalogue::instance();
        const auto window = openWindow();
        QList<FileItem *> items;
        QStringList paths;
        for (int i = 1; i <= 10; ++i) {
            const QString path = folder + QStringLiteral("/broken%1.avi").arg(i);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, char('x' + i % 2)));
            file.close();
            FileItem *item = catalogue.appendScanResult();
            QVERIFY(item->pc.setFromFile(path));
            items << item;
            paths << path;
        }
        QCOMPARE(window->taskManager()->addTasks(items, {}, TaskState::ConvertKind), 0);

        int answered = 0;
        int mostAtOnce = 0;
        const auto allEnded = [&] {
            const QList<CTaskItem *> tasks = window->taskManager()->tasks();
            return std::all_of(tasks.begin(), tasks.end(),
                               [](const CTaskItem *task) { return TaskState::isFinal(task->state()); });
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
                mostAtOnce = qMax(mostAtOnce, int(shown.size()));
                if (shown.size() == 1 && clickButton(shown.constFirst(), QStringLiteral("Ok")))
                    ++answered;
                // A task's end state is read at once; its message is queued.
                return allEnded() && answered >= 10 && !CMessageDialog::isShowing()
                       && CMessageDialog::waitingCount() == 0;
            }(),
            120000);
        QCOMPARE(mostAtOnce, 1);
        QVERIFY2(answered >= 10, qPrintable(QString::number(answered)));
        for (CTaskItem *task : window->taskManager()->tasks())
            QCOMPARE(task->state(), int(TaskState::ConversionFailed));
        // Each failure's technical text is in the log.
        const QByteArray log = readLog();
        for (const QString &path : paths)
            QVERIFY2(log.contains(QFile::encodeName(path)), qPrintable(path));
        QCOMPARE(plainText(window->form()->TaskInfoLabel), QStringLiteral("No ongoing tasks."));
        // Nothing of the failed conversions is left in My collection.
        QCOMPARE(QDir(home(QStringLiteral("collection"))).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

WINDOW_TEST_MAIN(TestWindowTasks)
#include "tst_windowtasks.moc"
