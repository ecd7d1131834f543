#pragma once
#include <QString>
#include <QVariant>

namespace corvane {

class Database;
class ListModel;
struct ColumnHeader;

// The small routines that every form shares. A null QVariant is the database's Null.

// value as text, or defaultText when value is Null (an empty text is not Null).
QString NullToStr(const QVariant &value, const QString &defaultText);

// One value of the settings file: at most 255 bytes, empty when missing.
QString GetIniString(const QString &section, const QString &key, const QString &fileName);

// path without trailing blanks, ending in a separator: "/" is added unless it already ends
// in "/" or "\".
QString AddPathSep(const QString &path);

// Writes one value of the settings file; returns false when the file could not be read whole
// or written (it is then left as it was).
bool PutIniString(const QString &section, const QString &key, const QString &value,
                  const QString &fileName);

// Sorts the list by the clicked column: ascending when the list is not sorted by it (yet),
// the other way round when it is; the column's Tag remembers the order.
void SortByColumn(ListModel &listView, ColumnHeader &columnHeader);

// value as a number when it is one (a number, or text that reads as a number), else
// defaultValue.
double ValOrDefault(const QVariant &value, double defaultValue);

// The ID of the first product of that name, or Null.
QVariant GetProductID(Database &db, const QString &productName);

// Null for Null and for the empty text; any other value unchanged.
QVariant StrToNull(const QVariant &value);

} // namespace corvane
