#include "grid/CellCompare.h"

#include "app/TextNumbers.h"
#include "grid/GridRecords.h"

#include <QDateTime>
#include <QLocale>

#include <cstdlib>

namespace {

template <typename T>
int ThreeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A date as a spreadsheet user would type it; an invalid QDateTime when the text is none.
QDateTime ParseDate(const QString& text)
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

int CompareDates(const QString& a, const QString& b)
{
    const QDateTime left = ParseDate(a);
    const QDateTime right = ParseDate(b);
    if (!left.isValid() || !right.isValid())
        return ThreeWay(left.isValid(), right.isValid()); // empty dates first, equal to each other
    // Dates less than half a second apart are the same.
    const qint64 difference = left.msecsTo(right);
    if (std::llabs(difference) < 500)
        return 0;
    return difference > 0 ? -1 : 1;
}

} // namespace

int CompareCells(const QString& a, const QString& b, int sortType)
{
    switch (sortType) {
    case CST_INTEGER: return ThreeWay(TextNumbers::ReadLeadingInteger(a), TextNumbers::ReadLeadingInteger(b));
    case CST_REAL: return ThreeWay(TextNumbers::ReadLeadingDecimal(a), TextNumbers::ReadLeadingDecimal(b));
    case CST_DATE: return CompareDates(a, b);
    case CST_TEXT_REVERSED: return -QString::compare(a, b, Qt::CaseSensitive);
    case CST_TEXT:
    default: return QString::compare(a, b, Qt::CaseSensitive);
    }
}
