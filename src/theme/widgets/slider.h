#pragma once

#include <QSlider>

// A slider drawn from the theme: the Slider track, its Foreground fill up to
// the current position, and the SliderIndicator knob at the position.
class CSlider final : public QSlider
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSlider)

public:
    explicit CSlider(QWidget *parent = nullptr);
    explicit CSlider(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~CSlider() override;

    void setShowIndicator(bool show);
    bool showIndicator() const { return m_showIndicator; }
    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return m_highlighted; }

    // Share of the travel the position stands at, 0 to 1; 0 when the range
    // is empty.
    qreal fraction() const;
    // Where the knob is drawn, in widget coordinates.
    QRect indicatorRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_showIndicator = true;
    bool m_highlighted = false;
};
