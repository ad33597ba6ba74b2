#include "firstdialog.h"

#include "dialogparts.h"
#include "formats.h"
#include "panelbutton.h"
#include "ui_firstdialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>

namespace {

const char *const kCollectionKey = "MyCollectionFolder";
const char *const kScanKey = "ScanFolder";

constexpr int kTitlePointSize = 12;
// Corner roundness of the window's shape, in percent of half its sides.
constexpr qreal kCornerRoundness = 2;

QPixmap pagePicture(const QString &path, qreal ratio)
{
    // The icon picks the picture made for the screen's density.
    return QIcon(path).pixmap(C1stDialog::kSize, ratio);
}

} // namespace

C1stDialog::C1stDialog(QWidget *parent) : CWizardDlg(parent), m_ui(std::make_unique<Ui::C1stDialogClass>())
{
    auto *form = new QWidget(contentFrame());
    m_ui->setupUi(form);
    auto *content = new QVBoxLayout(contentFrame());
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(form);
    m_ui->buttonRow->setFixedHeight(bottomPanelHeight());

    showPage(0);
    m_pagePictures[0] = pagePicture(QStringLiteral(":/Images/new_1stDlgp1.png"), devicePixelRatioF());
    m_pagePictures[1] = pagePicture(QStringLiteral(":/Images/new_1stDlgp2.png"), devicePixelRatioF());

    const struct {
        CPanelButton *button;
        const char *icon;
    } buttons[] = {
        {m_ui->mcfbBrowse, ":/Images/browse.png"}, {m_ui->sbBrowse, ":/Images/browse.png"},
        {m_ui->helpButton, ":/Images/Help.png"},   {m_ui->bkButton, ":/Images/left.png"},
        {m_ui->fwdButton, ":/Images/right.png"},
    };
    for (const auto &entry : buttons) {
        entry.button->setIcon(QIcon(QLatin1String(entry.icon)));
        entry.button->setIconSize(QSize(24, 24));
        entry.button->setSize(CPanelButton::Medium);
        entry.button->setAutoRaise(true);
        addKeyboardButton(entry.button);
    }
    setEnterButton(m_ui->fwdButton);

    for (QLabel *title : {m_ui->title1Label, m_ui->title2Label}) {
        QFont font = title->font();
        font.setWeight(QFont::Normal);
        font.setPointSize(kTitlePointSize);
        title->setFont(font);
    }
    setDialogTitle(QStringLiteral("Orvak Tamsel"));

    connect(m_ui->sbBrowse, &QToolButton::clicked, this, &C1stDialog::on_sbBrowse_clicked);
    connect(m_ui->mcfbBrowse, &QToolButton::clicked, this, &C1stDialog::on_mcfbBrowse_clicked);
    connect(m_ui->fwdButton, &QToolButton::clicked, this, &C1stDialog::on_fwdButton_clicked);
    connect(m_ui->bkButton, &QToolButton::clicked, this, &C1stDialog::on_bkButton_clicked);
    connect(m_ui->helpButton, &QToolButton::clicked, this, &C1stDialog::on_helpButton_clicked);
    connect(addHelpAction(), &QAction::triggered, this, &C1stDialog::on_helpButton_clicked);

    setFixedSize(kSize);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect desktop = screen->geometry();
        move((desktop.left() + desktop.right()) / 2 - width() / 2,
             (desktop.top() + desktop.bottom()) / 2 - height() / 2);
    }
}

C1stDialog::~C1stDialog() = default;

void C1stDialog::setValues(const QVariantMap &values)
{
    m_collectionFolder = values.value(QLatin1String(kCollectionKey)).toString();
    m_scanFolder = values.value(QLatin1String(kScanKey)).toString();
    m_ui->mcflEdit->setText(m_collectionFolder);
    m_ui->slEdit->setText(m_scanFolder);
}

void C1stDialog::getValues(QVariantMap &values) const
{
    values.insert(QLatin1String(kCollectionKey), m_ui->mcflEdit->text());
    values.insert(QLatin1String(kScanKey), m_ui->slEdit->text());
}

int C1stDialog::currentPage() const
{
    return m_ui->stackedWidget->currentIndex();
}

void C1stDialog::showPage(int page)
{
    m_ui->stackedWidget->setCurrentIndex(page);
    m_ui->progressBar->setValue(page + 1);
    if (page == 0) {
        setHelpText(tr("This wizard helps you to choose the folders to scan and store converted videos. After you "
                       "have completed the wizard, the program will automatically scan the chosen folder for video "
                       "files. You can then start using the Orvak Tamsel. <br><br>Connect your mobile phone to the PC "
                       "and press Next to continue."));
        m_ui->progressText->setText(Formats::whiteText(tr("Step: 1 / 2")));
        m_ui->fwdButton->setFocus();
        m_ui->bkButton->setEnabled(false);
    } else {
        setHelpText(tr("First you need to select a folder where the converted videos will be stored on the PC. "
                       "Then, choose another folder where the program will scan for existing video files. You can "
                       "use the default folders or select another folder by pressing the Browse icon. <br><br>Note: "
                       "These folders can be changed later under Settings. <br><br>Select the folders and press "
                       "Next to continue. This will start the scanning."));
        m_ui->progressText->setText(Formats::whiteText(tr("Step: 2 / 2")));
        m_ui->bkButton->setEnabled(true);
        m_ui->mcflEdit->setFocus();
    }
    update();
}

void C1stDialog::on_sbBrowse_clicked()
{
    browseFolder(m_ui->slEdit, tr("Scanning root folder:"));
}

void C1stDialog::on_mcfbBrowse_clicked()
{
    browseFolder(m_ui->mcflEdit, tr("My collection folder:"));
}

void C1stDialog::on_fwdButton_clicked()
{
    if (currentPage() == 0) {
        showPage(1);
        return;
    }
    // Both fields are checked every time, so the user hears of every bad one.
    const bool collectionOk = checkFolder(m_ui->mcflEdit, m_collectionFolder, tr("My Collection Folder"));
    const bool scanOk = checkFolder(m_ui->slEdit, m_scanFolder, tr("Scan Folder"));
    if (collectionOk && scanOk)
        accept();
}

void C1stDialog::on_bkButton_clicked()
{
    showPage(0);
}

void C1stDialog::on_helpButton_clicked()
{
    showHelpPopup(kHelpSize);
}

void C1stDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawStretched(&painter, rect(), m_pagePictures[size_t(currentPage() == 1 ? 1 : 0)]);
    paintFrame(&painter, false);
}

void C1stDialog::resizeEvent(QResizeEvent *event)
{
    CWizardDlg::resizeEvent(event);
    setMask(roundedShape(size(), kCornerRoundness, kCornerRoundness));
}
