// The main window's own frame: the frame pictures, icon and title, the
// window buttons and size grip, moving by the menu bar, the icon's menu,
// maximising and full-screen video.

#include "videotransferwindow.h"

#include "sizegrip.h"
#include "theme.h"
#include "ui_videotransferwindow.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

namespace {

using T = CTheme;

QSize logicalSize(const QPixmap &pixmap)
{
    return pixmap.deviceIndependentSize().toSize();
}

// Where the title begins and how wide it may be before the menus.
constexpr int TitleRoom = 144;
constexpr int TopBandHeight = 48;
// Moving or sizing from the icon's menu: the arrow keys' step.
constexpr int KeyboardStep = 10;

QToolButton *makeWindowButton(QWidget *parent, const char *name, CTheme::Element icon, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    CTheme::setButtonIcon(button, icon);
    const QSize size = CTheme::iconSize(icon);
    button->setFixedSize(size.isEmpty() ? QSize(24, 24) : size);
    CVideoTransferWindow::setButtonTip(button, tip);
    return button;
}

} // namespace

void CVideoTransferWindow::createChrome()
{
    m_sizeGrip = new CSizeGrip(this);
    m_sizeGrip->setObjectName(QStringLiteral("sizeGrip"));
    m_minimizeButton = makeWindowButton(this, "toolButton_Minimize", T::MinimizeIcon, tr("Minimise"));
    m_maximizeButton = makeWindowButton(this, "toolButton_Maximize", T::MaximizeIcon, tr("Maximise"));
    m_closeButton = makeWindowButton(this, "toolButton_Close", T::CloseIcon, tr("Close"));
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::close);
    connect(m_minimizeButton, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(m_maximizeButton, &QToolButton::clicked, this, &CVideoTransferWindow::maximize);
    // The menu bar is the whole top band of the frame: the title shows
    // through it, and all of it but the window buttons' corner drags.
    menuBar()->setFixedHeight(TopBandHeight);
    // The menu bar's own button for menus that do not fit.
    if (auto *more = menuBar()->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(tr("More menus"));
    const QPixmap icon = T::pixmap(T::ApplicationIcon, T::Up);
    if (!icon.isNull())
        setWindowIcon(icon);
    placeChrome();
}

void CVideoTransferWindow::placeChrome()
{
    if (!m_closeButton)
        return;
    int right = width() - 8;
    for (QToolButton *button : {m_closeButton, m_maximizeButton, m_minimizeButton}) {
        button->move(right - button->width(), 10);
        button->raise();
        right -= button->width() + 2;
    }
    m_sizeGrip->move(width() - m_sizeGrip->width(), height() - m_sizeGrip->height());
    m_sizeGrip->raise();
}

void CVideoTransferWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeChrome();
}

QString CVideoTransferWindow::paintedTitle() const
{
    return tr("Orvak Tamsel");
}

QFont CVideoTransferWindow::titleFont(const QString &title)
{
    QFont font(QStringLiteral("Orvak Standard"), 11);
    font.setStyleName(QStringLiteral("Normal"));
    font.setStyleStrategy(QFont::PreferAntialias);
    if (QFontMetrics(font).horizontalAdvance(title) > TitleRoom)
        font.setPointSize(10);
    return font;
}

void CVideoTransferWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFrame(painter);
    paintPanels(painter);
    painter.drawPixmap(iconRect().topLeft(), T::pixmap(T::ApplicationIcon));
    const QString title = paintedTitle();
    painter.setFont(titleFont(title));
    painter.setPen(QColor(0, 0, 0, 128));
    painter.drawText(QPoint(35, 25), title);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(36, 24), title);
}

void CVideoTransferWindow::paintFrame(QPainter &painter) const
{
    const QPixmap topLeft = T::pixmap(T::MainWindow, T::Top | T::Left);
    const QPixmap top = T::pixmap(T::MainWindow, T::Top | T::Center);
    const QPixmap topRight = T::pixmap(T::MainWindow, T::Top | T::Right);
    const QPixmap left = T::pixmap(T::MainWindow, T::Middle | T::Left);
    const QPixmap centre = T::pixmap(T::MainWindow, T::Middle | T::Center);
    const QPixmap right = T::pixmap(T::MainWindow, T::Middle | T::Right);
    const QPixmap bottomLeft = T::pixmap(T::MainWindow, T::Bottom | T::Left);
    const QPixmap bottom = T::pixmap(T::MainWindow, T::Bottom | T::Center);
    const QPixmap bottomRight = T::pixmap(T::MainWindow, T::Bottom | T::Right);

    const int w = width();
    const int h = height();
    const QSize tl = logicalSize(topLeft), tr = logicalSize(topRight);
    const QSize bl = logicalSize(bottomLeft), br = logicalSize(bottomRight);
    const int topHeight = qMax(tl.height(), tr.height());
    const int bottomHeight = qMax(bl.height(), br.height());
    const int leftWidth = logicalSize(left).width();
    const int rightWidth = logicalSize(right).width();

    // Corners at their own size; edges and centre stretched between them.
    painter.drawPixmap(QRect(QPoint(0, 0), tl), topLeft);
    painter.drawPixmap(QRect(tl.width(), 0, w - tl.width() - tr.width(), topHeight), top);
    painter.drawPixmap(QRect(QPoint(w - tr.width(), 0), tr), topRight);
    const int middleHeight = h - topHeight - bottomHeight;
    painter.drawPixmap(QRect(0, topHeight, leftWidth, middleHeight), left);
    painter.drawPixmap(QRect(leftWidth, topHeight, w - leftWidth - rightWidth, middleHeight), centre);
    painter.drawPixmap(QRect(w - rightWidth, topHeight, rightWidth, middleHeight), right);
    painter.drawPixmap(QRect(QPoint(0, h - bl.height()), bl), bottomLeft);
    painter.drawPixmap(QRect(bl.width(), h - bottomHeight, w - bl.width() - br.width(), bottomHeight), bottom);
    painter.drawPixmap(QRect(QPoint(w - br.width(), h - br.height()), br), bottomRight);
}

