#pragma once

#include "copyquestion.h"

#include <QCoreApplication>

#include <functional>

// The program's copy question for a new download: "Do you want to copy '%1'
// directly to the phone also?" with "Remember my choice", asked as the
// themed message dialog (Ok, Cancel). Ok is yes, Cancel or closing is no;
// with the box ticked the answer becomes the remembered choice. Main thread
// only.
class CDownloadQuestion final : public CopyQuestion
{
    Q_DECLARE_TR_FUNCTIONS(CDownloadQuestion)

public:
    // phoneListed tells whether the window's phone selector lists a phone.
    explicit CDownloadQuestion(std::function<bool()> phoneListed);

    bool phoneListed() const override;
    bool askCopyToPhone(const QString &name) override;

private:
    std::function<bool()> m_phoneListed;
};
