#include "grid/CellCompare.h"

#include "app/TextNumbers.h"
#include "grid/GridRecords.h"

#include <QLocale>

#include <cstdlib>

namespace {

template <typename T>
int ThreeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareDates(const std::optional<qint64>& left, const std::optional<qint64>& right)
{
    if (!left || !right)
        return ThreeWay(left.has_value(), right.has_value()); // texts that are no date first, equal to each other
    // Dates less than half a second apart are the same.
    const qint64 difference = *right - *left;
    if (std::llabs(difference) < 500)
        return 0;
    return difference > 0 ? -1 : 1;
}

} // namespace

QDateTime ReadCellDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    QDateTime value = QDateTime::fromString(trimmed, Qt::ISODate);
    if (value.isValid())
        return value;
    const QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (date.isValid())
        return date.startOfDay();
    const QLocale locale = QLocale::system();
    value = locale.toDateTime(trimmed, QLocale::ShortFormat);
    if (value.isValid())
        return value;
    const QDate localDate = locale.toDate(trimmed, QLocale::ShortFormat);
    return localDate.isValid() ? localDate.startOfDay() : QDateTime();
}

SCellSortKey MakeSortKey(const QString& text, int sortType)
{
    SCellSortKey key;
    switch (sortType) {
    case CST_INTEGER: key.integer = TextNumbers::ReadLeadingInteger(text); break;
    case CST_REAL: key.real = TextNumbers::ReadLeadingDecimal(text); break;
    case CST_DATE: {
        const QDateTime date = ReadCellDate(text);
        if (date.isValid())
            key.msecs = date.toMSecsSinceEpoch();
        break;
    }
    default: key.text = text; break;
    }
    return key;
}

int CompareSortKeys(const SCellSortKey& a, const SCellSortKey& b, int sortType)
{
    switch (sortType) {
    case CST_INTEGER: return ThreeWay(a.integer, b.integer);
    case CST_REAL: return ThreeWay(a.real, b.real);
    case CST_DATE: return CompareDates(a.msecs, b.msecs);
    case CST_TEXT_REVERSED: return -QString::compare(a.text, b.text, Qt::CaseSensitive);
    case CST_TEXT:
    default: return QString::compare(a.text, b.text, Qt::CaseSensitive);
    }
}

QVariant SortKeyValue(const SCellSortKey& key, int sortType)
{
    switch (sortType) {
    case CST_INTEGER: return QVariant::fromValue(key.integer);
    case CST_REAL: return key.real;
    case CST_DATE: return key.msecs ? QVariant::fromValue(*key.msecs) : QVariant();
    default: return key.text;
    }
}

int CompareCells(const QString& a, const QString& b, int sortType)
{
    return CompareSortKeys(MakeSortKey(a, sortType), MakeSortKey(b, sortType), sortType);
}
