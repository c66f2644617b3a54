#include "plu/PluLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SLayout
{
    const char* name;
    EPluMode mode;
    ELimitMode limits;
    int columns;
    int recordSize;
    int exported;
};

const SLayout kLayouts[] = {
    {"pricing", EPluMode::Pricing, ELimitMode::Off, 9, 79, 8},
    {"pricing, limits ignored", EPluMode::Pricing, ELimitMode::On, 9, 79, 8},
    {"counting", EPluMode::Counting, ELimitMode::Off, 6, 77, 5},
    {"counting with limits", EPluMode::Counting, ELimitMode::On, 8, 93, 7},
};

// The scale reads fixed places: every field of a record lies after "\x02SP", before the line end (and
// the pricing record's trailing "d"), and no two fields share a byte.
TEST(PluLayout, RecordFieldsFitTheRecordWithoutOverlapping)
{
    for (const SLayout& layout : kLayouts) {
        const int size = PluLayout::RecordSize(layout.mode, layout.limits);
        EXPECT_EQ(size, layout.recordSize) << layout.name;
        const int end = size - 2 - (layout.mode == EPluMode::Pricing ? 1 : 0);
        std::vector<bool> taken(std::size_t(size), false);
        for (const SPluField& field : PluLayout::Fields(layout.mode, layout.limits)) {
            if (field.recordOffset < 0)
                continue;
            EXPECT_GE(field.recordOffset, 3) << layout.name;
            EXPECT_LE(field.recordOffset + field.recordWidth, end) << layout.name;
            for (int at = field.recordOffset; at < field.recordOffset + field.recordWidth && at < size; ++at) {
                EXPECT_FALSE(taken[std::size_t(at)]) << layout.name << ": byte " << at;
                taken[std::size_t(at)] = true;
            }
            // A text field never takes more code units than it has bytes.
            if (field.kind == EFieldKind::Text) {
                EXPECT_LE(field.codeUnits, field.recordWidth) << layout.name;
            }
        }
    }
}

TEST(PluLayout, ColumnsAndWhatExportWrites)
{
    for (const SLayout& layout : kLayouts) {
        EXPECT_EQ(PluLayout::ColumnCount(layout.mode, layout.limits), layout.columns) << layout.name;
        const std::vector<int> exported = PluLayout::ExportedColumns(layout.mode, layout.limits);
        ASSERT_EQ(int(exported.size()), layout.exported) << layout.name;
        // File column k holds table column k+1: Sr.No. stays in the table.
        for (int k = 0; k < int(exported.size()); ++k)
            EXPECT_EQ(exported[std::size_t(k)], k + 1) << layout.name;
        const std::vector<SPluField>& fields = PluLayout::Fields(layout.mode, layout.limits);
        EXPECT_EQ(fields[PluLayout::kSrNoColumn].field, EPluField::SrNo);
        EXPECT_EQ(fields[PluLayout::kPluNoColumn].field, EPluField::PluNo);
        EXPECT_EQ(fields[PluLayout::kValueColumn].field, EPluField::UnitValue);
    }
    EXPECT_EQ(PluLayout::CheckColumn(EPluMode::Pricing), 8);
    EXPECT_EQ(PluLayout::CheckColumn(EPluMode::Counting), -1);
    EXPECT_EQ(PluLayout::ColumnOf(EPluMode::Counting, ELimitMode::On, EPluField::Lo), 7);
    EXPECT_EQ(PluLayout::ColumnOf(EPluMode::Counting, ELimitMode::Off, EPluField::Lo), -1);
}

TEST(PluLayout, OnlyASevenColumnFileAsksACountingTableForLimits)
{
    EXPECT_EQ(PluLayout::WantedLimitMode(EPluMode::Counting, 7), ELimitMode::On);
    for (const int columns : {-1, 0, 5, 6, 8, 20})
        EXPECT_EQ(PluLayout::WantedLimitMode(EPluMode::Counting, columns), ELimitMode::Off) << columns;
    EXPECT_EQ(PluLayout::WantedLimitMode(EPluMode::Pricing, 7), ELimitMode::Off);
}

TEST(PluLayout, StoredSettings)
{
    EXPECT_EQ(PluLayout::PluModeFromSetting(0), EPluMode::Pricing);
    for (const int stored : {1, 2, -1})
        EXPECT_EQ(PluLayout::PluModeFromSetting(stored), EPluMode::Counting) << stored;
    EXPECT_EQ(PluLayout::LimitModeFromSetting(1), ELimitMode::On);
    for (const int stored : {0, 2, -1})
        EXPECT_EQ(PluLayout::LimitModeFromSetting(stored), ELimitMode::Off) << stored;
    EXPECT_EQ(PluLayout::SettingOf(EPluMode::Counting), 1);
    EXPECT_EQ(PluLayout::SettingOf(ELimitMode::Off), 0);
}

} // namespace
