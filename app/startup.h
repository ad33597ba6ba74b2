#pragma once

// The whole life of the program: single-instance check, application set-up,
// first-run set-up, splash screen, main window and event loop. Returns the
// process exit code: -1 for a second copy or a missing resource package,
// 0 when the first-run set-up was cancelled, else the event loop's result.
int runTamsel(int argc, char **argv);

// The packed fonts carry their own family names; the program asks for its
// own family names everywhere ("Orvak Standard", "Orvak Standard Light"),
// which this maps onto them, and makes "Orvak Standard" the application
// font. Needs the resource package registered under ":/Theme/".
void installApplicationFonts();
