#pragma once

// The first start's set-up: runs the first-run wizard with the proposed
// folders (the stored ones where they exist, else the home folder to scan
// and the default collection folder) and stores the two folders the user
// chose. Returns false, having written nothing, when the user closes the
// wizard. Main thread, with the theme current.
bool firstRunSetup();
