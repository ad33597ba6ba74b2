#pragma once

#include <QFrame>
#include <QIcon>

class FileItem;
class LumoTreeView;
class QToolButton;
class TreeItem;

// The two buttons of a My collection row: one for the PC side, one for the
// phone side. Each shows what a click does (copy there, copy a newer version
// there, or remove from there) and does it, asking first where a file would
// be removed or overwritten.
class StorageBtns final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StorageBtns)

public:
    StorageBtns(LumoTreeView *view, TreeItem *row);
    ~StorageBtns() override;

    // Icons again from the theme, then both buttons.
    void refresh();
    // Both buttons from the item's sync states; an undetermined side counts
    // as missing from now on.
    void refreshButtons();
    void setPhoneConnected(bool connected);

    QToolButton *pcButton() const { return m_pcButton; }
    QToolButton *phoneButton() const { return m_phoneButton; }
    // The job kinds the buttons stand for: 2 remove from My collection, 4 copy
    // there; 3 remove from the phone, 5 copy there; 6 before the first refresh.
    int pcAction() const { return m_pcAction; }
    int phoneAction() const { return m_phoneAction; }
    FileItem *fileItem() const;
    TreeItem *row() const { return m_row; }

public Q_SLOTS:
    void PcClicked();
    void PhoneClicked();

private:
    LumoTreeView *m_view;
    TreeItem *m_row;
    QToolButton *m_pcButton;
    QToolButton *m_phoneButton;
    QIcon m_pcIcon;
    QIcon m_phoneIcon;
    QIcon m_pcRemove, m_pcCopy, m_pcCopyNew, m_pcRemoveNew;
    QIcon m_phoneRemove, m_phoneCopy, m_phoneCopyNew, m_phoneRemoveNew;
    int m_pcAction = 6;
    int m_phoneAction = 6;
    bool m_phoneConnected = false;
};
