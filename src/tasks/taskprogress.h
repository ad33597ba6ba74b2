#pragma once

#include <QString>

class QObject;

// What the task jobs tell the display of task progress (the main window's
// task progress bar). Any thread may call every function.
class TaskProgress
{
public:
    virtual ~TaskProgress() = default;

    virtual void copyStarted(const QString &fileName) = 0;
    virtual void copyProgress(int percent) = 0;
    virtual void copyFinished() = 0;
    virtual void conversionStarted(const QString &path) = 0;
    virtual void conversionFinished() = 0;
    // Where the converter posts its progress events.
    virtual QObject *conversionProgressTarget() = 0;
};
