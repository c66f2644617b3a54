#include "grid/CGridModel.h"
#include "grid/CellCompare.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct SCompareCase
{
    const char* name;
    int type;
    const char* a;
    const char* b;
    int sign; // of CompareCells(a, b)
};

void PrintTo(const SCompareCase& compareCase, std::ostream* out)
{
    *out << compareCase.name;
}

class CellComparison : public ::testing::TestWithParam<SCompareCase>
{
};

TEST_P(CellComparison, OrdersTwoTextsByTheColumnType)
{
    const SCompareCase& c = GetParam();
    const QString a = QString::fromUtf8(c.a);
    const QString b = QString::fromUtf8(c.b);
    const int result = CompareCells(a, b, c.type);
    EXPECT_EQ((result > 0) - (result < 0), c.sign);
    const int reverse = CompareCells(b, a, c.type);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign);
}

const SCompareCase kCompareCases[] = {
    {"TextIsOrdinal", CST_TEXT, "10", "9", -1},
    {"TextIsCaseSensitive", CST_TEXT, "B", "a", -1},
    {"IntegerReadsLeadingDigits", CST_INTEGER, "9 pcs", "10", -1},
    {"IntegerWithoutDigitsIsZero", CST_INTEGER, "none", "0", 0},
    {"IntegerNegative", CST_INTEGER, "-3", "2", -1},
    {"RealByValue", CST_REAL, "9.5", "10", -1},
    {"RealWithExponent", CST_REAL, "1e3", "999.9", 1},
    {"RealCommaIsNoDecimalPoint", CST_REAL, "1,9", "1.5", -1},
    {"DateIso", CST_DATE, "2019-08-13", "2019-08-20", -1},
    {"DateAcrossYears", CST_DATE, "2018-12-31", "2019-01-01", -1},
    {"DatesWithinHalfASecondAreEqual", CST_DATE, "2019-08-13T10:00:00.000", "2019-08-13T10:00:00.400", 0},
    {"DatesHalfASecondApartDiffer", CST_DATE, "2019-08-13T10:00:00.000", "2019-08-13T10:00:00.500", -1},
    {"NoDateBeforeADate", CST_DATE, "", "2019-08-13", -1},
    {"TwoNonDatesAreEqual", CST_DATE, "", "soon", 0},
    {"TextReversed", CST_TEXT_REVERSED, "a", "b", 1},
    {"TextReversedEqual", CST_TEXT_REVERSED, "a", "a", 0},
    {"UnknownTypeIsText", 99, "a", "b", -1},
};

INSTANTIATE_TEST_SUITE_P(Types, CellComparison, ::testing::ValuesIn(kCompareCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CellDate, ReadsIsoDatesAndRejectsOtherText)
{
    EXPECT_EQ(ReadCellDate(QStringLiteral("2019-08-13")).date(), QDate(2019, 8, 13));
    EXPECT_EQ(ReadCellDate(QStringLiteral(" 2019-08-13 ")).date(), QDate(2019, 8, 13));
    EXPECT_EQ(ReadCellDate(QStringLiteral("2019-08-13T23:59:58")).time(), QTime(23, 59, 58));
    EXPECT_FALSE(ReadCellDate(QStringLiteral("2019-02-30")).isValid());
    EXPECT_FALSE(ReadCellDate(QStringLiteral("tomorrow")).isValid());
    EXPECT_FALSE(ReadCellDate(QString()).isValid());
}

// Rows of a pricing-like grid: Sr.No., PLU No., Unit price, and a check cell in column 3.
struct SPriceGrid
{
    CGridModel grid;

    explicit SPriceGrid(const QStringList& prices)
    {
        grid.InsertColumn(0, QStringLiteral("No."), 50);
        grid.InsertColumn(1, QStringLiteral("PLU"), 60);
        grid.InsertColumn(2, QStringLiteral("Price"), 60);
        grid.InsertColumn(3, QStringLiteral("Check"), 60);
        grid.SetColumnType(2, CST_REAL);
        for (int row = 0; row < prices.size(); ++row) {
            grid.InsertRow(row, QString::number(row + 1));
            grid.SetCellText(row, 1, QStringLiteral("plu%1").arg(row));
            grid.SetCellText(row, 2, prices[row]);
            grid.SetCellEditable(row, 1);
            SEditCtrl check;
            check.nRow = row;
            check.nCol = 3;
            check.nType = CET_CHECK;
            check.nCheck = row % 2;
            grid.SetCellRecord(check);
            grid.SetRowColor(row, quint32(100 + row));
        }
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < grid.RowCount(); ++row)
            texts << grid.CellText(row, column);
        return texts;
    }
};

TEST(GridSort, RowsMoveWholeByTheColumnType)
{
    SPriceGrid fixture({QStringLiteral("10"), QStringLiteral("9.5"), QStringLiteral("100")});
    CGridModel& grid = fixture.grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid.RemoveCellRecord(2, 1); // the row priced 100 has no editable PLU No.

    grid.SortRows(2, Qt::AscendingOrder, 0, grid.RowCount());
    EXPECT_EQ(fixture.Column(2), (QStringList{QStringLiteral("9.5"), QStringLiteral("10"), QStringLiteral("100")}));
    EXPECT_EQ(fixture.Column(1), (QStringList{QStringLiteral("plu1"), QStringLiteral("plu0"), QStringLiteral("plu2")}));
    EXPECT_EQ(grid.RowColor(0)->crBk, 101u);
    EXPECT_EQ(grid.RowColor(0)->nRow, 0);
    EXPECT_EQ(grid.FindCellRecord(0, 3)->nCheck, 1);
    EXPECT_EQ(grid.FindCellRecord(1, 3)->nCheck, 0);
    EXPECT_EQ(grid.FindCellType(2, 1), -1);
    EXPECT_EQ(grid.FindCellType(1, 1), CET_EDIT);

    grid.SortRows(2, Qt::DescendingOrder, 0, grid.RowCount());
    EXPECT_EQ(fixture.Column(2), (QStringList{QStringLiteral("100"), QStringLiteral("10"), QStringLiteral("9.5")}));
}

