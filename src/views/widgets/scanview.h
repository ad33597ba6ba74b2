#pragma once

#include "lumotreeview.h"

class CViewHost;

// The list of the "Scan results" context: the videos the folder scans
// found. Rows can be dragged out, onto the phone's picture.
class ScanView final : public LumoTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScanView)

public:
    explicit ScanView(CViewHost *host, QWidget *parent = nullptr);
    ~ScanView() override;

    // Fills the list again from the catalogue's scan results.
    void refill();
    // A row for a video the running scan has just found.
    TreeItem *addItem(FileItem *item);

public Q_SLOTS:
    void itemSelectionChanged();
    void itemDoubleClicked(QTreeWidgetItem *row, int column);
    void SectionClicked(int column);
    void menu_sortbyName();
    void menu_sortbyLenght();
    void menu_sortbySize();
    void menu_sortbyType();
    void menu_sortbyCreated();
    void menu_sortbyLocation();
    void menu_remove();

protected:
    // Enter plays the current video, as a double click does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isScanning() const;

    CViewHost *m_host;
};
