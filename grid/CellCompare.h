#pragma once

#include <QString>

// Compares two cell texts by a column sort type (EColumnSortType): negative when a sorts
// before b, 0 when they are equal, positive otherwise.
int CompareCells(const QString& a, const QString& b, int sortType);
