#include "plu/CPluTable.h"
#include "support/ScriptedPrompt.h"
#include "support/TempSettings.h"
#include "ui/grid/CEditEx.h"
#include "ui/grid/CMFCListCtrlEx.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The table on a real grid view, edited with the mouse and the keyboard.
struct SPluGridFixture
{
    CTempSettings settings;
    CScriptedPrompt prompt;
    CGridModel grid;
    CPluTable table{grid, settings.Settings(), prompt};
    CMFCListCtrlEx view;

    SPluGridFixture()
    {
        table.EnterStoredMode();
        view.SetGrid(&grid);
        view.resize(800, 300);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    void Click(int row, int column)
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(grid.index(row, column)).center());
    }

    CEditEx* Editor() const { return qobject_cast<CEditEx*>(view.Editor()); }
};

TEST(PluGrid, TypingPluNoAndWeightIntoTheEntryRowCompletesIt)
{
    SPluGridFixture fixture;
    fixture.Click(0, 1);
    ASSERT_NE(fixture.Editor(), nullptr);
    QTest::keyClicks(fixture.Editor(), QStringLiteral("101"));
    QTest::keyClick(fixture.Editor(), Qt::Key_Tab);
    ASSERT_NE(fixture.Editor(), nullptr);
    EXPECT_EQ(fixture.view.EditColumn(), 2);
    EXPECT_EQ(fixture.grid.RowCount(), 1);
    QTest::keyClicks(fixture.Editor(), QStringLiteral("0.25"));
    QTest::keyClick(fixture.Editor(), Qt::Key_Return);

    EXPECT_FALSE(fixture.view.IsEditing());
    ASSERT_EQ(fixture.grid.RowCount(), 2);
    EXPECT_EQ(fixture.grid.RowColor(0)->crBk, CPluTable::kCompleteRowColor);
    EXPECT_EQ(fixture.grid.RowColor(1)->crBk, CPluTable::kEntryRowColor);
    EXPECT_EQ(fixture.grid.CellText(1, 0), QStringLiteral("2"));
    EXPECT_EQ(fixture.table.UnexportedChanges(), 1);
}

TEST(PluGrid, DeleteRemovesTheClickedRow)
{
    SPluGridFixture fixture;
    for (int n = 1; n <= 3; ++n) {
        const int row = fixture.grid.RowCount() - 1;
        fixture.grid.CommitEdit(row, 1, QString::number(n));
        fixture.grid.CommitEdit(row, 2, QStringLiteral("1"));
    }
    fixture.Click(1, 0); // Sr.No. opens no editor but selects the row
    EXPECT_FALSE(fixture.view.IsEditing());
    EXPECT_EQ(fixture.grid.SelectionMark(), 1);
    fixture.table.DeleteMarkedRow();
    EXPECT_EQ(fixture.grid.RowCount(), 3);
    EXPECT_EQ(fixture.grid.CellText(1, 1), QStringLiteral("3"));
    EXPECT_EQ(fixture.grid.CellText(1, 0), QStringLiteral("2"));
}

TEST(PluGrid, HeaderClickSortsTheDataRowsAndKeepsTheEntryRowLast)
{
    SPluGridFixture fixture;
    // The window's one line.
    QObject::connect(&fixture.view, &CMFCListCtrlEx::sortRequested, &fixture.table, &CPluTable::SortByColumn);
    const QStringList prices{QStringLiteral("10"), QStringLiteral("9.5"), QStringLiteral("100")};
    for (int row = 0; row < prices.size(); ++row) {
        fixture.grid.CommitEdit(row, 1, QStringLiteral("P%1").arg(row));
        fixture.grid.CommitEdit(row, 2, prices[row]);
    }
    ASSERT_EQ(fixture.grid.RowCount(), 4);

    QHeaderView* header = fixture.view.horizontalHeader();
    const QPoint unitWeight(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, unitWeight);
    const QStringList ascending{QStringLiteral("9.5"), QStringLiteral("10"), QStringLiteral("100"), QString()};
    const QStringList numbers{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    QStringList weights;
    QStringList srNo;
    for (int row = 0; row < fixture.grid.RowCount(); ++row) {
        weights << fixture.grid.CellText(row, 2);
        srNo << fixture.grid.CellText(row, 0);
    }
    EXPECT_EQ(weights, ascending);
    EXPECT_EQ(srNo, numbers);
    EXPECT_EQ(fixture.grid.CellText(0, 1), QStringLiteral("P1"));
    EXPECT_EQ(fixture.grid.RowColor(3)->crBk, CPluTable::kEntryRowColor);
    EXPECT_EQ(header->sortIndicatorSection(), 2);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, unitWeight);
    EXPECT_EQ(fixture.grid.CellText(0, 2), QStringLiteral("100"));
    EXPECT_EQ(fixture.grid.CellText(3, 2), QString());
    EXPECT_EQ(fixture.grid.CellText(3, 0), QStringLiteral("4"));
}

} // namespace