TEST(GridSort, EqualTextsKeepTheirOrderAndRowsOutsideTheRangeStay)
{
    SPriceGrid fixture(
        {QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("0")});
    CGridModel& grid = fixture.grid;
    grid.SortRows(2, Qt::AscendingOrder, 0, 4);
    EXPECT_EQ(fixture.Column(1), (QStringList{QStringLiteral("plu1"), QStringLiteral("plu3"), QStringLiteral("plu0"),
                                              QStringLiteral("plu2"), QStringLiteral("plu4")}));
    grid.SortRows(2, Qt::DescendingOrder, 0, 4);
    EXPECT_EQ(fixture.Column(1), (QStringList{QStringLiteral("plu0"), QStringLiteral("plu2"), QStringLiteral("plu1"),
                                              QStringLiteral("plu3"), QStringLiteral("plu4")}));
}

TEST(GridSort, PersistentIndexesAndTheSelectionMarkFollowTheirRows)
{
    SPriceGrid fixture({QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2")});
    CGridModel& grid = fixture.grid;
    const QPersistentModelIndex edited = grid.index(0, 1);
    grid.SetSelectionMark(2);
    QSignalSpy layout(&grid, &CGridModel::layoutChanged);

    grid.SortRows(2, Qt::AscendingOrder, 0, grid.RowCount());
    EXPECT_EQ(layout.count(), 1);
    EXPECT_EQ(edited.row(), 2);
    EXPECT_EQ(edited.data().toString(), QStringLiteral("plu0"));
    EXPECT_EQ(grid.SelectionMark(), 1);
    EXPECT_EQ(grid.CellText(grid.SelectionMark(), 1), QStringLiteral("plu2"));

    // Rows already in order: nothing moves and the views are not disturbed.
    grid.SortRows(2, Qt::AscendingOrder, 0, grid.RowCount());
    EXPECT_EQ(layout.count(), 1);
}

TEST(GridSort, EveryColumnTypeOrdersItsTexts)
{
    struct SCase
    {
        int type;
        QStringList texts;
        QStringList sorted;
    };
    const SCase cases[] = {
        {CST_TEXT,
         {QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a")},
         {QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("b")}},
        {CST_INTEGER,
         {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("x")},
         {QStringLiteral("x"), QStringLiteral("9"), QStringLiteral("10")}},
        {CST_REAL,
         {QStringLiteral("10"), QStringLiteral("9.5"), QStringLiteral("100")},
         {QStringLiteral("9.5"), QStringLiteral("10"), QStringLiteral("100")}},
        {CST_DATE,
         {QStringLiteral("2019-08-20"), QString(), QStringLiteral("2019-08-13")},
         {QString(), QStringLiteral("2019-08-13"), QStringLiteral("2019-08-20")}},
        {CST_TEXT_REVERSED,
         {QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("b")},
         {QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}},
    };
    for (const SCase& c : cases) {
        SPriceGrid fixture(c.texts);
        fixture.grid.SetColumnType(2, c.type);
        fixture.grid.SortRows(2, Qt::AscendingOrder, 0, fixture.grid.RowCount());
        EXPECT_EQ(fixture.Column(2), c.sorted) << "type " << c.type;
    }
}

// The sort role gives the value the column's sort type compares, so that a view or a proxy sorting by
// it orders the rows as a header click does.
TEST(GridSort, TheSortRoleHoldsTheValueTheColumnTypeCompares)
{
    struct SCase
    {
        const char* name;
        int type;
        const char* text;
        QVariant value;
    };
    const SCase cases[] = {
        {"text", CST_TEXT, "10 pcs", QVariant(QStringLiteral("10 pcs"))},
        {"integer reads its leading digits", CST_INTEGER, "9 pcs", QVariant::fromValue(qint64(9))},
        {"integer without digits", CST_INTEGER, "none", QVariant::fromValue(qint64(0))},
        {"decimal", CST_REAL, "2.75", QVariant(2.75)},
        {"date", CST_DATE, "2019-08-13", QVariant::fromValue(QDate(2019, 8, 13).startOfDay().toMSecsSinceEpoch())},
        {"no date", CST_DATE, "soon", QVariant()},
        {"reversed text", CST_TEXT_REVERSED, "b", QVariant(QStringLiteral("b"))},
    };
    for (const SCase& c : cases) {
        SPriceGrid fixture({QString::fromUtf8(c.text)});
        QAbstractItemModelTester tester(&fixture.grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
        fixture.grid.SetColumnType(2, c.type);
        const QVariant value = fixture.grid.index(0, 2).data(CGridModel::SortRole);
        EXPECT_EQ(value.metaType(), c.value.metaType()) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
    // A column without a type compares its texts.
    SPriceGrid untyped({QStringLiteral("5")});
    EXPECT_EQ(untyped.grid.index(0, 1).data(CGridModel::SortRole), QVariant(QStringLiteral("plu0")));
}

} // namespace
