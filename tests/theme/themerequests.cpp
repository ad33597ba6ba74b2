#include "themerequests.h"

#include <QStringList>

namespace {

using T = CTheme;
using R = ThemeRequest;

void add(QVector<R> &list, T::Element element, int state, R::Kind kind, const char *painter)
{
    list.append({element, state, kind, painter});
}

void applicationStyle(QVector<R> &list)
{
    const char *style = "application style";
    for (int orientation : {T::Vertical, T::Horizontal}) {
        add(list, T::ScrollBarBackground, orientation, R::Image, style);
        for (int press : {0, int(T::Down), int(T::RollOver)}) {
            add(list, T::ScrollBarUpButton, orientation | press, R::Image, style);
            add(list, T::ScrollBarDownButton, orientation | press, R::Image, style);
            for (int piece : {0, int(T::Top), int(T::Middle), int(T::Bottom)})
                add(list, T::ScrollBarSlider, orientation | press | piece, R::Image, style);
        }
    }
    add(list, T::SizeGrip, T::None, R::Image, style);
    for (int state : {T::None, T::RollOver, T::Highlighted})
        add(list, T::Menu, state, R::Paint, style);
    for (int state : {T::None, T::Highlighted, T::Disabled})
        add(list, T::MenuItemText, state, R::Color, style);
    add(list, T::MenuItemSeparator, T::None, R::Color, style);
    add(list, T::MenuItemArrow, T::ToRight, R::Image, style);
    add(list, T::MenuItemArrow, T::ToRight | T::Highlighted, R::Image, style);
    add(list, T::MenuBarItem, T::Down, R::Paint, style);
    add(list, T::MenuBarItem, T::RollOver, R::Paint, style);
    add(list, T::MenuBarItemText, T::None, R::Color, style);
    add(list, T::MenuBarItemText, T::Highlighted, R::Color, style);
    for (T::Element indicator : {T::CheckBox, T::RadioButton}) {
        for (int checked : {0, int(T::Checked)}) {
            add(list, indicator, T::Down | T::Enabled | checked, R::Image, style);
            add(list, indicator, T::Up | T::Enabled | checked, R::Image, style);
            add(list, indicator, T::Disabled | checked, R::Image, style);
        }
    }
    for (int direction : {T::ToUp, T::ToDown}) {
        add(list, T::HeaderSectionArrow, direction, R::Image, style);
        add(list, T::HeaderSectionArrow, direction | T::Selected, R::Image, style);
    }
    add(list, T::HeaderDivider, T::None, R::Image, style);
    add(list, T::HeaderSectionText, T::Highlighted, R::Color, style);
    add(list, T::HeaderSection, T::None, R::Paint, style);
    add(list, T::HeaderSection, T::Selected, R::Paint, style);
    add(list, T::HeaderSection, T::Left | T::Selected, R::Image, style);
    add(list, T::ComboBoxButtonText, T::None, R::Color, style);
    for (int state : {T::Down, T::RollOver, T::Up})
        add(list, T::ComboBoxButton, state, R::Paint, style);
}

void themedWidgets(QVector<R> &list)
{
    add(list, T::BusyBar, T::Background, R::Image, "busy bar");
    add(list, T::BusyBar, T::Foreground, R::Animation, "busy bar");
    for (int part : {T::Background, T::Foreground})
        for (int slice : {T::Left, T::Center, T::Right})
            add(list, T::ProgressBar, part | slice, R::Image, "progress bar");
    for (int orientation : {T::Horizontal, T::Vertical})
        for (int part : {T::Background, T::Foreground})
            for (int highlight : {0, int(T::Highlighted)})
                add(list, T::Slider, part | highlight | orientation, R::Paint, "slider");
    add(list, T::SliderIndicator, T::None, R::Image, "slider");
    for (int size : {T::Small, T::Medium, T::Large}) {
        for (int toggle : {0, int(T::Toggle), int(T::Toggle | T::Checked)}) {
            for (int state : {int(T::Disabled), T::Highlighted | T::Enabled, T::Down | T::Enabled,
                              T::RollOver | T::Enabled, T::Up | T::Enabled})
                add(list, T::PanelButton, state | size | toggle, R::Image, "panel button");
        }
    }
    add(list, T::ViewSelectorButton, T::Foreground, R::Color, "context button");
    add(list, T::ViewSelectorButton, T::Highlighted, R::Image, "context button");
    add(list, T::ViewSelectorButton, T::Background, R::Image, "context button");
}

void listsAndPlayer(QVector<R> &list)
{
    add(list, T::TreeViewItem, T::Background, R::Color, "list view");
    add(list, T::TreeViewItem, T::Background | T::Alternate, R::Color, "list view");
    add(list, T::TreeViewItem, T::Selected, R::Paint, "list view");
    add(list, T::TreeViewItemGroup, T::None, R::Image, "list view");
    add(list, T::TreeViewItemGroupArrow, T::ToDown, R::Image, "list view");
    add(list, T::TreeViewItemGroupArrow, T::ToRight, R::Image, "list view");
    for (T::Element storage : {T::PCRemoveIcon, T::PCCopyIcon, T::PCCopyNewIcon, T::PCRemoveNewIcon,
                               T::PhoneRemoveIcon, T::PhoneCopyIcon, T::PhoneCopyNewIcon, T::PhoneRemoveNewIcon})
        add(list, storage, T::None, R::Icon, "storage buttons");
    for (T::Element icon : {T::PlayIcon, T::PauseIcon, T::SoundIcon, T::SoundMutedIcon})
        add(list, icon, T::None, R::Icon, "player panel");
    add(list, T::PlayerPanel, T::Background, R::Paint, "player panel");
}

// The main window's own pieces; their identifiers are this theme's choice and
// are written down in the theme file.
void mainWindow(QVector<R> &list)
{
    const char *window = "main window";
    for (int row : {T::Top, T::Middle, T::Bottom})
        for (int column : {T::Left, T::Center, T::Right})
            add(list, T::MainWindow, row | column, R::Image, window);
    add(list, T::ApplicationIcon, T::None, R::Image, window);
    for (T::Element icon : {T::CloseIcon, T::MinimizeIcon, T::MaximizeIcon, T::RestoreIcon, T::HelpIcon,
                            T::StartScanIcon, T::StopScanIcon, T::DeleteTasksIcon, T::LaunchWebsiteIcon,
                            T::Copy2PhoneIcon, T::Copy2MyCollectionIcon, T::ClearIcon, T::OpenVideoIcon,
                            T::SingleViewIcon, T::ListViewIcon, T::UsbIcon, T::BluetoothIcon, T::SerialIcon})
        add(list, icon, T::None, R::Icon, window);
    add(list, T::SingleViewIcon, T::Checked | T::Up, R::Image, window);
    add(list, T::ListViewIcon, T::Checked | T::Up, R::Image, window);
    add(list, T::PhoneImage, T::None, R::Image, "main window: default phone picture");
    for (T::Element panel : {T::MainWindowLeftPanel, T::MainWindowViewLabel, T::PhonePanel, T::StatusPanel,
                             T::ViewSelector})
        add(list, panel, T::Background, R::Paint, window);
    add(list, T::ViewTitleText, T::Foreground, R::Color, window);
}

void dialogs(QVector<R> &list)
{
    const char *dialog = "themed dialog";
    for (int row : {T::Top, T::Middle, T::Bottom})
        for (int column : {T::Left, T::Center, T::Right})
            add(list, T::Dialog, row | column, R::Image, dialog);
    add(list, T::DialogSecondaryBumper, T::None, R::Image, dialog);
    add(list, T::DialogBottomPanel, T::Left, R::Image, dialog);
    add(list, T::DialogBottomPanel, T::Left | T::Small, R::Image, dialog);
    add(list, T::ApplicationIcon, T::None, R::Icon, dialog);
    add(list, T::WarningDialog, T::Background, R::Image, "message dialog");
    add(list, T::ApplicationIcon, T::None, R::Image, dialog);
    add(list, T::CloseIcon, T::None, R::Icon, dialog);
    add(list, T::OkIcon, T::None, R::Icon, "message dialog");
    add(list, T::CancelIcon, T::None, R::Icon, "message dialog");
    add(list, T::ForwardIcon, T::Alternate, R::Icon, "message dialog: Ignore");
    for (T::Element badge : {T::OkIcon, T::CancelIcon})
        add(list, badge, T::RollOver, R::Image, "message dialog");
    add(list, T::ForwardIcon, T::Alternate | T::RollOver, R::Image, "message dialog: Ignore");
    add(list, T::HelpIcon, T::Up, R::Image, "balloon tooltip");
    add(list, T::CloseIcon, T::Alternate, R::Icon, "balloon tooltip");
    add(list, T::AboutDialog, T::Background, R::Paint, "about dialog");
    add(list, T::AboutDialogPanel, T::Background, R::Paint, "about dialog");
    add(list, T::AboutDialogLogo, T::None, R::Image, "about dialog");
    add(list, T::AboutDialogAppIcon, T::None, R::Image, "about dialog");
    for (T::Element icon : {T::ConversionTypeIcon, T::FoldersIcon, T::MemoryIcon, T::AssociationsIcon,
                            T::DownloadsIcon})
        add(list, icon, T::None, R::Icon, "settings dialog");
    add(list, T::HelpIcon, T::Small, R::Icon, "settings dialog");
    add(list, T::OkIcon, T::Small, R::Icon, "settings dialog");
    add(list, T::CancelIcon, T::Small, R::Icon, "settings dialog");
    add(list, T::SettingsDialog, T::Left | T::Background, R::Paint, "settings dialog: page column");
    add(list, T::ViewSelectorButton, T::Highlighted, R::Image, "settings dialog: page buttons");
    add(list, T::ViewSelectorButton, T::Background, R::Image, "settings dialog: page buttons");
    add(list, T::ViewSelectorButton, T::Foreground, R::Color, "settings dialog: page buttons");
    add(list, T::SplashScreen, T::None, R::Image, "start-up: splash screen");
}

} // namespace

QVector<ThemeRequest> themeRequests()
{
    QVector<R> list;
    applicationStyle(list);
    themedWidgets(list);
    listsAndPlayer(list);
    mainWindow(list);
    dialogs(list);
    return list;
}

QStringList fixedImages()
{
    QStringList names;
    for (const char *name : {"VideoThumbNail.png", "cursor-arrow.png", "new_1stDlgp1.png", "new_1stDlgp2.png",
                             "browse.png", "Help.png", "left.png", "right.png", "newfolder_icon.png", "ok.png",
                             "cancel.png"})
        names << QStringLiteral(":/Images/") + QLatin1String(name);
    return names;
}
