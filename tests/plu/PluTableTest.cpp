#include "app/Language.h"
#include "app/StringTable.h"
#include "grid/CGridModel.h"
#include "grid/GridClipboard.h"
#include "plu/CPluTable.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <utility>
#include <vector>

namespace {

// The arguments of modeChanged as the settings store them.
QVariantList ModeArguments(const QList<QVariant>& arguments)
{
    return {PluLayout::SettingOf(arguments.at(0).value<EPluMode>()),
            PluLayout::SettingOf(arguments.at(1).value<ELimitMode>())};
}

const QString kNotExported = QStringLiteral("Not exported, are you sure you want to create a new one?");
const QString kNotExportedModeChange =
    QStringLiteral("Not exported, changing the mode empties the table. Are you sure you want to change it?");

// A table on its grid with a temporary settings store and a prompt that answers from a script.
struct SPluFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};

    // Starts as the window does, from the stored layout.
    void Start(int pluMode, int limitMode)
    {
        settings.Settings().WriteInt(ESetting::PluMode, pluMode);
        settings.Settings().WriteInt(ESetting::LimMode, limitMode);
        table.EnterStoredMode();
    }

    // The end of an in-place edit, as the grid reports it.
    void Type(int row, int column, const QString& text) { grid.CommitEdit(row, column, text); }

    // Fills the entry row with a PLU No. and a value; a new entry row follows.
    void CompleteLastRow(const QString& pluNo)
    {
        const int row = grid.RowCount() - 1;
        Type(row, 1, pluNo);
        Type(row, 2, QStringLiteral("1.5"));
    }

    std::vector<quint32> Backgrounds() const
    {
        std::vector<quint32> colors;
        for (int row = 0; row < grid.RowCount(); ++row)
            colors.push_back(grid.RowColor(row) ? grid.RowColor(row)->crBk : 0xDEADu);
        return colors;
    }

    QStringList Numbers() const
    {
        QStringList numbers;
        for (int row = 0; row < grid.RowCount(); ++row)
            numbers << grid.CellText(row, 0);
        return numbers;
    }

    std::vector<int> CellTypes(int row) const
    {
        std::vector<int> types;
        for (int column = 0; column < grid.ColumnCount(); ++column)
            types.push_back(grid.FindCellType(row, column));
        return types;
    }

    std::map<int, int> ColumnTypes() const
    {
        std::map<int, int> types;
        for (const SColumnTypes& entry : grid.ColumnTypes())
            types[entry.nColumn] = entry.nType;
        return types;
    }
};

constexpr quint32 kRed = PackRgb(240, 100, 100);
constexpr quint32 kWhite = PackRgb(255, 255, 255);

struct SLayoutCase
{
    const char* name;
    int pluMode;
    int limitMode;
    std::vector<const char*> titles;
    std::vector<int> widths;
    std::map<int, int> columnTypes;
    std::vector<int> entryRowCellTypes;
};

