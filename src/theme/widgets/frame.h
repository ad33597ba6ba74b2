#pragma once

#include <QFrame>
#include <QPixmap>

// A frame with up to three pictures drawn over it after the standard frame:
// one stretched over everything, or a first, middle and last piece along
// the height or the width.
class CFrame final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CFrame)

public:
    enum Mode { NoPictures = 0, Single = 1, Vertical = 2, Horizontal = 3 };

    explicit CFrame(QWidget *parent = nullptr);
    ~CFrame() override;

    void setPixmaps(const QPixmap &first, const QPixmap &middle, const QPixmap &last);
    void setMode(int mode);
    int mode() const { return m_mode; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_first;
    QPixmap m_middle;
    QPixmap m_last;
    int m_mode = NoPictures;
};
