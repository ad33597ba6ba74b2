#pragma once

#include <QString>

// What the download manager asks the user's side when a link arrives: is a
// phone listed, and should the video also go to the phone. The program's
// window answers with its phone selector and its themed question; a caller
// without a window gives none and nothing is copied.
class CopyQuestion
{
public:
    virtual ~CopyQuestion() = default;

    // Whether the phone selector lists a phone now.
    virtual bool phoneListed() const = 0;
    // Asks whether the download named name goes to the phone too. Stores the
    // answer as the remembered choice when the user asks for that.
    virtual bool askCopyToPhone(const QString &name) = 0;
};

namespace CopyToPhone {

// The decision for a new download: no phone listed, no copy; a remembered
// choice decides without asking; otherwise the question does.
bool decide(CopyQuestion *question, const QString &name);

} // namespace CopyToPhone
