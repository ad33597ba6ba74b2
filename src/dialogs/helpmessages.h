#pragma once

// Lets the help service (Help::openHelp) tell the user when no help is
// installed or a page cannot be shown, in a themed message shown in turn
// with the program's other messages. Start-up calls it once, after the
// translation is installed.
void installHelpMessages();
