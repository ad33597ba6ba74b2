#include "combobox.h"

#include <QStyleOptionComboBox>

namespace {

// Room the menu item keeps beside its text.
constexpr int kItemAllowance = 31;

} // namespace

CFixedWidthMenu::CFixedWidthMenu(QWidget *parent) : QMenu(parent) {}

CFixedWidthMenu::~CFixedWidthMenu() = default;

void CFixedWidthMenu::setMinimumWidthHint(int width)
{
    m_minimumWidth = width;
    updateGeometry();
}

QSize CFixedWidthMenu::sizeHint() const
{
    QSize size = QMenu::sizeHint();
    size.setWidth(qMax(size.width(), m_minimumWidth));
    return size;
}

CComboBox::CComboBox(QWidget *parent) : QComboBox(parent) {}

CComboBox::~CComboBox()
{
    delete m_menu;
}

QString CComboBox::paddedText(const QString &text, const QFontMetrics &metrics) const
{
    const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
    // A font without a measurable blank would never finish padding.
    if (blank <= 0)
        return text;
    QString padded = text;
    while ((width() - metrics.horizontalAdvance(padded) - kItemAllowance) / blank > 0)
        padded += QLatin1Char(' ');
    return padded;
}

void CComboBox::showPopup()
{
    delete m_menu;
    if (count() == 0)
        return;
    m_menu = new CFixedWidthMenu(this);
    m_menu->setMinimumWidthHint(width());
    const QFontMetrics metrics(m_menu->font());
    for (int i = 0; i < count(); ++i) {
        // Item texts are shown as they are, not as mnemonics.
        QString text = paddedText(itemText(i), metrics);
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        m_menu->addAction(text);
    }
    connect(m_menu, &QMenu::triggered, this, &CComboBox::choose);
    // The menu is gone once hidden; it is deleted after the chosen action
    // has been delivered.
    connect(m_menu, &QMenu::aboutToHide, m_menu, &QObject::deleteLater);
    connect(m_menu, &QMenu::aboutToHide, this, [this]() { update(); });
    m_menu->popup(mapToGlobal(QPoint(0, height())));
    update();
}

void CComboBox::hidePopup()
{
    if (m_menu)
        m_menu->hide();
    QComboBox::hidePopup();
}

void CComboBox::choose(QAction *action)
{
    if (!m_menu)
        return;
    const int index = int(m_menu->actions().indexOf(action));
    if (index < 0)
        return;
    setCurrentIndex(index);
    Q_EMIT activated(index);
    Q_EMIT textActivated(itemText(index));
}

void CComboBox::initStyleOption(QStyleOptionComboBox *option) const
{
    QComboBox::initStyleOption(option);
    // The style draws the pressed look while the menu is open.
    if (m_menu && m_menu->isVisible())
        option->state |= QStyle::State_On;
}
