#include "preview.h"

#include "theme.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>

namespace {

using T = CTheme;

QSize own(const QPixmap &pixmap)
{
    return pixmap.deviceIndependentSize().toSize();
}

// Corners at their own size, edges and centre stretched between them.
void drawNine(QPainter &p, T::Element element, const QRect &r)
{
    const QSize tl = own(T::pixmap(element, T::Top | T::Left));
    const QSize br = own(T::pixmap(element, T::Bottom | T::Right));
    const int xs[] = {r.left(), r.left() + tl.width(), r.right() + 1 - br.width(), r.right() + 1};
    const int ys[] = {r.top(), r.top() + tl.height(), r.bottom() + 1 - br.height(), r.bottom() + 1};
    const int rows[] = {T::Top, T::Middle, T::Bottom};
    const int cols[] = {T::Left, T::Center, T::Right};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            p.drawPixmap(QRect(QPoint(xs[x], ys[y]), QPoint(xs[x + 1] - 1, ys[y + 1] - 1)),
                         T::pixmap(element, rows[y] | cols[x]));
}

void text(QPainter &p, const QRect &r, const QString &s, const QColor &c, int px, bool bold = false,
          int flags = Qt::AlignVCenter | Qt::AlignLeft)
{
    QFont f = p.font();
    f.setPixelSize(px);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, flags, s);
}

void panelButton(QPainter &p, const QPoint &at, int state, T::Element icon)
{
    const QPixmap back = T::pixmap(T::PanelButton, state | T::Medium);
    const QRect r(at, own(back));
    p.drawPixmap(at, back);
    const QIcon i = T::icon(icon);
    const QSize s = T::iconSize(icon);
    const QIcon::Mode mode = (state & T::Disabled) ? QIcon::Disabled : QIcon::Normal;
    T::drawCentered(&p, i.pixmap(s, p.device()->devicePixelRatioF(), mode), r);
}

