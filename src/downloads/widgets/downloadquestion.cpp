#include "downloadquestion.h"

#include "formats.h"
#include "messagedialog.h"
#include "settingsstore.h"

namespace {

// A name too long for one line of the dialog, which cannot break a word,
// is shortened in the middle: its start and end are what tell it apart.
QString shownName(const QString &name)
{
    constexpr int kLongest = 60;
    constexpr int kKept = 28;
    return name.size() <= kLongest ? name : name.left(kKept) + QChar(0x2026) + name.right(kKept);
}

} // namespace

CDownloadQuestion::CDownloadQuestion(std::function<bool()> phoneListed) : m_phoneListed(std::move(phoneListed)) {}

bool CDownloadQuestion::phoneListed() const
{
    return m_phoneListed && m_phoneListed();
}

bool CDownloadQuestion::askCopyToPhone(const QString &name)
{
    // The name comes from a web page: shown as text, never as markup.
    const int result = CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Orvak Tamsel"),
                             tr("Do you want to copy '%1' directly to the phone also?").arg(Formats::escaped(shownName(name))),
                             tr("Remember my choice"), tr("You can change your decision from downloads settings."));
    const bool copy = CMessageDialog::isConfirmed(result);
    if (CMessageDialog::isTicked(result))
        Settings::setDownloadToPhone(copy ? 1 : 0);
    return copy;
}
