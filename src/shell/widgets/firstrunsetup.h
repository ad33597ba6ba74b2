#pragma once

// Runs the first-run wizard with the proposed folders, stores what the user
// chose and registers the program with the desktop (its desktop entry, and
// the default for 3gp and mp4 files and tmk:// links). Returns false,
// writing nothing, when the user cancels.
bool firstRunSetup();
