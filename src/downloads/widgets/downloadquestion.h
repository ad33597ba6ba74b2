#pragma once

#include "copyquestion.h"

#include <QCoreApplication>

#include <functional>

// The program's copy question for a new download: "Do you want to copy '%1'
// directly to the phone also?" with "Remember my choice", asked as a themed
// message dialog (Ok, Cancel). Ok is yes, Cancel or closing is no; with the
// box ticked the answer becomes the remembered choice.
class CDownloadQuestion final : public CopyQuestion
{
    Q_DECLARE_TR_FUNCTIONS(CDownloadQuestion)

public:
    // Shows a message dialog of kind (1: Ok, Cancel) and returns its result:
    // 1 Ok, 3 Ok with the box ticked, 0 Cancel or closed, 4 Cancel ticked.
    using Ask = std::function<int(int kind, const QString &title, const QString &text, const QString &checkBoxText,
                                  const QString &note)>;

    // phoneListed tells whether the window's phone selector lists a phone.
    CDownloadQuestion(std::function<bool()> phoneListed, Ask ask);

    bool phoneListed() const override;
    bool askCopyToPhone(const QString &name) override;

private:
    std::function<bool()> m_phoneListed;
    Ask m_ask;
};
