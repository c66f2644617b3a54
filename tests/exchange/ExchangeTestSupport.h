#pragma once

#include "grid/CGridModel.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

// Helpers shared by the exchange tests.
namespace ExchangeTest {

// Texts from UTF-8 literals.
QStringList Strings(std::initializer_list<const char*> texts);

// A file of tests/data/exchange.
QString FixturePath(const QString& name);

// A cell of an imported row: its text (empty when never set) and its editor kind (-1 without a record).
QString Text(const SGridRow& row, int column);
int EditorType(const SGridRow& row, int column);

// The texts of columns 0 to count-1.
QStringList Texts(const SGridRow& row, int count);

// A grid laid out like the PLU table (titles in the language in force) with the given rows of texts
// for columns 1 onwards; column 0 is numbered.
void FillGrid(CGridModel& grid, int pluMode, int limitMode, const QList<QStringList>& rows);

} // namespace ExchangeTest
