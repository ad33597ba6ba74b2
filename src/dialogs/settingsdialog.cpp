#include "settingsdialog.h"

#include "helpservice.h"
#include "panelbutton.h"
#include "settingspagebutton.h"
#include "slider.h"
#include "theme.h"
#include "ui_advancedpage.h"
#include "ui_associationspage.h"
#include "ui_conversionpage.h"
#include "ui_downloadspage.h"
#include "ui_folderspage.h"
#include "ui_memorypage.h"
#include "ui_settingsdialog.h"

#include <QAction>
#include <QIcon>
#include <QPainter>

namespace {

using T = CTheme;

constexpr QSize kMinimumSize(660, 480);
constexpr int kHeaderPointSize = 12;
constexpr int kPageColumnWidth = 150;
constexpr int kPageButtonHeight = 64;

} // namespace

CSettingsDialog::CSettingsDialog(QWidget *parent)
    : CWizardDlg(parent),
      m_ui(std::make_unique<Ui::CSettingsDialogClass>()),
      m_conversion(std::make_unique<Ui::ConversionPage>()),
      m_folders(std::make_unique<Ui::FoldersPage>()),
      m_memory(std::make_unique<Ui::MemoryPage>()),
      m_associations(std::make_unique<Ui::AssociationsPage>()),
      m_downloads(std::make_unique<Ui::DownloadsPage>()),
      m_advanced(std::make_unique<Ui::AdvancedPage>())
{
    setObjectName(QStringLiteral("settingsDialog"));
    buildPages();
    styleButtons();
    connectButtons();
    setTabChain();

    m_advancedAvailable = Settings::advancedProfiles();
    fillAdvancedLists();
    if (m_advancedAvailable) {
        for (Settings::Quality quality : {Settings::Quality::High, Settings::Quality::Medium, Settings::Quality::Low})
            showProfile(quality, Settings::profile(quality));
    }
    openPage(ConversionTypePage);
    m_conversion->sliderQuality->setFocus();

    setMinimumSize(kMinimumSize);
    resize(sizeHint().expandedTo(kMinimumSize));
}

CSettingsDialog::~CSettingsDialog() = default;

void CSettingsDialog::buildPages()
{
    auto *form = new QWidget(contentFrame());
    m_ui->setupUi(form);
    setDialogTitle(form->windowTitle());
    auto *content = new QVBoxLayout(contentFrame());
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(form);
    m_ui->buttonRow->setFixedHeight(bottomPanelHeight());
    m_ui->pageColumn->setFixedWidth(kPageColumnWidth);

    m_conversion->setupUi(m_ui->ctPage);
    m_folders->setupUi(m_ui->fPage);
    m_memory->setupUi(m_ui->mPage);
    m_associations->setupUi(m_ui->aPage);
    m_downloads->setupUi(m_ui->dPage);
    m_advanced->setupUi(m_ui->advPage);

    QFont header = m_ui->contentLabel->font();
    header.setPointSize(kHeaderPointSize);
    m_ui->contentLabel->setFont(header);

    // asx files are playlists, which the program cannot open: the box is
    // shown, but never ticked or applied.
    m_associations->cBasx->setEnabled(false);
    m_associations->cBasx->setToolTip(tr("Orvak Tamsel cannot open asx playlists."));
}

void CSettingsDialog::styleButtons()
{
    const struct {
        CSettingsPageButton *button;
        T::Element icon;
    } pages[] = {
        {m_ui->ctButton, T::ConversionTypeIcon}, {m_ui->fButton, T::FoldersIcon}, {m_ui->mButton, T::MemoryIcon},
        {m_ui->aButton, T::AssociationsIcon},    {m_ui->dButton, T::DownloadsIcon}, {m_ui->advButton, T::NoElement},
    };
    for (const auto &page : pages) {
        if (page.icon != T::NoElement)
            T::setButtonIcon(page.button, page.icon);
        page.button->setFixedHeight(page.icon != T::NoElement ? kPageButtonHeight : kPageButtonHeight / 2 + 8);
        page.button->setAccessibleName(page.button->text());
        page.button->setFocusPolicy(Qt::TabFocus);
    }

    const struct {
        CPanelButton *button;
        T::Element icon;
    } bottom[] = {
        {m_ui->helpButton, T::HelpIcon}, {m_ui->okButton, T::OkIcon}, {m_ui->cancelButton, T::CancelIcon}};
    for (const auto &entry : bottom) {
        T::setButtonIcon(entry.button, entry.icon, T::Small);
        entry.button->setIconSize(T::iconSize(entry.icon, T::Small));
        entry.button->setAccessibleName(entry.button->text());
        entry.button->setDrawBackground(false);
        entry.button->setAutoRaise(true);
        entry.button->setFocusPolicy(Qt::StrongFocus);
        markFocus(entry.button);
    }
    setEnterButton(m_ui->okButton);

    // The theme's browse icon is drawn for dark panels; on the white page
    // the buttons carry the wizard's browse badge.
    for (CPanelButton *browse : {m_folders->sbBrowse, m_folders->mcfbBrowse}) {
        browse->setIcon(QIcon(QStringLiteral(":/Images/browse.png")));
        browse->setIconSize(QSize(24, 24));
        browse->setSize(CPanelButton::Medium);
        browse->setAutoRaise(true);
        addKeyboardButton(browse);
    }

    markFocus(m_conversion->sliderQuality);
    for (QWidget *box : {m_memory->rb0, m_memory->rb1, m_memory->rb2})
        markFocus(box);
    for (const auto &[key, box] : associationBoxes())
        markFocus(box);
    markFocus(m_downloads->cBdl2phone);
    for (Settings::Quality quality : {Settings::Quality::High, Settings::Quality::Medium, Settings::Quality::Low}) {
        const ProfileControls controls = profileControls(quality);
        markFocus(controls.audio);
        markFocus(controls.mono);
    }
    // Enter saves; on a focused Reset button it presses that one, as on any
    // focused button, but no Reset button stands in as the default.
    for (QPushButton *reset :
         {m_advanced->resetHighButton, m_advanced->resetMediumButton, m_advanced->resetLowButton}) {
        reset->setAutoDefault(false);
        markFocus(reset);
    }
}

