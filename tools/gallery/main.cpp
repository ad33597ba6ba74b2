// gallery [--package file.rcc] [--translation file.qm] [--screenshot out.png]
// gallery --dialogs [--dialog-shots folder] [--package file.rcc] [--translation file.qm]
//
// Shows every themed widget and every standard control drawn by the
// application style in one window laid out like the program's main window,
// and the player playing a clip made on the spot (FFmpeg's test picture).
// With --screenshot the window, with a menu opened over it, is saved to a
// PNG once the clip has played a while, and the program ends. --dialogs
// shows the themed dialogs instead; with --dialog-shots each of them is
// saved into that folder.
#include "animatedscan.h"
#include "dialogs.h"
#include "combobox.h"
#include "contextbutton.h"
#include "frame.h"
#include "panelbutton.h"
#include "phoneimage.h"
#include "playerdemo.h"
#include "progressbar.h"
#include "slider.h"
#include "style.h"
#include "taskprogressbar.h"
#include "theme.h"
#include "vtmenubar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QResource>
#include <QSizeGrip>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// A surface painted from one theme element, like the main window's panels.
class Panel final : public QWidget
{
public:
    Panel(CTheme::Element element, int state, QWidget *parent = nullptr)
        : QWidget(parent), m_element(element), m_state(state)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        CTheme::paint(&painter, m_element, m_state, rect());
    }

private:
    CTheme::Element m_element;
    int m_state;
};

class NoDrops final : public CPhoneDropHandler
{
public:
    int currentContext() const override { return 1; }
    void copySelectedScanResultsToPhone() override {}
};

QLabel *whiteLabel(const QString &text, QWidget *parent = nullptr)
{
    auto *label = new QLabel(QStringLiteral("<font color=\"white\">") + text + QStringLiteral("</font>"), parent);
    return label;
}

void installFonts()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/Theme/Resources/OrvakStandard.otf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (!families.isEmpty())
        QApplication::setFont(QFont(families.constFirst(), 9));
}

CVTMenuBar *buildMenuBar(QWidget *window, QMenu **shown)
{
    auto *bar = new CVTMenuBar(window);
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    QMenu *select = file->addMenu(QStringLiteral("Select phone"));
    select->addAction(QStringLiteral("Demo phone"));
    file->addAction(QStringLiteral("Open video...\tCtrl+O"));
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"));
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(QStringLiteral("Copy to phone\tCtrl+P"));
    QAction *remove = edit->addAction(QStringLiteral("Delete from phone"));
    remove->setEnabled(false);
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    QMenu *goTo = view->addMenu(QStringLiteral("Go to"));
    goTo->addAction(QStringLiteral("My collection"));
    QAction *single = view->addAction(QStringLiteral("Single view"));
    single->setCheckable(true);
    single->setChecked(true);
    view->addSeparator();
    view->addAction(CTheme::icon(CTheme::StartScanIcon), QStringLiteral("Start scan\tF5"));
    QAction *disabled = view->addAction(QStringLiteral("Stop scan"));
    disabled->setEnabled(false);
    bar->addMenu(QStringLiteral("&Tools"))->addAction(QStringLiteral("Settings..."));
    bar->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("About"));
    *shown = view;
    return bar;
}

