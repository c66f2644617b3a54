#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <optional>

// A cell's text read once by a column sort type (EColumnSortType), so that sorting many rows
// reads each text once instead of at every comparison.
struct SCellSortKey
{
    QString text;                // CST_TEXT, CST_TEXT_REVERSED
    qint64 integer = 0;          // CST_INTEGER
    double real = 0.0;           // CST_REAL
    std::optional<qint64> msecs; // CST_DATE: milliseconds since the epoch; none for a text that is no date
};

SCellSortKey MakeSortKey(const QString& text, int sortType);
// Negative when a sorts before b, 0 when they are equal, positive otherwise.
int CompareSortKeys(const SCellSortKey& a, const SCellSortKey& b, int sortType);
// The value a sort key compares, for the grid's sort role: QString, qint64, double, or qint64
// milliseconds for a date (invalid for a text that is no date).
QVariant SortKeyValue(const SCellSortKey& key, int sortType);
// Compares two cell texts by a column sort type: the same order as their sort keys.
int CompareCells(const QString& a, const QString& b, int sortType);

// A date (and time) as a spreadsheet user types it: ISO 8601 ("2019-08-13", "2019-08-13T10:30") or
// the system locale's short format. Invalid when the text is none.
QDateTime ReadCellDate(const QString& text);
