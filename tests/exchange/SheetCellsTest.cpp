#include "exchange/CSheetCells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Import reads every cell of a column into the same cell in turn, its text keeping its room: each read
// must give what a fresh cell gives, whatever the cell held before.
TEST(SheetCells, ReadingIntoAUsedCellGivesWhatAFreshCellGives)
{
    CSheetCells cells;
    const std::u16string pool = u"pooled text\u00e9x";
    cells.SetSharedUtf16Strings(pool, {0, 11, 13});
    cells.SetSharedStrings({QStringLiteral("shared")});
    cells.SetText(0, 0, "a rather long text of the first row");
    cells.SetNumber(1, 0, 2.5);
    cells.SetText(2, 0,
                  "\xef\xbb\xbf"
                  "mark dropped, bad byte \xff replaced");
    cells.SetSharedUtf16Text(3, 0, 1);
    cells.SetSharedText(4, 0, 0);
    cells.SetText(5, 0, "short");
    cells.SetEmpty(6, 0);
    cells.SetEscapedText(7, 0, "A_x0042_C");
    cells.SetSharedUtf16Text(8, 0, 0);
    cells.SetSharedText(9, 0, 7); // no such string
    cells.SetText(11, 0, "after a missing row");
    cells.Finish();

    EXPECT_EQ(cells.Cell(2, 0).text, QString::fromUtf8("\xef\xbb\xbf"
                                                       "mark dropped, bad byte \xff replaced"));
    EXPECT_EQ(cells.Cell(7, 0).text, QStringLiteral("ABC"));

    SWorkbookCell reused;
    for (int row = 0; row < cells.LastRow() + 1; ++row) {
        const SWorkbookCell fresh = cells.Cell(row, 0);
        cells.ReadCell(row, 0, reused);
        EXPECT_EQ(reused.isNumber, fresh.isNumber) << row;
        EXPECT_EQ(reused.number, fresh.number) << row;
        EXPECT_EQ(reused.text, fresh.text) << row;
        // A column without cells reads as empty whatever came before.
        cells.ReadCell(row, 3, reused);
        EXPECT_FALSE(reused.isNumber);
        EXPECT_TRUE(reused.text.isEmpty()) << row;
    }
}

} // namespace
