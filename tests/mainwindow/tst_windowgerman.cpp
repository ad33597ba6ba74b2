// The program in German: the main window in each of its contexts and the
// settings dialog on each of its pages show the German texts, and every
// button and label has room for its whole text. Run with QT_SCALE_FACTOR=2
// for 200 %; with TAMSEL_SHOT_DIR set, each screen is also saved there as a
// picture to look at.

#include "folderphones.h"
#include "helpmessages.h"
#include "settingsdialog.h"
#include "style.h"
#include "translation.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolButton>

using namespace WindowTest;

namespace {

bool waitFor(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 20000);
}

// Why the text a widget shows does not fit it, or empty when it does.
// Texts the program shortens itself (with an ellipsis) and labels that
// wrap their text are left out: they always fit by design.
QString cutOff(const QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const QRect room = widget->contentsRect();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        const QString text = label->text();
        if (text.isEmpty() || label->wordWrap() || text.contains(QChar(0x2026)))
            return {};
        int needed = 0;
        if (Qt::mightBeRichText(text) || label->textFormat() == Qt::RichText) {
            QTextDocument document;
            document.setDefaultFont(label->font());
            document.setDocumentMargin(0);
            document.setHtml(text);
            needed = qCeil(document.idealWidth());
        } else {
            for (const QString &line : text.split(QLatin1Char('\n')))
                needed = qMax(needed, metrics.horizontalAdvance(line));
        }
        needed += label->indent() > 0 ? label->indent() : 0;
        if (needed > room.width())
            return QStringLiteral("needs %1 pixels, has %2").arg(needed).arg(room.width());
        if (metrics.height() > room.height())
            return QStringLiteral("needs %1 pixels of height, has %2").arg(metrics.height()).arg(room.height());
        return {};
    }
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    if (!button || button->text().isEmpty())
        return {};
    if (const auto *tool = qobject_cast<const QToolButton *>(button); tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
        return {};
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    const bool marked = qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button);
    int needed = metrics.horizontalAdvance(text);
    int available = room.width();
    if (marked) {
        // Check boxes and radio buttons draw their mark beside the text.
        needed = button->sizeHint().width();
        available = button->width();
    } else if (const auto *tool = qobject_cast<const QToolButton *>(button);
               tool && !tool->icon().isNull() && tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon) {
        needed += tool->iconSize().width();
    }
    if (needed > available)
        return QStringLiteral("needs %1 pixels, has %2").arg(needed).arg(available);
    if (metrics.height() > room.height())
        return QStringLiteral("needs %1 pixels of height, has %2").arg(metrics.height()).arg(room.height());
    return {};
}

// Every shown button and label of top whose text does not fit, as
// "objectName 'text': why".
QStringList cutOffTexts(const QWidget *top)
{
    QStringList found;
    for (const QWidget *widget : top->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(top) || (!qobject_cast<const QLabel *>(widget) && !qobject_cast<const QAbstractButton *>(widget)))
            continue;
        const QString why = cutOff(widget);
        if (!why.isEmpty()) {
            const QString text = qobject_cast<const QLabel *>(widget) ? static_cast<const QLabel *>(widget)->text()
                                                                     : static_cast<const QAbstractButton *>(widget)->text();
            found << QStringLiteral("%1 '%2': %3").arg(widget->objectName(), text, why);
        }
    }
    return found;
}

void saveShot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("TAMSEL_SHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    const int percent = qRound(widget->devicePixelRatioF() * 100);
    QVERIFY(widget->grab().save(QStringLiteral("%1/de-%2-%3.png").arg(folder, name).arg(percent)));
}

