#pragma once

#include <QSplashScreen>

// The start-up picture, shaped to a rounded rectangle.
class CSplashScreen final : public QSplashScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSplashScreen)

public:
    explicit CSplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags = {});

protected:
    void resizeEvent(QResizeEvent *event) override;
};
