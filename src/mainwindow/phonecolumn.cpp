// The phone column of the main window: the phone selector rebuilt on every
// device event, the selected phone's memory box and its picture.

#include "contextswitcher.h"

#include "catalogue.h"
#include "combobox.h"
#include "formats.h"
#include "phoneimage.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "theme.h"
#include "ui_videotransferwindow.h"
#include "videotransferwindow.h"

#include <QAction>
#include <QLoggingCategory>
#include <QMenu>

Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)

namespace {

// The theme icon of a phone's best connection.
CTheme::Element mediaIcon(uint media)
{
    switch (media) {
    case 2:
    case 4:
        return CTheme::SerialIcon;
    case 8:
        return CTheme::BluetoothIcon;
    default:
        return CTheme::UsbIcon;
    }
}

} // namespace

void CContextSwitcher::startPhoneManagement()
{
    m_phoneManagement = std::make_unique<Orvak_API::PhoneManagement>();
    if (m_phoneManagement->lastResult() < 0)
        qCWarning(lcMainWindow).noquote() << "phones cannot be listed:" << m_phoneManagement->lastMessage();
    Orvak_API::PhoneManagement *management = m_phoneManagement.get();
    connect(management, &Orvak_API::PhoneManagement::OnDeviceListUpdated, this, &CContextSwitcher::PhoneListUpdateSlot);
    connect(management, &Orvak_API::PhoneManagement::OnDeviceAdded, this, &CContextSwitcher::PhoneAddSlot);
    connect(management, &Orvak_API::PhoneManagement::OnDeviceRemoved, this, &CContextSwitcher::PhoneRemoveSlot);
    connect(management, &Orvak_API::PhoneManagement::OnDeviceUpdated, this, &CContextSwitcher::PhoneUpdateSlot);
    management->registerDeviceNotifications();
}

void CContextSwitcher::restartPhoneManagement()
{
    // The old session's phones and handles belong to the library run that
    // ended; they are let go before the new session starts.
    m_phones.release();
    m_phones.clear();
    m_phoneManagement.reset();
    startPhoneManagement();
    rebuildPhoneList();
}

void CContextSwitcher::PhoneAddSlot(const wchar_t *, uint)
{
    rebuildPhoneList();
}

void CContextSwitcher::PhoneUpdateSlot(const wchar_t *, uint)
{
    rebuildPhoneList();
}

void CContextSwitcher::PhoneRemoveSlot(const wchar_t *, uint)
{
    rebuildPhoneList();
}

void CContextSwitcher::PhoneListUpdateSlot()
{
    rebuildPhoneList();
}

bool CContextSwitcher::hasPhoneEntries() const
{
    return m_ui->comboBox_Phones->count() > 0;
}

void CContextSwitcher::runPendingPhoneListRebuild()
{
    if (m_rebuildPending)
        rebuildPhoneList();
}

void CContextSwitcher::rebuildPhoneList()
{
    // The builder reads the current phone and writes My collection; the
    // rebuild changes both, so it waits until the builder has delivered.
    if (m_window->isCollectionBuilding()) {
        m_rebuildPending = true;
        return;
    }
    m_rebuildPending = false;
    m_refreshing = true;
    CComboBox *selector = m_ui->comboBox_Phones;
    const QString remembered = selector->currentData().toString();
    {
        // The selection is shown once, below, for the entry finally chosen.
        const QSignalBlocker blocker(selector);
        selector->clear();
    }
    Catalogue &catalogue = Catalogue::instance();
    catalogue.currentPhoneSerial.clear();
    catalogue.currentPhoneName.clear();
    catalogue.memoryTypes.clear();
    catalogue.memoryNames.clear();
    catalogue.memoryFree = 0;
    m_ui->label_MemorySelectionSize->setText(QString());
    m_ui->menuSelectPhone->clear();

    if (!m_phoneManagement->getPhones(m_phones)) {
        showNoPhone();
        m_refreshing = false;
        Q_EMIT phoneListRebuilt();
        return;
    }

    selector->setEnabled(true);
    const Orvak_API::PhoneInfo *best = m_phones.bestConnected();
    int chosen = -1;
    int bestIndex = -1;
    {
        const QSignalBlocker blocker(selector);
        for (int i = 0; i < m_phones.size(); ++i) {
            const Orvak_API::PhoneInfo *phone = m_phones.at(i);
            const QString name = phone->friendlyName();
            selector->addItem(CTheme::icon(mediaIcon(phone->bestMedia())), name, phone->serialNumber());
            QAction *entry = m_ui->menuSelectPhone->addAction(name);
            connect(entry, &QAction::triggered, this, [this, name] { selectPhoneFromMenu(name); });
            if (chosen < 0 && !remembered.isEmpty() && phone->serialNumber() == remembered)
                chosen = i;
            if (phone == best)
                bestIndex = i;
        }
    }
    const bool rememberedFound = chosen >= 0;
    if (!rememberedFound)
        chosen = bestIndex >= 0 ? bestIndex : 0;
    {
        const QSignalBlocker blocker(selector);
        selector->setCurrentIndex(chosen);
    }
    phoneSelectionChanged(chosen);
    m_refreshing = false;

    // Copying to the phone needs room on its chosen memory.
    m_ui->toolButton_Copy2Phone->setEnabled(catalogue.memoryFree != 0);
    m_window->phoneRoomChanged(catalogue.memoryFree != 0);
    if (!rememberedFound)
        m_window->FillMyCollection();
    Q_EMIT phoneListRebuilt();
}

