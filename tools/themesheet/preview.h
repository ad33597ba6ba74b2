#pragma once

class QImage;

// A mock main window, menu and message dialog painted only from the current
// theme, to judge whether its pieces make one coherent picture.
QImage renderPreview(double scale);