void PrintTo(const SLayoutCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

const SLayoutCase kLayoutCases[] = {
    {"Pricing",
     0,
     0,
     {"Sr.No.", "PLU No.", "Unit price", "Goods Id", "Goods Name", "Specification", "Remark", "Expiration(Days)",
      "Quantity pricing"},
     {50, 60, 90, 90, 150, 100, 100, 80, 80},
     {{2, CST_REAL}, {7, CST_INTEGER}},
     {-1, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_CHECK}},
    // Limits add no column to the pricing layout.
    {"PricingWithLimits",
     0,
     1,
     {"Sr.No.", "PLU No.", "Unit price", "Goods Id", "Goods Name", "Specification", "Remark", "Expiration(Days)",
      "Quantity pricing"},
     {50, 60, 90, 90, 150, 100, 100, 80, 80},
     {{2, CST_REAL}, {7, CST_INTEGER}},
     {-1, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_CHECK}},
    {"Counting",
     1,
     0,
     {"Sr.No.", "PLU No.", "Unit weight", "Goods Id", "Goods Name", "Specification"},
     {50, 60, 80, 90, 130, 100},
     {{2, CST_REAL}},
     {-1, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT}},
    {"CountingWithLimits",
     1,
     1,
     {"Sr.No.", "PLU No.", "Unit weight", "Goods Id", "Goods Name", "Specification", "Hi", "Lo"},
     {50, 60, 80, 90, 130, 100, 90, 90},
     {{2, CST_REAL}, {6, CST_REAL}, {7, CST_REAL}},
     {-1, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT, CET_EDIT}},
};

class PluTableLayout : public ::testing::TestWithParam<SLayoutCase>
{
};

TEST_P(PluTableLayout, StoredLayoutBuildsItsColumnsAndOneRedEntryRow)
{
    const SLayoutCase& layout = GetParam();
    SPluFixture fixture;
    QAbstractItemModelTester tester(&fixture.grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy modeChanged(&fixture.table, &CPluTable::modeChanged);
    fixture.table.SetUnexportedChanges(1);
    fixture.Start(layout.pluMode, layout.limitMode);

    const CGridModel& grid = fixture.grid;
    ASSERT_EQ(grid.ColumnCount(), int(layout.titles.size()));
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        EXPECT_EQ(grid.ColumnTitle(column), QString::fromUtf8(layout.titles[column])) << column;
        EXPECT_EQ(grid.ColumnWidth(column), layout.widths[column]) << column;
    }
    EXPECT_EQ(fixture.ColumnTypes(), layout.columnTypes);

    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(fixture.Numbers(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(fixture.Backgrounds(), std::vector<quint32>{kRed});
    EXPECT_EQ(grid.RowColor(0)->crText, 0u);
    EXPECT_EQ(fixture.CellTypes(0), layout.entryRowCellTypes);
    if (layout.pluMode == 0) {
        EXPECT_EQ(grid.CellText(0, 8), QString(QChar(0x00D7)));
        EXPECT_EQ(grid.FindCellRecord(0, 8)->nCheck, 0);
    }

    EXPECT_EQ(PluLayout::SettingOf(fixture.table.PluMode()), layout.pluMode);
    EXPECT_EQ(PluLayout::SettingOf(fixture.table.LimitMode()), layout.limitMode);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 0);
    ASSERT_EQ(modeChanged.count(), 1);
    EXPECT_EQ(ModeArguments(modeChanged.at(0)), (QVariantList{layout.pluMode, layout.limitMode}));
    EXPECT_EQ(fixture.prompt.messages.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PluTableLayout, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PluTable, FirstStartWithDefaultSettingsIsCounting)
{
    SPluFixture fixture;
    QSignalSpy modeChanged(&fixture.table, &CPluTable::modeChanged);
    fixture.table.EnterStoredMode();
    EXPECT_EQ(fixture.grid.ColumnCount(), 6);
    EXPECT_EQ(fixture.Numbers(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(fixture.Backgrounds(), std::vector<quint32>{kRed});
    ASSERT_EQ(modeChanged.count(), 1);
    EXPECT_EQ(ModeArguments(modeChanged.at(0)), (QVariantList{1, 0}));
}

TEST(PluTable, TitlesAreInTheLanguageInForce)
{
    SPluFixture fixture;
    Language::SetLanguageInForce(1031);
    fixture.Start(1, 1);
    Language::SetLanguageInForce(0);
    EXPECT_EQ(fixture.grid.ColumnTitle(0), LoadString(StringId::SrNo, 1031));
    EXPECT_NE(fixture.grid.ColumnTitle(0), LoadString(StringId::SrNo, 1033));
    EXPECT_EQ(fixture.grid.ColumnTitle(7), LoadString(StringId::Lo, 1031));
}

// ---- the complete-row rule ----

struct SEntryCase
{
    const char* name;
    int pluMode;
    std::vector<std::pair<int, const char*>> edits; // column, text, typed into the entry row in order
    bool completes;
};

void PrintTo(const SEntryCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

const SEntryCase kEntryCases[] = {
    {"CountingPluThenWeight", 1, {{1, "12"}, {2, "0.5"}}, true},
    {"CountingWeightThenPlu", 1, {{2, "0.5"}, {1, "12"}}, true},
    {"PricingPluThenPrice", 0, {{1, "12"}, {2, "3.20"}}, true},
    {"BlanksCountAsText", 0, {{1, " "}, {2, " "}}, true},
    {"OtherColumnsAlone", 1, {{3, "id"}, {4, "Apples"}, {5, "1 kg"}}, false},
    {"PricingOtherColumnsAlone", 0, {{3, "id"}, {6, "note"}, {7, "5"}}, false},
    {"PluNoAlone", 1, {{1, "12"}, {3, "id"}}, false},
    {"ValueAlone", 0, {{2, "3.20"}, {4, "Pears"}}, false},
};

class PluEntryRow : public ::testing::TestWithParam<SEntryCase>
{
};

TEST_P(PluEntryRow, CompletingTheLastRowTurnsItWhiteAndAppendsANumberedRedRow)
{
    const SEntryCase& entry = GetParam();
    SPluFixture fixture;
    fixture.Start(entry.pluMode, 0);
    fixture.CompleteLastRow(QStringLiteral("1")); // row 0 complete, row 1 is the entry row
    fixture.table.SetUnexportedChanges(0);

    for (const auto& [column, text] : entry.edits)
        fixture.Type(1, column, QString::fromUtf8(text));

    if (entry.completes) {
        EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kRed}));
        EXPECT_EQ(fixture.Numbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        EXPECT_EQ(fixture.CellTypes(2), fixture.CellTypes(0));
        EXPECT_EQ(fixture.table.UnexportedChanges(), 1);
    } else {
        EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kRed}));
        EXPECT_EQ(fixture.table.UnexportedChanges(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, PluEntryRow, ::testing::ValuesIn(kEntryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PluTable, EditingARowAboveTheLastAppendsNothing)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    fixture.CompleteLastRow(QStringLiteral("1"));
    fixture.CompleteLastRow(QStringLiteral("2"));
    fixture.table.SetUnexportedChanges(0);
    ASSERT_EQ(fixture.grid.RowCount(), 3);

    fixture.Type(0, 4, QStringLiteral("Apples"));
    fixture.Type(0, 1, QStringLiteral("7"));
    EXPECT_EQ(fixture.grid.RowCount(), 3);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 1);

    // Emptying a complete row's PLU No. keeps it white and keeps the flag.
    fixture.Type(1, 1, QString());
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kRed}));
    EXPECT_EQ(fixture.table.UnexportedChanges(), 1);
    EXPECT_EQ(fixture.grid.RowCount(), 3);
}

