#pragma once

#include "theme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QResource>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <functional>

// The dialogs are tested with the program's own theme, read from the built
// resource package, and driven like a user would: buttons are found by their
// accessible name and clicked.

inline bool loadProgramTheme()
{
    if (!QResource::registerResource(QStringLiteral(TAMSEL_RESOURCE_PACKAGE), QStringLiteral("/Theme/")))
        return false;
    CTheme::setCurrent(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));
    return !CTheme::pixmap(CTheme::Dialog, CTheme::Top | CTheme::Center).isNull();
}

inline QAbstractButton *buttonNamed(QWidget *dialog, const QString &accessibleName)
{
    const auto buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons)
        if (button->accessibleName() == accessibleName && button->isVisible())
            return button;
    return nullptr;
}

// Clicks the visible button of that accessible name; false when there is none.
inline bool clickButton(QWidget *dialog, const QString &accessibleName)
{
    QAbstractButton *button = buttonNamed(dialog, accessibleName);
    if (!button || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

// What a rich-text label shows, as plain text.
inline QString shownText(const QLabel *label)
{
    if (label->textFormat() == Qt::PlainText)
        return label->text();
    QTextDocument document;
    document.setHtml(label->text());
    return document.toPlainText();
}

inline bool showsLink(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                return true;
    return false;
}

template <typename Dialog>
QList<Dialog *> visibleDialogs()
{
    QList<Dialog *> found;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        if (auto *dialog = qobject_cast<Dialog *>(window); dialog && dialog->isVisible())
            found.append(dialog);
    return found;
}

// Plays the user while a modal dialog runs its own event loop: step is
// called every 20 ms until it returns true. If the user has not finished
// after the timeout, every modal dialog is rejected so the test ends (and
// fails on its own checks) instead of hanging.
class User
{
public:
    explicit User(std::function<bool()> step, int timeoutMs = 20000) : m_step(std::move(step))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_done)
                return;
            if (m_step()) {
                m_done = true;
                m_timer.stop();
            }
        });
        m_timer.start();
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, [this] {
            if (m_done)
                return;
            m_timedOut = true;
            m_timer.stop();
            const auto windows = QApplication::topLevelWidgets();
            for (QWidget *window : windows)
                if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
                    dialog->reject();
        });
        m_deadline.start(timeoutMs);
    }

    bool finished() const { return m_done; }
    bool timedOut() const { return m_timedOut; }

private:
    std::function<bool()> m_step;
    QTimer m_timer;
    QTimer m_deadline;
    bool m_done = false;
    bool m_timedOut = false;
};
