// The program in German: the main window in each context and the settings
// dialog on each page show German texts, and no text is cut off.

#include "commandfixture.h"

#include "mycollectionview.h"
#include "settingsdialog.h"
#include "settingsstore.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTranslator>

using namespace WindowTest;

namespace {

QString shownPlainText(const QLabel *label)
{
    if (label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text()))
        return label->text();
    QTextDocument document;
    document.setHtml(label->text());
    return document.toPlainText();
}

// The visible texts of root that do not fit into their widgets.
QStringList cutTexts(const QWidget *root)
{
    QStringList cut;
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || label->wordWrap() || !label->pixmap().isNull())
            continue;
        const QString text = shownPlainText(label);
        if (text.isEmpty() || text.contains(QLatin1Char('\n')))
            continue;
        const int room = label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent());
        if (QFontMetrics(label->font()).horizontalAdvance(text) > room)
            cut << label->objectName() + QStringLiteral(": ") + text;
    }
    for (const QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(root) || button->text().isEmpty())
            continue;
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        int room = button->width();
        if (qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button))
            room -= 20; // the box or circle in front of the text
        if (QFontMetrics(button->font()).horizontalAdvance(text) > room)
            cut << button->objectName() + QStringLiteral(": ") + text;
    }
    return cut;
}

} // namespace

class TestWindowGerman : public QObject
{
    Q_OBJECT

    QTranslator m_german;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgram());
        QVERIFY(m_german.load(QStringLiteral(TAMSEL_GERMAN_TRANSLATION)));
        QCoreApplication::installTranslator(&m_german);
        Settings::setMyCollectionFolder(home(QStringLiteral("Sammlung")));
        QDir().mkpath(home(QStringLiteral("Sammlung")));
        Settings::setAdvancedProfiles(true);
    }

    // The check itself: a text wider than its label, or than its button, is found.
    void aCutTextIsFound()
    {
        QWidget box;
        auto *label = new QLabel(QStringLiteral("<font color=\"white\">Verfügbarer Speicherplatz</font>"), &box);
        label->setObjectName(QStringLiteral("narrowLabel"));
        label->setFixedWidth(40);
        auto *button = new QPushButton(QStringLiteral("Einstellungen speichern"), &box);
        button->setObjectName(QStringLiteral("narrowButton"));
        button->setGeometry(0, 30, 40, 20);
        box.show();
        QCOMPARE(cutTexts(&box).size(), 2);
        label->setFixedWidth(400);
        button->setGeometry(0, 30, 400, 20);
        QVERIFY(cutTexts(&box).isEmpty());
    }

    void theWindowInEveryContext_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("title");
        QTest::newRow("My collection") << 0 << QStringLiteral("Meine Sammlung");
        QTest::newRow("Scan results") << 1 << QStringLiteral("Suchergebnisse");
        QTest::newRow("Tasks") << 2 << QStringLiteral("Aufgaben");
        QTest::newRow("Downloads") << 3 << QStringLiteral("Downloads");
    }
    void theWindowInEveryContext()
    {
        QFETCH(int, context);
        QFETCH(QString, title);
        TestSupport::FolderPhones phones;
        phones.addPhone(QStringLiteral("p"), QStringLiteral("SN-DE"), QStringLiteral("Telefon"), QStringLiteral("16"),
                        {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}});
        const auto window = openWindow();
        Ui::VideoTransferClass *form = window->form();
        QTRY_COMPARE(form->comboBox_Phones->count(), 1);
        window->contextSwitcher()->setContext(context);
        QCOMPARE(plainText(form->labelViewType), title);
        QCOMPARE(form->pushButtonMyCollection->text(), QStringLiteral("Meine Sammlung"));
        QCOMPARE(form->menuFile->title(), QStringLiteral("Datei"));
        QCOMPARE(window->myCollectionView()->headerItem()->text(MyCollectionView::StorageColumn),
                 QStringLiteral("Speicherort"));
        QCOMPARE(form->toolButton_Help->toolTip(), QStringLiteral("Hilfe"));
        const QStringList cut = cutTexts(window.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void theSettingsDialogOnEveryPage_data()
    {
        QTest::addColumn<QString>("pageButton");
        for (const char *name : {"ctButton", "fButton", "mButton", "aButton", "dButton", "advButton"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void theSettingsDialogOnEveryPage()
    {
        QFETCH(QString, pageButton);
        CSettingsDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *button = dialog.findChild<QAbstractButton *>(pageButton);
        QVERIFY(button);
        if (pageButton == QLatin1String("advButton"))
            dialog.findChild<QAbstractButton *>(QStringLiteral("ctButton"))->click();
        button->click();
        QTest::qWait(50);
        QCOMPARE(dialog.findChild<QAbstractButton *>(QStringLiteral("okButton"))->accessibleName(),
                 QStringLiteral("Einstellungen speichern"));
        const QStringList cut = cutTexts(&dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }
};

WINDOW_TEST_MAIN(TestWindowGerman)
#include "tst_windowgerman.moc"