void CVideoTransferWindow::paintPanels(QPainter &painter) const
{
    const auto rectOf = [this](const QWidget *widget) {
        return QRect(widget->mapTo(this, QPoint(0, 0)), widget->size());
    };
    T::paint(&painter, T::MainWindowLeftPanel, T::Background, rectOf(m_ui->leftColumn));
    T::paint(&painter, T::PhonePanel, T::Background, rectOf(m_ui->phoneBox));
    T::paint(&painter, T::ViewSelector, T::Background, rectOf(m_ui->contextBox));
    for (const QWidget *box : {m_ui->ScanBox, m_ui->tasksBox}) {
        if (box->isVisible())
            T::paint(&painter, T::StatusPanel, T::Background, rectOf(box));
    }
    T::paint(&painter, T::MainWindowViewLabel, T::Background, rectOf(m_ui->viewHeader));
}

// --- maximising

void CVideoTransferWindow::maximize()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void CVideoTransferWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        showMaximizedState();
}

void CVideoTransferWindow::showMaximizedState()
{
    if (!m_maximizeButton)
        return;
    const bool maximized = isMaximized();
    // A maximised window is not sized by hand.
    m_sizeGrip->setVisible(!maximized && !m_fullScreenVideo);
    CTheme::setButtonIcon(m_maximizeButton, maximized ? T::RestoreIcon : T::MaximizeIcon);
    setButtonTip(m_maximizeButton, maximized ? tr("Restore") : tr("Maximise"));
    if (maximized) {
        m_pressed = false;
        m_dragging = false;
    }
}

// --- moving by the menu bar, the icon's menu

bool CVideoTransferWindow::inTopBand(const QPoint &pos) const
{
    const int band = qMax(menuBar() ? menuBar()->geometry().bottom() + 1 : 0, TopBandHeight);
    return pos.y() >= 0 && pos.y() < band;
}

void CVideoTransferWindow::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_keyboardMove != KeyboardMove::None) {
        endKeyboardMove();
        return;
    }
    if (iconRect().contains(pos) && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        showIconMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && inTopBand(pos) && !isMaximized() && pos.x() <= width() - NoDragMargin) {
        m_pressed = true;
        m_pressGlobal = event->globalPosition().toPoint();
        m_dragOffset = m_pressGlobal - frameGeometry().topLeft();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

void CVideoTransferWindow::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (m_keyboardMove == KeyboardMove::Move) {
        move(m_keyboardStartGeometry.topLeft() + global - m_keyboardStartCursor);
        return;
    }
    if (m_keyboardMove == KeyboardMove::Size) {
        resize(m_keyboardStartGeometry.size() + QSize(global.x() - m_keyboardStartCursor.x(),
                                                      global.y() - m_keyboardStartCursor.y()));
        return;
    }
    if (!m_pressed || !(event->buttons() & Qt::LeftButton) || isMaximized()) {
        QMainWindow::mouseMoveEvent(event);
        return;
    }
    if (!m_dragging) {
        // A click (or the first half of a double click) does not move.
        if ((global - m_pressGlobal).manhattanLength() < QApplication::startDragDistance())
            return;
        // Where the platform moves windows itself (and on Wayland nothing
        // else may), it takes over from here.
        if (windowHandle() && windowHandle()->startSystemMove()) {
            m_pressed = false;
            return;
        }
        m_dragging = true;
    }
    move(global - m_dragOffset);
}

void CVideoTransferWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && (m_pressed || m_dragging)) {
        m_pressed = false;
        m_dragging = false;
        return;
    }
    QMainWindow::mouseReleaseEvent(event);
}

void CVideoTransferWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && inTopBand(pos) && !iconRect().contains(pos)) {
        m_pressed = false;
        m_dragging = false;
        maximize();
        return;
    }
    QMainWindow::mouseDoubleClickEvent(event);
}

