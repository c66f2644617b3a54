#include "grid/GridClipboard.h"
#include "app/Language.h"
#include "grid/CGridModel.h"
#include "grid/EditorTexts.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

QString Text(int row, int column)
{
    return QStringLiteral("r%1c%2").arg(row).arg(column);
}

// Three rows of five columns: column 0 without a record (a row number), columns 1 and 2 plain
// text, column 3 a check cell, column 4 a list-only combo.
struct SClipboardGrid
{
    static constexpr int kRows = 3;
    static constexpr int kColumns = 5;
    CGridModel grid;

    SClipboardGrid()
    {
        for (int column = 0; column < kColumns; ++column)
            grid.InsertColumn(column, QString::number(column), 50);
        for (int row = 0; row < kRows; ++row) {
            grid.InsertRow(row, Text(row, 0));
            for (int column = 1; column < kColumns; ++column)
                grid.SetCellText(row, column, Text(row, column));
            grid.SetCellEditable(row, 1);
            grid.SetCellEditable(row, 2);
            SEditCtrl check;
            check.nRow = row;
            check.nCol = 3;
            check.nType = CET_CHECK;
            grid.SetCellRecord(check);
            SEditCtrl list;
            list.nRow = row;
            list.nCol = 4;
            list.nType = CET_DROPLIST;
            grid.SetCellRecord(list);
        }
    }
};

TEST(GridClipboard, CopyingARangeGivesItsRowsWithoutATrailingBreak)
{
    SClipboardGrid fixture;
    const QString expected = QStringLiteral("r0c1\tr0c2\tr0c3\r\nr1c1\tr1c2\tr1c3");
    EXPECT_EQ(CopyRangeText(fixture.grid, RangeBetween(0, 1, 1, 3)), expected);
    EXPECT_EQ(CopyRangeText(fixture.grid, RangeBetween(1, 3, 0, 1)), expected); // dragged up and left
    EXPECT_EQ(CopyRangeText(fixture.grid, RangeBetween(2, 2, 2, 2)), QStringLiteral("r2c2"));
    // Rows that are gone since the range was chosen are left out.
    EXPECT_EQ(CopyRangeText(fixture.grid, RangeBetween(2, 0, 7, 1)), QStringLiteral("r2c0\tr2c1"));
}

TEST(GridClipboard, CopyingWholeRowsGivesEveryColumn)
{
    CGridModel grid;
    for (int column = 0; column < 3; ++column)
        grid.InsertColumn(column, QString::number(column), 50);
    for (int row = 0; row < 3; ++row) {
        grid.InsertRow(row, Text(row, 0));
        grid.SetCellText(row, 1, Text(row, 1));
    }
    EXPECT_EQ(CopyWholeRowsText(grid, 1, 2), QStringLiteral("r1c0\tr1c1\t\r\nr2c0\tr2c1\t"));
    EXPECT_EQ(CopyWholeRowsText(grid, 0, 0), QStringLiteral("r0c0\tr0c1\t"));
}

TEST(GridClipboard, PasteTextSplitsIntoLinesOfFields)
{
    using Lines = QVector<QStringList>;
    EXPECT_EQ(SplitPasteText(QStringLiteral("a\tb\r\nc")),
              (Lines{{QStringLiteral("a"), QStringLiteral("b")}, {QStringLiteral("c")}}));
    // A spreadsheet's copy ends with a line break: no empty line follows its last row.
    EXPECT_EQ(SplitPasteText(QStringLiteral("a\r\n")), (Lines{{QStringLiteral("a")}}));
    EXPECT_EQ(SplitPasteText(QStringLiteral("a\n\nc")),
              (Lines{{QStringLiteral("a")}, {QString()}, {QStringLiteral("c")}}));
    EXPECT_EQ(SplitPasteText(QStringLiteral("x\ry\t")), (Lines{{QStringLiteral("xy"), QString()}}));
    EXPECT_TRUE(SplitPasteText(QString()).isEmpty());
}

