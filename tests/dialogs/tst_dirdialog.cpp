#include "dialogfixture.h"
#include "dirdialog.h"
#include "helpmessages.h"
#include "messagedialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>

namespace {

CDirDialog *shownDirDialog()
{
    const QList<CDirDialog *> shown = visibleDialogs<CDirDialog>();
    return shown.size() == 1 ? shown.constFirst() : nullptr;
}

QTreeView *folderTree(QWidget *dialog)
{
    return dialog->findChild<QTreeView *>(QStringLiteral("folderTree"));
}

QModelIndex indexOf(QTreeView *tree, const QString &path)
{
    return static_cast<QFileSystemModel *>(tree->model())->index(path);
}

// Clicks the row of path once the model has read it and laid it out.
bool clickRow(QTreeView *tree, const QString &path)
{
    const QModelIndex index = indexOf(tree, path);
    if (!index.isValid())
        return false;
    tree->scrollTo(index);
    const QRect row = tree->visualRect(index);
    if (row.isEmpty() || !tree->viewport()->rect().contains(row.center()))
        return false;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
    return tree->currentIndex() == index;
}

QStringList childNames(QTreeView *tree, const QString &path)
{
    const QModelIndex parent = indexOf(tree, path);
    QStringList names;
    for (int row = 0; row < tree->model()->rowCount(parent); ++row)
        names << tree->model()->index(row, 0, parent).data().toString();
    names.sort();
    return names;
}

} // namespace

class TestDirDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgramTheme());
        installHelpMessages();
    }
    void cleanupTestCase() { CTheme::setCurrent(nullptr); }

    void init()
    {
        m_root.reset(new QTemporaryDir);
        QVERIFY(m_root->isValid());
        QDir root(m_root->path());
        for (const char *folder : {"videos/holiday", "videos/work", "videos/.thumbnails"})
            QVERIFY(root.mkpath(QLatin1String(folder)));
    }

    void returnsTheSelectedFolder()
    {
        const QString videos = path("videos");
        QString title;
        QString hint;
        QStringList buttons;
        QStringList children;
        User user([&] {
            CDirDialog *dialog = shownDirDialog();
            if (!dialog)
                return false;
            title = dialog->dialogTitle();
            hint = dialog->findChild<QLabel *>(QStringLiteral("hintLabel"))->text();
            buttons.clear();
            for (const char *name : {"Help", "New folder", "OK", "Cancel"})
                if (QAbstractButton *button = buttonNamed(dialog, QLatin1String(name));
                    button && button->toolTip() == QLatin1String(name))
                    buttons << QLatin1String(name);
            QTreeView *tree = folderTree(dialog);
            children = childNames(tree, videos);
            if (children.size() < 2 || !clickRow(tree, path("videos/work")))
                return false;
            return clickButton(dialog, QStringLiteral("OK"));
        });
        const QString chosen = CDirDialog::getFolder(nullptr, videos, QStringLiteral("My collection folder:"));
        QVERIFY(user.finished());
        QCOMPARE(chosen, path("videos/work"));
        QCOMPARE(title, QStringLiteral("My collection folder:"));
        QCOMPARE(hint, QStringLiteral("Select folder from list and click OK"));
        QCOMPARE(buttons, (QStringList{QStringLiteral("Help"), QStringLiteral("New folder"), QStringLiteral("OK"),
                                       QStringLiteral("Cancel")}));
        // Folders only, and no hidden ones.
        QCOMPARE(children, (QStringList{QStringLiteral("holiday"), QStringLiteral("work")}));
    }

    void endings_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected");
        QTest::addRow("Cancel") << "videos/holiday" << "Cancel" << QString();
        QTest::addRow("Escape") << "videos/holiday" << "Escape" << QString();
        QTest::addRow("closed") << "videos/holiday" << "Close" << QString();
        QTest::addRow("OK keeps the start folder") << "videos/holiday" << "OK" << "videos/holiday";
        QTest::addRow("Enter is OK") << "videos/holiday" << "Enter" << "videos/holiday";
        QTest::addRow("missing start opens its parent") << "videos/gone/deeper" << "OK" << "videos";
    }
    void endings()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        User user([&] {
            CDirDialog *dialog = shownDirDialog();
            if (!dialog)
                return false;
            if (action == QLatin1String("Escape") || action == QLatin1String("Enter")) {
                // Keys go to the active window.
                if (!dialog->isActiveWindow()) {
                    dialog->activateWindow();
                    return false;
                }
                QTest::keyClick(QApplication::focusWidget(),
                                action == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
                return true;
            }
            return clickButton(dialog, action);
        });
        const QString chosen = CDirDialog::getFolder(nullptr, path(start));
        QVERIFY(user.finished());
        QCOMPARE(chosen, expected.isEmpty() ? QString() : path(expected));
    }

    void newFolderIsRenamedInPlace()
    {
        User user([&] {
            CDirDialog *dialog = shownDirDialog();
            if (!dialog)
                return false;
            if (!clickButton(dialog, QStringLiteral("New folder")))
                return false;
            QTreeView *tree = folderTree(dialog);
            auto *editor = qobject_cast<QLineEdit *>(tree->indexWidget(tree->currentIndex()));
            if (!editor)
                return false;
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("Clips"));
            QTest::keyClick(editor, Qt::Key_Return);
            return true;
        });
        User ok([&] {
            CDirDialog *dialog = shownDirDialog();
            if (!dialog || !user.finished() || !QFileInfo(path("videos/Clips")).isDir())
                return false;
            return clickButton(dialog, QStringLiteral("OK"));
        });
        const QString chosen = CDirDialog::getFolder(nullptr, path("videos"));
        QVERIFY(ok.finished());
        QCOMPARE(chosen, path("videos/Clips"));
        QVERIFY(!QFileInfo::exists(path("videos/New Folder")));
    }

    // The second "New Folder" in the same place fails while the first still
    // has that name; the user is told, and nothing else happens.
    void newFolderTwiceInTheSameParent()
    {
        int step = 0;
        QString message;
        User user([&] {
            if (step == 2) {
                const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
                if (shown.size() != 1)
                    return false;
                message = shownText(shown.constFirst()->findChild<QLabel *>(QStringLiteral("messageText")));
                clickButton(shown.constFirst(), QStringLiteral("Ok"));
                step = 3;
                return false;
            }
            CDirDialog *dialog = shownDirDialog();
            if (!dialog)
                return false;
            QTreeView *tree = folderTree(dialog);
            if (step == 0) {
                if (!clickButton(dialog, QStringLiteral("New folder")))
                    return false;
                QWidget *editor = tree->indexWidget(tree->currentIndex());
                if (!editor)
                    return false;
                QTest::keyClick(editor, Qt::Key_Escape);
                step = 1;
                return false;
            }
            if (step == 1) {
                if (!clickRow(tree, path("videos")))
                    return false;
                step = 2;
                // The message runs its own loop; the next steps answer it.
                QTimer::singleShot(0, dialog, [dialog] { clickButton(dialog, QStringLiteral("New folder")); });
                return false;
            }
            return clickButton(dialog, QStringLiteral("Cancel"));
        });
        const QString chosen = CDirDialog::getFolder(nullptr, path("videos"));
        QVERIFY(user.finished());
        QCOMPARE(chosen, QString());
        QVERIFY(QFileInfo(path("videos/New Folder")).isDir());
        QCOMPARE(QDir(path("videos")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).count(QStringLiteral("New Folder")),
                 1);
        QCOMPARE(message, QStringLiteral("A folder named \"New Folder\" already exists here. Rename it, or choose "
                                         "another folder first."));
    }

    void helpSaysWhenItIsNotInstalled()
    {
        QString message;
        User user([&] {
            const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
            if (shown.size() == 1) {
                message = shownText(shown.constFirst()->findChild<QLabel *>(QStringLiteral("messageText")));
                clickButton(shown.constFirst(), QStringLiteral("Ok"));
                return false;
            }
            CDirDialog *dialog = shownDirDialog();
            if (!dialog)
                return false;
            if (message.isEmpty()) {
                clickButton(dialog, QStringLiteral("Help"));
                return false;
            }
            return clickButton(dialog, QStringLiteral("Cancel"));
        });
        CDirDialog::getFolder(nullptr, path("videos"));
        QVERIFY(user.finished());
        QVERIFY2(message.startsWith(QStringLiteral("The help pages of Orvak Tamsel are not installed.")),
                 qPrintable(message));
    }

private:
    QString path(const QString &relative) const { return m_root->path() + QLatin1Char('/') + relative; }
    QString path(const char *relative) const { return path(QString::fromUtf8(relative)); }

    std::unique_ptr<QTemporaryDir> m_root;
};

QTEST_MAIN(TestDirDialog)
#include "tst_dirdialog.moc"
