#include "themehelper.h"

#include "theme.h"

#include <QHash>
#include <QMetaEnum>
#include <QString>

namespace {

QHash<QString, int> keysOf(const QMetaEnum &meta)
{
    QHash<QString, int> keys;
    for (int i = 0; i < meta.keyCount(); ++i)
        keys.insert(QString::fromLatin1(meta.key(i)), meta.value(i));
    return keys;
}

// Plain whole-name tables rather than QMetaEnum::keyToValue, which would also
// accept scope-qualified names.
int convert(const QHash<QString, int> &keys, QStringView name)
{
    return keys.value(name.toString(), -1);
}

} // namespace

int CThemeHelper::element(QStringView name)
{
    static const QHash<QString, int> keys = keysOf(QMetaEnum::fromType<CTheme::Element>());
    return convert(keys, name);
}

int CThemeHelper::state(QStringView name)
{
    static const QHash<QString, int> keys = keysOf(QMetaEnum::fromType<CTheme::State>());
    return convert(keys, name);
}

int CThemeHelper::paintMode(QStringView name)
{
    static const QHash<QString, int> keys = keysOf(QMetaEnum::fromType<CTheme::PaintMode>());
    return convert(keys, name);
}
