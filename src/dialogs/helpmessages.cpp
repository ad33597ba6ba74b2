#include "helpmessages.h"

#include "formats.h"
#include "helpservice.h"
#include "messagedialog.h"

#include <QCoreApplication>
#include <QDir>

namespace {

void showHelpFailure(Help::Failure failure, int, const QString &page)
{
    const QString title = QCoreApplication::translate("HelpMessages", "Help");
    const QString text =
        failure == Help::Failure::NotInstalled
            ? QCoreApplication::translate("HelpMessages", "The help pages of Orvak Tamsel are not installed. They "
                                                          "are looked for in the folder \"HELP\" beside the program.")
            : QCoreApplication::translate("HelpMessages", "The help page %1 could not be opened. No program to show "
                                                          "web pages was found on this computer.")
                  .arg(Formats::escaped(QDir::toNativeSeparators(page)));
    CMessageDialog::showInTurn(title, text);
}

} // namespace

void installHelpMessages()
{
    Help::setFailureHandler(showHelpFailure);
}
