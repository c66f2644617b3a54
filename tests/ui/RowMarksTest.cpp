// The grid's marks on rows that a download would stop at, send other than typed, or send twice.

#include "download/CRowChecks.h"
#include "grid/CGridModel.h"
#include "plu/CPluTable.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace {

constexpr int kPluNo = 1;
constexpr int kUnitPrice = 2;
constexpr int kGoodsId = 3;

// A pricing table in the grid view, as the window shows it, with its checks.
struct SMarkedTable
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};
    CRowChecks checks{grid, table};
    QAbstractItemModelTester tester{&grid, QAbstractItemModelTester::FailureReportingMode::Fatal};
    CMFCListCtrlEx view;

    SMarkedTable()
    {
        settings.Settings().WriteInt(ESetting::PluMode, PluLayout::SettingOf(EPluMode::Pricing));
        table.EnterStoredMode();
        // Text cells in the code page every language can send.
        checks.SetCodePages(65001, 1252);
        view.SetGrid(&grid);
        view.resize(900, 400);
        view.show();
    }

    // Types a row into the entry row, cell by cell, as the user does.
    void Type(std::initializer_list<std::pair<int, const char*>> cells)
    {
        const int row = grid.RowCount() - 1;
        for (const auto& [column, text] : cells)
            grid.CommitEdit(row, column, QString::fromUtf8(text));
    }

    std::optional<ECellMark> Mark(int row, int column) const
    {
        const QVariant mark = grid.index(row, column).data(CGridModel::CellMarkRole);
        return mark.isValid() ? std::optional<ECellMark>(ECellMark(mark.toInt())) : std::nullopt;
    }

    std::string ToolTip(int row, int column) const
    {
        return grid.index(row, column).data(Qt::ToolTipRole).toString().toStdString();
    }

    // The colour the view paints in the middle of the cell.
    QColor Painted(int row, int column)
    {
        const QImage picture = view.viewport()->grab().toImage();
        const QRect cell = view.visualRect(grid.index(row, column));
        return picture.pixelColor(cell.center().x(), cell.top() + 2);
    }

    // Every marked cell of the table, as "row,column:kind".
    std::vector<std::string> Marks() const
    {
        std::vector<std::string> marks;
        for (int row = 0; row < grid.RowCount(); ++row) {
            for (int column = 0; column < grid.ColumnCount(); ++column) {
                if (const std::optional<ECellMark> mark = Mark(row, column))
                    marks.push_back(std::to_string(row) + "," + std::to_string(column) + ":" +
                                    std::to_string(int(*mark)));
            }
        }
        return marks;
    }
};

const std::string kRejected = std::to_string(int(ECellMark::Rejected));
const std::string kWarning = std::to_string(int(ECellMark::Warning));
const std::string kRepeated = std::to_string(int(ECellMark::Repeated));

// Four rows: a plain one, an ambiguous price, a Goods Id too long for its field, and a repeated PLU No.
void TypeFourRows(SMarkedTable& t)
{
    t.Type({{kPluNo, "12"}, {kUnitPrice, "3.5"}});
    t.Type({{kPluNo, "7"}, {kUnitPrice, "1,234"}});
    t.Type({{kGoodsId, "4006381333931"}, {kPluNo, "5"}, {kUnitPrice, "2"}});
    t.Type({{kPluNo, "12"}, {kUnitPrice, "4"}});
}

