#include "grid/CGridModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A five-row grid of three columns; every row coloured by its number, cells 1 and 2 editable.
void FillFiveRows(CGridModel& grid)
{
    grid.InsertColumn(0, QStringLiteral("No."), 50);
    grid.InsertColumn(1, QStringLiteral("A"), 60);
    grid.InsertColumn(2, QStringLiteral("B"), 60);
    for (int row = 0; row < 5; ++row) {
        grid.InsertRow(row, QString::number(row + 1));
        grid.SetCellText(row, 1, QStringLiteral("a%1").arg(row + 1));
        grid.SetCellEditable(row, 1);
        grid.SetCellEditable(row, 2);
        grid.SetRowColor(row, quint32(row + 1));
    }
}

TEST(GridModel, RecordsMoveWithTheirRowsOnDelete)
{
    CGridModel grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillFiveRows(grid);
    grid.RemoveCellRecord(3, 2); // row 4 has only one editable cell

    ASSERT_TRUE(grid.DeleteRow(1));
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.CellText(1, 1), QStringLiteral("a3"));
    EXPECT_EQ(grid.RowColor(1)->crBk, 3u);
    EXPECT_EQ(grid.RowColor(2)->crBk, 4u);
    EXPECT_EQ(grid.FindCellType(2, 2), -1);
    EXPECT_EQ(grid.FindCellType(2, 1), CET_EDIT);
    EXPECT_EQ(grid.FindCellType(3, 2), CET_EDIT);
}

TEST(GridModel, InsertingAtTheTopMovesEveryRecordDown)
{
    CGridModel grid;
    FillFiveRows(grid);
    grid.InsertRow(0, QStringLiteral("new"));
    EXPECT_EQ(grid.FindCellType(0, 1), -1);
    EXPECT_FALSE(grid.RowColor(0).has_value());
    EXPECT_EQ(grid.RowColor(1)->crBk, 1u);
    EXPECT_EQ(grid.FindCellType(5, 1), CET_EDIT);
}

TEST(GridModel, ClearRowsForgetsRecordsButKeepsColumnTypes)
{
    CGridModel grid;
    FillFiveRows(grid);
    grid.SetColumnType(2, CST_REAL);
    grid.SetSortMarker(1, Qt::DescendingOrder);
    grid.ClearRows();
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_EQ(grid.SortColumn(), -1);
    grid.InsertRow(0, QStringLiteral("1"));
    EXPECT_EQ(grid.FindCellType(0, 1), -1);
    EXPECT_FALSE(grid.RowColor(0).has_value());
    EXPECT_EQ(grid.GetColumnType(2), CST_REAL);
}

TEST(GridModel, CommitNotifiesOnlyAChangedText)
{
    CGridModel grid;
    FillFiveRows(grid);
    QSignalSpy changed(&grid, &CGridModel::cellChanged);
    EXPECT_FALSE(grid.CommitEdit(0, 1, QStringLiteral("a1")));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(grid.CommitEdit(0, 1, QStringLiteral("A1")));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 0);
    EXPECT_EQ(changed.at(0).at(1).toInt(), 1);
}

TEST(GridModel, CheckClickNotifiesBeforeTheTextChanges)
{
    CGridModel grid;
    for (int column = 0; column < 9; ++column)
        grid.InsertColumn(column, QString::number(column), 40);
    grid.SetCheckColumn(8);
    grid.InsertRow(0, QStringLiteral("1"));
    grid.SetCheckCell(0, 1);
    EXPECT_EQ(grid.CellText(0, 8), CheckedText());

    QString textSeenByOwner;
    QObject::connect(&grid, &CGridModel::cellChanged, &grid,
                     [&](int row, int column) { textSeenByOwner = grid.CellText(row, column); });
    EXPECT_TRUE(grid.ToggleCheck(0, 8));
    EXPECT_EQ(textSeenByOwner, CheckedText());
    EXPECT_EQ(grid.CellText(0, 8), UncheckedText());

    SEditCtrl locked = *grid.FindCellRecord(0, 8);
    locked.nLocked = 1;
    grid.SetCellRecord(locked);
    textSeenByOwner.clear();
    EXPECT_FALSE(grid.ToggleCheck(0, 8));
    EXPECT_TRUE(textSeenByOwner.isEmpty());
}

