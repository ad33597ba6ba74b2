#include "dialogfixture.h"
#include "formats.h"
#include "messagedialog.h"
#include "panelbutton.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QUrl>

namespace {

QLabel *messageText(QWidget *dialog)
{
    return dialog->findChild<QLabel *>(QStringLiteral("messageText"));
}

QStringList visibleButtonNames(QWidget *dialog)
{
    QStringList names;
    for (const char *name : {"Ok", "Cancel", "Ignore"})
        if (buttonNamed(dialog, QLatin1String(name)))
            names << QLatin1String(name);
    return names;
}

// Waits for the one message dialog, then hands it to act.
bool withDialog(const std::function<bool(CMessageDialog *)> &act)
{
    const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
    if (shown.size() != 1 || !shown.constFirst()->isActiveWindow())
        return false;
    return act(shown.constFirst());
}

} // namespace

// Receives the links the message dialog hands to the desktop.
class LinkCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void openUrl(const QUrl &url) { opened.append(url); }
};

class TestMessageDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(loadProgramTheme()); }
    void cleanupTestCase() { CTheme::setCurrent(nullptr); }

    void answers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("checkBox");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("buttons");

        const QStringList ok{QStringLiteral("Ok")};
        const QStringList okCancel{QStringLiteral("Ok"), QStringLiteral("Cancel")};
        const QStringList all{QStringLiteral("Ok"), QStringLiteral("Cancel"), QStringLiteral("Ignore")};
        const QString box = QStringLiteral("Remember my choice");
        QTest::addRow("kind 0 Ok") << 0 << QString() << false << "Ok" << 1 << ok;
        QTest::addRow("kind 0 closed") << 0 << QString() << false << "Close" << 0 << ok;
        QTest::addRow("kind 0 Enter") << 0 << QString() << false << "Enter" << 1 << ok;
        QTest::addRow("kind 0 Escape") << 0 << QString() << false << "Escape" << 0 << ok;
        QTest::addRow("kind 0 ticked Ok") << 0 << box << true << "Ok" << 3 << ok;
        QTest::addRow("kind 0 ticked Escape") << 0 << box << true << "Escape" << 4 << ok;
        QTest::addRow("kind 1 Ok") << 1 << QString() << false << "Ok" << 1 << okCancel;
        QTest::addRow("kind 1 Cancel") << 1 << QString() << false << "Cancel" << 0 << okCancel;
        QTest::addRow("kind 1 closed") << 1 << QString() << false << "Close" << 0 << okCancel;
        QTest::addRow("kind 1 Enter") << 1 << QString() << false << "Enter" << 1 << okCancel;
        QTest::addRow("kind 1 Escape") << 1 << QString() << false << "Escape" << 0 << okCancel;
        QTest::addRow("kind 1 unticked Ok") << 1 << box << false << "Ok" << 1 << okCancel;
        QTest::addRow("kind 1 unticked Cancel") << 1 << box << false << "Cancel" << 0 << okCancel;
        QTest::addRow("kind 1 ticked Ok") << 1 << box << true << "Ok" << 3 << okCancel;
        QTest::addRow("kind 1 ticked Cancel") << 1 << box << true << "Cancel" << 4 << okCancel;
        QTest::addRow("kind 1 ticked Enter") << 1 << box << true << "Enter" << 3 << okCancel;
        QTest::addRow("kind 1 ticked Escape") << 1 << box << true << "Escape" << 4 << okCancel;
        QTest::addRow("kind 1 ticked closed") << 1 << box << true << "Close" << 0 << okCancel;
        QTest::addRow("kind 2 Ok") << 2 << QString() << false << "Ok" << 1 << all;
        QTest::addRow("kind 2 Cancel") << 2 << QString() << false << "Cancel" << 0 << all;
        QTest::addRow("kind 2 Ignore") << 2 << QString() << false << "Ignore" << 2 << all;
        QTest::addRow("kind 2 ticked Ignore") << 2 << box << true << "Ignore" << 2 << all;
    }
    void answers()
    {
        QFETCH(int, kind);
        QFETCH(QString, checkBox);
        QFETCH(bool, tick);
        QFETCH(QString, action);
        QFETCH(int, expected);
        QFETCH(QStringList, buttons);

        QStringList shownButtons;
        QString title;
        QString band;
        bool hasBox = false;
        User user([&] {
            return withDialog([&](CMessageDialog *dialog) {
                shownButtons = visibleButtonNames(dialog);
                title = dialog->windowTitle();
                band = dialog->dialogTitle();
                auto *box = dialog->findChild<QCheckBox *>();
                hasBox = box && box->isVisible();
                if (box && tick)
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
                if (action == QLatin1String("Enter"))
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                else if (action == QLatin1String("Escape"))
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                else
                    return clickButton(dialog, action);
                return true;
            });
        });
        const int result = CMessageDialog::ask(kind, QStringLiteral("Warning"), QStringLiteral("Are you sure?"),
                                               checkBox, QString());
        QVERIFY(user.finished());
        QCOMPARE(result, expected);
        QCOMPARE(shownButtons, buttons);
        QCOMPARE(hasBox, !checkBox.isEmpty());
        // The title the caller passes is not shown: the frame names the program.
        QCOMPARE(title, QStringLiteral("Orvak Tamsel"));
        QCOMPARE(band, QStringLiteral("Orvak Tamsel"));
        QVERIFY(!CMessageDialog::isShowing());
    }

    void tabMovesBetweenTheButtons()
    {
        QStringList focusOrder;
        bool onlyFocusedShowsPanel = false;
        User user([&] {
            return withDialog([&](CMessageDialog *dialog) {
                focusOrder << QApplication::focusWidget()->objectName();
                for (int i = 0; i < 3; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    focusOrder << QApplication::focusWidget()->objectName();
                }
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
                focusOrder << QApplication::focusWidget()->objectName();
                // Keyboard users see where Enter goes.
                onlyFocusedShowsPanel = true;
                const auto buttons = dialog->findChildren<CPanelButton *>();
                for (CPanelButton *button : buttons) {
                    if (button->objectName() == QLatin1String("closeButton"))
                        continue;
                    const bool focused = button == QApplication::focusWidget();
                    onlyFocusedShowsPanel &= button->drawsBackground() == focused && button->isHighlighted() == focused;
                }
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                return true;
            });
        });
        const int result = CMessageDialog::ask(2, QStringLiteral("Warning"), QStringLiteral("Go on?"),
                                               QStringLiteral("Remember my choice"), QString());
        QVERIFY(user.finished());
        QCOMPARE(focusOrder, (QStringList{QStringLiteral("okButton"), QStringLiteral("cancelButton"),
                                          QStringLiteral("ignoreButton"), QStringLiteral("messageCheckBox"),
                                          QStringLiteral("ignoreButton")}));
        // Enter presses the button that has the focus.
        QCOMPARE(result, int(CMessageDialog::Ignored));
        QVERIFY(onlyFocusedShowsPanel);
    }

    void everyButtonIsNamedLikeItsTooltip()
    {
        bool checked = false;
        User user([&] {
            return withDialog([&](CMessageDialog *dialog) {
                const auto buttons = dialog->findChildren<QAbstractButton *>();
                for (QAbstractButton *button : buttons) {
                    if (qobject_cast<QCheckBox *>(button))
                        continue;
                    if (button->accessibleName().isEmpty() || button->accessibleName() != button->toolTip())
                        return false;
                }
                checked = true;
                return clickButton(dialog, QStringLiteral("Ok"));
            });
        });
        CMessageDialog::ask(2, QString(), QStringLiteral("x"), QString(), QString());
        QVERIFY(checked);
    }

    void textNoteAndPicture()
    {
        QString text;
        QString note;
        bool pictureShown = false;
        User user([&] {
            return withDialog([&](CMessageDialog *dialog) {
                text = shownText(messageText(dialog));
                note = shownText(dialog->findChild<QLabel *>(QStringLiteral("messageNote")));
                auto *picture = dialog->findChild<QLabel *>(QStringLiteral("messageIcon"));
                pictureShown = picture && !picture->pixmap().isNull()
                               && picture->size() == CTheme::pixmap(CTheme::WarningDialog, CTheme::Background)
                                                         .deviceIndependentSize()
                                                         .toSize();
                return clickButton(dialog, QStringLiteral("Ok"));
            });
        });
        CMessageDialog::ask(1, QStringLiteral("Orvak Tamsel"),
                            QStringLiteral("Do you want to copy 'clip' directly to the phone also?"),
                            QStringLiteral("Remember my choice"),
                            QStringLiteral("You can change your decision from downloads settings.\nSecond line"));
        QCOMPARE(text, QStringLiteral("Do you want to copy 'clip' directly to the phone also?"));
        // Line breaks of program texts survive the rich-text label.
        QCOMPARE(note, QStringLiteral("You can change your decision from downloads settings.\nSecond line"));
        QVERIFY(pictureShown);
    }

    void outsideTextShowsLiterally_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("bold markup") << QStringLiteral("<b>x</b>.mp4");
        QTest::addRow("link") << QStringLiteral("<a href=\"https://example.invalid/\">y</a>.avi");
        QTest::addRow("ampersand") << QStringLiteral("Tom & Jerry.mp4");
        QTest::addRow("entity") << QStringLiteral("&lt;b&gt;.3gp");
        QTest::addRow("comparison") << QStringLiteral("1 < 2 > 0.wmv");
        QTest::addRow("quotes") << QStringLiteral("\"said\" 'so'.mov");
    }
    void outsideTextShowsLiterally()
    {
        QFETCH(QString, name);
        QString shown;
        bool link = true;
        Qt::TextFormat format = Qt::PlainText;
        User user([&] {
            return withDialog([&](CMessageDialog *dialog) {
                QLabel *label = messageText(dialog);
                shown = shownText(label);
                link = showsLink(label);
                format = label->textFormat();
                return clickButton(dialog, QStringLiteral("Cancel"));
            });
        });
        CMessageDialog::ask(1, QStringLiteral("Warning"),
                            QStringLiteral("Are you sure you want to delete '%1'?").arg(Formats::escaped(name)));
        QCOMPARE(format, Qt::RichText);
        QCOMPARE(shown, QStringLiteral("Are you sure you want to delete '") + name + QStringLiteral("'?"));
        QVERIFY(!link);
    }

    void linksOpenInTheBrowser()
    {
        LinkCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "openUrl");
        bool linkShown = false;
        User user([&] {
            return withDialog([&](CMessageDialog *dialog) {
                QLabel *label = messageText(dialog);
                linkShown = showsLink(label);
                // The text starts with the link, so its first letter is a spot on it.
                const QPoint onLink(3, label->fontMetrics().height() / 2);
                QTest::mouseClick(label, Qt::LeftButton, {}, onLink);
                if (catcher.opened.isEmpty())
                    return false;
                return clickButton(dialog, QStringLiteral("Ok"));
            });
        });
        CMessageDialog::ask(0, QStringLiteral("System Error"),
                            QStringLiteral("<a href=\"https://care.example/help\">Orvak Care</a> knows more."));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(user.finished());
        QVERIFY(linkShown);
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://care.example/help"))});
    }

    // Several messages at once are shown one after another; a question asked
    // meanwhile waits for the message on screen and then goes first.
    void messagesTakeTurns()
    {
        QStringList seen;
        int mostAtOnce = 0;
        QPointer<CMessageDialog> answered;
        User user([&] {
            const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
            mostAtOnce = qMax(mostAtOnce, int(shown.size()));
            if (shown.size() != 1 || shown.constFirst() == answered)
                return false;
            CMessageDialog *dialog = shown.constFirst();
            const QString text = shownText(messageText(dialog));
            const bool question = buttonNamed(dialog, QStringLiteral("Cancel")) != nullptr;
            if (!clickButton(dialog, question ? QStringLiteral("Cancel") : QStringLiteral("Ok")))
                return false;
            seen << text;
            answered = dialog;
            return seen.size() == 4;
        });
        CMessageDialog::showInTurn(QStringLiteral("System Error"), QStringLiteral("first"));
        CMessageDialog::showInTurn(QStringLiteral("System Error"), QStringLiteral("second"));
        CMessageDialog::showInTurn(QStringLiteral("Download Error"), QStringLiteral("third"));
        // showInTurn does not wait: the first is up, the others queue.
        QVERIFY(CMessageDialog::isShowing());
        QCOMPARE(CMessageDialog::waitingCount(), 2);
        const int answer = CMessageDialog::ask(1, QStringLiteral("Warning"), QStringLiteral("question"));
        QCOMPARE(answer, int(CMessageDialog::Cancelled));
        QTRY_VERIFY2_WITH_TIMEOUT(user.finished(), qPrintable(seen.join(QLatin1Char(' '))), 20000);
        QCOMPARE(seen, (QStringList{QStringLiteral("first"), QStringLiteral("question"), QStringLiteral("second"),
                                    QStringLiteral("third")}));
        QCOMPARE(mostAtOnce, 1);
        QTRY_VERIFY(!CMessageDialog::isShowing());
        QCOMPARE(CMessageDialog::waitingCount(), 0);
    }
};

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
