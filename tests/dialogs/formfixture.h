#pragma once

#include "dialogfixture.h"
#include "messagedialog.h"

#include <QDir>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>

// Helpers for the wizard and settings dialog tests, which run a dialog
// modally while a User answers it and the messages it shows.

// Clicks button once control is back in the event loop: a click that opens
// a modal dialog then does not run that dialog inside the User's step.
inline void clickLater(QAbstractButton *button)
{
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

inline void keyLater(QWidget *widget, Qt::Key key)
{
    QTimer::singleShot(0, widget, [widget, key] { QTest::keyClick(widget, key); });
}

// The messages a dialog showed, each as "title: text", answered with Ok.
struct Messages
{
    QStringList seen;

    // True when a message was on screen (and has been answered).
    bool answer()
    {
        const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
        if (shown.isEmpty())
            return false;
        CMessageDialog *message = shown.constFirst();
        seen << message->accessibleDescription() + QStringLiteral(": ")
                    + shownText(message->findChild<QLabel *>(QStringLiteral("messageText")));
        clickLater(buttonNamed(message, QStringLiteral("Ok")));
        return true;
    }
};

// Folders that exist, in a temporary folder of their own.
class Folders
{
public:
    Folders()
    {
        for (const char *folder : {"Videos/Orvak Tamsel", "Videos/holiday", "Other"})
            QDir(m_root.path()).mkpath(QLatin1String(folder));
    }
    bool isValid() const { return m_root.isValid(); }
    QString path(const char *relative) const { return m_root.path() + QLatin1Char('/') + QLatin1String(relative); }

private:
    QTemporaryDir m_root;
};

template <typename T>
T *child(QWidget *parent, const char *objectName)
{
    return parent->findChild<T *>(QLatin1String(objectName));
}