TEST(GridModel, SetColumnTextsWritesARunOfRowsWithOneNotification)
{
    CGridModel grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillFiveRows(grid);
    QSignalSpy dataChanged(&grid, &CGridModel::dataChanged);
    QSignalSpy cellChanged(&grid, &CGridModel::cellChanged);
    // More texts than rows: the rest is dropped.
    EXPECT_EQ(grid.SetColumnTexts(2, 3, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}), 2);
    EXPECT_EQ(grid.CellText(2, 2), QString());
    EXPECT_EQ(grid.CellText(3, 2), QStringLiteral("x"));
    EXPECT_EQ(grid.CellText(4, 2), QStringLiteral("y"));
    EXPECT_EQ(grid.RowCount(), 5);
    ASSERT_EQ(dataChanged.count(), 1);
    EXPECT_EQ(dataChanged.at(0).at(0).toModelIndex(), grid.index(3, 2));
    EXPECT_EQ(dataChanged.at(0).at(1).toModelIndex(), grid.index(4, 2));

    // Cells that already hold their text are left alone and outside the notification.
    EXPECT_EQ(grid.SetColumnTexts(1, 0, {QStringLiteral("a1"), QStringLiteral("b"), QStringLiteral("a3")}), 1);
    ASSERT_EQ(dataChanged.count(), 2);
    EXPECT_EQ(dataChanged.at(1).at(0).toModelIndex(), grid.index(1, 1));
    EXPECT_EQ(dataChanged.at(1).at(1).toModelIndex(), grid.index(1, 1));
    EXPECT_EQ(grid.SetColumnTexts(1, 0, {QStringLiteral("a1")}), 0);
    EXPECT_EQ(dataChanged.count(), 2);
    EXPECT_EQ(cellChanged.count(), 0);
}

TEST(GridModel, SetColumnTypeReplacesTheColumnsRecord)
{
    CGridModel grid;
    grid.SetColumnType(2, CST_REAL);
    grid.SetColumnType(7, CST_INTEGER);
    grid.SetColumnType(2, CST_TEXT_REVERSED);
    int position = -1;
    EXPECT_EQ(grid.GetColumnType(2, &position), CST_TEXT_REVERSED);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(grid.GetColumnType(5), -1);
    grid.ClearColumnTypes();
    EXPECT_TRUE(grid.ColumnTypes().empty());
}

} // namespace

