#include "storagebtns.h"

#include "fileitem.h"
#include "lumotreeview.h"
#include "mycollectionview.h"
#include "taskstates.h"
#include "theme.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

QToolButton *makeButton(QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setIconSize(QSize(22, 22));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void setTip(QToolButton *button, const QString &tip)
{
    button->setToolTip(tip);
    button->setAccessibleName(tip);
}

} // namespace

StorageBtns::StorageBtns(LumoTreeView *view, TreeItem *row)
    : QFrame(view->viewport()), m_view(view), m_row(row), m_pcButton(makeButton(this)),
      m_phoneButton(makeButton(this))
{
    setObjectName(QStringLiteral("storageButtons"));
    m_pcButton->setObjectName(QStringLiteral("pcButton"));
    m_phoneButton->setObjectName(QStringLiteral("phoneButton"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch();
    layout->addWidget(m_pcButton);
    layout->addWidget(m_phoneButton);
    connect(m_pcButton, &QToolButton::clicked, this, &StorageBtns::PcClicked);
    connect(m_phoneButton, &QToolButton::clicked, this, &StorageBtns::PhoneClicked);
    refresh();
}

StorageBtns::~StorageBtns() = default;

FileItem *StorageBtns::fileItem() const
{
    return m_row->fileItem();
}

void StorageBtns::refresh()
{
    m_pcRemove = CTheme::icon(CTheme::PCRemoveIcon, CTheme::None);
    m_pcCopy = CTheme::icon(CTheme::PCCopyIcon, CTheme::None);
    m_pcCopyNew = CTheme::icon(CTheme::PCCopyNewIcon, CTheme::None);
    m_pcRemoveNew = CTheme::icon(CTheme::PCRemoveNewIcon, CTheme::None);
    m_phoneRemove = CTheme::icon(CTheme::PhoneRemoveIcon, CTheme::None);
    m_phoneCopy = CTheme::icon(CTheme::PhoneCopyIcon, CTheme::None);
    m_phoneCopyNew = CTheme::icon(CTheme::PhoneCopyNewIcon, CTheme::None);
    m_phoneRemoveNew = CTheme::icon(CTheme::PhoneRemoveNewIcon, CTheme::None);
    refreshButtons();
}

void StorageBtns::refreshButtons()
{
    FileItem *item = fileItem();
    if (!item)
        return;
    using namespace TaskState;
    QString pcTip;
    switch (item->pc.syncState) {
    case 0:
        m_pcIcon = m_pcCopyNew;
        pcTip = tr("Copy new version to My collection");
        m_pcAction = CopyToPcKind;
        break;
    case 2:
        m_pcIcon = m_pcRemoveNew;
        pcTip = tr("Remove from My collection");
        m_pcAction = DeletePcKind;
        break;
    case 3:
        m_pcIcon = m_pcRemove;
        pcTip = tr("Remove from My collection");
        m_pcAction = DeletePcKind;
        break;
    default:
        if (item->pc.syncState != 1)
            item->pc.syncState = 1;
        m_pcIcon = m_pcCopy;
        pcTip = tr("Copy to My collection");
        m_pcAction = CopyToPcKind;
        break;
    }
    m_pcButton->setIcon(m_pcIcon);
    setTip(m_pcButton, pcTip);

    QString phoneTip;
    switch (item->phone.syncState) {
    case 0:
        m_phoneIcon = m_phoneCopyNew;
        phoneTip = tr("Copy new version to phone");
        m_phoneAction = CopyToPhoneKind;
        break;
    case 2:
        m_phoneIcon = m_phoneRemoveNew;
        phoneTip = tr("Remove from phone");
        m_phoneAction = DeletePhoneKind;
        break;
    case 3:
        m_phoneIcon = m_phoneRemove;
        phoneTip = tr("Remove from phone");
        m_phoneAction = DeletePhoneKind;
        break;
    default:
        if (item->phone.syncState != 1)
            item->phone.syncState = 1;
        m_phoneIcon = m_phoneCopy;
        phoneTip = tr("Copy to Phone");
        m_phoneAction = CopyToPhoneKind;
        break;
    }
    m_phoneButton->setIcon(m_phoneIcon);
    m_phoneButton->setEnabled(m_phoneConnected);
    setTip(m_phoneButton, m_phoneConnected ? phoneTip : tr("No Phone Connected"));
}

void StorageBtns::setPhoneConnected(bool connected)
{
    m_phoneConnected = connected;
    refreshButtons();
}

void StorageBtns::PcClicked()
{
    if (auto *view = qobject_cast<MyCollectionView *>(m_view))
        view->storageClicked(m_row, false);
}

void StorageBtns::PhoneClicked()
{
    if (auto *view = qobject_cast<MyCollectionView *>(m_view))
        view->storageClicked(m_row, true);
}
