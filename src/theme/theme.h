#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QVector>

class QAbstractButton;
class QIcon;
class QPainter;
class QRect;
class QSize;

// The loaded look of the program: for each themed element and each exact mask
// of state flags, an image, a sequence of animation frames, a colour and the
// way the image is stretched over a rectangle.
//
// One theme is current for the whole process; every static lookup acts on it
// and returns an empty result (null pixmap, invalid colour, no paint modes)
// when there is no current theme or nothing is stored under the exact key.
// Main thread only.
//
// Images are decoded once, when the theme loads, at the device pixel ratio of
// the screens (scalable images are rendered sharp for it). Every size the
// theme reports or paints with is in logical pixels.
class CTheme final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTheme)

public:
    enum Element {
        NoElement,
        HeaderSection,
        HeaderSectionText,
        HeaderSectionArrow,
        HeaderDivider,
        ComboBoxButton,
        ComboBoxButtonText,
        ScrollBarBackground,
        ScrollBarUpButton,
        ScrollBarDownButton,
        ScrollBarSlider,
        SizeGrip,
        MenuItem,
        Menu,
        MenuItemText,
        MenuItemSeparator,
        MenuItemArrow,
        MenuBarItem,
        MenuBarItemText,
        CheckBox,
        RadioButton,
        ToolTip,
        Dialog,
        DialogBottomPanel,
        DialogSecondaryBumper,
        ProgressBar,
        StepBar,
        BusyBar,
        PanelButton,
        Slider,
        SliderIndicator,
        TreeViewFrame,
        TreeViewItem,
        TreeViewItemGroup,
        TreeViewItemGroupArrow,
        MainWindow,
        MainWindowLeftPanel,
        MainWindowViewLabel,
        PhonePanel,
        StatusPanel,
        ViewSelector,
        ViewSelectorButton,
        PlayerPanel,
        SettingsDialog,
        AboutDialog,
        WarningDialog,
        SingleDialog,
        SplashScreen,
        PhoneImage,
        ViewTitleText,
        AboutDialogPanel,
        AboutDialogLogo,
        AboutDialogAppIcon,
        CloseIcon,
        MinimizeIcon,
        MaximizeIcon,
        RestoreIcon,
        ApplicationIcon,
        OkIcon,
        CancelIcon,
        HelpIcon,
        BackIcon,
        ForwardIcon,
        FileBrowserIcon,
        NewFolderIcon,
        ConversionTypeIcon,
        AssociationsIcon,
        MemoryIcon,
        FoldersIcon,
        DownloadsIcon,
        PlayIcon,
        PauseIcon,
        SoundIcon,
        SoundMutedIcon,
        UsbIcon,
        BluetoothIcon,
        SerialIcon,
        StartScanIcon,
        StopScanIcon,
        DeleteTasksIcon,
        Copy2MyCollectionIcon,
        Copy2PhoneIcon,
        OpenVideoIcon,
        ClearIcon,
        LaunchWebsiteIcon,
        SingleViewIcon,
        ListViewIcon,
        PCRemoveIcon,
        PCCopyIcon,
        PCCopyNewIcon,
        PCRemoveNewIcon,
        PhoneRemoveIcon,
        PhoneCopyIcon,
        PhoneCopyNewIcon,
        PhoneRemoveNewIcon,
    };
    Q_ENUM(Element)

    // Bit flags; a state mask is any OR of them. The theme file and the
    // painters go by the values, so the declaration order carries no meaning.
    enum State {
        None = 0x0,
        Enabled = 0x1,
        Disabled = 0x2,
        Background = 0x4,
        Foreground = 0x8,
        Alternate = 0x80,
        Down = 0x10,
        Up = 0x20,
        RollOver = 0x40,
        Highlighted = 0x100,
        Checked = 0x200,
        Selected = 0x400,
        UnChecked = 0x800,
        Toggle = 0x8000000,
        Top = 0x1000,
        Bottom = 0x2000,
        Middle = 0x4000,
        Vertical = 0x8000,
        Left = 0x10000,
        Right = 0x20000,
        Center = 0x40000,
        Horizontal = 0x80000,
        ToUp = 0x100000,
        ToDown = 0x200000,
        ToLeft = 0x400000,
        ToRight = 0x800000,
        Small = 0x1000000,
        Medium = 0x2000000,
        Large = 0x4000000,
    };
    Q_ENUM(State)

    enum PaintMode {
        NoPaintMode,
        Fixed,
        Flexible,
        Scaled,
    };
    Q_ENUM(PaintMode)

    // How an element is stretched along x and along y. Unknown names in the
    // theme file are stored as -1, which paints nothing.
    struct PaintModes
    {
        int x = NoPaintMode;
        int y = NoPaintMode;
        friend bool operator==(PaintModes a, PaintModes b) { return a.x == b.x && a.y == b.y; }
        friend bool operator!=(PaintModes a, PaintModes b) { return !(a == b); }
    };

    // Loads themeFile at once; every image location in it is appended to
    // imageRoot as a plain string. A file that cannot be opened leaves the
    // theme empty; a file that breaks off keeps what was read before the break.
    CTheme(const QString &themeFile, const QString &imageRoot, QObject *parent = nullptr);
    // The same, decoding images for the given device pixel ratio instead of
    // the screens' one (tools that render at a chosen scale, tests).
    CTheme(const QString &themeFile, const QString &imageRoot, qreal devicePixelRatio,
           QObject *parent = nullptr);
    ~CTheme() override;

    // Makes theme current and deletes the theme that was current before.
    // Passing the current theme again does nothing; nullptr leaves no theme.
    static void setCurrent(CTheme *theme);
    static CTheme *current();

    static QPixmap pixmap(Element element, int state = None);
    // Assembled from the images under state with Up, RollOver, Down and
    // Disabled, each also with Checked, as the icon's modes and on/off states.
    static QIcon icon(Element element, int state = None);
    // Logical size of the first image under state with Up, RollOver, Down or
    // Disabled; (0, 0) when none exists.
    static QSize iconSize(Element element, int state = None);
    // The icon of (element, state); the icon size always from (element, None).
    // Defined in the theme_widgets library.
    static void setButtonIcon(QAbstractButton *button, Element element, int state = None);
    static QColor color(Element element, int state = None);
    static PaintModes paintModes(Element element, int state = None);
    // A null pixmap for an index outside the stored frames.
    static QPixmap animationFrame(Element element, int state, int index);
    static int animationFrameCount(Element element, int state);

    // Paints the element over rect according to its paint modes: an image
    // centred or stretched, or a three-slice of its Left/Center/Right or
    // Top/Middle/Bottom images. With no modes stored the image is stretched.
    static void paint(QPainter *painter, Element element, int state, const QRect &rect);
    // Draws pixmap at its own size centred in rect (offsets truncate to zero).
    static void drawCentered(QPainter *painter, const QPixmap &pixmap, const QRect &rect);

    qreal devicePixelRatio() const { return m_devicePixelRatio; }

    // Every (element, state) under which this theme stores something, sorted;
    // for tools that show a whole theme.
    struct Key
    {
        int element;
        int state;
    };
    QVector<Key> imageKeys() const;
    QVector<Key> animationKeys() const;
    QVector<Key> colorKeys() const;
    QVector<Key> paintModeKeys() const;

private:
    friend class ThemeXmlHandler;

    void load(const QString &themeFile, const QString &imageRoot);
    void setImage(int element, int state, const QPixmap &image);
    void appendAnimationFrame(int element, int state, const QPixmap &frame);
    void setColor(int element, int state, const QColor &color);
    void setPaintModes(int element, int state, PaintModes modes);

    QHash<int, QHash<int, QPixmap>> m_images;
    QHash<int, QHash<int, QVector<QPixmap>>> m_animations;
    QHash<int, QHash<int, QColor>> m_colors;
    QHash<int, QHash<int, PaintModes>> m_paintModes;
    qreal m_devicePixelRatio = 1.0;
};