void CSettingsDialog::connectButtons()
{
    // The form is built into the frame's content widget, so nothing is
    // connected by name on its own.
    const auto onClick = [this](QAbstractButton *button, void (CSettingsDialog::*slot)()) {
        connect(button, &QAbstractButton::clicked, this, slot);
    };
    onClick(m_ui->ctButton, &CSettingsDialog::on_ctButton_clicked);
    onClick(m_ui->fButton, &CSettingsDialog::on_fButton_clicked);
    onClick(m_ui->mButton, &CSettingsDialog::on_mButton_clicked);
    onClick(m_ui->aButton, &CSettingsDialog::on_aButton_clicked);
    onClick(m_ui->dButton, &CSettingsDialog::on_dButton_clicked);
    onClick(m_ui->advButton, &CSettingsDialog::on_advButton_clicked);
    onClick(m_ui->helpButton, &CSettingsDialog::on_helpButton_clicked);
    onClick(m_folders->sbBrowse, &CSettingsDialog::on_sbBrowse_clicked);
    onClick(m_folders->mcfbBrowse, &CSettingsDialog::on_mcfbBrowse_clicked);
    onClick(m_ui->okButton, &CSettingsDialog::on_okButton_clicked);
    onClick(m_ui->cancelButton, &CSettingsDialog::on_cancelButton_clicked);
    onClick(m_advanced->resetHighButton, &CSettingsDialog::on_resetHighButton_clicked);
    onClick(m_advanced->resetMediumButton, &CSettingsDialog::on_resetMediumButton_clicked);
    onClick(m_advanced->resetLowButton, &CSettingsDialog::on_resetLowButton_clicked);
    connect(addHelpAction(), &QAction::triggered, this, &CSettingsDialog::popupHelp);
}