QWidget *buildLeftColumn(QWidget *parent)
{
    auto *column = new Panel(CTheme::MainWindowLeftPanel, CTheme::Background, parent);
    column->setFixedWidth(220);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);

    auto *phonePanel = new Panel(CTheme::PhonePanel, CTheme::Background);
    auto *phoneLayout = new QVBoxLayout(phonePanel);
    phoneLayout->setContentsMargins(10, 10, 10, 10);
    auto *memory = new CComboBox;
    memory->addItems({QStringLiteral("Phone memory"), QStringLiteral("Memory card")});
    memory->setFixedHeight(24);
    phoneLayout->addWidget(memory);
    auto *phone = new CPhoneImage;
    phone->setPhonePixmap(CTheme::pixmap(CTheme::PhoneImage));
    phone->setAlignment(Qt::AlignCenter);
    static NoDrops drops;
    phone->setDropHandler(&drops);
    phoneLayout->addWidget(phone);
    phoneLayout->addWidget(whiteLabel(QStringLiteral("Free: 1.25 GB of 2.00 GB")));
    layout->addWidget(phonePanel);

    auto *selector = new Panel(CTheme::ViewSelector, CTheme::Background);
    auto *selectorLayout = new QVBoxLayout(selector);
    selectorLayout->setContentsMargins(6, 6, 6, 6);
    selectorLayout->setSpacing(2);
    const char *contexts[] = {"My collection", "Scan results", "Tasks", "Downloads"};
    for (int i = 0; i < 4; ++i) {
        auto *button = new CContextButton(QLatin1String(contexts[i]));
        button->setMinimumHeight(28);
        button->setActive(i == 1);
        selectorLayout->addWidget(button);
    }
    layout->addWidget(selector);

    auto *status = new Panel(CTheme::StatusPanel, CTheme::Background);
    auto *statusLayout = new QVBoxLayout(status);
    statusLayout->setContentsMargins(10, 10, 10, 10);
    statusLayout->addWidget(whiteLabel(QStringLiteral("Scanning /home/me/Videos")));
    auto *busy = new CAnimatedScan;
    busy->setFixedHeight(16);
    busy->startAnimation(100);
    statusLayout->addWidget(busy);
    statusLayout->addWidget(whiteLabel(QStringLiteral("Copying holiday.mp4")));
    auto *task = new CTaskProgressBar;
    task->setFixedHeight(16);
    task->setRange(0, 300);
    task->setValue(150);
    statusLayout->addWidget(task);
    auto *plain = new CProgressBar;
    plain->setFixedHeight(16);
    plain->setRange(0, 100);
    plain->setValue(80);
    statusLayout->addWidget(plain);
    layout->addWidget(status);
    layout->addStretch();
    return column;
}

QWidget *buildList()
{
    auto *list = new QTreeWidget;
    list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date"),
                           CStyle::unsortableColumnText()});
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setSortingEnabled(true);
    for (int i = 0; i < 40; ++i)
        list->addTopLevelItem(new QTreeWidgetItem(
            {QStringLiteral("Clip %1 from the summer trip.mp4").arg(i + 1, 2, 10, QLatin1Char('0')),
             QStringLiteral("%1.%2 MB").arg(3 + i % 7).arg(10 + i), QStringLiteral("12.08.2026, 14:%1").arg(10 + i),
             i % 3 ? QStringLiteral("PC") : QStringLiteral("PC, phone")}));
    list->sortByColumn(0, Qt::AscendingOrder);
    list->header()->resizeSection(0, 360);
    list->header()->resizeSection(1, 110);
    list->header()->resizeSection(2, 160);
    list->header()->resizeSection(3, 160);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The lists are light surfaces inside the dark frame.
    list->setFrameShape(QFrame::NoFrame);
    QPalette light = list->palette();
    light.setColor(QPalette::Window, Qt::white);
    list->setPalette(light);
    return list;
}

QWidget *buildPlayerStrip(QWidget **copyToMyCollection, QWidget **copyToPhone)
{
    auto *strip = new Panel(CTheme::PlayerPanel, CTheme::Background);
    strip->setFixedHeight(52);
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(10, 4, 10, 4);
    const struct {
        CTheme::Element icon;
        int size;
        bool checkable;
    } buttons[] = {
        {CTheme::PlayIcon, CPanelButton::Large, false},
        {CTheme::Copy2MyCollectionIcon, CPanelButton::Medium, false},
        {CTheme::Copy2PhoneIcon, CPanelButton::Medium, false}, {CTheme::SingleViewIcon, CPanelButton::Small, true},
        {CTheme::ListViewIcon, CPanelButton::Small, true},
    };
    int index = 0;
    for (const auto &entry : buttons) {
        auto *button = new CPanelButton;
        button->setCheckable(entry.checkable);
        button->setChecked(entry.checkable && index == 3);
        button->setSize(entry.size);
        CTheme::setButtonIcon(button, entry.icon);
        button->setHighlighted(index == 2);
        layout->addWidget(button);
        if (entry.icon == CTheme::Copy2MyCollectionIcon)
            *copyToMyCollection = button;
        else if (entry.icon == CTheme::Copy2PhoneIcon)
            *copyToPhone = button;
        ++index;
    }
    auto *position = new CSlider(Qt::Horizontal);
    position->setRange(0, 100);
    position->setValue(35);
    position->setFixedHeight(24);
    layout->addWidget(position, 1);
    auto *mute = new CPanelButton;
    mute->setSize(CPanelButton::Small);
    CTheme::setButtonIcon(mute, CTheme::SoundIcon);
    mute->setEnabled(false);
    layout->addWidget(mute);
    auto *volume = new CSlider(Qt::Horizontal);
    volume->setRange(0, 100);
    volume->setValue(70);
    volume->setHighlighted(true);
    volume->setFixedSize(90, 24);
    layout->addWidget(volume);
    return strip;
}

