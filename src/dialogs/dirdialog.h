#pragma once

#include "dialog.h"

class QFileSystemModel;
class QTreeView;

// The themed folder picker: the PC's folders as a tree (hidden folders left
// out), with the buttons Help, New folder, OK and Cancel (object names
// "helpButton", "newFolderButton", "okButton", "cancelButton"; accessible
// names equal to their tooltips). New folder creates "New Folder" inside the
// current folder and opens its name for renaming in place. Help opens help
// topic 1070. Enter is OK, Escape is Cancel. Main thread only.
class CDirDialog final : public CDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDirDialog)

public:
    // Runs the dialog modally with caption as its title, starting at
    // startFolder (or the nearest folder above it that exists, else the
    // home folder). Returns the chosen folder's path with "/" separators, or
    // an empty text when the user cancels or selects nothing.
    static QString getFolder(QWidget *parent, const QString &startFolder, const QString &caption = QString());

    ~CDirDialog() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void newFolderButtonClicked();
    void helpButtonClicked();

private:
    CDirDialog(QWidget *parent, const QString &caption, const QString &startFolder);

    QString selectedFolder() const;
    // Makes the pinned folder current and visible again, once the model's
    // pending changes are in.
    void keepPinnedFolder();

    QFileSystemModel *m_model = nullptr;
    QTreeView *m_tree = nullptr;
    // The folder that stays current while the model changes under it: the
    // start folder, then a new folder; empty once the user picks one.
    QString m_pinnedFolder;
};
