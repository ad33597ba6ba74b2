#pragma once

// The first start's set-up: runs the first-run wizard with the proposed
// folders (the stored ones where they exist, else the home folder to scan
// and the default collection folder), stores the two folders the user chose
// and registers the program with the desktop (its desktop entry, and the
// default for 3gp and mp4 files and tmk:// links). Returns false, having
// written nothing, when the user closes the wizard. Main thread, with the
// theme current.
bool firstRunSetup();
