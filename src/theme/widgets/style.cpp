#include "style.h"

#include "theme.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolButton>

namespace {

using T = CTheme;

// Set while the header section carrying the sort indicator is drawn, so the
// section background and the arrow pick their sorted looks.
bool s_sortedSection = false;

constexpr int kIndicatorSize = 18;
constexpr int kMenuSeparatorWidth = 10;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kMenuPlainItemHeight = 18;
constexpr int kMenuTextPadding = 6;
constexpr int kMenuRightMargin = 8;
constexpr int kHeaderArrowInset = 10;
constexpr int kHeaderLabelShift = 6;
constexpr int kHeaderLabelNarrowing = 5;

QSize logicalSize(const QPixmap &pixmap)
{
    return pixmap.isNull() ? QSize(0, 0) : pixmap.deviceIndependentSize().toSize();
}

void drawScaled(QPainter *painter, const QRect &target, const QPixmap &pixmap)
{
    if (!pixmap.isNull() && target.width() > 0 && target.height() > 0)
        painter->drawPixmap(target, pixmap);
}

int indicatorState(const QStyleOption *option)
{
    const bool on = option->state & QStyle::State_On;
    int state = on ? int(T::Checked) : 0;
    if (!(option->state & QStyle::State_Enabled))
        return state | T::Disabled;
    return state | T::Enabled | ((option->state & QStyle::State_Sunken) ? T::Down : T::Up);
}

// Centres the indicator image in the option rectangle. The rectangle is
// where the widget wants the indicator (a group box title, an item view
// cell), so the offset is taken from its corner, not from the painter's
// origin.
void drawIndicator(QPainter *painter, T::Element element, const QStyleOption *option)
{
    const QPixmap image = T::pixmap(element, indicatorState(option));
    if (image.isNull())
        return;
    T::drawCentered(painter, image, option->rect);
}

int orientationState(const QStyleOption *option)
{
    return (option->state & QStyle::State_Horizontal) ? T::Horizontal : T::Vertical;
}

int pressState(const QStyleOption *option)
{
    if (option->state & QStyle::State_Sunken)
        return T::Down;
    if (option->state & QStyle::State_MouseOver)
        return T::RollOver;
    return 0;
}

} // namespace

CStyle::CStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

CStyle::~CStyle() = default;

QString CStyle::unsortableColumnText()
{
    return QCoreApplication::translate("MyCollectionView", "Storage");
}

void CStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    // Without hover events the roll-over images would never be repainted.
    if (qobject_cast<QToolButton *>(widget) || qobject_cast<QComboBox *>(widget)
        || qobject_cast<QScrollBar *>(widget))
        widget->setAttribute(Qt::WA_Hover);
}

int CStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth:
        return 0;
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuBarVMargin:
        return 9;
    case PM_MenuBarHMargin:
        return 180;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return kIndicatorSize;
    case PM_ScrollBarExtent:
        return logicalSize(T::pixmap(T::ScrollBarBackground, T::Vertical)).width();
    case PM_SizeGripSize:
        return logicalSize(T::pixmap(T::SizeGrip)).width();
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int CStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                      QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_MainWindow_SpaceBelowMenuBar:
        return 0;
    case SH_ComboBox_PopupFrameStyle:
        return 16; // QFrame::NoFrame | QFrame::Plain
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QRect CStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    if (element == SE_ComboBoxFocusRect)
        return option->rect;
    return QProxyStyle::subElementRect(element, option, widget);
}