TEST(PluTable, CheckClickOnAFilledRowCountsAsAnEdit)
{
    SPluFixture fixture;
    fixture.Start(0, 0);
    // Texts set by the owner are not edits: the row stays red until the check click.
    fixture.grid.SetCellText(0, 1, QStringLiteral("4"));
    fixture.grid.SetCellText(0, 2, QStringLiteral("2.00"));
    EXPECT_EQ(fixture.Backgrounds(), std::vector<quint32>{kRed});

    ASSERT_TRUE(fixture.grid.ToggleCheck(0, 8));
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kRed}));
    EXPECT_EQ(fixture.table.UnexportedChanges(), 1);
    EXPECT_EQ(fixture.grid.CellText(0, 8), QString(QChar(0x221A)));
    EXPECT_EQ(fixture.grid.CellText(1, 8), QString(QChar(0x00D7)));
}

// Rows put in by Import are edited exactly as typed rows: every data cell has the layout's editor and
// the mark toggles, whatever the file reached.
TEST(PluTable, ReplacedRowsTakeTheLayoutsEditorsNumbersAndAnEntryRow)
{
    SPluFixture fixture;
    QAbstractItemModelTester tester(&fixture.grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    fixture.Start(0, 0);
    fixture.CompleteLastRow(QStringLiteral("typed"));
    std::vector<SPluRow> rows(2);
    rows[0].cells = {QString(), QStringLiteral("7"), QStringLiteral("2.5")};
    rows[1].cells = {QString(), QStringLiteral("8"), QStringLiteral("1")};
    rows[1].checked = true;
    fixture.table.ReplaceRows(std::move(rows));

    ASSERT_EQ(fixture.grid.RowCount(), 3);
    EXPECT_EQ(fixture.Numbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    const std::vector<int> typedRow = fixture.CellTypes(2); // the entry row, as Add makes it
    EXPECT_EQ(fixture.CellTypes(0), typedRow);
    EXPECT_EQ(fixture.CellTypes(1), typedRow);
    EXPECT_EQ(fixture.grid.RowColor(2)->crBk, kRed);
    EXPECT_EQ(fixture.grid.FindCellRecord(1, 8)->nCheck, 1);
    EXPECT_EQ(fixture.grid.FindCellRecord(0, 8)->nCheck, 0);

    ASSERT_TRUE(fixture.grid.ToggleCheck(1, 8));
    EXPECT_EQ(fixture.grid.CellText(1, 8), UncheckedText());
    EXPECT_TRUE(fixture.grid.CommitEdit(0, 6, QStringLiteral("a remark the file did not have")));
    EXPECT_EQ(fixture.table.RowTexts(0).at(6), QStringLiteral("a remark the file did not have"));
}

// The entry row is known by its flag, which alone decides its colour: a colour set from outside
// neither completes it nor makes another row an entry row.
TEST(PluTable, TheEntryFlagDecidesTheBackgroundAndWhichRowsStayLast)
{
    SPluFixture fixture;
    QAbstractItemModelTester tester(&fixture.grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    fixture.Start(1, 0);
    fixture.CompleteLastRow(QStringLiteral("20"));
    fixture.CompleteLastRow(QStringLiteral("10"));
    EXPECT_FALSE(fixture.table.IsEntryRow(0));
    EXPECT_TRUE(fixture.table.IsEntryRow(2));

    QSignalSpy changed(&fixture.grid, &QAbstractItemModel::dataChanged);
    fixture.Type(2, 1, QStringLiteral("5"));
    fixture.Type(2, 2, QStringLiteral("1"));
    // The completed row is shown anew, so its view paints it white.
    bool rowRepainted = false;
    for (const QList<QVariant>& arguments : changed) {
        const QModelIndex topLeft = arguments.at(0).toModelIndex();
        const QList<int> roles = arguments.at(2).value<QList<int>>();
        rowRepainted |= topLeft.row() == 2 && (roles.isEmpty() || roles.contains(CGridModel::RowBackgroundColorRole));
    }
    EXPECT_TRUE(rowRepainted);
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kWhite, kRed}));
    EXPECT_EQ(fixture.grid.index(3, 1).data(CGridModel::RowBackgroundColorRole).toUInt(), kRed);

    fixture.grid.SetRowColor(3, kWhite);
    fixture.grid.SetRowColor(0, kRed);
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kWhite, kRed}));
    fixture.table.SortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(fixture.grid.CellText(3, 1), QString()); // the entry row is still last
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("10"));
    fixture.table.RemoveEntryRow();
    EXPECT_EQ(fixture.grid.RowCount(), 3);
    fixture.table.RemoveEntryRow(); // the last row is a PLU now
    EXPECT_EQ(fixture.grid.RowCount(), 3);
}

