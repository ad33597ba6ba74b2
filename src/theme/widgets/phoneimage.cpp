#include "phoneimage.h"

#include <QDragEnterEvent>
#include <QDropEvent>

CPhoneImage::CPhoneImage(QWidget *parent) : QLabel(parent)
{
    setAcceptDrops(true);
}

CPhoneImage::~CPhoneImage() = default;

void CPhoneImage::setNoPhonePixmap(const QPixmap &pixmap)
{
    m_noPhone = pixmap;
    choosePixmap();
}

void CPhoneImage::setNotReadyPixmap(const QPixmap &pixmap)
{
    m_notReady = pixmap;
    choosePixmap();
}

void CPhoneImage::setPhonePixmap(const QPixmap &pixmap)
{
    m_phone = pixmap;
    choosePixmap();
}

void CPhoneImage::setPhonePresent(bool present)
{
    m_present = present;
    choosePixmap();
}

void CPhoneImage::setPhoneReady(bool ready)
{
    m_ready = ready;
    choosePixmap();
}

void CPhoneImage::setDropHandler(CPhoneDropHandler *handler)
{
    m_dropHandler = handler;
}

void CPhoneImage::choosePixmap()
{
    if (!m_present)
        setPixmap(m_noPhone);
    else if (!m_ready)
        setPixmap(m_notReady);
    else
        setPixmap(m_phone);
}

bool CPhoneImage::acceptsDrops() const
{
    return m_dropHandler && m_dropHandler->currentContext() == kScanResultsContext;
}

void CPhoneImage::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrops())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CPhoneImage::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsDrops())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CPhoneImage::dropEvent(QDropEvent *event)
{
    // The context may have changed while the drag was under way.
    if (!acceptsDrops()) {
        event->ignore();
        return;
    }
    m_dropHandler->copySelectedScanResultsToPhone();
    event->acceptProposedAction();
}
