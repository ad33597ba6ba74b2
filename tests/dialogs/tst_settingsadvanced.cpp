#include "settingsfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

// The settings dialog's Advanced page against the real settings store: what
// it shows of the stored conversion profiles, what Save stores, and that
// nothing else stores anything.
class TestSettingsAdvanced : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }
    void cleanupTestCase() { CTheme::setCurrent(nullptr); }

    void init()
    {
        clearStore();
        m_folders.reset(new Folders);
        QVERIFY(m_folders->isValid());
        m_values = typicalValues(*m_folders);
    }

    void saveAndCancel_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::addRow("Save Configuration") << "okButton" << int(QDialog::Accepted);
        QTest::addRow("Enter saves") << "Enter" << int(QDialog::Accepted);
        QTest::addRow("Cancel Configuration") << "cancelButton" << int(QDialog::Rejected);
        QTest::addRow("Escape cancels") << "Escape" << int(QDialog::Rejected);
        QTest::addRow("closed") << "closeButton" << int(QDialog::Rejected);
    }
    void saveAndCancel()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        Settings::setAdvancedProfiles(true);
        const QStringList before = store().allKeys();
        User user([&] {
            CSettingsDialog *dialog = shownSettings();
            if (!dialog || !dialog->isActiveWindow())
                return false;
            if (how == QLatin1String("Enter") || how == QLatin1String("Escape"))
                keyLater(QApplication::focusWidget(), how == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
            else
                clickLater(dialog->findChild<QAbstractButton *>(how));
            return true;
        });
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        QCOMPARE(dialog.exec(), result);
        QVERIFY(user.finished());
        // Only an accepted dialog stores the profiles, all seven values of each.
        QCOMPARE(profileKeys().size(), result == QDialog::Accepted ? 21 : 0);
        if (result != QDialog::Accepted)
            QCOMPARE(store().allKeys(), before);
    }

    void withoutAdvancedSettings()
    {
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.advancedAvailable());
        auto *advanced = child<QAbstractButton>(&dialog, "advButton");
        for (const char *page : {"ctButton", "fButton", "mButton", "aButton", "dButton", "ctButton"}) {
            QTest::mouseClick(child<QAbstractButton>(&dialog, page), Qt::LeftButton);
            QVERIFY2(!advanced->isVisible(), page);
        }
        // Not even the slot itself gets there.
        QMetaObject::invokeMethod(&dialog, "on_advButton_clicked");
        QVERIFY(dialog.currentPage() != CSettingsDialog::AdvancedPage);
        QTest::mouseClick(child<QAbstractButton>(&dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(profileKeys(), QStringList());
    }

    void advancedPageRoundTrip()
    {
        Settings::setAdvancedProfiles(true);
        Settings::ProfileValues high{25, 512, 480, 320, false, true, 64};
        Settings::ProfileValues medium{10, 256, 0, 0, true, false, 96};
        Settings::setProfile(Quality::High, high);
        Settings::setProfile(Quality::Medium, medium);
        // Low is not stored: it shows its defaults.
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *advanced = child<QAbstractButton>(&dialog, "advButton");
        QVERIFY(advanced->isVisible());
        QTest::mouseClick(advanced, Qt::LeftButton);
        QCOMPARE(dialog.currentPage(), int(CSettingsDialog::AdvancedPage));
        QCOMPARE(child<QLabel>(&dialog, "advInfoLabel")->text(),
                 QStringLiteral("Orvak Tamsel advanced conversion options."));
        QCOMPARE(shownProfile(dialog, Quality::High),
                 QStringLiteral("25 | 512 kbps | 480x320 | audio off | mono | 64 kbps"));
        QCOMPARE(shownProfile(dialog, Quality::Medium),
                 QStringLiteral("10 | 256 kbps | Maximum | audio on | stereo | 96 kbps"));
        QCOMPARE(shownProfile(dialog, Quality::Low),
                 QStringLiteral("15 | 128 kbps | Maximum | audio on | stereo | 128 kbps"));
        // The item texts keep the blank the list gives them.
        QCOMPARE(child<QComboBox>(&dialog, "advHighVideoBitratecomboBox")->itemText(0), QStringLiteral(" 1024 kbps"));

        // The user changes every control of the Low profile.
        auto *fps = child<QSpinBox>(&dialog, "advLowFpsspinBox");
        fps->selectAll();
        QTest::keyClicks(fps, QStringLiteral("30"));
        QTest::keyClick(child<QComboBox>(&dialog, "advLowVideoBitratecomboBox"), Qt::Key_Up);
        auto *resolution = child<QComboBox>(&dialog, "advLowResolutioncomboBox");
        for (int i = 0; i < 17; ++i)
            QTest::keyClick(resolution, Qt::Key_Down);
        QTest::keyClick(child<QComboBox>(&dialog, "advLowAudioBitratecomboBox"), Qt::Key_Down);
        for (const char *box : {"advLowAudiocheckBox", "advLowMonocheckBox"}) {
            auto *check = child<QCheckBox>(&dialog, box);
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
        }
        QCOMPARE(shownProfile(dialog, Quality::Low),
                 QStringLiteral("30 | 144 kbps | 176x144 | audio off | mono | 112 kbps"));

        // Going back to page 0 keeps what was changed.
        QTest::mouseClick(advanced, Qt::LeftButton);
        QCOMPARE(dialog.currentPage(), int(CSettingsDialog::ConversionTypePage));
        QTest::mouseClick(child<QAbstractButton>(&dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Settings::profile(Quality::High), high);
        QCOMPARE(Settings::profile(Quality::Medium), medium);
        const Settings::ProfileValues low{30, 144, 176, 144, false, true, 112};
        QCOMPARE(Settings::profile(Quality::Low), low);
        QCOMPARE(store().value(QStringLiteral("Settings/LowWidth")).toInt(), 176);
    }

    void storedValueOutsideTheLists()
    {
        Settings::setAdvancedProfiles(true);
        Settings::ProfileValues odd{12, 300, 123, 77, true, false, 100};
        Settings::setProfile(Quality::High, odd);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const char *box : {"advHighVideoBitratecomboBox", "advHighResolutioncomboBox",
                                "advHighAudioBitratecomboBox"}) {
            QCOMPARE(child<QComboBox>(&dialog, box)->currentIndex(), -1);
            QCOMPARE(child<QComboBox>(&dialog, box)->currentText(), QString());
        }
        // Saving keeps what the lists cannot show.
        QTest::mouseClick(child<QAbstractButton>(&dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(Settings::profile(Quality::High), odd);
    }

    void resetShowsTheDefaultsWithoutSaving_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addRow("High") << int(Quality::High);
        QTest::addRow("Medium") << int(Quality::Medium);
        QTest::addRow("Low") << int(Quality::Low);
    }
    void resetShowsTheDefaultsWithoutSaving()
    {
        QFETCH(int, quality);
        const auto q = Quality(quality);
        Settings::setAdvancedProfiles(true);
        const Settings::ProfileValues stored{20, 64, 320, 240, false, true, 32};
        for (Quality each : {Quality::High, Quality::Medium, Quality::Low})
            Settings::setProfile(each, stored);
        CSettingsDialog dialog;
        dialog.setValues(m_values);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(child<QAbstractButton>(&dialog, "advButton"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QAbstractButton *>(QStringLiteral("reset") + prefix(q)
                                                               + QStringLiteral("Button")),
                          Qt::LeftButton);
        const QString video = QStringLiteral(" %1 kbps").arg(Settings::defaultProfile(q).videoBitrate);
        QCOMPARE(shownProfile(dialog, q),
                 QStringLiteral("15 |") + video + QStringLiteral(" | Maximum | audio on | stereo | 128 kbps"));
        for (Quality other : {Quality::High, Quality::Medium, Quality::Low})
            if (other != q)
                QCOMPARE(shownProfile(dialog, other),
                         QStringLiteral("20 | 64 kbps | 320x240 | audio off | mono | 32 kbps"));
        QTest::mouseClick(child<QAbstractButton>(&dialog, "cancelButton"), Qt::LeftButton);
        for (Quality each : {Quality::High, Quality::Medium, Quality::Low})
            QCOMPARE(Settings::profile(each), stored);
    }

private:
    // The Advanced page's controls of one profile as the user reads them.
    static QString shownProfile(const CSettingsDialog &dialog, Quality quality)
    {
        const QString p = QStringLiteral("adv") + prefix(quality);
        const auto find = [&](const char *suffix) {
            return dialog.findChild<QWidget *>(p + QLatin1String(suffix));
        };
        return QStringLiteral("%1 |%2 |%3 | %4 | %5 |%6")
            .arg(static_cast<QSpinBox *>(find("FpsspinBox"))->value())
            .arg(static_cast<QComboBox *>(find("VideoBitratecomboBox"))->currentText(),
                 static_cast<QComboBox *>(find("ResolutioncomboBox"))->currentText(),
                 static_cast<QCheckBox *>(find("AudiocheckBox"))->isChecked() ? QStringLiteral("audio on")
                                                                               : QStringLiteral("audio off"),
                 static_cast<QCheckBox *>(find("MonocheckBox"))->isChecked() ? QStringLiteral("mono")
                                                                              : QStringLiteral("stereo"),
                 static_cast<QComboBox *>(find("AudioBitratecomboBox"))->currentText());
    }

    std::unique_ptr<Folders> m_folders;
    QVariantMap m_values;
};

QTEST_MAIN(TestSettingsAdvanced)
#include "tst_settingsadvanced.moc"
