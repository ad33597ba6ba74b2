#pragma once

// What the task tests share: a display of task progress that can hold a job
// at the moment it reports, and counts what it sees.

#include "taskprogress.h"

#include <QEvent>
#include <QObject>
#include <QSemaphore>
#include <QString>

#include <atomic>

namespace TestSupport {

// Counts the converter's progress events.
class EventCounter final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() >= QEvent::User && e->type() <= QEvent::MaxUser) {
            ++count;
            return true;
        }
        return QObject::event(e);
    }
    std::atomic<int> count{0};
};

// The jobs' progress display. holdConversion / holdCopy make the next
// conversion or copy wait where it reports its start (the converter exists,
// the source is not open yet; the phone is found, the copy not begun) until
// the test releases it: the test then knows where the job is.
class GatedProgress final : public TaskProgress
{
public:
    void copyStarted(const QString &) override { gate(holdCopy); }
    void copyProgress(int percent) override { lastCopyPercent = percent; }
    void copyFinished() override {}
    void conversionStarted(const QString &) override
    {
        const int now = ++activeConversions;
        for (int seen = maxConversions.load(); now > seen && !maxConversions.compare_exchange_weak(seen, now);) {
        }
        gate(holdConversion);
    }
    void conversionFinished() override { --activeConversions; }
    QObject *conversionProgressTarget() override { return &events; }

    void reset()
    {
        holdConversion = holdCopy = false;
        activeConversions = maxConversions = 0;
        lastCopyPercent = -1;
        events.count = 0;
    }

    std::atomic<bool> holdConversion{false};
    std::atomic<bool> holdCopy{false};
    // Released when a held job has arrived; the test releases `resume`.
    QSemaphore arrived;
    QSemaphore resume;
    // Conversions between their start and end reports, and the most at once.
    std::atomic<int> activeConversions{0};
    std::atomic<int> maxConversions{0};
    std::atomic<int> lastCopyPercent{-1};
    EventCounter events;

private:
    void gate(std::atomic<bool> &hold)
    {
        if (!hold.exchange(false))
            return;
        arrived.release();
        resume.acquire();
    }
};

} // namespace TestSupport
