#include "dirdialog.h"

#include "formats.h"
#include "helpservice.h"
#include "messagedialog.h"
#include "panelbutton.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 1070;
constexpr QSize kDefaultSize(440, 500);
constexpr QSize kButtonIconSize(24, 24);

// The folder to open at: the start folder, else the nearest folder above it
// that exists, else the home folder.
QString existingFolder(const QString &start)
{
    QString folder = start.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(start));
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString above = QFileInfo(folder).path();
        if (above == folder)
            break;
        folder = above;
    }
    return QFileInfo(folder).isDir() ? QFileInfo(folder).absoluteFilePath() : QDir::homePath();
}

} // namespace

CDirDialog::CDirDialog(QWidget *parent, const QString &caption, const QString &startFolder)
    : CDialog(parent, caption.isEmpty() ? QStringLiteral("Orvak Tamsel") : caption)
{
    setObjectName(QStringLiteral("dirDialog"));
    resize(kDefaultSize);

    auto *content = new QVBoxLayout(contentFrame());
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(0);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 12, 14, 10);
    body->setSpacing(8);
    auto *hint = new QLabel(tr("Select folder from list and click OK"), contentFrame());
    hint->setObjectName(QStringLiteral("hintLabel"));
    hint->setWordWrap(true);
    body->addWidget(hint);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QDir::rootPath());

    m_tree = new QTreeView(contentFrame());
    m_tree->setObjectName(QStringLiteral("folderTree"));
    m_tree->setAccessibleName(tr("Folders"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setFrameShape(QFrame::NoFrame);
    m_tree->setUniformRowHeights(true);
    QPalette light = m_tree->palette();
    light.setColor(QPalette::Base, QColor(0xf7, 0xf9, 0xfb));
    light.setColor(QPalette::Highlight, QColor(0x3b, 0x9e, 0xff));
    light.setColor(QPalette::HighlightedText, Qt::white);
    m_tree->setPalette(light);
    body->addWidget(m_tree, 1);
    content->addLayout(body, 1);

    // Renaming is allowed only while the name of a new folder is open.
    connect(m_tree->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_model->setReadOnly(true); });

    QHBoxLayout *buttons = addButtonRow(content);
    const auto addButton = [this, buttons](const char *objectName, const QString &name, const QString &image) {
        CPanelButton *button = addIconButton(buttons, objectName, name);
        button->setIcon(QIcon(image));
        button->setIconSize(kButtonIconSize);
        return button;
    };
    CPanelButton *help = addButton("helpButton", tr("Help"), QStringLiteral(":/Images/Help.png"));
    connect(help, &QToolButton::clicked, this, &CDirDialog::helpButtonClicked);
    CPanelButton *newFolder =
        addButton("newFolderButton", tr("New folder"), QStringLiteral(":/Images/newfolder_icon.png"));
    connect(newFolder, &QToolButton::clicked, this, &CDirDialog::newFolderButtonClicked);
    buttons->addStretch();
    CPanelButton *ok = addButton("okButton", tr("OK"), QStringLiteral(":/Images/ok.png"));
    connect(ok, &QToolButton::clicked, this, &QDialog::accept);
    setEnterButton(ok);
    CPanelButton *cancel = addButton("cancelButton", tr("Cancel"), QStringLiteral(":/Images/cancel.png"));
    connect(cancel, &QToolButton::clicked, this, &QDialog::reject);

    m_pinnedFolder = existingFolder(startFolder);
    const QModelIndex current = m_model->index(m_pinnedFolder);
    // The start folder opens with its subfolders in view.
    for (QModelIndex open = current; open.isValid(); open = open.parent())
        m_tree->expand(open);
    m_tree->setCurrentIndex(current);
    // The model reads folders in the background, sorts what it read later
    // and follows renames through the file system's notices, so rows come
    // and go under the current folder: it is chosen again by its path each
    // time, until the user picks a folder in the tree.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CDirDialog::keepPinnedFolder);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CDirDialog::keepPinnedFolder);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &CDirDialog::keepPinnedFolder);
    connect(m_model, &QFileSystemModel::fileRenamed, this,
            [this](const QString &folder, const QString &oldName, const QString &newName) {
                if (QDir(folder).filePath(oldName) == m_pinnedFolder)
                    m_pinnedFolder = QDir(folder).filePath(newName);
                keepPinnedFolder();
            });
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    keepPinnedFolder();
    m_tree->setFocus();
}

CDirDialog::~CDirDialog() = default;

void CDirDialog::keepPinnedFolder()
{
    QTimer::singleShot(0, this, [this] {
        if (m_pinnedFolder.isEmpty())
            return;
        const QModelIndex pinned = m_model->index(m_pinnedFolder);
        if (!pinned.isValid())
            return;
        if (m_tree->currentIndex() != pinned)
            m_tree->setCurrentIndex(pinned);
        m_tree->scrollTo(pinned, QAbstractItemView::PositionAtCenter);
    });
}

bool CDirDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The user's own choice in the tree ends the pinning. Keys typed into a
    // new folder's name reach the tree too, when the name field passes them
    // on; they are not a choice.
    const bool click = event->type() == QEvent::MouseButtonPress && watched == m_tree->viewport();
    const bool key = event->type() == QEvent::KeyPress && QApplication::focusWidget() == m_tree;
    if (click || key)
        m_pinnedFolder.clear();
    return CDialog::eventFilter(watched, event);
}

QString CDirDialog::getFolder(QWidget *parent, const QString &startFolder, const QString &caption)
{
    QPointer<CDirDialog> dialog = new CDirDialog(parent, caption, startFolder);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return QString();
    const QString folder = accepted ? dialog->selectedFolder() : QString();
    delete dialog.data();
    return folder;
}

QString CDirDialog::selectedFolder() const
{
    // The selection may be on its way back to the pinned folder after the
    // model moved rows; the pinned folder is what the user sees chosen.
    if (!m_pinnedFolder.isEmpty() && QFileInfo(m_pinnedFolder).isDir())
        return m_pinnedFolder;
    const QModelIndexList rows = m_tree->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : m_model->filePath(rows.constFirst());
}

void CDirDialog::newFolderButtonClicked()
{
    const QModelIndex parent = m_tree->currentIndex();
    if (!parent.isValid())
        return;
    const QString name = tr("New Folder");
    m_model->setReadOnly(false);
    const QModelIndex created = m_model->mkdir(parent, name);
    if (!created.isValid()) {
        m_model->setReadOnly(true);
        const QString folder = m_model->filePath(parent);
        const QString text = QDir(folder).exists(name)
                                 ? tr("A folder named \"%1\" already exists here. Rename it, or choose another "
                                      "folder first.")
                                       .arg(Formats::escaped(name))
                                 : tr("The folder \"%1\" could not be created in %2.")
                                       .arg(Formats::escaped(name), Formats::escaped(QDir::toNativeSeparators(folder)));
        CMessageDialog::ask(CMessageDialog::OkButton, tr("New folder"), text);
        return;
    }
    m_tree->expand(parent);
    m_pinnedFolder = m_model->filePath(created);
    m_tree->setCurrentIndex(created);
    m_tree->scrollTo(created);
    m_tree->edit(created);
    if (!m_tree->indexWidget(created))
        m_model->setReadOnly(true);
}

void CDirDialog::keyPressEvent(QKeyEvent *event)
{
    // Enter in a folder name being typed finishes the name, not the dialog.
    const bool renaming = m_tree->indexWidget(m_tree->currentIndex()) != nullptr;
    if (renaming && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->accept();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CDirDialog::helpButtonClicked()
{
    Help::openHelp(kHelpTopic);
}
