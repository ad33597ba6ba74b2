#include "picture.h"

#include <QPainter>

Picture::Picture(QWidget *window) : QWidget(window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

Picture::~Picture() = default;

void Picture::setFrame(const QVideoFrame &frame)
{
    if (!frame.isValid())
        return;
    m_frame = frame;
    m_image = QImage();
    m_frameSize = frame.size();
    update();
}

void Picture::clear()
{
    m_frame = QVideoFrame();
    m_image = QImage();
    m_frameSize = QSize();
    update();
}

QRect Picture::frameRect() const
{
    if (m_frameSize.isEmpty() || rect().isEmpty())
        return QRect();
    const QSize fitted = m_frameSize.scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void Picture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_image.isNull() && m_frame.isValid()) {
        m_image = m_frame.toImage();
        // Hands the decoder's buffer back at once.
        m_frame = QVideoFrame();
    }
    const QRect target = frameRect();
    if (m_image.isNull() || target.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}