QString textOf(const QWidget *top, const char *name)
{
    const QObject *object = top->findChild<QObject *>(QLatin1String(name));
    if (const auto *label = qobject_cast<const QLabel *>(object))
        return plainText(label);
    // The panel's buttons show a picture and name themselves in their tip.
    if (const auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text().isEmpty() ? button->toolTip() : button->text();
    return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

} // namespace

class TestWindowGerman : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        // The file the program picks for a German desktop.
        const QDir shipped(QStringLiteral(TAMSEL_QM_DIR));
        const QString file = Translation::chooseForLanguages(shipped, {QStringLiteral("de-DE"), QStringLiteral("en-US")});
        QCOMPARE(file, QStringLiteral("Tamsel_de.qm"));
        QVERIFY(m_translator.load(shipped.filePath(file)));
        QCoreApplication::installTranslator(&m_translator);
        installHelpMessages();
        QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel")).clear();
        QVERIFY(m_scanFolder.isValid());
        Settings::setScanFolder(m_scanFolder.path());
        // A phone with its memory and a card, so that the phone column and
        // the Memory page show everything they can.
        m_phones.addPhone(QStringLiteral("phone"), QStringLiteral("004401234567890"), QStringLiteral("Demo Phone"),
                          QStringLiteral("16"),
                          {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 2LL << 30}});
    }

    void cleanupTestCase() { QCoreApplication::removeTranslator(&m_translator); }

    void theMainWindowSpeaksGerman_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QStringList>("texts");
        QTest::addRow("my collection") << QStringLiteral("pushButtonMyCollection")
                                       << QStringList{QStringLiteral("labelViewType=Meine Sammlung")};
        QTest::addRow("scan results") << QStringLiteral("pushButtonScanResults")
                                      << QStringList{QStringLiteral("labelViewType=Suchergebnisse"),
                                                     QStringLiteral("toolButton_StartScan=Suche starten")};
        QTest::addRow("tasks") << QStringLiteral("pushButtonTasks")
                               << QStringList{QStringLiteral("labelViewType=Aufgaben"),
                                              QStringLiteral("toolButton_DeleteTasks=Alle Aufgaben abbrechen")};
        QTest::addRow("downloads") << QStringLiteral("pushButtonDownloads")
                                   << QStringList{QStringLiteral("toolButton_ClearCompletedDownloads=Fertige Downloads entfernen")};
    }

    void theMainWindowSpeaksGerman()
    {
        QFETCH(QString, context);
        QFETCH(QStringList, texts);
        const auto window = openWindow();
        window->setMinimumSize(930, 601);
        QVERIFY(waitFor([&] { return window->form()->comboBox_Phones->count() > 0; }));
        QVERIFY(waitFor([&] { return !window->isCollectionBuilding(); }));
        auto *button = window->findChild<QAbstractButton *>(context);
        QVERIFY(button);
        button->click();
        QTest::qWait(50);

        const QStringList common{QStringLiteral("pushButtonMyCollection=Meine Sammlung"),
                                 QStringLiteral("pushButtonScanResults=Suchergebnisse"),
                                 QStringLiteral("pushButtonTasks=Aufgaben"),
                                 QStringLiteral("title_label_MemoryAvail=Frei"),
                                 QStringLiteral("title_MemorySelectionSize=Auswahl")};
        for (const QString &expected : common + texts) {
            const QString name = expected.section(QLatin1Char('='), 0, 0);
            QCOMPARE(name + QLatin1Char('=') + textOf(window.get(), name.toLatin1().constData()), expected);
        }
        saveShot(window.get(), QStringLiteral("window-") + context.mid(10).toLower());
        QCOMPARE(cutOffTexts(window.get()), QStringList());
    }

    void theSettingsSpeakGerman_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("texts");
        QTest::addRow("conversion") << QStringLiteral("ctButton")
                                    << QStringList{QStringLiteral("ctButton=Umwandlung")};
        QTest::addRow("folders") << QStringLiteral("fButton") << QStringList{QStringLiteral("sbBrowse=Durchsuchen")};
        QTest::addRow("memory") << QStringLiteral("mButton") << QStringList{QStringLiteral("mButton=Speicher")};
        QTest::addRow("associations") << QStringLiteral("aButton") << QStringList{QStringLiteral("aButton=Dateitypen")};
        QTest::addRow("downloads") << QStringLiteral("dButton") << QStringList();
        QTest::addRow("advanced") << QStringLiteral("advButton")
                                  << QStringList{QStringLiteral("advButton=Erweiterte Einstellungen")};
    }

    void theSettingsSpeakGerman()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, texts);
        QTemporaryDir folders;
        QVERIFY(folders.isValid());
        Settings::setAdvancedProfiles(page == QLatin1String("advButton"));
        CSettingsDialog dialog;
        dialog.setValues({{QLatin1String(SettingsValue::MyCollectionFolder), folders.path()},
                          {QLatin1String(SettingsValue::ScanFolder), folders.path()},
                          {QLatin1String(SettingsValue::NumOfMemUnits), 2},
                          {QLatin1String(SettingsValue::MemorySelected), 0},
                          {QLatin1String(SettingsValue::Quality), 1},
                          {QLatin1String(SettingsValue::Download2Phone), -1}});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *button = dialog.findChild<QAbstractButton *>(page);
        QVERIFY(button);
        button->click();
        QTest::qWait(50);

        const QStringList common{QStringLiteral("okButton=Einstellungen speichern"),
                                 QStringLiteral("cancelButton=Einstellungen verwerfen"),
                                 QStringLiteral("fButton=Ordner")};
        for (const QString &expected : common + texts) {
            const QString name = expected.section(QLatin1Char('='), 0, 0);
            QCOMPARE(name + QLatin1Char('=') + textOf(&dialog, name.toLatin1().constData()), expected);
        }
        saveShot(&dialog, QStringLiteral("settings-") + QString::number(dialog.currentPage()));
        QCOMPARE(cutOffTexts(&dialog), QStringList());
    }

    // The checks above would see a text that does not fit: a translation
    // far too long for a context button of the window's fixed-width column.
    void aTextTooLongIsFound()
    {
        LongTranslation translation("VideoTransferClass", "Tasks",
                                    QStringLiteral("Aufgaben, die warten, laufen oder fertig sind"));
        const auto window = openWindow();
        window->setMinimumSize(930, 601);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QStringList found = cutOffTexts(window.get());
        QCOMPARE(found.size(), 1);
        QVERIFY2(found.constFirst().startsWith(QLatin1String("pushButtonTasks ")), qPrintable(found.constFirst()));
    }

private:
    QTranslator m_translator;
    QTemporaryDir m_scanFolder;
    TestSupport::FolderPhones m_phones;
};

int main(int argc, char **argv)
{
    WindowTest::useDesktopSizedScreen();
    // As the program does: its style exists before the application object.
    QApplication::setStyle(new CStyle);
    QApplication app(argc, argv);
    TestWindowGerman test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowgerman.moc"
