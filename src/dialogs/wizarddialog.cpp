#include "wizarddialog.h"

#include "dirdialog.h"
#include "messagedialog.h"
#include "slider.h"
#include "tooltip.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

const QColor kFocusFill(0xdb, 0xe9, 0xfa);

} // namespace

CWizardDlg::CWizardDlg(QWidget *parent) : CDialog(parent)
{
    setObjectName(QStringLiteral("wizard"));
}

CWizardDlg::~CWizardDlg() = default;

bool CWizardDlg::isUsableFolder(const QString &text)
{
    const QFileInfo folder(text);
    return !text.isEmpty() && folder.isAbsolute() && folder.isDir();
}

CToolTip *CWizardDlg::helpPopup() const
{
    return m_helpPopup;
}

void CWizardDlg::showHelpPopup(QSize size)
{
    if (m_helpPopup)
        m_helpPopup->showText(m_helpText);
    else
        m_helpPopup = CToolTip::showBalloon(this, size, m_helpText);
}

void CWizardDlg::setHelpText(const QString &text)
{
    const bool changed = text != m_helpText;
    m_helpText = text;
    if (changed && m_helpPopup && m_helpPopup->isVisible())
        m_helpPopup->showText(text);
}

QAction *CWizardDlg::addHelpAction()
{
    auto *help = new QAction(this);
    help->setObjectName(QStringLiteral("help"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);
    return help;
}

void CWizardDlg::browseFolder(QLineEdit *edit, const QString &caption)
{
    // Folder paths keep "/" on this platform, so the chosen path goes into
    // the field as the picker returns it.
    const QString chosen = CDirDialog::getFolder(this, edit->text(), caption);
    if (!chosen.isEmpty())
        edit->setText(chosen);
}

bool CWizardDlg::checkFolder(QLineEdit *edit, const QString &restore, const QString &title)
{
    if (isUsableFolder(edit->text()))
        return true;
    CMessageDialog::ask(CMessageDialog::OkButton, title, tr("Please type in a valid folder."));
    edit->setText(restore);
    return false;
}

void CWizardDlg::markFocus(QWidget *widget)
{
    m_focusMarked.insert(widget);
    widget->installEventFilter(this);
    showFocusMark(widget, widget->hasFocus());
}

void CWizardDlg::showFocusMark(QWidget *widget, bool focused)
{
    if (auto *slider = qobject_cast<CSlider *>(widget)) {
        slider->setHighlighted(focused);
        return;
    }
    // Page buttons and push buttons paint their own background: their text
    // is underlined instead.
    if (qobject_cast<QPushButton *>(widget)) {
        QFont font = widget->font();
        font.setUnderline(focused);
        widget->setFont(font);
        return;
    }
    if (focused) {
        QPalette light = widget->palette();
        light.setColor(widget->backgroundRole(), kFocusFill);
        widget->setPalette(light);
    }
    widget->setAutoFillBackground(focused);
}

void CWizardDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button of the form (the frame's own icon
    // buttons are the frame's business); elsewhere it is the dialog's
    // Enter button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget *focused = focusWidget();
        auto *button = qobject_cast<QAbstractButton *>(focused);
        const bool pressable = qobject_cast<QToolButton *>(focused) || qobject_cast<QPushButton *>(focused);
        if (button && pressable && isAncestorOf(button) && button->isEnabled()) {
            event->accept();
            button->click();
            return;
        }
    }
    CDialog::keyPressEvent(event);
}

bool CWizardDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto *widget = qobject_cast<QWidget *>(watched);
        // A click shows where it went by itself; the mark is for the keyboard.
        const bool byMouse = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
        if (widget && m_focusMarked.contains(widget))
            showFocusMark(widget, event->type() == QEvent::FocusIn && !byMouse);
    }
    return CDialog::eventFilter(watched, event);
}
