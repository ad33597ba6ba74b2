#pragma once

#include <QToolButton>

// A page button of the settings dialog's page column: its icon above its
// text, white on the dark column, on the theme's ViewSelectorButton picture;
// the Highlighted picture while it is checked, that is while its page is
// the one on screen. With the keyboard focus a light line runs under it.
class CSettingsPageButton final : public QToolButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSettingsPageButton)

public:
    explicit CSettingsPageButton(QWidget *parent = nullptr);
    ~CSettingsPageButton() override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