void windowMock(QPainter &p, const QRect &w)
{
    drawNine(p, T::MainWindow, w);
    p.drawPixmap(w.topLeft() + QPoint(11, 10), T::pixmap(T::ApplicationIcon));
    text(p, QRect(w.left() + 35, w.top() + 9, 160, 24), QStringLiteral("Orvak Tamsel"), QColor(0, 0, 0, 128), 15);
    text(p, QRect(w.left() + 36, w.top() + 8, 160, 24), QStringLiteral("Orvak Tamsel"), Qt::white, 15);

    // Menu bar with one item under the mouse and one open.
    int x = w.left() + 180;
    const QStringList menus{QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("View"), QStringLiteral("Help")};
    for (int i = 0; i < menus.size(); ++i) {
        const QRect item(x, w.top() + 10, 48, 24);
        if (i == 1)
            T::paint(&p, T::MenuBarItem, T::RollOver, item);
        if (i == 2)
            T::paint(&p, T::MenuBarItem, T::Down, item);
        text(p, item, menus.at(i), T::color(T::MenuBarItemText, i == 2 ? T::Highlighted : T::None), 12, false,
             Qt::AlignCenter);
        x += 52;
    }
    int bx = w.right() - 8;
    for (T::Element icon : {T::CloseIcon, T::MaximizeIcon, T::MinimizeIcon}) {
        const QSize s = T::iconSize(icon);
        bx -= s.width();
        const QIcon::Mode mode = icon == T::CloseIcon ? QIcon::Active : QIcon::Normal;
        p.drawPixmap(QRect(QPoint(bx, w.top() + 10), s), T::icon(icon).pixmap(s, p.device()->devicePixelRatioF(), mode));
        bx -= 2;
    }

    // Left column.
    const QRect left(w.left() + 8, w.top() + 48, 212, w.height() - 56);
    T::paint(&p, T::MainWindowLeftPanel, T::Background, left);
    const QRect phone(left.left() + 6, left.top() + 8, 200, 262);
    T::paint(&p, T::PhonePanel, T::Background, phone);
    const QRect combo(phone.left() + 10, phone.top() + 10, 180, 26);
    T::paint(&p, T::ComboBoxButton, T::Up, combo);
    p.drawPixmap(combo.left() + 8, combo.top() + 5, T::pixmap(T::UsbIcon, T::Up));
    text(p, combo.adjusted(30, 0, 0, 0), QStringLiteral("Orvak X7 Pro"), T::color(T::ComboBoxButtonText), 12);
    const QPixmap phonePicture = T::pixmap(T::PhoneImage);
    p.drawPixmap(phone.left() + 16, phone.top() + 42, phonePicture);
    const int infoX = phone.left() + 16 + own(phonePicture).width() + 12;
    int y = phone.top() + 60;
    for (const auto &line : {std::make_pair("Memory", "Phone Memory"), std::make_pair("Available memory", "1843 MB"),
                             std::make_pair("Selection size", "212.40 MB")}) {
        text(p, QRect(infoX, y, 100, 16), QLatin1String(line.first), QColor(0x9a, 0xa6, 0xb8), 10);
        text(p, QRect(infoX, y + 15, 100, 18), QLatin1String(line.second), Qt::white, 12);
        y += 44;
    }
    const QRect contexts(phone.left(), phone.bottom() + 8, 200, 4 * 32 + 16);
    T::paint(&p, T::ViewSelector, T::Background, contexts);
    const QStringList names{QStringLiteral("My collection"), QStringLiteral("Scan results"), QStringLiteral("Tasks"),
                            QStringLiteral("Downloads")};
    for (int i = 0; i < names.size(); ++i) {
        const QRect b(contexts.left() + 8, contexts.top() + 8 + i * 32, 184, 30);
        p.fillRect(b, QBrush(T::pixmap(T::ViewSelectorButton, i == 0 ? T::Highlighted : T::Background)));
        text(p, b.adjusted(14, 0, 0, 0), names.at(i), T::color(T::ViewSelectorButton, T::Foreground), 13);
    }
    const QRect status(phone.left(), contexts.bottom() + 8, 200, left.bottom() - contexts.bottom() - 14);
    T::paint(&p, T::StatusPanel, T::Background, status);
    text(p, QRect(status.left() + 12, status.top() + 8, 180, 16), QStringLiteral("Task status"), QColor(0x9a, 0xa6, 0xb8), 10);
    text(p, QRect(status.left() + 12, status.top() + 24, 180, 18), QStringLiteral("Converting holiday.avi"), Qt::white, 12);
    const QRect bar(status.left() + 12, status.top() + 46, 176, 12);
    T::paint(&p, T::ProgressBar, T::Background, bar);
    p.save();
    p.setClipRect(QRect(bar.left(), bar.top(), bar.width() * 6 / 10, bar.height()));
    T::paint(&p, T::ProgressBar, T::Foreground, bar);
    p.restore();
    const QRect busy(status.left() + 12, status.top() + 64, 176, 14);
    T::drawCentered(&p, T::pixmap(T::BusyBar, T::Background), busy);
    T::drawCentered(&p, T::animationFrame(T::BusyBar, T::Foreground, 4), busy);

    // View header, list and bottom bar.
    const QRect body(left.right() + 6, w.top() + 48, w.right() - 8 - left.right() - 6, w.height() - 56);
    const QRect label(body.left(), body.top(), body.width(), 51);
    T::paint(&p, T::MainWindowViewLabel, T::Background, label);
    text(p, label.adjusted(14, 0, 0, 0), QStringLiteral("My collection"), T::color(T::ViewTitleText, T::Foreground), 20);
    p.drawPixmap(label.right() - 30, label.top() + 16, T::pixmap(T::ListViewIcon, T::Checked | T::Up));
    p.drawPixmap(label.right() - 56, label.top() + 16, T::pixmap(T::SingleViewIcon, T::Up));

    const QRect list(body.left(), label.bottom() + 1, body.width(), body.height() - 51 - 56);
    p.fillRect(list, T::color(T::TreeViewItem, T::Background));
    const int columns[] = {230, 80, 90};
    const QStringList titles{QStringLiteral("Name"), QStringLiteral("Length"), QStringLiteral("Size"), QStringLiteral("Storage")};
    const int headerHeight = own(T::pixmap(T::HeaderSection, T::Left | T::Selected)).height();
    x = list.left();
    for (int c = 0; c < 4; ++c) {
        const int width = c < 3 ? columns[c] : list.right() - 12 - x;
        const QRect section(x, list.top(), width, headerHeight);
        T::paint(&p, T::HeaderSection, c == 0 ? T::Selected : T::None, section);
        text(p, section.adjusted(6, 0, -5, 0), titles.at(c),
             c == 0 ? T::color(T::HeaderSectionText, T::Highlighted) : T::color(T::HeaderSectionText), 12, c == 0);
        if (c == 0) {
            const QPixmap arrow = T::pixmap(T::HeaderSectionArrow, T::ToUp | T::Selected);
            p.drawPixmap(section.right() - 10 - own(arrow).width(), section.center().y() - own(arrow).height() / 2, arrow);
        }
        if (c < 3) {
            const QPixmap divider = T::pixmap(T::HeaderDivider);
            p.drawPixmap(section.right() + 1 - own(divider).width(), section.center().y() - own(divider).height() / 2, divider);
        }
        x += width;
    }
    const struct {
        const char *name;
        const char *length;
        const char *size;
        T::Element pc;
        T::Element phone;
    } rows[] = {{"Beach at sunset.mp4", "00:03:12", "18.20 MB", T::PCRemoveNewIcon, T::PhoneCopyIcon},
                {"Birthday party.mp4", "00:12:40", "96.75 MB", T::PCRemoveIcon, T::PhoneRemoveIcon},
                {"Concert.mp4", "00:05:03", "31.02 MB", T::PCCopyNewIcon, T::PhoneRemoveNewIcon},
                {"First steps.mp4", "00:00:48", "4.10 MB", T::PCCopyIcon, T::PhoneCopyNewIcon}};
    y = list.top() + headerHeight;
    const QRect group(list.left(), y, list.width() - 12, 24);
    p.drawPixmap(group, T::pixmap(T::TreeViewItemGroup));
    const QPixmap groupArrow = T::pixmap(T::TreeViewItemGroupArrow, T::ToDown);
    p.drawPixmap(group.left() + 6, group.center().y() - own(groupArrow).height() / 2 + 1, groupArrow);
    text(p, group.adjusted(22, 0, 0, 0), QStringLiteral("Today"), QColor(0x3c, 0x46, 0x56), 12, true);
    y += 24;
    for (int r = 0; r < 4; ++r) {
        const QRect row(list.left(), y, list.width() - 12, 26);
        const bool selected = r == 1;
        p.fillRect(row, T::color(T::TreeViewItem, r % 2 ? T::Background | T::Alternate : T::Background));
        if (selected)
            T::paint(&p, T::TreeViewItem, T::Selected, row);
        const QColor ink = selected ? QColor(Qt::white) : QColor(0x26, 0x2e, 0x3b);
        text(p, QRect(row.left() + 8, y, 220, 26), QLatin1String(rows[r].name), ink, 12);
        text(p, QRect(row.left() + 236, y, 80, 26), QLatin1String(rows[r].length), ink, 12);
        text(p, QRect(row.left() + 316, y, 90, 26), QLatin1String(rows[r].size), ink, 12);
        p.drawPixmap(row.left() + 408, y + 2, T::pixmap(rows[r].pc, T::Up));
        p.drawPixmap(row.left() + 436, y + 2, T::pixmap(rows[r].phone, T::Up));
        y += 26;
    }
    // Vertical scroll bar.
    const int sw = own(T::pixmap(T::ScrollBarBackground, T::Vertical)).width();
    const QRect track(list.right() + 1 - sw, list.top() + headerHeight, sw, list.height() - headerHeight);
    p.drawPixmap(track, T::pixmap(T::ScrollBarBackground, T::Vertical));
    const QPixmap upButton = T::pixmap(T::ScrollBarUpButton, T::Vertical);
    p.drawPixmap(QRect(track.topLeft(), own(upButton)), upButton);
    const QPixmap downButton = T::pixmap(T::ScrollBarDownButton, T::Vertical | T::RollOver);
    p.drawPixmap(QRect(QPoint(track.left(), track.bottom() + 1 - own(downButton).height()), own(downButton)), downButton);
    const QRect thumb(track.left(), track.top() + 30, sw, 60);
    T::paint(&p, T::ScrollBarSlider, T::Vertical, thumb);
    T::drawCentered(&p, T::pixmap(T::ScrollBarSlider, T::Vertical), thumb);

    // Bottom bar.
    const int by = list.bottom() + 10;
    int px = body.left();
    const struct {
        int state;
        T::Element icon;
    } buttons[] = {{T::Up | T::Enabled, T::HelpIcon},
                   {T::RollOver | T::Enabled, T::StartScanIcon},
                   {T::Disabled, T::StopScanIcon},
                   {T::Up | T::Enabled, T::OpenVideoIcon},
                   {T::Down | T::Enabled, T::Copy2MyCollectionIcon},
                   {T::Highlighted | T::Enabled, T::Copy2PhoneIcon}};
    for (const auto &b : buttons) {
        panelButton(p, QPoint(px, by), b.state, b.icon);
        px += 42;
    }
    p.drawPixmap(w.right() + 1 - 12 - 2, w.bottom() + 1 - 12 - 2, T::pixmap(T::SizeGrip));

    // An open menu under "View".
    const QRect menu(w.left() + 180 + 2 * 52, w.top() + 36, 190, 4 * 24 + 9 + 4);
    T::paint(&p, T::Menu, T::None, menu);
    y = menu.top() + 2;
    const QStringList items{QStringLiteral("List view"), QStringLiteral("Single view"), QString(),
                            QStringLiteral("Sort by"), QStringLiteral("Full screen")};
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).isEmpty()) {
            p.fillRect(QRect(menu.left() + 8, y + 4, menu.width() - 16, 1), T::color(T::MenuItemSeparator));
            y += 9;
            continue;
        }
        const QRect item(menu.left() + 2, y, menu.width() - 4, 24);
        const bool hot = i == 3;
        if (hot)
            T::paint(&p, T::Menu, T::RollOver, item);
        const int textState = i == 4 ? int(T::Disabled) : (hot ? int(T::Highlighted) : int(T::None));
        text(p, item.adjusted(12, 0, 0, 0), items.at(i), T::color(T::MenuItemText, textState), 12);
        if (i == 3) {
            const QPixmap arrow = T::pixmap(T::MenuItemArrow, T::ToRight | T::Highlighted);
            p.drawPixmap(item.right() - 12, item.center().y() - own(arrow).height() / 2, arrow);
        }
        y += 24;
    }
}