// The mark is the row's own state and the check column's text; other per-cell editors still work on
// the table's rows and move with them.
TEST(PluTable, TheMarkAndTheCellsOwnEditorsLiveWithTheirRows)
{
    SPluFixture fixture;
    QAbstractItemModelTester tester(&fixture.grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    fixture.Start(0, 0);
    fixture.CompleteLastRow(QStringLiteral("1"));
    fixture.CompleteLastRow(QStringLiteral("2"));

    fixture.grid.SetCheckCell(1, 1);
    EXPECT_EQ(fixture.grid.CellText(1, 8), CheckedText());
    EXPECT_EQ(fixture.table.RowTexts(1).at(8), CheckedText());
    EXPECT_EQ(fixture.grid.index(1, 8).data(CGridModel::CheckStateValueRole).toInt(), 1);
    fixture.grid.SetCellText(1, 8, UncheckedText());
    EXPECT_EQ(fixture.grid.FindCellRecord(1, 8)->nCheck, 0);

    SEditCtrl combo;
    combo.nRow = 0;
    combo.nCol = 3;
    combo.nType = CET_COMBO;
    combo.strList = QStringLiteral("a$b");
    fixture.grid.SetCellRecord(combo);
    SEditCtrl locked;
    locked.nRow = 0;
    locked.nCol = 8;
    locked.nType = CET_CHECK;
    locked.nCheck = 1;
    locked.nLocked = 1;
    fixture.grid.SetCellRecord(locked);
    fixture.grid.RemoveCellRecord(2, 4);
    EXPECT_FALSE(fixture.grid.ToggleCheck(0, 8));
    EXPECT_EQ(fixture.grid.CellText(0, 8), CheckedText()); // in the table's rows the text is the mark

    fixture.table.SortByColumn(1, Qt::DescendingOrder); // 2, 1, then the entry row
    EXPECT_EQ(fixture.grid.FindCellRecord(1, 3)->strList, QStringLiteral("a$b"));
    EXPECT_EQ(fixture.grid.FindCellRecord(1, 8)->nLocked, 1);
    EXPECT_EQ(fixture.grid.FindCellType(0, 3), CET_EDIT);
    EXPECT_EQ(fixture.grid.FindCellType(2, 4), -1);

    fixture.grid.SetSelectionMark(1);
    fixture.table.DeleteMarkedRow();
    EXPECT_EQ(fixture.grid.FindCellType(0, 3), CET_EDIT);
    EXPECT_EQ(fixture.grid.FindCellType(1, 4), -1);
    EXPECT_EQ(fixture.grid.FindCellType(1, 8), CET_CHECK);
    EXPECT_EQ(fixture.grid.FindCellRecord(1, 8)->nLocked, 0);
}

// A grid that outlives its table shows rows of its own again.
TEST(PluTable, AGridOutlivingItsTableHoldsItsOwnRowsAgain)
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    {
        CPluTable table(grid, settings.Settings(), prompt);
        table.EnterStoredMode();
        ASSERT_EQ(grid.RowCount(), 1);
    }
    EXPECT_EQ(grid.RowCount(), 0);
    grid.InsertRow(0, QString());
    grid.SetRowColor(0, kRed);
    EXPECT_EQ(grid.RowColor(0)->crBk, kRed);
}

// ---- Delete ----

