#include "helpservice.h"
#include "settingsfixture.h"
#include "slider.h"
#include "tooltip.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QUrl>

// The settings dialog with the real widgets: the value map in and out, the
// pages and their help, the folder check on Save, the keyboard.
class PageCatcher : public QObject
{
    Q_OBJECT

public:
    QStringList opened;

public Q_SLOTS:
    void openUrl(const QUrl &url) { opened.append(url.fileName()); }
};


class TestSettingsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgramTheme());
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_catcher, "openUrl");
        // Help pages of the settings topics in the user's data folder.
        const QString help = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             + QStringLiteral("/Orvak/Orvak Tamsel/HELP");
        QVERIFY(QDir().mkpath(help));
        for (const char *page : {"index.html", "1060.html", "1070.html", "1080.html", "1090.html"}) {
            QFile file(help + QLatin1Char('/') + QLatin1String(page));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<!DOCTYPE html><title>help</title>");
        }
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        CTheme::setCurrent(nullptr);
    }

    void init()
    {
        clearStore();
        m_folders.reset(new Folders);
        QVERIFY(m_folders->isValid());
        m_values = typicalValues(*m_folders);
        m_catcher.opened.clear();
    }

    void memoryPageFollowsThePhone_data()
    {
        QTest::addColumn<QVariant>("units");
        QTest::addColumn<QVariant>("selected");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("pageButton");
        QTest::addColumn<QVariant>("returned");
        const QString phone = QStringLiteral("rb0 Phone Memory");
        QTest::addRow("three memories, second card")
            << QVariant(3) << QVariant(2)
            << QStringList{phone, QStringLiteral("rb1 Memory Card 1 (MMC)"), QStringLiteral("*rb2 Memory Card 2 (MMC)")}
            << true << QVariant(2);
        QTest::addRow("phone memory only") << QVariant(1) << QVariant(0) << QStringList{QLatin1Char('*') + phone}
                                           << true << QVariant(0);
        QTest::addRow("one card") << QVariant(2) << QVariant(1)
                                  << QStringList{phone, QStringLiteral("*rb1 Memory Card (MMC)")} << true
                                  << QVariant(1);
        QTest::addRow("five memories disable the page") << QVariant(5) << QVariant(0) << QStringList{} << false
                                                        << QVariant();
        QTest::addRow("no phone") << QVariant(0) << QVariant() << QStringList{} << false << QVariant();
        QTest::addRow("nothing chosen yet") << QVariant(2) << QVariant()
                                            << QStringList{phone, QStringLiteral("rb1 Memory Card (MMC)")} << true
                                            << QVariant();
        QTest::addRow("a card the phone does not have")
            << QVariant(1) << QVariant(2) << QStringList{phone} << true << QVariant();
    }
    void memoryPageFollowsThePhone()
    {
        QFETCH(QVariant, units);
        QFETCH(QVariant, selected);
        QFETCH(QStringList, shown);
        QFETCH(bool, pageButton);
        QFETCH(QVariant, returned);
        m_values.insert(QStringLiteral("NumOfMemUnits"), units);
        m_values.remove(QStringLiteral("MemorySelected"));
        if (selected.isValid())
            m_values.insert(QStringLiteral("MemorySelected"), selected);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *button = child<QAbstractButton>(&dialog, "mButton");
        QCOMPARE(button->isEnabled(), pageButton);
        if (pageButton) {
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(dialog.currentPage(), int(CSettingsDialog::MemoryPage));
        }
        QStringList seen;
        for (const char *name : {"rb0", "rb1", "rb2"}) {
            auto *radio = child<QRadioButton>(&dialog, name);
            if (radio->isVisibleTo(&dialog))
                seen << (radio->isChecked() ? QStringLiteral("*") : QString()) + QLatin1String(name)
                            + QLatin1Char(' ') + radio->text();
        }
        QCOMPARE(seen, shown);
        QVariantMap back;
        dialog.getValues(back);
        QCOMPARE(back.value(QStringLiteral("MemorySelected")), returned);

        // Choosing another memory is what comes back.
        if (shown.size() > 1) {
            QTest::mouseClick(child<QRadioButton>(&dialog, "rb1"), Qt::LeftButton, {}, QPoint(8, 8));
            dialog.getValues(back);
            QCOMPARE(back.value(QStringLiteral("MemorySelected")), QVariant(1));
        }
    }

    void qualityIsLimitedByThePhone_data()
    {
        QTest::addColumn<int>("supports");
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("enabled");
        QTest::addRow("medium phone, high asked") << 1 << false << 2 << 1 << 1 << "area medium low";
        QTest::addRow("low phone") << 0 << false << 2 << 0 << 0 << "low";
        QTest::addRow("high phone") << 2 << false << 2 << 2 << 2 << "area high medium low";
        QTest::addRow("advanced ignores the phone") << 1 << true << 2 << 2 << 2 << "area high medium low";
        QTest::addRow("low asked") << 2 << false << 0 << 2 << 0 << "area high medium low";
    }
    void qualityIsLimitedByThePhone()
    {
        QFETCH(int, supports);
        QFETCH(bool, advanced);
        QFETCH(int, quality);
        QFETCH(int, maximum);
        QFETCH(int, shown);
        QFETCH(QString, enabled);
        Settings::setAdvancedProfiles(advanced);
        m_values.insert(QStringLiteral("PhoneSupportsQuality"), supports);
        m_values.insert(QStringLiteral("Quality"), quality);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *slider = child<CSlider>(&dialog, "sliderQuality");
        QCOMPARE(slider->maximum(), maximum);
        QCOMPARE(slider->value(), shown);
        QStringList on;
        if (child<QWidget>(&dialog, "sliderArea")->isEnabled())
            on << QStringLiteral("area");
        for (const char *level : {"high", "medium", "low"}) {
            const QString name = QLatin1Char(level[0]) + QStringLiteral("q");
            if (dialog.findChild<QLabel *>(name + QStringLiteral("Label"))->isEnabled()
                && dialog.findChild<QLabel *>(name + QStringLiteral("iLabel"))->isEnabled())
                on << QLatin1String(level);
        }
        QCOMPARE(on.join(QLatin1Char(' ')), enabled);
        if (maximum == 1)
            QCOMPARE(child<QWidget>(&dialog, "sliderArea")->height(), 100);
        else
            QVERIFY(child<QWidget>(&dialog, "sliderArea")->height() >= 170);
        QVariantMap back;
        dialog.getValues(back);
        QCOMPARE(back.value(QStringLiteral("Quality")), QVariant(shown));

        // The slider has the focus at first; the arrow keys move it.
        if (maximum > 0 && shown > 0) {
            QVERIFY(slider->hasFocus());
            QVERIFY(slider->isHighlighted());
            QTest::keyClick(slider, Qt::Key_Down);
            dialog.getValues(back);
            QCOMPARE(back.value(QStringLiteral("Quality")), QVariant(shown - 1));
        }
    }

    void downloadChoice_data()
    {
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<bool>("openPage");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QVariant>("returned");
        QTest::addRow("undecided, page not seen") << QVariant(-1) << false << false << QVariant();
        QTest::addRow("undecided, page seen") << QVariant(-1) << true << false << QVariant(0);
        QTest::addRow("undecided, ticked") << QVariant(-1) << true << true << QVariant(1);
        QTest::addRow("no value, page not seen") << QVariant() << false << false << QVariant();
        QTest::addRow("yes") << QVariant(1) << false << false << QVariant(1);
        QTest::addRow("no") << QVariant(0) << false << false << QVariant(0);
        QTest::addRow("yes, unticked") << QVariant(1) << true << true << QVariant(0);
    }
    void downloadChoice()
    {
        QFETCH(QVariant, given);
        QFETCH(bool, openPage);
        QFETCH(bool, tick);
        QFETCH(QVariant, returned);
        m_values.remove(QStringLiteral("Download2Phone"));
        if (given.isValid())
            m_values.insert(QStringLiteral("Download2Phone"), given);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *box = child<QCheckBox>(&dialog, "cBdl2phone");
        QCOMPARE(box->isChecked(), given == QVariant(1));
        if (openPage)
            QTest::mouseClick(child<QAbstractButton>(&dialog, "dButton"), Qt::LeftButton);
        if (tick)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        // Other pages do not make up the user's mind.
        QTest::mouseClick(child<QAbstractButton>(&dialog, "fButton"), Qt::LeftButton);
        QVariantMap back;
        dialog.getValues(back);
        QCOMPARE(back.value(QStringLiteral("Download2Phone")), returned);
    }

    void associations()
    {
        m_values.insert(QStringLiteral("3gp"), true);
        m_values.insert(QStringLiteral("mp4"), true);
        m_values.insert(QStringLiteral("avi"), false);
        m_values.insert(QStringLiteral("asx"), true);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(child<QAbstractButton>(&dialog, "aButton"), Qt::LeftButton);
        QStringList shown;
        for (const char *name : {"cB3gp", "cBmp4", "cBasx", "cBavi", "cBmpg", "cBmov", "cBwmv"}) {
            auto *box = child<QCheckBox>(&dialog, name);
            QVERIFY(box->isVisible());
            shown << box->text() + (box->isChecked() ? QStringLiteral("+") : QString())
                         + (box->isEnabled() ? QString() : QStringLiteral(" (unavailable)"));
        }
        QCOMPARE(shown, (QStringList{QStringLiteral("3gp+"), QStringLiteral("mp4+"),
                                     QStringLiteral("asx (unavailable)"),
                                     QStringLiteral("avi"), QStringLiteral("mpeg"), QStringLiteral("mov"),
                                     QStringLiteral("wmv")}));
        auto *avi = child<QCheckBox>(&dialog, "cBavi");
        QTest::mouseClick(avi, Qt::LeftButton, {}, QPoint(8, avi->height() / 2));
        QVariantMap back;
        dialog.getValues(back);
        QVERIFY(!back.contains(QStringLiteral("asx")));
        const QVariantMap expected{{QStringLiteral("3gp"), true},  {QStringLiteral("mp4"), true},
                                   {QStringLiteral("avi"), true},  {QStringLiteral("mpg"), false},
                                   {QStringLiteral("mov"), false}, {QStringLiteral("wmv"), false}};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(back.value(it.key()), it.value());
    }

    void pagesAndHelp_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("helpPage");
        QTest::addColumn<QString>("helpStart");
        QTest::addRow("conversion type") << "ctButton" << 0 << "1060.html" << "Choosing a higher quality";
        QTest::addRow("folders") << "fButton" << 1 << "1070.html" << "Select the folders for storing";
        QTest::addRow("memory") << "mButton" << 2 << "1080.html" << "Select the memory destination";
        QTest::addRow("associations") << "aButton" << 3 << "1090.html" << "If you wish to make Orvak Tamsel";
        QTest::addRow("downloads") << "dButton" << 4 << "" << "If you wish the downloaded video files";
    }
    void pagesAndHelp()
    {
        QFETCH(QString, button);
        QFETCH(int, page);
        QFETCH(QString, helpPage);
        QFETCH(QString, helpStart);
        m_values.insert(QStringLiteral("NumOfMemUnits"), 2);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.findChild<QAbstractButton *>(button), Qt::LeftButton);
        QCOMPARE(dialog.currentPage(), page);
        QStringList current;
        for (QAbstractButton *pageButton : dialog.findChildren<QAbstractButton *>())
            if (pageButton->objectName().endsWith(QLatin1String("Button")) && pageButton->isChecked())
                current << pageButton->objectName();
        QCOMPARE(current, QStringList{button});
        QCOMPARE(child<QLabel>(&dialog, "contentLabel")->text(), dialog.findChild<QAbstractButton *>(button)->text());

        auto *help = child<QAbstractButton>(&dialog, "helpButton");
        QCOMPARE(help->isEnabled(), !helpPage.isEmpty());
        if (help->isEnabled())
            QTest::mouseClick(help, Qt::LeftButton);
        QCOMPARE(m_catcher.opened, helpPage.isEmpty() ? QStringList() : QStringList{helpPage});

        QTest::keyClick(&dialog, Qt::Key_F1);
        CToolTip *balloon = dialog.helpPopup();
        QVERIFY(balloon);
        QVERIFY(balloon->isVisible());
        QCOMPARE(balloon->width(), 620);
        QVERIFY2(balloon->text().startsWith(helpStart), qPrintable(balloon->text()));
        QCOMPARE(balloon->text(), dialog.helpText());
        // The balloon on screen changes with the page.
        QTest::mouseClick(child<QAbstractButton>(&dialog, page == 0 ? "fButton" : "ctButton"), Qt::LeftButton);
        QCOMPARE(dialog.helpPopup(), balloon);
        QCOMPARE(balloon->text(), dialog.helpText());
        QVERIFY(!balloon->text().startsWith(helpStart));
    }

    void badFolderOnSave_data()
    {
        QTest::addColumn<QString>("collection");
        QTest::addColumn<QString>("scan");
        QTest::addColumn<QStringList>("messages");
        const QString collection = QStringLiteral("My Collection Folder: Please type in a valid folder.");
        const QString scan = QStringLiteral("Scan Folder: Please type in a valid folder.");
        QTest::addRow("collection") << "gone" << "Other" << QStringList{collection};
        QTest::addRow("scan") << "Other" << "" << QStringList{scan};
        QTest::addRow("both, in this order") << "gone" << "gone" << QStringList{collection, scan};
    }
    void badFolderOnSave()
    {
        QFETCH(QString, collection);
        QFETCH(QString, scan);
        QFETCH(QStringList, messages);
        const auto typed = [this](const QString &relative) {
            return relative.isEmpty() ? relative : folder(qPrintable(relative));
        };
        Settings::setAdvancedProfiles(true);
        Messages shown;
        int step = 0;
        QStringList afterwards;
        User user([&] {
            if (shown.answer())
                return false;
            CSettingsDialog *dialog = shownSettings();
            if (!dialog)
                return false;
            auto *collectionEdit = child<QLineEdit>(dialog, "mcflEdit");
            auto *scanEdit = child<QLineEdit>(dialog, "slEdit");
            if (step++ == 0) {
                QTest::mouseClick(child<QAbstractButton>(dialog, "fButton"), Qt::LeftButton);
                collectionEdit->setText(typed(collection));
                scanEdit->setText(typed(scan));
                QTest::mouseClick(child<QAbstractButton>(dialog, "ctButton"), Qt::LeftButton);
                clickLater(child<QAbstractButton>(dialog, "okButton"));
                return false;
            }
            afterwards << QString::number(dialog->currentPage()) << collectionEdit->text() << scanEdit->text();
            dialog->reject();
            return true;
        });
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(user.finished());
        QCOMPARE(shown.seen, messages);
        // The Folders page shows the fields as they were handed in.
        const bool collectionBad = messages.constFirst().startsWith(QLatin1String("My"));
        const bool scanBad = messages.constLast().startsWith(QLatin1String("Scan"));
        QCOMPARE(afterwards, (QStringList{QStringLiteral("1"),
                                          collectionBad ? folder("Videos/Orvak Tamsel") : typed(collection),
                                          scanBad ? folder("Videos") : typed(scan)}));
        // Nothing was saved, not even the advanced values.
        QCOMPARE(profileKeys(), QStringList());
    }

    void tabRunsThroughTheFoldersPage()
    {
        Settings::setAdvancedProfiles(true);
        QStringList order;
        int step = 0;
        User user([&] {
            CSettingsDialog *dialog = shownSettings();
            if (!dialog || !dialog->isActiveWindow())
                return false;
            if (step++ == 0) {
                // From the slider back to the first page button, then on to
                // the Folders button, opened with Enter.
                for (int i = 0; i < 6; ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                return false;
            }
            for (int i = 0; i < 12; ++i) {
                order << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            dialog->reject();
            return true;
        });
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.exec();
        QVERIFY(user.finished());
        // On the Folders page the Advanced button is hidden.
        QCOMPARE(order, (QStringList{QStringLiteral("fButton"), QStringLiteral("mButton"), QStringLiteral("aButton"),
                                     QStringLiteral("dButton"), QStringLiteral("slEdit"), QStringLiteral("sbBrowse"),
                                     QStringLiteral("mcflEdit"), QStringLiteral("mcfbBrowse"),
                                     QStringLiteral("helpButton"), QStringLiteral("okButton"),
                                     QStringLiteral("cancelButton"), QStringLiteral("ctButton")}));
    }

private:
    QString folder(const char *relative) const { return m_folders->path(relative); }

    std::unique_ptr<Folders> m_folders;
    QVariantMap m_values;
    PageCatcher m_catcher;
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
