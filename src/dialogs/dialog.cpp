#include "dialog.h"

#include "dialogparts.h"
#include "panelbutton.h"
#include "theme.h"

#include <QBitmap>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace {

using T = CTheme;

// The band keeps room for the title and the close button even when the
// theme has no title pieces.
constexpr int kFallbackBandHeight = 34;
constexpr int kTitleMargin = 5;
constexpr int kTitlePointSize = 12;
constexpr QSize kIconSize(28, 16);
constexpr QSize kCloseButtonSize(24, 24);

} // namespace

CDialog::CDialog(QWidget *parent, const QString &title) : QDialog(parent)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    QPalette white = palette();
    white.setBrush(QPalette::All, QPalette::Window, Qt::white);
    setPalette(white);
    setWindowIcon(T::icon(T::ApplicationIcon));

    const int rows[] = {T::Top, T::Middle, T::Bottom};
    const int columns[] = {T::Left, T::Center, T::Right};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            m_pieces[size_t(row * 3 + column)] = T::pixmap(T::Dialog, rows[row] | columns[column]);

    auto *titleRow = new QWidget(this);
    titleRow->setObjectName(QStringLiteral("titleBand"));
    const int bandHeight = logicalSize(m_pieces[TopCenter]).height();
    titleRow->setFixedHeight(bandHeight > 0 ? bandHeight : kFallbackBandHeight);
    auto *titleLayout = new QHBoxLayout(titleRow);
    titleLayout->setContentsMargins(kTitleMargin, kTitleMargin, kTitleMargin, kTitleMargin);
    titleLayout->setSpacing(kTitleMargin);

    m_iconLabel = new QLabel(titleRow);
    m_iconLabel->setObjectName(QStringLiteral("dialogIcon"));
    m_iconLabel->setFixedSize(kIconSize);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setPixmap(T::pixmap(T::ApplicationIcon));
    titleLayout->addWidget(m_iconLabel);

    m_titleLabel = new QLabel(titleRow);
    m_titleLabel->setObjectName(QStringLiteral("dialogTitle"));
    m_titleLabel->setTextFormat(Qt::PlainText);
    QPalette titleText = m_titleLabel->palette();
    titleText.setColor(QPalette::All, QPalette::WindowText, Qt::white);
    m_titleLabel->setPalette(titleText);
    QFont titleFont = m_titleLabel->font();
    titleFont.setPointSize(kTitlePointSize);
    m_titleLabel->setFont(titleFont);
    titleLayout->addWidget(m_titleLabel);
    titleLayout->addStretch();

    // Escape closes the dialog, so the button stays out of the Tab chain.
    m_closeButton = makeCloseButton(titleRow);
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    m_closeButton->setFixedSize(kCloseButtonSize);
    T::setButtonIcon(m_closeButton, T::CloseIcon);
    connect(m_closeButton, &QToolButton::clicked, this, &QDialog::reject);
    titleLayout->addWidget(m_closeButton);

    m_contentFrame = new QWidget(this);
    m_contentFrame->setObjectName(QStringLiteral("contentFrame"));
    m_contentFrame->setContentsMargins(logicalSize(m_pieces[MiddleLeft]).width(),
                                       logicalSize(T::pixmap(T::DialogSecondaryBumper)).height(),
                                       logicalSize(m_pieces[MiddleRight]).width(),
                                       logicalSize(m_pieces[BottomCenter]).height());

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(titleRow);
    outer->addWidget(m_contentFrame, 1);

    setDialogTitle(title);
}

CDialog::~CDialog() = default;

CPanelButton *makeCloseButton(QWidget *parent)
{
    auto *button = new CPanelButton(parent);
    button->setObjectName(QStringLiteral("closeButton"));
    button->setToolTip(CDialog::tr("Close"));
    button->setAccessibleName(CDialog::tr("Close"));
    button->setDrawBackground(false);
    button->setAutoRaise(true);
    return button;
}

QRegion roundedShape(const QSize &size, qreal roundnessX, qreal roundnessY)
{
    if (size.isEmpty())
        return QRegion();
    QBitmap mask(size);
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setBrush(Qt::color1);
    painter.setPen(Qt::color1);
    painter.drawRoundedRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1), roundnessX, roundnessY,
                            Qt::RelativeSize);
    painter.end();
    return QRegion(mask);
}

QHBoxLayout *CDialog::addButtonRow(QVBoxLayout *layout)
{
    auto *row = new QWidget(m_contentFrame);
    row->setObjectName(QStringLiteral("buttonRow"));
    row->setFixedHeight(bottomPanelHeight());
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(12, 0, 12, 0);
    buttons->setSpacing(6);
    layout->addWidget(row);
    return buttons;
}

CPanelButton *CDialog::addIconButton(QHBoxLayout *row, const char *objectName, const QString &name)
{
    auto *button = new CPanelButton(row->parentWidget());
    button->setObjectName(QLatin1String(objectName));
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setSize(CPanelButton::Small);
    button->setAutoRaise(true);
    addKeyboardButton(button);
    row->addWidget(button);
    return button;
}