TEST(PluTable, DeleteRenumbersAndMovesEverythingOfTheRowsBelowUp)
{
    SPluFixture fixture;
    fixture.Start(0, 0);
    for (int n = 1; n <= 4; ++n)
        fixture.CompleteLastRow(QStringLiteral("P%1").arg(n));
    ASSERT_EQ(fixture.grid.RowCount(), 5);
    fixture.grid.ToggleCheck(3, 8);
    fixture.grid.RemoveCellRecord(3, 5); // row 4 lost its Specification editor
    fixture.table.SetUnexportedChanges(0);

    fixture.grid.SetSelectionMark(2);
    fixture.table.DeleteMarkedRow();

    EXPECT_EQ(fixture.Numbers(),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(fixture.grid.CellText(2, 1), QStringLiteral("P4"));
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kWhite, kRed}));
    EXPECT_EQ(fixture.grid.FindCellRecord(2, 8)->nCheck, 1);
    EXPECT_EQ(fixture.grid.CellText(2, 8), QString(QChar(0x221A)));
    EXPECT_EQ(fixture.grid.FindCellType(2, 5), -1);
    EXPECT_EQ(fixture.grid.FindCellType(3, 5), CET_EDIT);
    EXPECT_EQ(fixture.grid.FindCellRecord(3, 8)->nCheck, 0);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 0);
    EXPECT_TRUE(fixture.prompt.messages.empty());
}

TEST(PluTable, DeleteWithNothingMarkedSaysUnselected)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    fixture.CompleteLastRow(QStringLiteral("1"));
    ASSERT_EQ(fixture.grid.SelectionMark(), -1);

    fixture.table.DeleteMarkedRow();
    ASSERT_EQ(fixture.prompt.messages.size(), 1u);
    const CScriptedPrompt::SMessage& message = fixture.prompt.messages.front();
    EXPECT_EQ(message.text, QStringLiteral("Unselected"));
    EXPECT_EQ(message.caption, ApplicationCaption());
    EXPECT_FALSE(message.question);
    EXPECT_EQ(fixture.grid.RowCount(), 2);
    EXPECT_EQ(fixture.prompt.beeps, 0);
}

TEST(PluTable, DeletingTheLastRowsAppendsNoEntryRow)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    fixture.CompleteLastRow(QStringLiteral("1"));
    fixture.grid.SetSelectionMark(1);
    fixture.table.DeleteMarkedRow();
    EXPECT_EQ(fixture.Numbers(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(fixture.Backgrounds(), std::vector<quint32>{kWhite});
    fixture.grid.SetSelectionMark(0);
    fixture.table.DeleteMarkedRow();
    EXPECT_EQ(fixture.grid.RowCount(), 0);
    // Add still works on the empty table.
    fixture.table.AppendNewRow();
    EXPECT_EQ(fixture.Numbers(), QStringList{QStringLiteral("1")});
}

TEST(PluTable, AddAppendsEvenAfterAnEmptyEntryRow)
{
    SPluFixture fixture;
    fixture.Start(1, 1);
    fixture.table.AppendNewRow();
    fixture.table.AppendNewRow();
    EXPECT_EQ(fixture.Numbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kRed, kRed, kRed}));
    EXPECT_EQ(fixture.CellTypes(2), fixture.CellTypes(0));
}

// ---- sorting and pasting ----

TEST(PluTable, SortingByUnitPriceKeepsTheEntryRowLastAndRenumbers)
{
    SPluFixture fixture;
    fixture.Start(0, 0);
    const QStringList plus{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    const QStringList prices{QStringLiteral("10"), QStringLiteral("9.5"), QStringLiteral("100")};
    for (int row = 0; row < 3; ++row) {
        fixture.Type(row, 1, plus[row]);
        fixture.Type(row, 2, prices[row]);
    }
    fixture.grid.ToggleCheck(1, 8);
    fixture.grid.RemoveCellRecord(2, 5); // C's Specification is not editable
    fixture.table.SetUnexportedChanges(0);
    const auto column = [&](int index) {
        QStringList texts;
        for (int row = 0; row < fixture.grid.RowCount(); ++row)
            texts << fixture.grid.CellText(row, index);
        return texts;
    };

    fixture.table.SortByColumn(2, Qt::AscendingOrder);
    EXPECT_EQ(column(2), (QStringList{QStringLiteral("9.5"), QStringLiteral("10"), QStringLiteral("100"), QString()}));
    EXPECT_EQ(column(1), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C"), QString()}));
    EXPECT_EQ(fixture.Numbers(),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kWhite, kRed}));
    EXPECT_EQ(fixture.grid.FindCellRecord(0, 8)->nCheck, 1);
    EXPECT_EQ(fixture.grid.CellText(0, 8), QString(QChar(0x221A)));
    EXPECT_EQ(fixture.grid.FindCellType(2, 5), -1);
    EXPECT_EQ(fixture.grid.FindCellType(3, 5), CET_EDIT);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 0); // sorting is no edit

    fixture.table.SortByColumn(2, Qt::DescendingOrder);
    EXPECT_EQ(column(2), (QStringList{QStringLiteral("100"), QStringLiteral("10"), QStringLiteral("9.5"), QString()}));
    EXPECT_EQ(fixture.Numbers(),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));

    // The entry row still takes the next PLU.
    fixture.CompleteLastRow(QStringLiteral("D"));
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kWhite, kWhite, kRed}));
    EXPECT_EQ(fixture.grid.CellText(4, 0), QStringLiteral("5"));
}

