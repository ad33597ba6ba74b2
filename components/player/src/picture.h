#pragma once

#include <QImage>
#include <QVideoFrame>
#include <QWidget>

// Draws the latest video frame over its whole rectangle, scaled to keep the
// frame's shape and centred; the rest is black. It lets every mouse event
// through to the window below it.
class Picture final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Picture)

public:
    explicit Picture(QWidget *window);
    ~Picture() override;

    void setFrame(const QVideoFrame &frame);
    // Back to plain black.
    void clear();

    // Where the frame is drawn now; empty without a frame.
    QRect frameRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVideoFrame m_frame;
    // Converted on first paint, so frames that are never shown cost nothing.
    QImage m_image;
    QSize m_frameSize;
};
