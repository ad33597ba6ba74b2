#pragma once

#include "dialog.h"

// The about box: the program's icon, name and version on the theme's about
// background, and the legal notice on its panel. The close button, Enter and
// Escape close it. Main thread only.
class CAboutDialog final : public CDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDialog)

public:
    explicit CAboutDialog(QWidget *parent = nullptr);
    ~CAboutDialog() override;

    static QString versionNumber();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
