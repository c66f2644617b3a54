#include "grid/CRowTexts.h"

#include <gtest/gtest.h>

namespace {

QVector<QString> Texts(std::initializer_list<const char*> texts)
{
    QVector<QString> result;
    for (const char* text : texts)
        result.append(QString::fromUtf8(text));
    return result;
}

TEST(RowTexts, HoldsEachCellApartWhateverItsContent)
{
    const struct
    {
        const char* name;
        QVector<QString> texts;
    } cases[] = {
        {"plain", Texts({"1", "12", "3.5", "Apples"})},
        {"empty cells between", Texts({"", "a", "", "", "b"})},
        {"wide characters", Texts({"苹果", "😀", "\xc3\x97"})},
        {"a cell longer than 65,535 characters", {QString(70000, QLatin1Char('x')), QStringLiteral("after")}},
        {"texts that look like the row's own bookkeeping", {QString(QChar(3)), QString(2, QChar(0)), QString()}},
    };
    for (const auto& c : cases) {
        const CRowTexts row(c.texts);
        for (int column = 0; column < c.texts.size(); ++column)
            EXPECT_EQ(row[column], c.texts[column]) << c.name << ", column " << column;
        EXPECT_EQ(row[int(c.texts.size())], QString()) << c.name;
        EXPECT_EQ(row.ToVector(int(c.texts.size()) + 1), c.texts + QVector<QString>{QString()}) << c.name;
    }
}

TEST(RowTexts, EmptyRowsHoldNothing)
{
    EXPECT_EQ(CRowTexts().size(), 0);
    EXPECT_EQ(CRowTexts(Texts({"", "", ""})).size(), 0);
    EXPECT_EQ(CRowTexts(Texts({"a", "", ""})).size(), 1); // trailing empty cells read the same unheld
    EXPECT_EQ(CRowTexts()[-1], QString());
}

TEST(RowTexts, SetChangesOneCellAndKeepsTheOthers)
{
    CRowTexts row(Texts({"1", "12", "3.5"}));
    row.Set(1, QStringLiteral("1008"));
    row.Set(5, QStringLiteral("far"));
    row.Set(7, QString()); // beyond the last cell: nothing to hold
    EXPECT_EQ(row.ToVector(6), Texts({"1", "1008", "3.5", "", "", "far"}));
    EXPECT_EQ(row.size(), 6);
    row.Set(5, QString());
    EXPECT_EQ(row.size(), 3);
    row.Set(-1, QStringLiteral("x"));
    EXPECT_EQ(row.ToVector(3), Texts({"1", "1008", "3.5"}));
}

TEST(RowTexts, CellsMoveWhenAColumnIsInsertedOrRemoved)
{
    CRowTexts row(Texts({"a", "b", "c"}));
    row.InsertCell(1);
    EXPECT_EQ(row.ToVector(4), Texts({"a", "", "b", "c"}));
    row.RemoveCell(0);
    EXPECT_EQ(row.ToVector(3), Texts({"", "b", "c"}));
    row.InsertCell(9); // beyond the cells held: they do not move
    row.RemoveCell(9);
    EXPECT_EQ(row.ToVector(3), Texts({"", "b", "c"}));
}

} // namespace
