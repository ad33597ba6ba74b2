#pragma once

#include <QString>

// The dialogs page of the gallery: every themed dialog with the texts its
// callers use. With a folder, each dialog is saved there as a PNG and the
// function returns 0 when all were saved; without, a window offers a button
// per dialog. The theme must be current.
int runDialogs(const QString &shotFolder);
