#pragma once

#include <QToolButton>

// A tool button on a themed panel: the PanelButton image for its state and
// size behind the standard icon and text.
class CPanelButton final : public QToolButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPanelButton)

public:
    enum Size { Small = 0, Medium = 1, Large = 2 };

    explicit CPanelButton(QWidget *parent = nullptr);
    ~CPanelButton() override;

    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return m_highlighted; }
    // Also makes the button at least as large as its image.
    void setSize(int size);
    int size() const { return m_size; }
    void setDrawBackground(bool draw);
    bool drawsBackground() const { return m_drawBackground; }

    // The theme state of the background image for how the button is now.
    int themeState() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int sizeFlags() const;

    bool m_highlighted = false;
    int m_size = Medium;
    bool m_drawBackground = true;
};