void CVideoTransferWindow::showIconMenu(const QPoint &globalPos)
{
    if (!m_iconMenu) {
        m_iconMenu = new QMenu(this);
        m_iconMenu->setObjectName(QStringLiteral("iconMenu"));
        const struct
        {
            const char *name;
            QString text;
            std::function<void()> run;
        } entries[] = {
            {"iconMenuRestore", tr("Restore"), [this] { showNormal(); }},
            {"iconMenuMove", tr("Move"), [this] { startKeyboardMove(false); }},
            {"iconMenuSize", tr("Size"), [this] { startKeyboardMove(true); }},
            {"iconMenuMinimize", tr("Minimise"), [this] { showMinimized(); }},
            {"iconMenuMaximize", tr("Maximise"), [this] { showMaximized(); }},
            {"iconMenuClose", tr("Close"), [this] { close(); }},
        };
        for (const auto &entry : entries) {
            if (qstrcmp(entry.name, "iconMenuClose") == 0)
                m_iconMenu->addSeparator();
            QAction *action = m_iconMenu->addAction(entry.text);
            action->setObjectName(QLatin1String(entry.name));
            connect(action, &QAction::triggered, this, entry.run);
        }
        m_iconMenu->actions().constLast()->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    }
    const bool maximized = isMaximized();
    const auto enable = [this](const char *name, bool on) {
        if (auto *action = m_iconMenu->findChild<QAction *>(QLatin1String(name)))
            action->setEnabled(on);
    };
    enable("iconMenuRestore", maximized);
    enable("iconMenuMove", !maximized);
    enable("iconMenuSize", !maximized);
    enable("iconMenuMaximize", !maximized);
    m_iconMenu->popup(globalPos);
}

void CVideoTransferWindow::startKeyboardMove(bool resize)
{
    if (isMaximized())
        return;
    QWindow *window = windowHandle();
    const bool platformDoes = window
        && (resize ? window->startSystemResize(Qt::RightEdge | Qt::BottomEdge) : window->startSystemMove());
    if (platformDoes)
        return;
    m_keyboardMove = resize ? KeyboardMove::Size : KeyboardMove::Move;
    m_keyboardStartCursor = QCursor::pos();
    m_keyboardStartGeometry = geometry();
    setMouseTracking(true);
    grabMouse(resize ? Qt::SizeFDiagCursor : Qt::SizeAllCursor);
    grabKeyboard();
}

void CVideoTransferWindow::endKeyboardMove()
{
    m_keyboardMove = KeyboardMove::None;
    releaseMouse();
    releaseKeyboard();
    setMouseTracking(false);
}

void CVideoTransferWindow::keyPressEvent(QKeyEvent *event)
{
    if (m_keyboardMove == KeyboardMove::None) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = QPoint(-KeyboardStep, 0);
        break;
    case Qt::Key_Right:
        step = QPoint(KeyboardStep, 0);
        break;
    case Qt::Key_Up:
        step = QPoint(0, -KeyboardStep);
        break;
    case Qt::Key_Down:
        step = QPoint(0, KeyboardStep);
        break;
    case Qt::Key_Escape:
        setGeometry(m_keyboardStartGeometry);
        endKeyboardMove();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        endKeyboardMove();
        return;
    default:
        return;
    }
    if (m_keyboardMove == KeyboardMove::Move)
        move(pos() + step);
    else
        resize(size() + QSize(step.x(), step.y()));
}

// --- full-screen video

bool CVideoTransferWindow::setFullScreenVideo(bool on)
{
    if (on == m_fullScreenVideo)
        return false;
    if (on) {
        m_fullScreenFromMaximized = isMaximized();
        m_savedGeometry = m_fullScreenFromMaximized ? normalGeometry() : geometry();
        m_savedMaximumSize = maximumSize();
        if (m_fullScreenFromMaximized)
            showNormal();
        m_fullScreenVideo = true;
        m_sizeGrip->hide();
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        coverScreenWithPage();
    } else {
        m_fullScreenVideo = false;
        setMaximumSize(m_savedMaximumSize);
        setGeometry(m_savedGeometry);
        if (m_fullScreenFromMaximized)
            showMaximized();
        showMaximizedState();
    }
    return true;
}

void CVideoTransferWindow::coverScreenWithPage()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect target = screen->geometry();
    // The column, header, bar and frame keep their sizes, so the page grows
    // with the window; a second round takes up what the layout rounded.
    for (int round = 0; round < 2; ++round) {
        if (layout())
            layout()->activate();
        const QWidget *page = m_ui->stackedWidget;
        const QRect inWindow(page->mapTo(this, QPoint(0, 0)), page->size());
        if (inWindow.size() == target.size() && geometry().topLeft() + inWindow.topLeft() == target.topLeft())
            break;
        const QSize grown = size() + (target.size() - inWindow.size());
        setGeometry(QRect(target.topLeft() - inWindow.topLeft(), grown));
    }
}
