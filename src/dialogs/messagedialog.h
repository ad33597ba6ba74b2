#pragma once

#include "dialog.h"

class CPanelButton;
class QCheckBox;

// The program's message box, used for every question, notice and error:
// the warning picture, the text, an optional note and check box, and one to
// three icon buttons ("okButton", "cancelButton", "ignoreButton", with the
// accessible names "Ok", "Cancel" and "Ignore"). The frame always reads
// "Orvak Tamsel".
//
// Text and note are rich text: a link in them opens in the desktop's
// browser and "\n" breaks the line. Put outside text (file names, paths,
// link titles) in through Formats::escaped(), so that markup hidden in it
// shows literally.
//
// Keyboard: Enter presses the focused button, Ok when the focus is
// elsewhere; Escape is Cancel (also in a dialog without a Cancel button);
// Tab moves between the buttons and the check box.
//
// Only one message dialog is on screen at a time: ask() and showInTurn()
// wait while another one is open. Main thread only.
class CMessageDialog final : public CDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMessageDialog)

public:
    // The buttons, left to right.
    enum Kind {
        OkButton = 0,              // Ok
        OkCancelButtons = 1,       // Ok, Cancel
        OkCancelIgnoreButtons = 2, // Ok, Cancel, Ignore
    };
    enum Result {
        Cancelled = 0,        // Cancel, Escape, or the dialog closed; box not ticked
        Confirmed = 1,        // Ok; box absent or not ticked
        Ignored = 2,          // Ignore
        ConfirmedTicked = 3,  // Ok with the box ticked
        CancelledTicked = 4,  // Cancel or Escape with the box ticked
    };

    // Shows the message modally over the active window and returns one of
    // Result. title is accepted for the caller's sake but not shown. An
    // empty checkBoxText or note leaves that part out. Waits first while
    // another message dialog is open.
    static int ask(int kind, const QString &title, const QString &text, const QString &checkBoxText = QString(),
                   const QString &note = QString());

    static bool isConfirmed(int result) { return result == Confirmed || result == ConfirmedTicked; }
    static bool isTicked(int result) { return result == ConfirmedTicked || result == CancelledTicked; }

    // Shows an Ok-only message and returns at once: the message is queued
    // and shown as soon as no other message dialog is open, each after the
    // one before has been closed. Meant for errors that may arrive several
    // at once, such as the main window's SlotErrorMessage, which logs the
    // technical text and then calls showInTurn(title, friendlyText).
    static void showInTurn(const QString &title, const QString &text);

    // True while a message dialog is on screen.
    static bool isShowing();
    // Messages given to showInTurn() that are not on screen yet.
    static int waitingCount();

    ~CMessageDialog() override;

    void done(int code) override;

protected Q_SLOTS:
    void OkSlot();
    void CancelSlot();
    void IgnoreSlot();
    void handleLinkActivation(const QString &link);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    CMessageDialog(int kind, const QString &text, const QString &checkBoxText, const QString &note,
                   QWidget *parent);
    static void showNextInTurn();

    int m_result = Cancelled;
    QCheckBox *m_checkBox = nullptr;
    QPixmap m_icon;
};
