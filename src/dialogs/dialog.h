#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QPoint>

#include <array>

class CPanelButton;
class QHBoxLayout;
class QLabel;
class QPainter;
class QVBoxLayout;

// The program's own dialog frame, drawn from the theme instead of the
// platform's: a dark title band with the dialog's icon, its title and a close
// button, a thin bumper under the band, a white body and a light panel along
// the bottom edge where the buttons go. Dragging the top 30 pixels moves the
// dialog. Subclasses put their content into contentFrame(), whose margins
// already keep it inside the frame's border; a row of buttons given
// bottomPanelHeight() at the bottom of the content sits on the bottom panel.
//
// The close button (object name "closeButton", accessible name "Close")
// rejects the dialog, as Escape does. Main thread only.
class CDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDialog)

public:
    // Variant 1 has the small bottom panel (message boxes), every other value
    // the tall one.
    enum Variant { TallBottomPanel = 0, SmallBottomPanel = 1 };

    explicit CDialog(QWidget *parent = nullptr, const QString &title = QString());
    ~CDialog() override;

    // The picture left of the title, shown in a 28 x 16 label; the theme's
    // small application icon until set.
    void setDialogIcon(const QPixmap &icon);
    void setVariant(int variant);
    int variant() const { return m_variant; }
    QWidget *contentFrame() const { return m_contentFrame; }
    // Logical height of the bottom panel of the current variant.
    int bottomPanelHeight() const;
    QString dialogTitle() const;

    // Presses this far from the top edge (in pixels) drag the dialog.
    static constexpr int kDragBandHeight = 30;

public Q_SLOTS:
    // Sets the window title and the title shown in the band.
    void setDialogTitle(const QString &title);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Makes button one of the dialog's keyboard buttons: Tab reaches it, it
    // shows its highlighted panel while it has the focus, and Enter presses
    // it then. Icon buttons are tool buttons, which Enter does not reach on
    // its own.
    void addKeyboardButton(CPanelButton *button);
    // The button Enter presses while no keyboard button has the focus.
    void setEnterButton(CPanelButton *button) { m_enterButton = button; }

    // A row for the dialog's buttons at the end of layout (the content
    // frame's), as high as the bottom panel, so it sits on the panel. Set
    // the variant first: the row keeps the height it was made with.
    QHBoxLayout *addButtonRow(QVBoxLayout *layout);
    // A small icon button appended to such a row, with name as its tooltip
    // and accessible name, made a keyboard button. The caller sets the icon
    // and connects it.
    CPanelButton *addIconButton(QHBoxLayout *row, const char *objectName, const QString &name);

    // Paints the frame over the whole dialog. A subclass that paints a
    // picture of its own behind the frame (the wizard's page) passes false,
    // so that the white body piece does not cover it.
    void paintFrame(QPainter *painter, bool withBody = true) const;

private:
    enum Piece { TopLeft, TopCenter, TopRight, MiddleLeft, MiddleCenter, MiddleRight, BottomLeft, BottomCenter,
                 BottomRight, PieceCount };

    std::array<QPixmap, PieceCount> m_pieces;
    int m_variant = TallBottomPanel;
    QPoint m_dragOffset;
    bool m_dragging = false;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    CPanelButton *m_closeButton = nullptr;
    QWidget *m_contentFrame = nullptr;
    QList<CPanelButton *> m_keyboardButtons;
    CPanelButton *m_enterButton = nullptr;
};
