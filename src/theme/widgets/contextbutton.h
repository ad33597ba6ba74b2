#pragma once

#include <QPushButton>

// One of the main window's context (view selector) buttons: white text on
// the ViewSelectorButton image, the Highlighted image while its context is
// the active one.
class CContextButton final : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CContextButton)

public:
    explicit CContextButton(QWidget *parent = nullptr);
    explicit CContextButton(const QString &text, QWidget *parent = nullptr);
    ~CContextButton() override;

    void setActive(bool active);
    bool isActive() const { return m_active; }

private:
    void applyTheme();

    bool m_active = false;
};