void CDialog::setDialogTitle(const QString &title)
{
    setWindowTitle(title);
    m_titleLabel->setText(title);
}

QString CDialog::dialogTitle() const
{
    return m_titleLabel->text();
}

void CDialog::setDialogIcon(const QPixmap &icon)
{
    m_iconLabel->setPixmap(icon);
}

void CDialog::setVariant(int variant)
{
    m_variant = variant;
    update();
}

int CDialog::bottomPanelHeight() const
{
    return logicalSize(T::pixmap(T::DialogBottomPanel, bottomPanelState(m_variant))).height();
}

void CDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFrame(&painter);
}

void CDialog::paintFrame(QPainter *painter, bool withBody) const
{
    const QRect all = rect();
    const int top = logicalSize(m_pieces[TopCenter]).height();
    const int bottom = logicalSize(m_pieces[BottomCenter]).height();
    const int left = logicalSize(m_pieces[MiddleLeft]).width();
    const int right = logicalSize(m_pieces[MiddleRight]).width();
    const int middleHeight = all.height() - top - bottom;
    const int centerWidth = all.width() - left - right;

    // Corners at their own size, edges stretched along the side they run
    // on, the body over the rest.
    const QSize topLeft = logicalSize(m_pieces[TopLeft]);
    const QSize topRight = logicalSize(m_pieces[TopRight]);
    const QSize bottomLeft = logicalSize(m_pieces[BottomLeft]);
    const QSize bottomRight = logicalSize(m_pieces[BottomRight]);
    drawStretched(painter, QRect(QPoint(0, 0), topLeft), m_pieces[TopLeft]);
    drawStretched(painter, QRect(topLeft.width(), 0, all.width() - topLeft.width() - topRight.width(), top),
                  m_pieces[TopCenter]);
    drawStretched(painter, QRect(QPoint(all.width() - topRight.width(), 0), topRight), m_pieces[TopRight]);
    drawStretched(painter, QRect(0, top, left, middleHeight), m_pieces[MiddleLeft]);
    if (withBody)
        drawStretched(painter, QRect(left, top, centerWidth, middleHeight), m_pieces[MiddleCenter]);
    drawStretched(painter, QRect(all.width() - right, top, right, middleHeight), m_pieces[MiddleRight]);
    drawStretched(painter, QRect(QPoint(0, all.height() - bottomLeft.height()), bottomLeft), m_pieces[BottomLeft]);
    drawStretched(painter,
                  QRect(bottomLeft.width(), all.height() - bottom,
                        all.width() - bottomLeft.width() - bottomRight.width(), bottom),
                  m_pieces[BottomCenter]);
    drawStretched(painter, QRect(QPoint(all.width() - bottomRight.width(), all.height() - bottomRight.height()),
                                 bottomRight),
                  m_pieces[BottomRight]);

    const QPixmap bumper = T::pixmap(T::DialogSecondaryBumper);
    drawStretched(painter, QRect(0, top, all.width(), logicalSize(bumper).height()), bumper);

    // The bottom panel runs inside the border, so the frame's edge stays
    // unbroken around it.
    const QPixmap panel = T::pixmap(T::DialogBottomPanel, bottomPanelState(m_variant));
    const int panelHeight = logicalSize(panel).height();
    drawStretched(painter, QRect(left, all.height() - bottom - panelHeight, centerWidth, panelHeight), panel);
}

void CDialog::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    m_dragging = false;
    if (event->button() == Qt::LeftButton && at.y() >= 0 && at.y() < kDragBandHeight && at.x() >= 0
        && at.x() < width()) {
        event->accept();
        // Window managers (and Wayland, which allows nothing else) move the
        // window themselves when asked; elsewhere the dialog follows the
        // mouse on its own.
        if (QWindow *window = windowHandle(); window && window->startSystemMove())
            return;
        m_dragging = true;
        m_dragOffset = at;
        return;
    }
    QDialog::mousePressEvent(event);
}

void CDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CDialog::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void CDialog::addKeyboardButton(CPanelButton *button)
{
    button->setFocusPolicy(Qt::StrongFocus);
    button->setDrawBackground(button->hasFocus());
    button->setHighlighted(button->hasFocus());
    button->installEventFilter(this);
    m_keyboardButtons.append(button);
}

void CDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *focused = qobject_cast<CPanelButton *>(focusWidget());
        CPanelButton *target = focused && m_keyboardButtons.contains(focused) ? focused : m_enterButton;
        if (target) {
            event->accept();
            target->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

bool CDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto *button = qobject_cast<CPanelButton *>(watched);
        if (button && m_keyboardButtons.contains(button)) {
            // Only the focused button shows its panel, so keyboard users see
            // where Enter goes.
            const bool focused = event->type() == QEvent::FocusIn;
            button->setDrawBackground(focused);
            button->setHighlighted(focused);
        }
    }
    return QDialog::eventFilter(watched, event);
}