TEST(PluTable, SortingATableWithoutAnEntryRowSortsEveryRow)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    for (const char* plu : {"7", "30", "200"})
        fixture.CompleteLastRow(QString::fromLatin1(plu));
    fixture.grid.SetSelectionMark(3);
    fixture.table.DeleteMarkedRow(); // the entry row
    ASSERT_EQ(fixture.grid.RowCount(), 3);

    fixture.table.SortByColumn(1, Qt::AscendingOrder); // PLU No. sorts as text
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("200"));
    EXPECT_EQ(fixture.grid.CellText(1, 1), QStringLiteral("30"));
    EXPECT_EQ(fixture.grid.CellText(2, 1), QStringLiteral("7"));
    EXPECT_EQ(fixture.Numbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

TEST(PluTable, SortingBySrNoKeepsOrReversesTheRowOrder)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    for (int n = 1; n <= 12; ++n)
        fixture.CompleteLastRow(QStringLiteral("P%1").arg(n));
    fixture.table.SortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(fixture.grid.CellText(1, 1), QStringLiteral("P2"));
    EXPECT_EQ(fixture.grid.CellText(11, 1), QStringLiteral("P12"));

    fixture.table.SortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("P12"));
    EXPECT_EQ(fixture.grid.CellText(2, 1), QStringLiteral("P10"));
    EXPECT_EQ(fixture.grid.CellText(11, 1), QStringLiteral("P1"));
    EXPECT_EQ(fixture.grid.CellText(12, 1), QString()); // the entry row
    EXPECT_EQ(fixture.grid.CellText(0, 0), QStringLiteral("1"));
}

TEST(PluTable, PastingRowsIntoTheEntryRowCompletesThemOneAfterAnother)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    const int written = PasteText(fixture.grid, 0, 1, QStringLiteral("101\t0.5\tN1\r\n102\t0.25\tN2\r\n"));
    EXPECT_EQ(written, 6);
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("101"));
    EXPECT_EQ(fixture.grid.CellText(1, 3), QStringLiteral("N2"));
    EXPECT_EQ(fixture.Numbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kRed}));
    EXPECT_EQ(fixture.table.UnexportedChanges(), 1);
}

TEST(PluTable, APasteRunningPastTheLastRowGetsARowForEveryLine)
{
    struct SCase
    {
        const char* name;
        int pluMode;
        QString text;
        QStringList plus; // column 1 from the top
        std::vector<quint32> colors;
    };
    const SCase cases[] = {
        // PLU numbers alone complete no row: each line still gets a row of its own.
        {"NumbersOnly",
         1,
         QStringLiteral("11\r\n12\r\n13\r\n"),
         {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13")},
         {kRed, kRed, kRed}},
        // Complete lines bring their entry row as typing does, and the paste goes on below it.
        {"CompleteLines",
         0,
         QStringLiteral("21\t2.5\n22\n23\t3"),
         {QStringLiteral("21"), QStringLiteral("22"), QStringLiteral("23"), QString()},
         {kWhite, kRed, kWhite, kRed}},
    };
    for (const SCase& c : cases) {
        SPluFixture fixture;
        fixture.Start(c.pluMode, 0);
        PasteText(fixture.grid, 0, 1, c.text);
        QStringList plus;
        for (int row = 0; row < fixture.grid.RowCount(); ++row)
            plus << fixture.grid.CellText(row, 1);
        EXPECT_EQ(plus, c.plus) << c.name;
        EXPECT_EQ(fixture.Backgrounds(), c.colors) << c.name;
        EXPECT_EQ(fixture.Numbers().size(), c.plus.size()) << c.name;
        EXPECT_EQ(fixture.Numbers().last(), QString::number(c.plus.size())) << c.name;
        EXPECT_EQ(fixture.grid.FindCellType(fixture.grid.RowCount() - 1, 3), CET_EDIT) << c.name;
    }
}

TEST(PluTable, SortingKeepsEveryEntryRowAtTheEnd)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    for (const char* plu : {"30", "7", "200"})
        fixture.CompleteLastRow(QString::fromLatin1(plu));
    fixture.table.AppendNewRow();
    fixture.table.AppendNewRow();
    fixture.Type(1, 3, QStringLiteral("x")); // an id in a complete row, nothing in the entry rows

    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        fixture.table.SortByColumn(3, order);
        EXPECT_EQ(fixture.Backgrounds(), (std::vector<quint32>{kWhite, kWhite, kWhite, kRed, kRed, kRed})) << order;
        for (int row = 3; row < 6; ++row)
            EXPECT_EQ(fixture.grid.CellText(row, 1), QString()) << order << " row " << row;
        EXPECT_EQ(fixture.grid.CellText(order == Qt::AscendingOrder ? 2 : 0, 3), QStringLiteral("x"));
        EXPECT_EQ(fixture.Numbers().last(), QStringLiteral("6"));
    }
}