QWidget *buildForm()
{
    auto *form = new QWidget;
    form->setAutoFillBackground(true);
    QPalette light = form->palette();
    light.setColor(QPalette::Window, Qt::white);
    light.setColor(QPalette::WindowText, QColor(40, 48, 60));
    form->setPalette(light);
    auto *layout = new QHBoxLayout(form);
    layout->setContentsMargins(12, 10, 12, 10);

    auto *checks = new QVBoxLayout;
    auto *on = new QCheckBox(QStringLiteral("Convert before copying"));
    on->setChecked(true);
    auto *off = new QCheckBox(QStringLiteral("Ask before deleting"));
    auto *dead = new QCheckBox(QStringLiteral("Disabled and checked"));
    dead->setChecked(true);
    dead->setEnabled(false);
    checks->addWidget(on);
    checks->addWidget(off);
    checks->addWidget(dead);
    layout->addLayout(checks);

    auto *group = new QGroupBox(QStringLiteral("Quality"));
    auto *radios = new QVBoxLayout(group);
    auto *high = new QRadioButton(QStringLiteral("High"));
    high->setChecked(true);
    radios->addWidget(high);
    radios->addWidget(new QRadioButton(QStringLiteral("Medium")));
    auto *low = new QRadioButton(QStringLiteral("Low"));
    low->setEnabled(false);
    radios->addWidget(low);
    layout->addWidget(group);

    auto *fields = new QVBoxLayout;
    auto *edit = new QLineEdit(QStringLiteral("/home/me/Videos/My collection"));
    fields->addWidget(edit);
    auto *frame = new CFrame;
    frame->setMinimumHeight(30);
    frame->setPixmaps(CTheme::pixmap(CTheme::MainWindowViewLabel, CTheme::Background | CTheme::Left),
                      CTheme::pixmap(CTheme::MainWindowViewLabel, CTheme::Background | CTheme::Center),
                      CTheme::pixmap(CTheme::MainWindowViewLabel, CTheme::Background | CTheme::Right));
    frame->setMode(CFrame::Single);
    auto *frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(8, 0, 8, 0);
    frameLayout->addWidget(whiteLabel(QStringLiteral("A framed panel")));
    fields->addWidget(frame);
    auto *vertical = new QHBoxLayout;
    auto *upright = new CSlider(Qt::Vertical);
    upright->setRange(0, 10);
    upright->setValue(7);
    upright->setFixedSize(24, 70);
    vertical->addWidget(upright);
    auto *empty = new CSlider(Qt::Vertical);
    empty->setRange(5, 5);
    empty->setFixedSize(24, 70);
    vertical->addWidget(empty);
    vertical->addStretch();
    vertical->addWidget(new QSizeGrip(form), 0, Qt::AlignBottom | Qt::AlignRight);
    fields->addLayout(vertical);
    layout->addLayout(fields, 1);
    return form;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication::setStyle(new CStyle);
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption packageOption(QStringLiteral("package"), QStringLiteral("Resource package to read."),
                                     QStringLiteral("file"),
                                     QCoreApplication::applicationDirPath()
                                         + QStringLiteral("/Resource/videotransfer.rcc"));
    QCommandLineOption shotOption(QStringLiteral("screenshot"), QStringLiteral("Save the window to this PNG and quit."),
                                  QStringLiteral("file"));
    QCommandLineOption translationOption(QStringLiteral("translation"), QStringLiteral("Translation to load."),
                                         QStringLiteral("file.qm"));
    QCommandLineOption dialogsOption(QStringLiteral("dialogs"), QStringLiteral("Show the themed dialogs."));
    QCommandLineOption dialogShotsOption(QStringLiteral("dialog-shots"),
                                         QStringLiteral("Save every dialog as a PNG into this folder and quit."),
                                         QStringLiteral("folder"));
    parser.addOption(packageOption);
    parser.addOption(shotOption);
    parser.addOption(translationOption);
    parser.addOption(dialogsOption);
    parser.addOption(dialogShotsOption);
    parser.process(app);

    QTranslator translator;
    if (parser.isSet(translationOption)) {
        if (!translator.load(parser.value(translationOption))) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(parser.value(translationOption)));
            return 1;
        }
        QCoreApplication::installTranslator(&translator);
    }

    if (!QResource::registerResource(parser.value(packageOption), QStringLiteral("/Theme/"))) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(parser.value(packageOption)));
        return 1;
    }
    CTheme::setCurrent(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));
    if (parser.isSet(dialogsOption) || parser.isSet(dialogShotsOption))
        return runDialogs(parser.value(dialogShotsOption));
    installFonts();

    Panel window(CTheme::MainWindow, CTheme::Background);
    window.setWindowTitle(QStringLiteral("Themed widgets"));
    QPalette dark = window.palette();
    dark.setColor(QPalette::Window, QColor(0x1b, 0x21, 0x2b));
    window.setPalette(dark);
    window.setAutoFillBackground(true);
    auto *outer = new QVBoxLayout(&window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    QMenu *openMenu = nullptr;
    CVTMenuBar *menuBar = buildMenuBar(&window, &openMenu);
    outer->addWidget(menuBar);
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 8, 8);
    body->addWidget(buildLeftColumn(&window));
    auto *right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(buildList(), 1);
    QWidget *copyToMyCollection = nullptr;
    QWidget *copyToPhone = nullptr;
    right->addWidget(buildPlayerStrip(&copyToMyCollection, &copyToPhone));
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(0);
    bottom->addWidget(buildForm(), 1);
    auto *player = new PlayerDemo;
    player->setLockedControls(copyToMyCollection, copyToPhone);
    auto *playerBox = new QHBoxLayout;
    playerBox->setContentsMargins(12, 10, 12, 10);
    playerBox->addWidget(player);
    bottom->addLayout(playerBox);
    right->addLayout(bottom);
    body->addLayout(right, 1);
    outer->addLayout(body, 1);
    window.resize(1220, 860);
    window.show();
    const bool playing = player->start();

    if (!parser.isSet(shotOption))
        return QApplication::exec();

    // Once the clip has played a while, open one menu over the window with
    // an entry under the mouse, then save both together.
    const QString output = parser.value(shotOption);
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &app, [&]() {
        if (playing && player->progress() < 40 && waited.elapsed() < 30000)
            return;
        poll.stop();
        QAction *menuAction = openMenu->menuAction();
        const QRect item = menuBar->actionGeometry(menuAction);
        openMenu->popup(menuBar->mapToGlobal(item.bottomLeft() + QPoint(0, 1)));
        QTimer::singleShot(200, &app, [&, item]() {
            openMenu->setActiveAction(openMenu->actions().at(1));
            QTimer::singleShot(200, &app, [&, item]() {
                QPixmap shot = window.grab();
                {
                    QPainter painter(&shot);
                    painter.drawPixmap(window.mapFromGlobal(openMenu->pos()), openMenu->grab());
                }
                const bool saved = shot.save(output);
                std::fprintf(stderr, saved ? "saved %s\n" : "cannot save %s\n", qPrintable(output));
                QCoreApplication::exit(saved ? 0 : 1);
            });
        });
    });
    poll.start();
    return QApplication::exec();
}
