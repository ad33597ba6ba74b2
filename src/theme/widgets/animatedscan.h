#pragma once

#include <QProgressBar>

class QTimer;

// The busy bar shown while a folder scan runs: the theme's BusyBar track
// with its animation frames played over it.
class CAnimatedScan : public QProgressBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAnimatedScan)

public:
    explicit CAnimatedScan(QWidget *parent = nullptr);
    ~CAnimatedScan() override;

    // Advances one frame every intervalMs milliseconds.
    void startAnimation(int intervalMs);
    int frameIndex() const { return m_frame; }
    bool isAnimating() const;

public Q_SLOTS:
    // Stops and shows the first frame again.
    void stopAnimation();

protected:
    void paintEvent(QPaintEvent *event) override;

private Q_SLOTS:
    void advanceAnimation();

private:
    int m_frame = 0;
    QTimer *m_timer;
};