// ---- New and the question about unexported rows ----

TEST(PluTable, NewAsksOnlyAfterACompletedRowUntilTheRowsAreGone)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    fixture.Type(0, 3, QStringLiteral("id"));
    fixture.table.NewTable();
    EXPECT_TRUE(fixture.prompt.messages.empty());
    EXPECT_EQ(fixture.grid.CellText(0, 3), QString());

    fixture.CompleteLastRow(QStringLiteral("1"));
    fixture.prompt.AnswerNext(false);
    fixture.table.NewTable();
    EXPECT_EQ(fixture.prompt.beeps, 1);
    ASSERT_EQ(fixture.prompt.QuestionCount(), 1);
    const CScriptedPrompt::SMessage& question = fixture.prompt.messages.back();
    EXPECT_EQ(question.text, kNotExported);
    EXPECT_TRUE(question.caption.isEmpty());
    EXPECT_EQ(question.icon, IPrompt::EIcon::Warning);
    EXPECT_EQ(fixture.grid.RowCount(), 2); // Cancel keeps the rows

    fixture.prompt.AnswerNext(true);
    fixture.table.NewTable();
    EXPECT_EQ(fixture.grid.RowCount(), 1);
    EXPECT_EQ(fixture.Backgrounds(), std::vector<quint32>{kRed});
    // The unexported rows are gone with the table: the empty table has nothing to lose.
    EXPECT_EQ(fixture.table.UnexportedChanges(), 0);

    fixture.table.NewTable();
    EXPECT_EQ(fixture.prompt.QuestionCount(), 2);
    EXPECT_EQ(fixture.prompt.beeps, 2);
}

// ---- layout changes ----

enum class ELayoutCommand
{
    OtherMode,
    Lim,
};

struct SLayoutCommandCase
{
    const char* name;
    ELayoutCommand command;
    int pluMode;
    int limitMode;
    int expectedPluMode;
    int expectedLimitMode;
};

void PrintTo(const SLayoutCommandCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

const SLayoutCommandCase kLayoutCommandCases[] = {
    {"CountingToPricing", ELayoutCommand::OtherMode, 1, 1, 0, 1},
    {"PricingToCounting", ELayoutCommand::OtherMode, 0, 0, 1, 0},
    {"LimOnInCounting", ELayoutCommand::Lim, 1, 0, 1, 1},
    {"LimOffInCounting", ELayoutCommand::Lim, 1, 1, 1, 0},
    {"LimInPricing", ELayoutCommand::Lim, 0, 0, 0, 1},
};

class PluLayoutCommand : public ::testing::TestWithParam<SLayoutCommandCase>
{
protected:
    void Run(SPluFixture& fixture) const
    {
        if (GetParam().command == ELayoutCommand::OtherMode)
            fixture.table.SetPluMode(PluLayout::PluModeFromSetting(GetParam().expectedPluMode));
        else
            fixture.table.ToggleLimitMode();
    }

    // Two complete rows and the entry row, with nothing unexported unless asked.
    void Prepare(SPluFixture& fixture, int unexported) const
    {
        fixture.Start(GetParam().pluMode, GetParam().limitMode);
        fixture.CompleteLastRow(QStringLiteral("1"));
        fixture.CompleteLastRow(QStringLiteral("2"));
        fixture.table.SetUnexportedChanges(unexported);
    }

    void ExpectSwitched(SPluFixture& fixture, const QSignalSpy& modeChanged) const
    {
        const SLayoutCommandCase& command = GetParam();
        EXPECT_EQ(PluLayout::SettingOf(fixture.table.PluMode()), command.expectedPluMode);
        EXPECT_EQ(PluLayout::SettingOf(fixture.table.LimitMode()), command.expectedLimitMode);
        EXPECT_EQ(fixture.settings.Settings().ReadInt(ESetting::PluMode), command.expectedPluMode);
        EXPECT_EQ(fixture.settings.Settings().ReadInt(ESetting::LimMode), command.expectedLimitMode);
        EXPECT_EQ(fixture.grid.ColumnCount(),
                  PluLayout::ColumnCount(PluLayout::PluModeFromSetting(command.expectedPluMode),
                                         PluLayout::LimitModeFromSetting(command.expectedLimitMode)));
        EXPECT_EQ(fixture.grid.RowCount(), 1);
        EXPECT_EQ(fixture.Backgrounds(), std::vector<quint32>{kRed});
        ASSERT_EQ(modeChanged.count(), 1);
        EXPECT_EQ(ModeArguments(modeChanged.at(0)), (QVariantList{command.expectedPluMode, command.expectedLimitMode}));
    }
};

TEST_P(PluLayoutCommand, WithoutUnexportedRowsSwitchesWithoutAsking)
{
    SPluFixture fixture;
    Prepare(fixture, 0);
    QSignalSpy modeChanged(&fixture.table, &CPluTable::modeChanged);
    Run(fixture);
    EXPECT_TRUE(fixture.prompt.messages.empty());
    EXPECT_EQ(fixture.prompt.beeps, 0);
    ExpectSwitched(fixture, modeChanged);
}

TEST_P(PluLayoutCommand, WithUnexportedRowsCancelKeepsEverything)
{
    SPluFixture fixture;
    Prepare(fixture, 1);
    const QString settingsBefore = fixture.settings.FileText();
    QSignalSpy modeChanged(&fixture.table, &CPluTable::modeChanged);
    fixture.prompt.AnswerNext(false);
    Run(fixture);

    EXPECT_EQ(fixture.prompt.beeps, 1);
    ASSERT_EQ(fixture.prompt.QuestionCount(), 1);
    EXPECT_EQ(fixture.prompt.messages.back().text, kNotExportedModeChange);
    EXPECT_EQ(PluLayout::SettingOf(fixture.table.PluMode()), GetParam().pluMode);
    EXPECT_EQ(PluLayout::SettingOf(fixture.table.LimitMode()), GetParam().limitMode);
    EXPECT_EQ(fixture.settings.FileText(), settingsBefore);
    EXPECT_EQ(fixture.grid.RowCount(), 3);
    EXPECT_EQ(fixture.grid.CellText(1, 1), QStringLiteral("2"));
    EXPECT_EQ(modeChanged.count(), 0);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 1);
}

