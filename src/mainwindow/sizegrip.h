#pragma once

#include <QSizeGrip>

// The main window's size grip in its bottom-right corner, as large as the
// theme's picture of it, which the application style paints.
class CSizeGrip final : public QSizeGrip
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSizeGrip)

public:
    explicit CSizeGrip(QWidget *parent);
    ~CSizeGrip() override;
};
