#include "plu/PluLayout.h"

#include "app/StringTable.h"
#include "grid/GridRecords.h"

#include <algorithm>

namespace PluLayout {
namespace {

// Record fields: the PLU No. follows the record's "\x02SP"; every record ends in CR LF.
constexpr int kNone = -1;

const std::vector<SPluField> kPricing = {
    {EPluField::SrNo, StringId::SrNo, 50, CST_TEXT, EFieldKind::Integer, false, kNone, 0, 0},
    {EPluField::PluNo, StringId::PluNo, 60, CST_TEXT, EFieldKind::Integer, true, 3, 4, 0},
    {EPluField::UnitValue, StringId::UnitPrice, 90, CST_REAL, EFieldKind::Decimal, true, 7, 8, 0},
    {EPluField::GoodsId, StringId::GoodsId, 90, CST_TEXT, EFieldKind::Text, true, 15, 12, 12},
    {EPluField::GoodsName, StringId::GoodsName, 150, CST_TEXT, EFieldKind::Text, true, 27, 16, 16},
    {EPluField::Specification, StringId::Specification, 100, CST_TEXT, EFieldKind::Text, true, 43, 16, 16},
    {EPluField::Remark, StringId::Remark, 100, CST_TEXT, EFieldKind::Text, true, 59, 12, 12},
    {EPluField::ExpirationDays, StringId::ExpirationDays, 80, CST_INTEGER, EFieldKind::Integer, true, 71, 4, 0},
    {EPluField::QuantityPricing, StringId::QuantityPricing, 80, CST_TEXT, EFieldKind::Check, true, 75, 1, 0},
};

const std::vector<SPluField> kCounting = {
    {EPluField::SrNo, StringId::SrNo, 50, CST_TEXT, EFieldKind::Integer, false, kNone, 0, 0},
    {EPluField::PluNo, StringId::PluNo, 60, CST_TEXT, EFieldKind::Integer, true, 3, 4, 0},
    {EPluField::UnitValue, StringId::UnitWeight, 80, CST_REAL, EFieldKind::Decimal, true, 7, 8, 0},
    {EPluField::GoodsId, StringId::GoodsId, 90, CST_TEXT, EFieldKind::Text, true, 15, 12, 12},
    {EPluField::GoodsName, StringId::GoodsName, 130, CST_TEXT, EFieldKind::Text, true, 27, 32, 32},
    {EPluField::Specification, StringId::Specification, 100, CST_TEXT, EFieldKind::Text, true, 59, 16, 16},
};

std::vector<SPluField> WithLimits(std::vector<SPluField> fields)
{
    fields.push_back({EPluField::Hi, StringId::Hi, 90, CST_REAL, EFieldKind::Decimal, true, 75, 8, 0});
    fields.push_back({EPluField::Lo, StringId::Lo, 90, CST_REAL, EFieldKind::Decimal, true, 83, 8, 0});
    return fields;
}

const std::vector<SPluField> kCountingWithLimits = WithLimits(kCounting);

constexpr int kLineEndBytes = 2;
// The pricing record carries one fixed byte between its last field and the line end.
constexpr int kPricingTrailerBytes = 1;

} // namespace

const std::vector<SPluField>& Fields(EPluMode mode, ELimitMode limits)
{
    if (mode == EPluMode::Pricing)
        return kPricing;
    return limits == ELimitMode::On ? kCountingWithLimits : kCounting;
}

int ColumnCount(EPluMode mode, ELimitMode limits)
{
    return int(Fields(mode, limits).size());
}

int ColumnOf(EPluMode mode, ELimitMode limits, EPluField field)
{
    const std::vector<SPluField>& fields = Fields(mode, limits);
    for (std::size_t column = 0; column < fields.size(); ++column) {
        if (fields[column].field == field)
            return int(column);
    }
    return -1;
}

int CheckColumn(EPluMode mode)
{
    const std::vector<SPluField>& fields = Fields(mode, ELimitMode::Off);
    for (std::size_t column = 0; column < fields.size(); ++column) {
        if (fields[column].kind == EFieldKind::Check)
            return int(column);
    }
    return -1;
}

std::vector<int> ExportedColumns(EPluMode mode, ELimitMode limits)
{
    std::vector<int> columns;
    const std::vector<SPluField>& fields = Fields(mode, limits);
    for (std::size_t column = 0; column < fields.size(); ++column) {
        if (fields[column].exported)
            columns.push_back(int(column));
    }
    return columns;
}

ELimitMode WantedLimitMode(EPluMode mode, int fileColumnCount)
{
    const bool limits = mode == EPluMode::Counting &&
                        fileColumnCount == int(ExportedColumns(EPluMode::Counting, ELimitMode::On).size());
    return limits ? ELimitMode::On : ELimitMode::Off;
}

int RecordSize(EPluMode mode, ELimitMode limits)
{
    int end = 0;
    for (const SPluField& field : Fields(mode, limits)) {
        if (field.recordOffset >= 0)
            end = std::max(end, field.recordOffset + field.recordWidth);
    }
    return end + (mode == EPluMode::Pricing ? kPricingTrailerBytes : 0) + kLineEndBytes;
}

EPluMode PluModeFromSetting(int value)
{
    return value == 0 ? EPluMode::Pricing : EPluMode::Counting;
}

ELimitMode LimitModeFromSetting(int value)
{
    return value == 1 ? ELimitMode::On : ELimitMode::Off;
}

int SettingOf(EPluMode mode)
{
    return mode == EPluMode::Pricing ? 0 : 1;
}

int SettingOf(ELimitMode limits)
{
    return limits == ELimitMode::On ? 1 : 0;
}

} // namespace PluLayout
