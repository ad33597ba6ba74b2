#pragma once

#include <QtGlobal>

class QDate;
class QDateTime;
class QString;

// The display formats every list row and status text shares, so that a size,
// a length or a date reads the same wherever the program shows it.
namespace Formats {

// "%1 B" below 1 KiB, "%1 KB" below 1 MiB, otherwise "%1 MB" with two decimals.
// With forceMB the size is always "%1 MB" without decimals. Rounded to nearest.
QString sizeText(qint64 bytes, bool forceMB = false);

// Time of day that many seconds after midnight, "hh:mm:ss"; wraps after 24 hours.
QString durationText(qint64 seconds);

// "HH:mm" when the date is today, otherwise "dd.MM.yyyy, HH:mm".
QString dateText(const QDateTime &when);
QString dateText(const QDateTime &when, const QDate &today);

// Status texts are drawn white on the dark status boxes; a selection that does
// not fit on the phone is drawn red.
QString whiteText(const QString &text);
QString redText(const QString &text);

// Outside text (a file name, a path, a link title: anything the user, a phone
// or a server chose) made safe for a rich-text label: markup in it shows
// literally instead of being drawn or turned into a link. Every %1 that
// carries such text into a message, a status box or a view title goes
// through here, for example
//     tr("Are you sure you want to delete '%1'?").arg(Formats::escaped(name))
QString escaped(const QString &outside);

} // namespace Formats
