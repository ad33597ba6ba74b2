#pragma once

#include <QPointer>
#include <QWidget>

class QTextEdit;
class QTimer;
class CPanelButton;

// A help balloon that slides up out of the lower part of a dialog: every
// 25 ms it grows by 10 pixels up to 102 pixels and moves 10 pixels up, until
// its top reaches its target line, kTargetDistance pixels below the top of
// the anchor. It sits 5 pixels right of the anchor's left edge and follows
// the anchor's window when that moves. The close button ("closeButton",
// accessible name "Close") hides it. Main thread only.
class CToolTip final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CToolTip)

public:
    static constexpr int kTickMilliseconds = 25;
    static constexpr int kGrowStep = 10;
    static constexpr int kFullHeight = 102;
    static constexpr int kStartBelowTarget = 120;
    static constexpr int kAnchorOffsetX = 5;
    // How far below the anchor's top the balloon comes to rest.
    static constexpr int kTargetDistance = 300;

    // Creates a balloon for anchor, owned by the anchor's window, as wide as
    // size, shows text in it and slides it up. text is plain (lines broken
    // by "\n") or rich text (program texts with <br>).
    static CToolTip *showBalloon(QWidget *anchor, QSize size, const QString &text);

    // Shows text in this balloon and slides it up again.
    void showText(const QString &text);
    QString text() const;

    ~CToolTip() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    // One step of the slide.
    void slideStep();

private:
    CToolTip(QWidget *anchor, int width);

    // The global y of the line the balloon's top slides up to.
    int targetLine() const;
    void placeAt(int top);

    QPointer<QWidget> m_anchor;
    QTextEdit *m_text = nullptr;
    CPanelButton *m_closeButton = nullptr;
    QTimer *m_timer = nullptr;
    // How far the balloon's top still is below its target line.
    int m_distance = 0;
};