struct SPasteCase
{
    const char* name;
    int row;
    int column;
    const char* text;
    std::vector<const char*> written; // "row,column=text", in the order they were notified
};

void PrintTo(const SPasteCase& pasteCase, std::ostream* out)
{
    *out << pasteCase.name;
}

class GridPaste : public ::testing::TestWithParam<SPasteCase>
{
};

TEST_P(GridPaste, WritesOnlyCellsThatTakeTextAndNotifiesEach)
{
    const SPasteCase& paste = GetParam();
    SClipboardGrid fixture;
    CGridModel& grid = fixture.grid;
    QStringList notified;
    QObject::connect(&grid, &CGridModel::cellChanged, &grid, [&](int row, int column) {
        // The text is already in the cell when the owner hears of it.
        notified << QStringLiteral("%1,%2=%3").arg(row).arg(column).arg(grid.CellText(row, column));
    });

    QStringList expectedWrites;
    for (const char* write : paste.written)
        expectedWrites << QString::fromUtf8(write);
    const int written = PasteText(grid, paste.row, paste.column, QString::fromUtf8(paste.text));
    EXPECT_EQ(notified, expectedWrites);
    EXPECT_EQ(written, expectedWrites.size());
    EXPECT_EQ(grid.RowCount(), SClipboardGrid::kRows);
    for (int row = 0; row < SClipboardGrid::kRows; ++row) {
        for (int column = 0; column < SClipboardGrid::kColumns; ++column) {
            QString expected = Text(row, column);
            for (const QString& write : std::as_const(expectedWrites)) {
                if (write.startsWith(QStringLiteral("%1,%2=").arg(row).arg(column)))
                    expected = write.section(QLatin1Char('='), 1);
            }
            EXPECT_EQ(grid.CellText(row, column), expected) << row << "," << column;
        }
    }
}

