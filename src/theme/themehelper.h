#pragma once

class QStringView;

// Turns the key names written in a theme file into the numbers of the
// theme's enumerations. A name converts only as one whole key, exactly as
// spelled ("Enabled|RollOver" and "enabled" are not keys); anything that is
// not a key, including an empty name, gives -1.
class CThemeHelper final
{
public:
    CThemeHelper() = delete;

    static int element(QStringView name);
    static int state(QStringView name);
    static int paintMode(QStringView name);
};
