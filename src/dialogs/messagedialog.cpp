#include "messagedialog.h"

#include "dialogparts.h"
#include "panelbutton.h"
#include "theme.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QQueue>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

using T = CTheme;

struct WaitingMessage
{
    QString title;
    QString text;
};

// The message dialog whose turn it is, from just before it is shown until
// it is closed; and the messages queued behind it.
QPointer<CMessageDialog> s_shown;

QQueue<WaitingMessage> &waiting()
{
    static QQueue<WaitingMessage> queue;
    return queue;
}

// Runs the event loop until no message dialog is open any more.
void waitForTurn()
{
    while (s_shown) {
        QEventLoop loop;
        QObject::connect(s_shown, &QDialog::finished, &loop, &QEventLoop::quit);
        QObject::connect(s_shown, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::DialogExec);
    }
}

// Program texts may break lines with "\n"; in rich text that is a <br>.
QString richText(const QString &text)
{
    QString rich = text;
    rich.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return rich;
}

QLabel *messageLabel(const char *objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setTextFormat(Qt::RichText);
    label->setText(richText(text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setOpenExternalLinks(false);
    return label;
}

constexpr int kTextMinimumWidth = 320;
const QColor kNoteColor(90, 101, 119);

} // namespace

CMessageDialog::CMessageDialog(int kind, const QString &text, const QString &checkBoxText, const QString &note,
                               QWidget *parent)
    : CDialog(parent, QStringLiteral("Orvak Tamsel"))
{
    setObjectName(QStringLiteral("messageDialog"));
    setVariant(SmallBottomPanel);
    m_icon = T::pixmap(T::WarningDialog, T::Background);

    auto *content = new QVBoxLayout(contentFrame());
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(0);
    auto *body = new QHBoxLayout;
    body->setContentsMargins(16, 16, 20, 14);
    body->setSpacing(14);
    auto *picture = new QLabel(contentFrame());
    picture->setObjectName(QStringLiteral("messageIcon"));
    picture->setPixmap(m_icon);
    picture->setFixedSize(logicalSize(m_icon));
    body->addWidget(picture, 0, Qt::AlignTop);

    auto *column = new QVBoxLayout;
    column->setSpacing(8);
    QLabel *textLabel = messageLabel("messageText", text, contentFrame());
    textLabel->setMinimumWidth(kTextMinimumWidth);
    connect(textLabel, &QLabel::linkActivated, this, &CMessageDialog::handleLinkActivation);
    column->addWidget(textLabel);
    if (!note.isEmpty()) {
        QLabel *noteLabel = messageLabel("messageNote", note, contentFrame());
        QPalette grey = noteLabel->palette();
        grey.setColor(QPalette::All, QPalette::WindowText, kNoteColor);
        noteLabel->setPalette(grey);
        connect(noteLabel, &QLabel::linkActivated, this, &CMessageDialog::handleLinkActivation);
        column->addWidget(noteLabel);
    }
    if (!checkBoxText.isEmpty()) {
        m_checkBox = new QCheckBox(checkBoxText, contentFrame());
        m_checkBox->setObjectName(QStringLiteral("messageCheckBox"));
        column->addSpacing(2);
        column->addWidget(m_checkBox);
    }
    column->addStretch();
    body->addLayout(column, 1);
    content->addLayout(body, 1);

    QHBoxLayout *buttons = addButtonRow(content);
    buttons->addStretch();
    const auto addButton = [this, buttons](const char *objectName, const QString &name, T::Element icon, int state) {
        CPanelButton *button = addIconButton(buttons, objectName, name);
        T::setButtonIcon(button, icon, state);
        return button;
    };
    CPanelButton *ok = addButton("okButton", tr("Ok"), T::OkIcon, T::None);
    connect(ok, &QToolButton::clicked, this, &CMessageDialog::OkSlot);
    setEnterButton(ok);
    if (kind >= OkCancelButtons) {
        CPanelButton *cancel = addButton("cancelButton", tr("Cancel"), T::CancelIcon, T::None);
        connect(cancel, &QToolButton::clicked, this, &CMessageDialog::CancelSlot);
    }
    if (kind >= OkCancelIgnoreButtons) {
        // The theme keeps the Ignore badge as the alternate look of "go on".
        CPanelButton *ignore = addButton("ignoreButton", tr("Ignore"), T::ForwardIcon, T::Alternate);
        connect(ignore, &QToolButton::clicked, this, &CMessageDialog::IgnoreSlot);
    }
    ok->setFocus();
}

CMessageDialog::~CMessageDialog()
{
    if (s_shown == this) {
        s_shown = nullptr;
        QTimer::singleShot(0, qApp, &CMessageDialog::showNextInTurn);
    }
}

int CMessageDialog::ask(int kind, const QString &title, const QString &text, const QString &checkBoxText,
                        const QString &note)
{
    waitForTurn();
    QPointer<CMessageDialog> dialog =
        new CMessageDialog(kind, text, checkBoxText, note, QApplication::activeWindow());
    dialog->setAccessibleDescription(title);
    s_shown = dialog;
    dialog->exec();
    // The parent window may have taken the dialog with it.
    if (!dialog)
        return Cancelled;
    const int result = dialog->m_result;
    delete dialog.data();
    return result;
}

void CMessageDialog::showInTurn(const QString &title, const QString &text)
{
    waiting().enqueue({title, text});
    showNextInTurn();
}

void CMessageDialog::showNextInTurn()
{
    if (isShowing() || waiting().isEmpty())
        return;
    const WaitingMessage next = waiting().dequeue();
    auto *dialog = new CMessageDialog(OkButton, next.text, QString(), QString(), QApplication::activeWindow());
    dialog->setAccessibleDescription(next.title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    s_shown = dialog;
    dialog->show();
}

bool CMessageDialog::isShowing()
{
    return !s_shown.isNull();
}

int CMessageDialog::waitingCount()
{
    return int(waiting().size());
}

void CMessageDialog::done(int code)
{
    CDialog::done(code);
    if (s_shown == this) {
        s_shown = nullptr;
        // Later, so that a question waiting for this one goes first and this
        // dialog is off the screen before the next appears.
        QTimer::singleShot(0, qApp, &CMessageDialog::showNextInTurn);
    }
}

void CMessageDialog::OkSlot()
{
    m_result = m_checkBox && m_checkBox->isChecked() ? ConfirmedTicked : Confirmed;
    accept();
}

void CMessageDialog::CancelSlot()
{
    m_result = m_checkBox && m_checkBox->isChecked() ? CancelledTicked : Cancelled;
    reject();
}

void CMessageDialog::IgnoreSlot()
{
    m_result = Ignored;
    reject();
}

void CMessageDialog::handleLinkActivation(const QString &link)
{
    QDesktopServices::openUrl(QUrl(link));
}

void CMessageDialog::keyPressEvent(QKeyEvent *event)
{
    // Escape answers like Cancel, so a ticked box still counts.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        CancelSlot();
        return;
    }
    CDialog::keyPressEvent(event);
}
