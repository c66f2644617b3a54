#pragma once

#include "exchange/PluImport.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

// Helpers shared by the exchange tests.
namespace ExchangeTest {

// Texts from UTF-8 literals.
QStringList Strings(std::initializer_list<const char*> texts);

// A file of tests/data/exchange.
QString FixturePath(const QString& name);

// A PLU table in a layout, with its own settings and a prompt that answers OK.
struct STableFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};

    STableFixture(EPluMode mode, ELimitMode limits);
};

// A row of a table as the user sees it.
struct SRowRef
{
    const CGridModel* grid;
    int row;
};

// Import's rows put into a table as Import puts them (the entry row after them).
class CImportedTable : public STableFixture
{
public:
    explicit CImportedTable(const SImportResult& result);
    SRowRef Row(int row) const { return {&grid, row}; }
};

// A cell of a row: its text and its editor kind (-1 without one).
QString Text(SRowRef row, int column);
int EditorType(SRowRef row, int column);

// The texts of columns 0 to count-1.
QStringList Texts(SRowRef row, int count);

// Replaces the table's rows with the given rows of texts for columns 1 onwards, without an entry row;
// column 0 is numbered. A check column's text "1" or "√" puts the mark on.
void FillTable(CPluTable& table, const QList<QStringList>& rows);

} // namespace ExchangeTest
