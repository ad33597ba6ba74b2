#pragma once

#include <QSplashScreen>

// The picture shown while the program starts, with rounded corners: on every
// resize its shape is masked to a rounded rectangle over its whole area,
// 6 % of half its width and 11 % of half its height round. A shadow, where
// there is one, is the compositor's. Start-up shows it with the theme's
// SplashScreen picture and finishes it on the main window.
class CSplashScreen final : public QSplashScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSplashScreen)

public:
    explicit CSplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags = {});
    ~CSplashScreen() override;

    // The shape of a splash screen of that size.
    static QRegion roundedShape(const QSize &size);

    static constexpr qreal kCornerRoundnessX = 6;
    static constexpr qreal kCornerRoundnessY = 11;

protected:
    void resizeEvent(QResizeEvent *event) override;
};
