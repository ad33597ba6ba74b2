#include "dirdialog.h"
#include "firstdialog.h"
#include "formfixture.h"
#include "panelbutton.h"
#include "tooltip.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeView>

// The first-run wizard, run modally as at start-up and answered through its
// own buttons.
namespace {

C1stDialog *shownWizard()
{
    const QList<C1stDialog *> shown = visibleDialogs<C1stDialog>();
    return shown.size() == 1 ? shown.constFirst() : nullptr;
}

// What the user sees of the step: the label's text and the Back button.
QString stepText(QWidget *wizard)
{
    return shownText(child<QLabel>(wizard, "progressText"));
}

} // namespace

class TestFirstDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }
    void cleanupTestCase() { CTheme::setCurrent(nullptr); }

    void init()
    {
        m_folders.reset(new Folders);
        QVERIFY(m_folders->isValid());
        m_proposed = {{QStringLiteral("MyCollectionFolder"), folder("Videos/Orvak Tamsel")},
                      {QStringLiteral("ScanFolder"), folder("Videos")}};
    }

    void walksThroughBothPages()
    {
        QStringList seen;
        int step = 0;
        User user([&] {
            C1stDialog *wizard = shownWizard();
            if (!wizard)
                return false;
            auto *back = child<QAbstractButton>(wizard, "bkButton");
            const auto page = [&] {
                return QStringLiteral("%1 | %2 | back %3 | %4 | %5")
                    .arg(wizard->currentPage())
                    .arg(stepText(wizard))
                    .arg(back->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"))
                    .arg(child<QLineEdit>(wizard, "mcflEdit")->text(), child<QLineEdit>(wizard, "slEdit")->text());
            };
            switch (step++) {
            case 0:
                seen << page();
                QTest::mouseClick(buttonNamed(wizard, QStringLiteral("Next")), Qt::LeftButton);
                seen << page();
                QTest::mouseClick(back, Qt::LeftButton);
                seen << page();
                QTest::mouseClick(buttonNamed(wizard, QStringLiteral("Next")), Qt::LeftButton);
                return false;
            default:
                // Two folders that exist: Next finishes.
                QTest::mouseClick(buttonNamed(wizard, QStringLiteral("Next")), Qt::LeftButton);
                return true;
            }
        });
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        QCOMPARE(wizard.exec(), int(QDialog::Accepted));
        QVERIFY(user.finished());
        const QString folders = folder("Videos/Orvak Tamsel") + QStringLiteral(" | ") + folder("Videos");
        QCOMPARE(seen, (QStringList{QStringLiteral("0 | Step: 1 / 2 | back off | ") + folders,
                                    QStringLiteral("1 | Step: 2 / 2 | back on | ") + folders,
                                    QStringLiteral("0 | Step: 1 / 2 | back off | ") + folders}));
        QVariantMap chosen;
        wizard.getValues(chosen);
        QCOMPARE(chosen, m_proposed);
        // The step is written in white on the dark column.
        QVERIFY(child<QLabel>(&wizard, "progressText")->text().contains(QStringLiteral("white")));
        QCOMPARE(child<QProgressBar>(&wizard, "progressBar")->maximum(), 2);
    }

    void badFoldersAreReportedAndReset_data()
    {
        QTest::addColumn<QString>("collection");
        QTest::addColumn<QString>("scan");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("collectionReset");
        QTest::addColumn<bool>("scanReset");
        const QString collection = QStringLiteral("My Collection Folder: Please type in a valid folder.");
        const QString scan = QStringLiteral("Scan Folder: Please type in a valid folder.");
        QTest::addRow("collection missing") << "Videos/gone" << "Other" << QStringList{collection} << true << false;
        QTest::addRow("scan missing") << "Other" << "Videos/gone" << QStringList{scan} << false << true;
        QTest::addRow("both missing, two messages")
            << "gone" << "gone too" << QStringList{collection, scan} << true << true;
        QTest::addRow("empty field") << "Other" << "" << QStringList{scan} << false << true;
        QTest::addRow("relative path") << "Other" << "relative/Videos" << QStringList{scan} << false << true;
        QTest::addRow("a file, not a folder") << "file.txt" << "Other" << QStringList{collection} << true << false;
    }
    void badFoldersAreReportedAndReset()
    {
        QFETCH(QString, collection);
        QFETCH(QString, scan);
        QFETCH(QStringList, messages);
        QFETCH(bool, collectionReset);
        QFETCH(bool, scanReset);
        QFile file(folder("file.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const auto typed = [this](const QString &relative) {
            return relative.isEmpty() || relative.startsWith(QLatin1String("relative")) ? relative
                                                                                         : folder(qPrintable(relative));
        };

        Messages shown;
        int step = 0;
        QStringList afterwards;
        User user([&] {
            if (shown.answer())
                return false;
            C1stDialog *wizard = shownWizard();
            if (!wizard)
                return false;
            auto *collectionEdit = child<QLineEdit>(wizard, "mcflEdit");
            auto *scanEdit = child<QLineEdit>(wizard, "slEdit");
            switch (step++) {
            case 0:
                QTest::mouseClick(buttonNamed(wizard, QStringLiteral("Next")), Qt::LeftButton);
                collectionEdit->selectAll();
                QTest::keyClicks(collectionEdit, typed(collection));
                scanEdit->clear();
                QTest::keyClicks(scanEdit, typed(scan));
                clickLater(buttonNamed(wizard, QStringLiteral("Next")));
                return false;
            case 1:
                afterwards << QString::number(wizard->currentPage()) << collectionEdit->text() << scanEdit->text();
                // The restored folders exist, so the wizard can finish now.
                clickLater(buttonNamed(wizard, QStringLiteral("Next")));
                return true;
            }
            return false;
        });
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        QCOMPARE(wizard.exec(), int(QDialog::Accepted));
        QVERIFY(user.finished());
        QCOMPARE(shown.seen, messages);
        // A field that was wrong holds the proposed folder again, the other
        // one what was typed; the wizard stayed on page 2.
        const QString collectionAfter = collectionReset ? folder("Videos/Orvak Tamsel") : typed(collection);
        const QString scanAfter = scanReset ? folder("Videos") : typed(scan);
        QCOMPARE(afterwards, (QStringList{QStringLiteral("1"), collectionAfter, scanAfter}));
    }

    void browseUsesTheFolderPicker_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addRow("My collection") << "mcfbBrowse" << "mcflEdit" << "My collection folder:";
        QTest::addRow("scan") << "sbBrowse" << "slEdit" << "Scanning root folder:";
    }
    void browseUsesTheFolderPicker()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QString title;
        QString chosen;
        int step = 0;
        User user([&] {
            const QList<CDirDialog *> pickers = visibleDialogs<CDirDialog>();
            if (!pickers.isEmpty()) {
                // The picker starts at the nearest folder that exists, once
                // its model has read it.
                auto *tree = child<QTreeView>(pickers.constFirst(), "folderTree");
                const QModelIndexList selected = tree->selectionModel()->selectedRows();
                if (selected.isEmpty() || !title.isEmpty())
                    return false;
                title = pickers.constFirst()->dialogTitle();
                clickLater(buttonNamed(pickers.constFirst(), QStringLiteral("OK")));
                return false;
            }
            C1stDialog *wizard = shownWizard();
            if (!wizard)
                return false;
            auto *edit = wizard->findChild<QLineEdit *>(field);
            if (step++ == 0) {
                QTest::mouseClick(buttonNamed(wizard, QStringLiteral("Next")), Qt::LeftButton);
                edit->setText(folder("Videos/holiday/not there"));
                clickLater(wizard->findChild<QAbstractButton *>(button));
                return false;
            }
            // The field changes once the picker has returned.
            if (title.isEmpty() || edit->text() == folder("Videos/holiday/not there"))
                return false;
            chosen = edit->text();
            wizard->reject();
            return true;
        });
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        wizard.exec();
        QVERIFY(user.finished());
        QCOMPARE(title, caption);
        QCOMPARE(chosen, folder("Videos/holiday"));
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("result");
        QTest::addRow("Enter twice finishes") << "Enter Enter" << int(QDialog::Accepted);
        QTest::addRow("Escape cancels") << "Escape" << int(QDialog::Rejected);
        QTest::addRow("Escape on page 2 cancels") << "Enter Escape" << int(QDialog::Rejected);
    }
    void keyboard()
    {
        QFETCH(QString, keys);
        QFETCH(int, result);
        QStringList pending = keys.split(QLatin1Char(' '));
        User user([&] {
            C1stDialog *wizard = shownWizard();
            if (!wizard || !wizard->isActiveWindow())
                return false;
            const QString key = pending.takeFirst();
            keyLater(QApplication::focusWidget(), key == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
            return pending.isEmpty();
        });
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        QCOMPARE(wizard.exec(), result);
        QVERIFY(user.finished());
    }

    void tabRunsThroughPageTwo()
    {
        QStringList order;
        User user([&] {
            C1stDialog *wizard = shownWizard();
            if (!wizard || !wizard->isActiveWindow())
                return false;
            if (wizard->currentPage() == 0) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                return false;
            }
            for (int i = 0; i < 8; ++i) {
                QWidget *focused = QApplication::focusWidget();
                auto *button = qobject_cast<CPanelButton *>(focused);
                const bool panel = button && button->drawsBackground();
                order << focused->objectName() + (panel ? QStringLiteral("*") : QString());
                QTest::keyClick(focused, Qt::Key_Tab);
            }
            wizard->reject();
            return true;
        });
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        wizard.exec();
        QVERIFY(user.finished());
        // Only the focused button shows its panel.
        QCOMPARE(order, (QStringList{QStringLiteral("mcflEdit"), QStringLiteral("mcfbBrowse*"),
                                     QStringLiteral("slEdit"), QStringLiteral("sbBrowse*"),
                                     QStringLiteral("helpButton*"), QStringLiteral("bkButton*"),
                                     QStringLiteral("fwdButton*"), QStringLiteral("mcflEdit")}));
    }

    void helpBalloonFollowsPageAndWizard()
    {
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        QVERIFY(!wizard.helpPopup());
        QTest::mouseClick(buttonNamed(&wizard, QStringLiteral("Help")), Qt::LeftButton);
        CToolTip *balloon = wizard.helpPopup();
        QVERIFY(balloon);
        QTRY_VERIFY(balloon->isVisible());
        QVERIFY(balloon->text().startsWith(QStringLiteral("This wizard helps you to choose the folders")));
        QVERIFY(balloon->text().endsWith(QStringLiteral("Connect your mobile phone to the PC and press Next to "
                                                        "continue.")));
        QCOMPARE(balloon->width(), C1stDialog::kHelpSize.width());
        QCOMPARE(balloon->x(), wizard.x() + 5);

        // The balloon on screen follows the page.
        QTest::mouseClick(buttonNamed(&wizard, QStringLiteral("Next")), Qt::LeftButton);
        QVERIFY(balloon->text().startsWith(QStringLiteral("First you need to select a folder")));
        // Closed, it comes back on F1 with the same balloon.
        QTest::mouseClick(child<QAbstractButton>(balloon, "closeButton"), Qt::LeftButton);
        QVERIFY(!balloon->isVisible());
        QTest::keyClick(&wizard, Qt::Key_F1);
        QCOMPARE(wizard.helpPopup(), balloon);
        QVERIFY(balloon->isVisible());

        wizard.move(wizard.pos() + QPoint(40, 30));
        QTRY_COMPARE(balloon->x(), wizard.x() + 5);
    }

    void sizePlaceAndShape()
    {
        C1stDialog wizard;
        QCOMPARE(wizard.size(), QSize(607, 489));
        QCOMPARE(wizard.minimumSize(), wizard.maximumSize());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(wizard.pos(), QPoint((screen.left() + screen.right()) / 2 - 303,
                                      (screen.top() + screen.bottom()) / 2 - 244));
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        QVERIFY(!wizard.mask().contains(QPoint(0, 0)));
        QVERIFY(!wizard.mask().contains(QPoint(606, 488)));
        QVERIFY(wizard.mask().contains(QPoint(303, 244)));
        QVERIFY(wizard.mask().contains(QPoint(303, 0)));
        QCOMPARE(wizard.dialogTitle(), QStringLiteral("Orvak Tamsel"));
        QCOMPARE(wizard.objectName(), QStringLiteral("wizard"));
        QVERIFY(wizard.findChild<QWidget *>(QStringLiteral("C1stDialogClass")));
    }

    void eachPageHasItsPicture()
    {
        C1stDialog wizard;
        wizard.setValues(m_proposed);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        const QImage first = wizard.grab().toImage();
        QTest::mouseClick(buttonNamed(&wizard, QStringLiteral("Next")), Qt::LeftButton);
        const QImage second = wizard.grab().toImage();
        // The column holds the page's picture; the frame's band is drawn over it.
        const QRect column(10, 120, 160, 160);
        QVERIFY(first.copy(column) != second.copy(column));
        QCOMPARE(first.pixelColor(300, 5), second.pixelColor(300, 5));
        // The column is dark behind the white step text.
        QVERIFY(first.pixelColor(10, 300).lightness() < 80);
    }

private:
    QString folder(const char *relative) const { return m_folders->path(relative); }

    std::unique_ptr<Folders> m_folders;
    QVariantMap m_proposed;
};

QTEST_MAIN(TestFirstDialog)
#include "tst_firstdialog.moc"
