#pragma once

#include <QDialog>
#include <QVariantMap>

class QLineEdit;

// Stand-in for the first-run wizard until the themed wizard exists: it offers
// the proposed My collection and scan folders, lets the user change them and
// hands them back under the same names it was given ("MyCollectionFolder",
// "ScanFolder").
class C1stDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(C1stDialog)

public:
    explicit C1stDialog(const QVariantMap &values, QWidget *parent = nullptr);

    QVariantMap values() const;

private:
    QLineEdit *addFolderRow(class QFormLayout *form, const QString &label, const QString &folder);

    QLineEdit *m_collection = nullptr;
    QLineEdit *m_scan = nullptr;
};
