#include "sizegrip.h"

#include "theme.h"

CSizeGrip::CSizeGrip(QWidget *parent) : QSizeGrip(parent)
{
    const QSize size = CTheme::pixmap(CTheme::SizeGrip).deviceIndependentSize().toSize();
    setFixedSize(size.isEmpty() ? QSize(12, 12) : size);
}

CSizeGrip::~CSizeGrip() = default;