namespace {

// Three rows of four columns: column 0 numbers the rows, 1 and 2 share an editor, 3 a check mark.
void FillWithColumnRecords(CGridModel& grid)
{
    for (int column = 0; column < 4; ++column)
        grid.InsertColumn(column, QString::number(column), 40);
    grid.SetRowNumberColumn(0);
    grid.SetCheckColumn(3);
    SEditCtrl edit;
    grid.SetColumnRecord(1, edit);
    grid.SetColumnRecord(2, edit);
    SEditCtrl check;
    check.nType = CET_CHECK;
    grid.SetColumnRecord(3, check);
    for (int row = 0; row < 3; ++row) {
        grid.InsertRow(row, QString());
        grid.SetCellText(row, 1, QStringLiteral("r%1").arg(row));
        grid.SetCellText(row, 3, UncheckedText());
    }
}

TEST(GridModel, CellsTakeTheirColumnsRecordUnlessTheyHaveTheirOwn)
{
    CGridModel grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillWithColumnRecords(grid);
    EXPECT_EQ(grid.FindCellType(1, 0), -1);
    EXPECT_EQ(grid.FindCellType(1, 2), CET_EDIT);
    EXPECT_EQ(grid.FindCellRecord(1, 2)->nRow, 1);
    EXPECT_EQ(grid.FindCellRecord(1, 2)->nCol, 2);
    EXPECT_TRUE(grid.flags(grid.index(1, 2)) & Qt::ItemIsEditable);

    // A cell of its own: a combo in one row, no editor in another; the other rows keep the column's.
    SEditCtrl combo;
    combo.nRow = 0;
    combo.nCol = 2;
    combo.nType = CET_COMBO;
    combo.strList = QStringLiteral("a$b");
    grid.SetCellRecord(combo);
    grid.RemoveCellRecord(2, 2);
    EXPECT_EQ(grid.FindCellType(0, 2), CET_COMBO);
    EXPECT_EQ(grid.FindCellType(1, 2), CET_EDIT);
    EXPECT_EQ(grid.FindCellType(2, 2), -1);
    EXPECT_FALSE(grid.flags(grid.index(2, 2)) & Qt::ItemIsEditable);
    // The records go with their rows.
    ASSERT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.FindCellType(0, 2), CET_EDIT);
    EXPECT_EQ(grid.FindCellType(1, 2), -1);
    // A record like the column's gives the cell back to the column.
    SEditCtrl plain;
    plain.nRow = 1;
    plain.nCol = 2;
    grid.SetCellRecord(plain);
    EXPECT_EQ(grid.FindCellType(1, 2), CET_EDIT);
}

TEST(GridModel, ACheckClickMarksOnlyItsOwnRow)
{
    CGridModel grid;
    FillWithColumnRecords(grid);
    EXPECT_TRUE(grid.ToggleCheck(1, 3));
    EXPECT_EQ(grid.data(grid.index(0, 3), CGridModel::CheckStateValueRole).toInt(), 0);
    EXPECT_EQ(grid.data(grid.index(1, 3), CGridModel::CheckStateValueRole).toInt(), 1);
    EXPECT_EQ(grid.data(grid.index(2, 3), CGridModel::CheckStateValueRole).toInt(), 0);
    EXPECT_EQ(grid.CellText(1, 3), CheckedText());
    EXPECT_EQ(grid.CellText(0, 3), UncheckedText());
    EXPECT_TRUE(grid.ToggleCheck(1, 3));
    EXPECT_EQ(grid.FindCellRecord(1, 3)->nCheck, 0);
    EXPECT_EQ(grid.CellText(1, 3), UncheckedText());

    grid.SetCheckCell(2, 1);
    EXPECT_EQ(grid.FindCellRecord(2, 3)->nCheck, 1);
    EXPECT_EQ(grid.CellText(2, 3), CheckedText());
}

TEST(GridModel, TheRowNumberColumnShowsEachRowsNumberAndRenumberingFollowsThePlaces)
{
    CGridModel grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FillWithColumnRecords(grid);
    EXPECT_EQ(grid.CellText(1, 0), QString()); // not numbered yet
    grid.RenumberRows();
    grid.SetCellText(1, 0, QStringLiteral("typed")); // the number is not a text to change
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("2"));

    // A number moves with its row until the rows are renumbered, with one notification.
    ASSERT_TRUE(grid.DeleteRow(0));
    grid.SortRows(1, Qt::DescendingOrder, 0, grid.RowCount());
    EXPECT_EQ(grid.RowTexts(0),
              (QVector<QString>{QStringLiteral("3"), QStringLiteral("r2"), QString(), UncheckedText()}));
    QSignalSpy changed(&grid, &CGridModel::dataChanged);
    grid.RenumberRows(); // r1 kept its number 2: only the first row changes
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex(), grid.index(0, 0));
    EXPECT_EQ(changed.at(0).at(1).toModelIndex(), grid.index(0, 0));
    EXPECT_EQ(grid.CellText(0, 0), QStringLiteral("1"));
    EXPECT_EQ(grid.data(grid.index(1, 0)).toString(), QStringLiteral("2"));
    EXPECT_EQ(grid.CellText(1, 1), QStringLiteral("r1"));
}

} // namespace