const SPasteCase kPasteCases[] = {
    {"AtTheNumberCellTheFirstFieldIsDropped", 0, 0, "a\tb", {"0,1=b"}},
    {"TwoLinesFillTwoRows", 0, 1, "a\tb\r\nc\td", {"0,1=a", "0,2=b", "1,1=c", "1,2=d"}},
    {"BelowTheLastRowNothingIsWritten", 2, 1, "x\ny\nz", {"2,1=x"}},
    {"PastTheLastRowAltogether", 5, 1, "x", {}},
    {"CheckAndListCellsKeepTheirTextsAndFieldsRunOut", 1, 2, "p\tq\tr\ts", {"1,2=p"}},
    {"AnUnchangedTextStillNotifies", 0, 1, "r0c1", {"0,1=r0c1"}},
    {"TheBreakAfterTheLastLineWritesNothing", 0, 1, "x\r\ny\r\n", {"0,1=x", "1,1=y"}},
    {"AnEmptyLineClearsItsCell", 0, 1, "x\n\nz", {"0,1=x", "1,1=", "2,1=z"}},
    {"AnEmptyClipboardWritesNothing", 0, 1, "", {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridPaste, ::testing::ValuesIn(kPasteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridClipboard, RowsTheOwnerAppendsWhilePastingTakeTheFollowingLines)
{
    SClipboardGrid fixture;
    CGridModel& grid = fixture.grid;
    // An owner that appends an editable row whenever the last row changes (like an entry row).
    QObject::connect(&grid, &CGridModel::cellChanged, &grid, [&](int row, int) {
        if (row == grid.RowCount() - 1) {
            const int added = grid.InsertRow(grid.RowCount(), QString());
            grid.SetCellEditable(added, 1);
        }
    });
    EXPECT_EQ(PasteText(grid, 2, 1, QStringLiteral("x\ny\nz")), 3);
    EXPECT_EQ(grid.CellText(3, 1), QStringLiteral("y"));
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("z"));
    EXPECT_EQ(grid.RowCount(), 6);
}

TEST(GridClipboard, ContextMenuOffersPasteOnlyOnCellsThatTakeText)
{
    const QVector<int> copyOnly{kCopyCommand, kCopyWholeRowCommand};
    const QVector<int> withPaste{kCopyCommand, kCopyWholeRowCommand, kPasteCommand};
    EXPECT_EQ(ContextMenuCommands(-1), copyOnly);
    for (int type = CET_EDIT; type <= CET_CHECK; ++type) {
        const bool takesText = type == CET_EDIT || type == CET_MULTILINE || type == CET_COMBO || type == CET_RICHEDIT;
        EXPECT_EQ(ContextMenuCommands(type), takesText ? withPaste : copyOnly) << "type " << type;
    }
}

TEST(GridClipboard, ContextMenuFollowsTheLanguage)
{
    const int before = Language::LanguageInForce();
    const struct
    {
        int lcid;
        const char* copy;
        const char* copyRow;
        const char* paste;
    } cases[] = {
        {1033, "Copy", "Copy whole row", "Paste"},
        {1031, "Kopieren", "Ganze Zeile kopieren", "Einfügen"},
        {2052, "复制", "复制整行", "粘贴"},
        {3076, "複製", "複製整行", "貼上"},
    };
    for (const auto& c : cases) {
        Language::SetLanguageInForce(c.lcid);
        EXPECT_EQ(ContextCommandText(kCopyCommand), QString::fromUtf8(c.copy)) << c.lcid;
        EXPECT_EQ(ContextCommandText(kCopyWholeRowCommand), QString::fromUtf8(c.copyRow)) << c.lcid;
        EXPECT_EQ(ContextCommandText(kPasteCommand), QString::fromUtf8(c.paste)) << c.lcid;
    }
    Language::SetLanguageInForce(before);
}

// ---- editor texts ----

TEST(EditorTexts, ListsSplitAtDollarSigns)
{
    using EditorTexts::SplitList;
    EXPECT_EQ(SplitList(QStringLiteral("a$b$$c")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")}));
    EXPECT_EQ(SplitList(QStringLiteral("one")), QStringList{QStringLiteral("one")});
    EXPECT_TRUE(SplitList(QString()).isEmpty());
}

TEST(EditorTexts, ItemsAreFoundByTheirBeginningIgnoringCase)
{
    using EditorTexts::FindItemByPrefix;
    const QStringList items{QStringLiteral("Apple"), QStringLiteral("apricot"), QStringLiteral("Banana")};
    EXPECT_EQ(FindItemByPrefix(items, QStringLiteral("AP")), 0);
    EXPECT_EQ(FindItemByPrefix(items, QStringLiteral("apr")), 1);
    EXPECT_EQ(FindItemByPrefix(items, QStringLiteral("banana")), 2);
    EXPECT_EQ(FindItemByPrefix(items, QString()), 0);
    EXPECT_EQ(FindItemByPrefix(items, QStringLiteral("Bananas")), -1);
    EXPECT_EQ(FindItemByPrefix({}, QString()), -1);
}

TEST(EditorTexts, MultiColumnItemsStoreTheirFirstColumn)
{
    const struct
    {
        const char* item;
        const char* value;
    } cases[] = {
        {"12\tTwelve", "12"}, {"A|B", "A"},      {"|B", "|B"},       {"\tB", "\tB"}, {"A B", "A B"},
        {"A |B", "A "},       {"1|2\t3", "1|2"}, {"\t1|2", "\t1|2"}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorTexts::MultiColumnValue(QString::fromUtf8(c.item)), QString::fromUtf8(c.value)) << c.item;
}

TEST(EditorTexts, DatesAreWrittenAsYearMonthDay)
{
    EXPECT_EQ(EditorTexts::DateText(QDate(2019, 8, 13)), QStringLiteral("2019-08-13"));
    EXPECT_EQ(EditorTexts::DateText(QDate(2020, 12, 1)), QStringLiteral("2020-12-01"));
    EXPECT_EQ(EditorTexts::DateText(QDate()), QStringLiteral("Invalid DateTime"));
}

} // namespace
