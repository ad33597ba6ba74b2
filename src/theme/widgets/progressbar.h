#pragma once

#include <QProgressBar>

// A progress bar drawn as the theme's ProgressBar: the Background
// three-slice over the whole width, and the Foreground three-slice showing
// through from the left edge as far as value / maximum of the width.
class CProgressBar : public QProgressBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CProgressBar)

public:
    explicit CProgressBar(QWidget *parent = nullptr);
    ~CProgressBar() override;

    // Width in pixels of the filled part for the current value and maximum.
    int filledWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
