#pragma once

#include <QComboBox>
#include <QMenu>
#include <QPointer>

// A menu that is never narrower than the width it is given.
class CFixedWidthMenu final : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CFixedWidthMenu)

public:
    explicit CFixedWidthMenu(QWidget *parent = nullptr);
    ~CFixedWidthMenu() override;

    void setMinimumWidthHint(int width);
    int minimumWidthHint() const { return m_minimumWidth; }
    QSize sizeHint() const override;

private:
    int m_minimumWidth = 0;
};

// A combo box whose popup is a themed menu as wide as the combo box, opening
// below it, instead of the standard list popup.
class CComboBox final : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CComboBox)

public:
    explicit CComboBox(QWidget *parent = nullptr);
    ~CComboBox() override;

    void showPopup() override;
    void hidePopup() override;

    // The open popup menu, or nullptr.
    CFixedWidthMenu *popupMenu() const { return m_menu; }

    // An item text padded with blanks so that its entry spans the combo box.
    QString paddedText(const QString &text, const QFontMetrics &metrics) const;

protected:
    void initStyleOption(QStyleOptionComboBox *option) const override;

private:
    void choose(QAction *action);

    QPointer<CFixedWidthMenu> m_menu;
};