void CSettingsDialog::setTabChain()
{
    // Hidden pages drop out of the chain by themselves, so one chain serves
    // every page.
    QList<QWidget *> chain{m_ui->ctButton, m_ui->fButton, m_ui->mButton, m_ui->aButton, m_ui->dButton,
                           m_ui->advButton, m_conversion->sliderQuality, m_folders->slEdit, m_folders->sbBrowse,
                           m_folders->mcflEdit, m_folders->mcfbBrowse, m_memory->rb0, m_memory->rb1, m_memory->rb2};
    for (const auto &[key, box] : associationBoxes())
        chain << box;
    chain << m_downloads->cBdl2phone;
    for (Settings::Quality quality : {Settings::Quality::High, Settings::Quality::Medium, Settings::Quality::Low}) {
        const ProfileControls c = profileControls(quality);
        chain << c.fps << c.videoBitrate << c.resolution << c.audio << c.audioBitrate << c.mono;
        chain << (quality == Settings::Quality::High     ? m_advanced->resetHighButton
                  : quality == Settings::Quality::Medium ? m_advanced->resetMediumButton
                                                         : m_advanced->resetLowButton);
    }
    chain << m_ui->helpButton << m_ui->okButton << m_ui->cancelButton;
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

int CSettingsDialog::currentPage() const
{
    return m_ui->stackedWidget->currentIndex();
}

void CSettingsDialog::openPage(int page)
{
    m_ui->stackedWidget->setCurrentIndex(page);
    CSettingsPageButton *const buttons[] = {m_ui->ctButton, m_ui->fButton, m_ui->mButton,
                                            m_ui->aButton,  m_ui->dButton, m_ui->advButton};
    for (int i = 0; i < int(std::size(buttons)); ++i)
        buttons[i]->setChecked(i == page);
    m_ui->advButton->setVisible(m_advancedAvailable && (page == ConversionTypePage || page == AdvancedPage));
    m_ui->contentLabel->setText(buttons[page]->text());
    // Only the first four pages have a page of their own in the help.
    m_ui->helpButton->setEnabled(page <= AssociationsPage);

    switch (page) {
    case ConversionTypePage:
        setHelpText(tr("Choosing a higher quality gives the video files better picture and sound. \nThe default "
                       "setting is chosen by the phone. \n\nSave settings by pressing Save Configuration."));
        break;
    case FoldersPage:
        setHelpText(tr("Select the folders for storing and scanning video files on the PC. You can use the default "
                       "folders or select another folder by pressing the Browse icon. \n\nSave settings by pressing "
                       "Save Configuration."));
        break;
    case MemoryPage:
        setHelpText(tr("Select the memory destination and source for the converted video files on the phone. This "
                       "will be stored under \nC:\\Data\\Videos on the device or D:\\Videos on the memory card. "
                       "\n\nThe window will only display a memory card, if there is one available in the phone. "
                       "\nSave settings by pressing Save Configuration."));
        break;
    case AssociationsPage:
        setHelpText(tr("If you wish to make Orvak Tamsel your default media player for the filetype, select it and "
                       "press Save Configuration."));
        break;
    case DownloadsPage:
        setHelpText(tr("If you wish the downloaded video files to be copied directly to the connected phone, select "
                       "the checkbox. \nThe downloaded and converted files are located in the My collection "
                       "folder.\n\nSave settings by clicking Save Configuration."));
        break;
    case AdvancedPage:
        setHelpText(tr("Choose the frame rate, the bit rates, the largest frame size and the sound of each "
                       "conversion quality. Reset gives a quality the values the program comes with. \n\nSave "
                       "settings by pressing Save Configuration."));
        break;
    default:
        break;
    }
}

void CSettingsDialog::on_ctButton_clicked()
{
    openPage(ConversionTypePage);
}

void CSettingsDialog::on_fButton_clicked()
{
    openPage(FoldersPage);
}

void CSettingsDialog::on_mButton_clicked()
{
    openPage(MemoryPage);
}

void CSettingsDialog::on_aButton_clicked()
{
    openPage(AssociationsPage);
}

void CSettingsDialog::on_dButton_clicked()
{
    m_downloadChoicePending = false;
    openPage(DownloadsPage);
}

void CSettingsDialog::on_advButton_clicked()
{
    if (!m_advancedAvailable)
        return;
    openPage(currentPage() == AdvancedPage ? ConversionTypePage : AdvancedPage);
}

void CSettingsDialog::on_helpButton_clicked()
{
    const int page = currentPage();
    if (page <= AssociationsPage)
        Help::openHelp(1060 + 10 * page);
}

void CSettingsDialog::popupHelp()
{
    showHelpPopup(kHelpSize);
}

void CSettingsDialog::on_sbBrowse_clicked()
{
    browseFolder(m_folders->slEdit, tr("Scanning root folder:"));
}

void CSettingsDialog::on_mcfbBrowse_clicked()
{
    browseFolder(m_folders->mcflEdit, tr("My collection folder:"));
}

void CSettingsDialog::on_okButton_clicked()
{
    // Show the fields a message is about, with their restored values.
    if (!isUsableFolder(m_folders->mcflEdit->text()) || !isUsableFolder(m_folders->slEdit->text()))
        openPage(FoldersPage);
    const bool collectionOk = checkFolder(m_folders->mcflEdit, m_openingCollection, tr("My Collection Folder"));
    const bool scanOk = checkFolder(m_folders->slEdit, m_openingScan, tr("Scan Folder"));
    if (!collectionOk || !scanOk)
        return;
    if (m_advancedAvailable)
        saveAdvanced();
    accept();
}

void CSettingsDialog::on_cancelButton_clicked()
{
    reject();
}

void CSettingsDialog::on_resetHighButton_clicked()
{
    showProfile(Settings::Quality::High, Settings::defaultProfile(Settings::Quality::High));
}

void CSettingsDialog::on_resetMediumButton_clicked()
{
    showProfile(Settings::Quality::Medium, Settings::defaultProfile(Settings::Quality::Medium));
}

void CSettingsDialog::on_resetLowButton_clicked()
{
    showProfile(Settings::Quality::Low, Settings::defaultProfile(Settings::Quality::Low));
}

void CSettingsDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFrame(&painter);
    const QRect column(m_ui->pageColumn->mapTo(this, QPoint(0, 0)), m_ui->pageColumn->size());
    T::paint(&painter, T::SettingsDialog, T::Left | T::Background, column);
}
