#pragma once

#include <QSet>
#include <QString>

class Catalogue;

// What a task's jobs need to know of the catalogue: the phone to work on, its
// video folder, the conversion quality and the names of My collection's phone
// videos. Taken on the main thread when the task is queued, so that jobs never
// read the catalogue's lists or current-phone fields from their own threads,
// where the main thread may be changing them. A task therefore goes to the
// phone that was current when it was queued.
struct TaskContext
{
    QString phoneSerial;      // empty without a current phone
    QString phoneVideoFolder; // on the chosen memory
    QString capabilitiesKey;  // whose video limits apply: the serial, else the selected phone's name
    int quality = 1;          // 0 Low, 1 Medium, 2 High
    QSet<QString> phoneNames; // see Catalogue::phoneNames()

    // Main thread only.
    static TaskContext capture(const Catalogue &catalogue);
};
