#pragma once

// Runs the first-run wizard with the proposed folders and stores what the
// user chose. Returns false, writing nothing, when the user cancels.
bool firstRunSetup();
