#pragma once

#include "dialog.h"

#include <QPointer>
#include <QSet>

class CToolTip;
class QAction;
class QLineEdit;

// What the first-run wizard and the settings dialog share: a help balloon
// that shows the help text of the page on screen, the folder fields with
// their browse buttons and their check on finishing, and the keyboard rules
// for forms (a help action on F1, Enter on a focused button presses it,
// a visible mark on the focused check box, radio button or slider).
// The dialog's object name is "wizard". Main thread only.
class CWizardDlg : public CDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CWizardDlg)

public:
    explicit CWizardDlg(QWidget *parent = nullptr);
    ~CWizardDlg() override;

    // The help text of the page on screen, as the balloon shows it.
    QString helpText() const { return m_helpText; }
    // The balloon, or nullptr before it was first shown.
    CToolTip *helpPopup() const;

    // True when text names an existing folder by an absolute path. An empty
    // text or a relative one (which would depend on the program's working
    // folder) does not.
    static bool isUsableFolder(const QString &text);

protected:
    // Shows the balloon with the current help text, creating it on first
    // use with the given size.
    void showHelpPopup(QSize size);
    // Makes text the current help text; a balloon on screen shows it at once.
    void setHelpText(const QString &text);

    // An action with the shortcut F1 (object name "help"), added to the
    // dialog; the caller connects it.
    QAction *addHelpAction();

    // Opens the folder picker titled caption at the folder in edit and puts
    // a chosen folder into edit.
    void browseFolder(QLineEdit *edit, const QString &caption);
    // Tells the user with a message titled title when edit does not name a
    // usable folder, and then puts restore back into it. Returns whether the
    // folder was usable.
    bool checkFolder(QLineEdit *edit, const QString &restore, const QString &title);

    // While widget has the keyboard focus (not one a click gave it) it shows
    // a mark, as the style draws no focus frame: check boxes, radio buttons
    // and tool buttons a light fill behind them, push buttons an underlined
    // text, a CSlider its highlighted look.
    void markFocus(QWidget *widget);

    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFocusMark(QWidget *widget, bool focused);

    QPointer<CToolTip> m_helpPopup;
    QString m_helpText;
    QSet<QWidget *> m_focusMarked;
};