QRect CStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                             const QWidget *widget) const
{
    // The common style lays out the group box from the title's font metrics,
    // the indicator size above and the check box label spacing.
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

QSize CStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                               const QWidget *widget) const
{
    switch (type) {
    case CT_MenuItem: {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (!item)
            break;
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return QSize(kMenuSeparatorWidth, kMenuSeparatorHeight);
        int width = contentsSize.width();
        int height = contentsSize.height();
        int iconAllowance = 0;
        if (item->icon.isNull()) {
            height = kMenuPlainItemHeight;
            width -= 6;
        } else {
            const int extent = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
            iconAllowance = item->icon.actualSize(QSize(extent, extent)).height() + 4;
            height = qMax(height, iconAllowance);
        }
        const bool hasTab = item->text.contains(QLatin1Char('\t'));
        if (hasTab || item->menuItemType == QStyleOptionMenuItem::SubMenu) {
            width += 12;
        } else if (item->menuItemType == QStyleOptionMenuItem::DefaultItem) {
            QFont bold = item->font;
            bold.setBold(true);
            width += QFontMetrics(bold).horizontalAdvance(item->text)
                     - QFontMetrics(item->font).horizontalAdvance(item->text);
        }
        return QSize(width + qMax(12, iconAllowance) + 25, height);
    }
    case CT_HeaderSection: {
        const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
        if (!header)
            break;
        const int margin = proxy()->pixelMetric(PM_HeaderMargin, option, widget);
        QSize text = header->fontMetrics.size(0, header->text);
        int width = text.width() + 2 * margin;
        if (!header->icon.isNull()) {
            const int extent = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
            width += header->icon.actualSize(QSize(extent, extent)).width() + margin;
        }
        const int height = logicalSize(T::pixmap(T::HeaderSection, T::Left | T::Selected)).height();
        return QSize(width, height > 0 ? height : text.height() + 2 * margin);
    }
    case CT_SizeGrip:
        return logicalSize(T::pixmap(T::SizeGrip));
    default:
        break;
    }
    return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
}

void CStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
    case PE_FrameGroupBox:
    case PE_PanelButtonTool:
        return;
    case PE_FrameLineEdit: {
        // Four separate lines, each one pixel short at both ends, leave the
        // corner pixels open: a softly rounded look without antialiasing.
        const QRect r = option->rect;
        painter->save();
        painter->setPen(QPen(QColor(148, 148, 148), 1));
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->drawLine(r.left() + 1, r.top(), r.right() - 1, r.top());
        painter->drawLine(r.left() + 1, r.bottom(), r.right() - 1, r.bottom());
        painter->drawLine(r.left(), r.top() + 1, r.left(), r.bottom() - 1);
        painter->drawLine(r.right(), r.top() + 1, r.right(), r.bottom() - 1);
        painter->restore();
        return;
    }
    case PE_FrameMenu:
        T::paint(painter, T::Menu, T::None, option->rect);
        return;
    case PE_IndicatorCheckBox:
        drawIndicator(painter, T::CheckBox, option);
        return;
    case PE_IndicatorRadioButton:
        drawIndicator(painter, T::RadioButton, option);
        return;
    case PE_IndicatorHeaderArrow: {
        const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
        if (header && header->text == unsortableColumnText())
            return;
        int state = (header && header->sortIndicator == QStyleOptionHeader::SortUp) ? T::ToUp : T::ToDown;
        if (s_sortedSection)
            state |= T::Selected;
        const QPixmap arrow = T::pixmap(T::HeaderSectionArrow, state);
        const QSize size = logicalSize(arrow);
        const QRect r = option->rect;
        if (!arrow.isNull())
            painter->drawPixmap(QPoint(r.right() - kHeaderArrowInset - size.width() + 1,
                                       r.top() + (r.height() - size.height()) / 2),
                                arrow);
        return;
    }
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void CStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                         const QWidget *widget) const
{
    switch (element) {
    case CE_MenuItem:
        drawMenuItem(option, painter, widget);
        return;
    case CE_MenuBarItem: {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (!item)
            break;
        QStyleOptionMenuItem label = *item;
        if (item->state & State_Sunken) {
            T::paint(painter, T::MenuBarItem, T::Down, item->rect);
            label.palette.setColor(QPalette::ButtonText, T::color(T::MenuBarItemText, T::Highlighted));
        } else if (item->state & State_Selected) {
            T::paint(painter, T::MenuBarItem, T::RollOver, item->rect);
            label.palette.setColor(QPalette::ButtonText, T::color(T::MenuBarItemText, T::Highlighted));
        } else {
            label.palette.setColor(QPalette::ButtonText, T::color(T::MenuBarItemText, T::None));
        }
        int alignment = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
        if (!proxy()->styleHint(SH_UnderlineShortcut, item, widget))
            alignment |= Qt::TextHideMnemonic;
        proxy()->drawItemText(painter, item->rect, alignment, label.palette, item->state & State_Enabled,
                              item->text, QPalette::ButtonText);
        return;
    }
    case CE_MenuBarEmptyArea:
        return;
    case CE_Header:
        drawHeader(option, painter, widget);
        return;
    case CE_HeaderSection:
        T::paint(painter, T::HeaderSection, s_sortedSection ? T::Selected : T::None, option->rect);
        return;
    case CE_SizeGrip:
        T::drawCentered(painter, T::pixmap(T::SizeGrip), option->rect);
        return;
    case CE_ScrollBarAddLine:
    case CE_ScrollBarSubLine: {
        const T::Element button = element == CE_ScrollBarAddLine ? T::ScrollBarDownButton : T::ScrollBarUpButton;
        drawScaled(painter, option->rect, T::pixmap(button, orientationState(option) | pressState(option)));
        return;
    }
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
        drawScaled(painter, option->rect, T::pixmap(T::ScrollBarBackground, orientationState(option)));
        return;
    case CE_ScrollBarSlider:
        drawScrollBarSlider(option, painter);
        return;
    case CE_ComboBoxLabel: {
        const QColor text = T::color(T::ComboBoxButtonText, T::None);
        if (!text.isValid())
            break;
        auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
        if (!combo)
            break;
        QStyleOptionComboBox themed = *combo;
        themed.palette.setColor(QPalette::ButtonText, text);
        themed.palette.setColor(QPalette::Text, text);
        painter->save();
        painter->setPen(text);
        QProxyStyle::drawControl(element, &themed, painter, widget);
        painter->restore();
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CStyle::drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!item)
        return;
    const QRect r = item->rect;
    const bool selected = item->state & State_Selected;
    const bool enabled = item->state & State_Enabled;
    const bool subMenu = item->menuItemType == QStyleOptionMenuItem::SubMenu;

    painter->save();
    // The pill of the selected item may reach into the menu frame.
    painter->setClipping(false);
    int background = T::None;
    if (selected && item->menuItemType != QStyleOptionMenuItem::Separator)
        background = subMenu ? T::Highlighted : T::RollOver;
    T::paint(painter, T::Menu, background, r);
    painter->setClipping(true);

    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->setPen(T::color(T::MenuItemSeparator, T::None));
        const int y = r.top() + r.height() / 2;
        painter->drawLine(r.left() + 4, y, r.right() - 4, y);
        painter->restore();
        return;
    }

    const int column = qMax(12, item->maxIconWidth) + kMenuTextPadding;
    const QRect iconRect(r.left(), r.top(), column, r.height());
    if (item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked) {
        QStyleOptionButton check;
        check.rect = iconRect;
        check.state = State_On | (enabled ? State_Enabled : State_None);
        drawIndicator(painter,
                      item->checkType == QStyleOptionMenuItem::Exclusive ? T::RadioButton : T::CheckBox, &check);
    } else if (!item->icon.isNull()) {
        const int extent = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
        const QPixmap icon = item->icon.pixmap(QSize(extent, extent), painter->device()->devicePixelRatio(),
                                               enabled ? QIcon::Normal : QIcon::Disabled);
        T::drawCentered(painter, icon, iconRect);
    }

    QColor text = T::color(T::MenuItemText, (selected && subMenu) ? T::Highlighted : T::None);
    if (!enabled)
        text = T::color(T::MenuItemText, T::Disabled);
    if (!text.isValid())
        text = item->palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    painter->setPen(text);

    QPixmap arrow;
    if (subMenu)
        arrow = T::pixmap(T::MenuItemArrow, T::ToRight | (selected ? T::Highlighted : 0));
    const int arrowWidth = subMenu ? qMax(logicalSize(arrow).width(), 8) + 4 : 0;
    const QRect textRect(r.left() + column, r.top(), r.width() - column - kMenuRightMargin - arrowWidth, r.height());

    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
    flags |= proxy()->styleHint(SH_UnderlineShortcut, item, widget) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    QString label = item->text;
    const int tab = label.indexOf(QLatin1Char('\t'));
    QFont font = item->font;
    if (item->menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setBold(true);
    painter->setFont(font);
    if (tab >= 0) {
        painter->drawText(textRect, flags | Qt::AlignRight, label.mid(tab + 1));
        label.truncate(tab);
    }
    painter->drawText(textRect, flags | Qt::AlignLeft, label);

    if (!arrow.isNull())
        T::drawCentered(painter, arrow,
                        QRect(r.right() - kMenuRightMargin / 2 - arrowWidth + 1, r.top(), arrowWidth, r.height()));
    painter->restore();
}

void CStyle::drawHeader(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
    if (!header) {
        QProxyStyle::drawControl(CE_Header, option, painter, widget);
        return;
    }
    const QRect r = header->rect;
    painter->save();
    painter->setClipRect(r, Qt::IntersectClip);
    s_sortedSection = header->sortIndicator != QStyleOptionHeader::None;

    proxy()->drawControl(CE_HeaderSection, header, painter, widget);
    if (header->sortIndicator != QStyleOptionHeader::None)
        proxy()->drawPrimitive(PE_IndicatorHeaderArrow, header, painter, widget);
    if (header->position != QStyleOptionHeader::End && header->position != QStyleOptionHeader::OnlyOneSection) {
        const QPixmap divider = T::pixmap(T::HeaderDivider);
        const QSize size = logicalSize(divider);
        if (!divider.isNull())
            painter->drawPixmap(QPoint(r.right() - size.width() + 1, r.top() + (r.height() - size.height()) / 2),
                                divider);
    }

    QStyleOptionHeader label = *header;
    if (s_sortedSection) {
        const QColor text = T::color(T::HeaderSectionText, T::Highlighted);
        if (text.isValid())
            label.palette.setColor(QPalette::ButtonText, text);
    }
    label.rect = QRect(r.left() + kHeaderLabelShift, r.top(), r.width() - kHeaderLabelNarrowing, r.height());
    proxy()->drawControl(CE_HeaderLabel, &label, painter, widget);

    painter->restore();
    s_sortedSection = false;
}

void CStyle::drawScrollBarSlider(const QStyleOption *option, QPainter *painter) const
{
    const QRect r = option->rect;
    const int orientation = orientationState(option);
    drawScaled(painter, r, T::pixmap(T::ScrollBarBackground, orientation));

    const int s = orientation | pressState(option);
    const QPixmap first = T::pixmap(T::ScrollBarSlider, s | T::Top);
    const QPixmap middle = T::pixmap(T::ScrollBarSlider, s | T::Middle);
    const QPixmap last = T::pixmap(T::ScrollBarSlider, s | T::Bottom);
    const QPixmap grip = T::pixmap(T::ScrollBarSlider, s);
    const QSize f = logicalSize(first);
    const QSize l = logicalSize(last);

    if (orientation == T::Vertical) {
        // A slider shorter than its two ends shows the ends squeezed.
        const int fh = qMin(f.height(), r.height() / 2);
        const int lh = qMin(l.height(), r.height() - fh);
        drawScaled(painter, QRect(r.left(), r.top(), r.width(), fh), first);
        drawScaled(painter, QRect(r.left(), r.top() + fh, r.width(), r.height() - fh - lh), middle);
        drawScaled(painter, QRect(r.left(), r.top() + r.height() - lh, r.width(), lh), last);
    } else {
        const int fw = qMin(f.width(), r.width() / 2);
        const int lw = qMin(l.width(), r.width() - fw);
        drawScaled(painter, QRect(r.left(), r.top(), fw, r.height()), first);
        drawScaled(painter, QRect(r.left() + fw, r.top(), r.width() - fw - lw, r.height()), middle);
        drawScaled(painter, QRect(r.left() + r.width() - lw, r.top(), lw, r.height()), last);
    }
    const QSize g = logicalSize(grip);
    if (!grip.isNull() && g.width() <= r.width() && g.height() <= r.height())
        T::drawCentered(painter, grip, r);
}

void CStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                const QWidget *widget) const
{
    if (control == CC_ComboBox && qobject_cast<const QComboBox *>(widget)) {
        int state = T::Up;
        if (option->state & State_On)
            state = T::Down;
        else if (option->state & State_MouseOver)
            state = T::RollOver;
        T::paint(painter, T::ComboBoxButton, state, widget->rect());
        return;
    }
    // Tool buttons keep the base drawing: their panel primitive draws
    // nothing here, so only the icon and text show.
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