TEST_P(PluLayoutCommand, WithUnexportedRowsOkSwitches)
{
    SPluFixture fixture;
    Prepare(fixture, 1);
    QSignalSpy modeChanged(&fixture.table, &CPluTable::modeChanged);
    fixture.prompt.AnswerNext(true);
    Run(fixture);
    EXPECT_EQ(fixture.prompt.QuestionCount(), 1);
    ExpectSwitched(fixture, modeChanged);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 0); // the rows it was about are gone
}

INSTANTIATE_TEST_SUITE_P(Commands, PluLayoutCommand, ::testing::ValuesIn(kLayoutCommandCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PluTable, ChoosingTheModeInForceKeepsTheRows)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    fixture.CompleteLastRow(QStringLiteral("1"));
    fixture.settings.Settings().WriteInt(ESetting::PluMode, 7);
    QSignalSpy modeChanged(&fixture.table, &CPluTable::modeChanged);
    fixture.table.SetPluMode(EPluMode::Counting);
    EXPECT_EQ(fixture.grid.RowCount(), 2);
    EXPECT_EQ(fixture.settings.Settings().ReadInt(ESetting::PluMode), 7); // not written again
    EXPECT_EQ(modeChanged.count(), 0);
    EXPECT_TRUE(fixture.prompt.messages.empty());
}

TEST(PluTable, ImportSwitchesLimitsWithoutAsking)
{
    SPluFixture fixture;
    fixture.Start(1, 0);
    fixture.CompleteLastRow(QStringLiteral("1"));
    fixture.table.ToggleLimitMode(false);
    EXPECT_TRUE(fixture.prompt.messages.empty());
    EXPECT_EQ(fixture.table.LimitMode(), ELimitMode::On);
    EXPECT_EQ(fixture.grid.ColumnCount(), 8);
    EXPECT_EQ(fixture.table.UnexportedChanges(), 0);
}

TEST(PluTable, CountingWithLimitsToPricingLeavesOnlyPricingColumnTypes)
{
    SPluFixture fixture;
    fixture.Start(1, 1);
    fixture.table.SetPluMode(EPluMode::Pricing);
    EXPECT_EQ(fixture.ColumnTypes(), (std::map<int, int>{{2, CST_REAL}, {7, CST_INTEGER}}));
    EXPECT_EQ(fixture.grid.GetColumnType(6), -1);
}

TEST(PluTable, StoredValuesOtherThanPricingMeanCounting)
{
    SPluFixture fixture;
    fixture.Start(5, 3);
    EXPECT_EQ(fixture.table.PluMode(), EPluMode::Counting);
    EXPECT_EQ(fixture.table.LimitMode(), ELimitMode::Off);
    EXPECT_EQ(fixture.grid.ColumnCount(), 6);
    EXPECT_EQ(fixture.settings.Settings().ReadInt(ESetting::PluMode), 1);
}

} // namespace
