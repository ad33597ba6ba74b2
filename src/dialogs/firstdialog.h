#pragma once

#include "wizarddialog.h"

#include <QPixmap>
#include <QVariantMap>

#include <array>
#include <memory>

namespace Ui {
class C1stDialogClass;
}

// The first-run wizard: page 1 welcomes the user, page 2 asks for the My
// collection folder ("mcflEdit") and the scanning root folder ("slEdit").
// Next on page 2 accepts the dialog only when both name existing folders;
// each field that does not is reported ("Please type in a valid folder.",
// titled "My Collection Folder" or "Scan Folder") and reset to the value
// handed in. Closing the wizard in any other way (the close button, Escape)
// rejects it. Buttons: "helpButton", "bkButton", "fwdButton" (accessible
// names "Help", "Back", "Next"), browse buttons "mcfbBrowse" and "sbBrowse".
// Enter is Next, F1 is Help. Fixed at 607 x 489, centred on the primary
// screen, with rounded corners.
//
// Use: construct, setValues(map), exec(); when accepted, getValues(map).
class C1stDialog final : public CWizardDlg
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(C1stDialog)

public:
    static constexpr QSize kSize{607, 489};
    // The help balloon's size.
    static constexpr QSize kHelpSize{597, 280};

    explicit C1stDialog(QWidget *parent = nullptr);
    ~C1stDialog() override;

    // Fills the fields from "MyCollectionFolder" and "ScanFolder" (text)
    // and keeps both as the values an invalid entry is reset to.
    void setValues(const QVariantMap &values);
    // Writes the fields' texts into values under the same two keys.
    void getValues(QVariantMap &values) const;

    // 0 or 1, the page on screen.
    int currentPage() const;

private Q_SLOTS:
    void on_sbBrowse_clicked();
    void on_mcfbBrowse_clicked();
    void on_fwdButton_clicked();
    void on_bkButton_clicked();
    void on_helpButton_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPage(int page);

    std::unique_ptr<Ui::C1stDialogClass> m_ui;
    std::array<QPixmap, 2> m_pagePictures;
    QString m_collectionFolder;
    QString m_scanFolder;
};