TEST(RowMarks, MarkTheCellThatWillNotGoAsTyped)
{
    SMarkedTable t;
    TypeFourRows(t);
    ASSERT_EQ(t.grid.RowCount(), 5);
    // The first row, and the entry row that is skipped, carry no mark.
    EXPECT_EQ(t.Marks(), (std::vector<std::string>{"1,2:" + kRejected, "2,3:" + kWarning, "3,1:" + kRepeated}));

    EXPECT_EQ(t.ToolTip(1, kUnitPrice), "Unit price '1,234' can be read two ways: write the decimals after a point, "
                                        "without thousands separators\n1,234");
    EXPECT_EQ(t.ToolTip(2, kGoodsId), "Goods Id 4006381333931 is cut to 12 bytes\n4006381333931");
    EXPECT_EQ(t.ToolTip(3, kPluNo), "PLU No. 12 is also in row 1: the scale keeps only the later record\n12");
    EXPECT_EQ(t.ToolTip(0, kPluNo), "12");

    // Each kind has its own tint; unmarked cells keep the row's white.
    const QColor rejected = t.Painted(1, kUnitPrice);
    const QColor warning = t.Painted(2, kGoodsId);
    const QColor repeated = t.Painted(3, kPluNo);
    EXPECT_EQ(t.Painted(0, kUnitPrice), QColor(Qt::white));
    EXPECT_EQ(t.Painted(1, kPluNo), QColor(Qt::white));
    EXPECT_NE(rejected, QColor(Qt::white));
    EXPECT_NE(warning, QColor(Qt::white));
    EXPECT_NE(repeated, QColor(Qt::white));
    EXPECT_NE(rejected, warning);
    EXPECT_NE(rejected, repeated);
    EXPECT_NE(warning, repeated);
}

TEST(RowMarks, FollowEdits)
{
    SMarkedTable t;
    TypeFourRows(t);

    t.grid.CommitEdit(1, kUnitPrice, QStringLiteral("1.234"));
    t.grid.CommitEdit(2, kGoodsId, QStringLiteral("400638133393"));
    EXPECT_EQ(t.Marks(), (std::vector<std::string>{"3,1:" + kRepeated}));
    EXPECT_EQ(t.Painted(1, kUnitPrice), QColor(Qt::white));

    // The first 12 turns into something that is no number: the later 12 is the only one left.
    t.grid.CommitEdit(0, kPluNo, QStringLiteral("A12"));
    EXPECT_EQ(t.Marks(), (std::vector<std::string>{"0,1:" + kRejected}));
    EXPECT_EQ(t.ToolTip(0, kPluNo), "PLU No. 'A12' is not a number\nA12");

    t.grid.CommitEdit(0, kPluNo, QStringLiteral("5"));
    EXPECT_EQ(t.Marks(), (std::vector<std::string>{"2,1:" + kRepeated}));
    EXPECT_EQ(t.ToolTip(2, kPluNo), "PLU No. 5 is also in row 1: the scale keeps only the later record\n5");

    // A deleted row takes its marks along and the repeat is gone.
    t.grid.SetSelectionMark(2);
    t.table.DeleteMarkedRow();
    EXPECT_EQ(t.Marks(), std::vector<std::string>{});
}

TEST(RowMarks, FollowSorting)
{
    SMarkedTable t;
    TypeFourRows(t);

    // By unit price, highest first: 4 (PLU 12), 3.5 (PLU 12), 2 (long Goods Id), 1,234 (read as 1 for sorting).
    t.table.SortByColumn(kUnitPrice, Qt::DescendingOrder);
    ASSERT_EQ(t.grid.CellText(0, kUnitPrice), QStringLiteral("4"));
    ASSERT_EQ(t.grid.CellText(3, kUnitPrice), QStringLiteral("1,234"));
    EXPECT_EQ(t.Marks(), (std::vector<std::string>{"1,1:" + kRepeated, "2,3:" + kWarning, "3,2:" + kRejected}));
    EXPECT_EQ(t.ToolTip(1, kPluNo), "PLU No. 12 is also in row 1: the scale keeps only the later record\n12");
    EXPECT_NE(t.Painted(3, kUnitPrice), QColor(Qt::white));
    EXPECT_EQ(t.Painted(0, kPluNo), QColor(Qt::white));

    t.table.SortByColumn(kUnitPrice, Qt::AscendingOrder);
    EXPECT_EQ(t.Marks(), (std::vector<std::string>{"0,2:" + kRejected, "1,3:" + kWarning, "3,1:" + kRepeated}));
    EXPECT_EQ(t.ToolTip(3, kPluNo), "PLU No. 12 is also in row 3: the scale keeps only the later record\n12");
}

} // namespace
