#pragma once

#include "taskprogress.h"
#include "taskprogressbar.h"

// Shows the jobs' progress in the main window's task progress bar. Each copy
// job moves one file. Any thread may call it, as the bar allows.
class TaskProgressBarAdapter final : public TaskProgress, private CTaskProgressJob
{
public:
    explicit TaskProgressBarAdapter(CTaskProgressBar *bar) : m_bar(bar) {}

    // Copies report percentages: the one file counts 100.
    void copyStarted(const QString &fileName) override
    {
        m_bar->startCopy(this, fileName);
        m_bar->setCopyMaximum(100);
    }
    void copyProgress(int percent) override { m_bar->setCopyProgress(percent); }
    void copyFinished() override { m_bar->copyFinished(); }
    void conversionStarted(const QString &path) override { m_bar->startConversion(path); }
    void conversionFinished() override { m_bar->conversionFinished(); }
    QObject *conversionProgressTarget() override { return m_bar->conversionProgressTarget(); }

private:
    int fileCount() const override { return 1; }

    CTaskProgressBar *m_bar;
};
