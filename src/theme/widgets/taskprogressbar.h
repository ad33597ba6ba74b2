#pragma once

#include "progressbar.h"

#include <QMutex>

// What the task progress bar needs to know of the copy it follows.
class CTaskProgressJob
{
public:
    virtual ~CTaskProgressJob() = default;
    // How many files the copy moves; asked once, when the first file starts.
    virtual int fileCount() const = 0;
};

// One bar for the two things the task system does at once: copying files to
// or from the phone, and converting a video. Both channels keep their values
// all the time; the bar shows one of them. A conversion that starts while a
// copy is shown waits in the background until the copy finishes.
//
// Any thread may call the start/finish functions and the slots: the values
// are stored at once under a lock, and the bar repaints on its own thread
// through the queued updateMe() -> updateProgress() connection.
//
// Copy progress arrives either through setCopyProgress() or as component
// events posted to the bar (2025 a file of the given size starts, 2026 bytes
// done in the current file, 2028 the current file's size), each file
// counting 100. Conversion progress arrives as the same three events posted
// to conversionProgressTarget() (a pass of the given length begins, the
// position in the pass, a new pass length), each pass counting 100; events
// left over from an earlier copy or conversion are dropped when the next
// one starts.
class CTaskProgressBar final : public CProgressBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTaskProgressBar)

public:
    enum Channel { Copy = 0, Conversion = 1 };

    explicit CTaskProgressBar(QWidget *parent = nullptr);
    ~CTaskProgressBar() override;

    // job is not owned; it must outlive the copy (until copyFinished()).
    void startCopy(CTaskProgressJob *job, const QString &path);
    void startConversion(const QString &path);
    void copyFinished();
    void conversionFinished();

    Channel shownChannel() const;
    QString copyName() const;
    QString conversionName() const;
    bool isCopyActive() const;
    bool isConversionActive() const;
    int channelValue(Channel channel) const;
    int channelMaximum(Channel channel) const;

    // The object the converter posts its progress events to.
    QObject *conversionProgressTarget() const;

Q_SIGNALS:
    void taskChanged();
    void updateMe();

public Q_SLOTS:
    void setCopyProgress(int value);
    void setCopyMaximum(int maximum);
    void setConversionProgress(int value);
    void setConversionMaximum(int maximum);
    void updateProgress();

protected:
    bool event(QEvent *event) override;

private:
    friend class ConversionProgressReceiver;
    void handleConversionEvent(QEvent *event);
    void setChannelValue(Channel channel, int value, bool maximum);

    mutable QMutex m_mutex;
    int m_values[2] = {0, -1};
    int m_maxima[2] = {0, 100};
    QString m_names[3];
    bool m_active[2] = {false, false};
    Channel m_shown = Copy;
    CTaskProgressJob *m_job = nullptr;
    int m_filesDone = -1;
    int m_fileCount = -1;
    qint64 m_currentFileSize = 0;
    int m_passesDone = -1;
    qint64 m_passLength = 0;
    QObject *m_conversionTarget;
};