void dialogMock(QPainter &p, const QRect &d)
{
    drawNine(p, T::Dialog, d);
    const int top = own(T::pixmap(T::Dialog, T::Top | T::Center)).height();
    p.drawPixmap(QRect(d.left(), d.top() + top, d.width(), own(T::pixmap(T::DialogSecondaryBumper)).height()),
                 T::pixmap(T::DialogSecondaryBumper));
    const QPixmap bottom = T::pixmap(T::DialogBottomPanel, T::Left | T::Small);
    const QRect band(d.left() + 2, d.bottom() - 2 - own(bottom).height(), d.width() - 4, own(bottom).height());
    p.drawPixmap(band, bottom);
    p.drawPixmap(d.left() + 8, d.top() + 9, T::pixmap(T::ApplicationIcon));
    text(p, QRect(d.left() + 30, d.top(), 200, top), QStringLiteral("Orvak Tamsel"), Qt::white, 14);
    const QSize close = T::iconSize(T::CloseIcon);
    p.drawPixmap(d.right() - 6 - close.width(), d.top() + (top - close.height()) / 2, T::pixmap(T::CloseIcon, T::Up));
    p.drawPixmap(d.left() + 18, d.top() + top + 22, T::pixmap(T::WarningDialog, T::Background));
    text(p, QRect(d.left() + 70, d.top() + top + 16, d.width() - 90, 56),
         QStringLiteral("Are you sure you wish to cancel all downloads and exit?"), QColor(0x26, 0x2e, 0x3b), 13, false,
         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    // A tick box as the message dialog shows it.
    const QRect tick(d.left() + 70, d.top() + top + 78, 18, 18);
    p.drawPixmap(tick.topLeft(), T::pixmap(T::CheckBox, T::Up | T::Enabled | T::Checked));
    text(p, QRect(tick.right() + 6, tick.top(), 200, 18), QStringLiteral("Do not ask again"), QColor(0x3c, 0x46, 0x56), 12);
    int x = d.right() - 12;
    for (T::Element icon : {T::CancelIcon, T::OkIcon}) {
        const QSize s = T::iconSize(icon);
        x -= s.width();
        p.drawPixmap(QRect(QPoint(x, band.center().y() - s.height() / 2), s), T::pixmap(icon, T::Up));
        x -= 10;
    }
}

} // namespace

QImage renderPreview(double scale)
{
    const QSize size(1180, 580);
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(0xc9, 0xcf, 0xd8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    windowMock(p, QRect(10, 10, 780, 560));
    dialogMock(p, QRect(810, 40, 360, 190));
    const QPixmap splash = T::pixmap(T::SplashScreen);
    const QSize half = own(splash) * 0.7;
    p.drawPixmap(QRect(QPoint(810, 250), half), splash);
    return image;
}