void CContextSwitcher::phonesUnavailable()
{
    m_phones.release();
    m_phones.clear();
    {
        const QSignalBlocker blocker(m_ui->comboBox_Phones);
        m_ui->comboBox_Phones->clear();
    }
    m_ui->menuSelectPhone->clear();
    Catalogue &catalogue = Catalogue::instance();
    catalogue.currentPhoneSerial.clear();
    catalogue.currentPhoneName.clear();
    catalogue.memoryTypes.clear();
    catalogue.memoryNames.clear();
    catalogue.memoryFree = 0;
    m_ui->label_MemorySelectionSize->setText(QString());
    if (m_window->isCollectionBuilding()) {
        // My collection is rebuilt once the builder is done.
        m_rebuildPending = true;
        m_ui->comboBox_Phones->setEnabled(false);
        m_ui->toolButton_Copy2Phone->setEnabled(false);
        clearMemoryBox();
        showDefaultPhonePicture();
    } else {
        showNoPhone();
    }
    Q_EMIT phoneListRebuilt();
}

void CContextSwitcher::showNoPhone()
{
    m_ui->comboBox_Phones->setEnabled(false);
    showDefaultPhonePicture();
    clearMemoryBox();
    resetPhoneSideOfMyCollection();
    m_ui->toolButton_Copy2Phone->setEnabled(false);
}

void CContextSwitcher::resetPhoneSideOfMyCollection()
{
    Catalogue &catalogue = Catalogue::instance();
    catalogue.phonePictures.clear();
    catalogue.myCollection.removeIf([](const FileItem &item) { return item.pc.name.isEmpty(); });
    for (FileItem &item : catalogue.myCollection)
        item.phone.clear();
    m_window->refillMyCollectionView();
}

void CContextSwitcher::clearMemoryBox()
{
    m_ui->label_MemoryCard->setText(QString());
    m_ui->label_MemoryAvail->setText(QString());
}

void CContextSwitcher::selectPhoneFromMenu(const QString &entryText)
{
    const int index = m_ui->comboBox_Phones->findText(entryText, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    if (index == m_ui->comboBox_Phones->currentIndex())
        phoneSelectionChanged(index);
    else
        m_ui->comboBox_Phones->setCurrentIndex(index);
}

void CContextSwitcher::phoneSelectionChanged(int index)
{
    if (index < 0)
        return;
    if (!m_refreshing)
        showDefaultPhonePicture();
    const QString serial = m_ui->comboBox_Phones->itemData(index).toString();
    m_window->m_lastPhoneId = serial;
    // Tasks queued while no phone is current take the selected phone's
    // video limits, which are kept by serial number.
    Catalogue::instance().selectedPhoneName = serial;
    showPhone(serial);
    m_window->FillMyCollection();
}

void CContextSwitcher::showPhone(const QString &serial)
{
    Orvak_API::PhoneInfo *phone = m_phones.findBySerial(serial);
    if (!phone || !phone->fileSystem()) {
        showDefaultPhonePicture();
        clearMemoryBox();
        return;
    }
    QList<Orvak_API::PhoneMemory *> memories;
    phone->getMemoryInfo(memories);
    Catalogue &catalogue = Catalogue::instance();
    catalogue.setCurrentPhone(phone);
    if (catalogue.memoryIndex >= 0 && catalogue.memoryIndex < memories.size()) {
        m_ui->label_MemoryAvail->setText(
            Formats::whiteText(Formats::sizeText(memories.at(catalogue.memoryIndex)->free, true)));
    }
    qDeleteAll(memories);
    showMemoryTitle();
}

void CContextSwitcher::showMemoryTitle()
{
    const Catalogue &catalogue = Catalogue::instance();
    QString title;
    if (catalogue.currentProfile() < 0)
        title = tr("Error");
    else if (catalogue.memoryIndex == 0)
        title = tr("Phone Memory");
    else if (catalogue.memoryIndex > 0 && catalogue.memoryIndex < catalogue.memoryNames.size())
        title = catalogue.memoryNames.at(catalogue.memoryIndex);
    QLabel *label = m_ui->label_MemoryCard;
    const QString elided = label->fontMetrics().elidedText(title, Qt::ElideRight, label->maximumWidth());
    label->setText(Formats::whiteText(Formats::escaped(elided)));
}

void CContextSwitcher::showDefaultPhonePicture()
{
    m_ui->phoneImage->setPhonePixmap(CTheme::pixmap(CTheme::PhoneImage));
}

void CContextSwitcher::showPhonePicture()
{
    QList<QImage> &pictures = Catalogue::instance().phonePictures;
    if (pictures.isEmpty()) {
        showDefaultPhonePicture();
        return;
    }
    QImage chosen = pictures.constLast();
    for (const QImage &picture : pictures) {
        if (picture.width() == 75 && picture.height() == 217) {
            chosen = picture;
            break;
        }
    }
    // Cut from the top-left corner to the picture's width and the widget's
    // height; a shorter picture keeps its place at the top.
    const QImage cut = chosen.copy(0, 0, chosen.width(), m_ui->phoneImage->minimumHeight());
    m_ui->phoneImage->setPhonePixmap(QPixmap::fromImage(cut));
    pictures.clear();
}
