#include "firstdialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

C1stDialog::C1stDialog(const QVariantMap &values, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("C1stDialog"));
    setWindowTitle(tr("Welcome to Orvak Tamsel"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Choose where your converted videos are kept and where to look for videos."), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    m_collection = addFolderRow(form, tr("My collection folder:"), values.value(QStringLiteral("MyCollectionFolder")).toString());
    m_scan = addFolderRow(form, tr("Scan folder:"), values.value(QStringLiteral("ScanFolder")).toString());
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Finish"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QLineEdit *C1stDialog::addFolderRow(QFormLayout *form, const QString &label, const QString &folder)
{
    auto *row = new QHBoxLayout;
    auto *edit = new QLineEdit(folder, this);
    auto *browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, [this, edit] {
        const QString chosen = QFileDialog::getExistingDirectory(this, QString(), edit->text());
        if (!chosen.isEmpty())
            edit->setText(chosen);
    });
    row->addWidget(edit);
    row->addWidget(browse);
    form->addRow(label, row);
    return edit;
}

QVariantMap C1stDialog::values() const
{
    return {{QStringLiteral("MyCollectionFolder"), m_collection->text()},
            {QStringLiteral("ScanFolder"), m_scan->text()}};
}
