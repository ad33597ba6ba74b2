#include "videotransferwindow.h"

#include "singleinstance.h"
#include "startargument.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcMainWindow, "tamsel.mainwindow")

CVideoTransferWindow::CVideoTransferWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Orvak Tamsel"));
    auto *layout = new QVBoxLayout(this);
    m_status = new QLabel(tr("No ongoing tasks."), this);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
}

bool CVideoTransferWindow::handOver(quint32 marker, const QByteArray &data)
{
    if (marker != HandOverServer::HandOverMarker)
        return false;
    openArgument(QString::fromLocal8Bit(data));
    // A hand-over brings the running copy to the user.
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    return true;
}

void CVideoTransferWindow::openArgument(const QString &argument)
{
    m_lastHandOver = argument;
    m_status->setText(tr("Opened: %1").arg(argument));
    qCInfo(lcMainWindow).noquote() << "argument received:" << argument;
    Q_EMIT argumentReceived(argument);
}

void CVideoTransferWindow::on_toolButton_StartScan_clicked()
{
    m_scanRequested = true;
    qCInfo(lcMainWindow) << "scan requested";
}

void CVideoTransferWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The first copy's own argument is handled like one handed over later.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        openArgument(normalizedArgument(arguments.at(1)));
}
