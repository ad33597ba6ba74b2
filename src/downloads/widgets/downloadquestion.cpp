#include "downloadquestion.h"

#include "settingsstore.h"

namespace {

enum Result { Ok = 1, OkTicked = 3, Cancel = 0, CancelTicked = 4 };
constexpr int kOkCancel = 1;

} // namespace

CDownloadQuestion::CDownloadQuestion(std::function<bool()> phoneListed, Ask ask)
    : m_phoneListed(std::move(phoneListed)), m_ask(std::move(ask))
{
}

bool CDownloadQuestion::phoneListed() const
{
    return m_phoneListed && m_phoneListed();
}

bool CDownloadQuestion::askCopyToPhone(const QString &name)
{
    if (!m_ask)
        return false;
    // The name comes from a web page: shown as text, never as markup.
    const int result = m_ask(kOkCancel, tr("Orvak Tamsel"),
                             tr("Do you want to copy '%1' directly to the phone also?").arg(name.toHtmlEscaped()),
                             tr("Remember my choice"), tr("You can change your decision from downloads settings."));
    const bool copy = result == Ok || result == OkTicked;
    if (result == OkTicked || result == CancelTicked)
        Settings::setDownloadToPhone(copy ? 1 : 0);
    return copy;
}
