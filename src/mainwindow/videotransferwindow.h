#pragma once

#include <QWidget>

class QLabel;

// Stand-in for the program's main window while the real one is being built:
// it carries the window title the program is known by, receives hand-overs
// from a second start and shows the last one, and takes the start-scan
// command. The themed main window replaces it.
class CVideoTransferWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CVideoTransferWindow)

public:
    explicit CVideoTransferWindow(QWidget *parent = nullptr);

    // A hand-over from a second start. Accepts only the program's own marker.
    bool handOver(quint32 marker, const QByteArray &data);

    QString lastHandOver() const { return m_lastHandOver; }
    bool scanRequested() const { return m_scanRequested; }

public Q_SLOTS:
    void on_toolButton_StartScan_clicked();

Q_SIGNALS:
    void argumentReceived(const QString &argument);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void openArgument(const QString &argument);

    QLabel *m_status = nullptr;
    QString m_lastHandOver;
    bool m_scanRequested = false;
    bool m_shownOnce = false;
};
