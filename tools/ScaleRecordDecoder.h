#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the simulated scale reads a PLU record: the fixed layout of each mode.
namespace ScaleRecord {

constexpr int kPricingLength = 79;
constexpr int kCountingLength = 77;
constexpr int kCountingWithLimitsLength = 93;

int ExpectedLength(int pluMode, int limitMode);

// Why the record is not one the scale accepts; empty when it is well formed.
QString CheckRecord(const QByteArray& record, int pluMode, int limitMode);

// The record's fields as a table row without Sr.No.: pricing PLU No., Unit price, Goods Id,
// Goods Name, Specification, Remark, Expiration(Days), Quantity pricing ("1"/"0"); counting
// PLU No., Unit weight, Goods Id, Goods Name, Specification, and Hi, Lo with limits.
// Numbers come back as the scale prints them (leading zeros and blanks removed); text fields
// are decoded in the code page (Goods Id in goodsIdCodePage).
QStringList DecodeRecord(const QByteArray& record, int pluMode, int limitMode, int textCodePage,
                         int goodsIdCodePage);

} // namespace ScaleRecord
