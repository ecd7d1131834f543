#include "Module1.h"
#include "Catalogue.h"
#include "ListModel.h"
#include "Profile.h"

#include <cmath>

namespace corvane {

QString NullToStr(const QVariant &value, const QString &defaultText)
{
    if (value.isNull())
        return defaultText;
    if (value.typeId() == QMetaType::Double) // whole numbers read as "12", not "12.0"
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

QString GetIniString(const QString &section, const QString &key, const QString &fileName)
{
    return readProfileString(section, key, QString(), 256, fileName);
}

QString AddPathSep(const QString &path)
{
    QString result = path;
    while (result.endsWith(QLatin1Char(' ')))
        result.chop(1);
    if (!result.endsWith(QLatin1Char('/')) && !result.endsWith(QLatin1Char('\\')))
        result += QLatin1Char('/');
    return result;
}

bool PutIniString(const QString &section, const QString &key, const QString &value,
                  const QString &fileName)
{
    return writeProfileString(section, key, value, fileName);
}

void SortByColumn(ListModel &listView, ColumnHeader &columnHeader)
{
    // A column the list is not sorted by sorts ascending first; the column it is sorted by
    // turns the order round.
    const int key = columnHeader.Index - 1;
    const bool ascendingByThis = listView.Sorted() && listView.SortKey() == key && listView.SortOrder() == 0;
    listView.setSorted(true);
    listView.setSortKey(key);
    listView.setSortOrder(ascendingByThis ? 1 : 0);
    columnHeader.Tag = listView.SortOrder();
}

double ValOrDefault(const QVariant &value, double defaultValue)
{
    if (value.isNull())
        return defaultValue;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        return value.toDouble();
    default:
        break;
    }
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(number) ? number : defaultValue;
}

QVariant GetProductID(Database &db, const QString &productName)
{
    const std::optional<int> id = catalogue::productIdByName(db, productName);
    return id ? QVariant(*id) : QVariant();
}

QVariant StrToNull(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return {};
    return value;
}

} // namespace corvane
