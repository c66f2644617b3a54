#pragma once

#include "plu/PluLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the simulated scale reads a PLU record: the fixed layout of each mode.
namespace ScaleRecord {

int ExpectedLength(EPluMode mode, ELimitMode limits);

// Why the record is not one the scale accepts; empty when it is well formed.
QString CheckRecord(const QByteArray& record, EPluMode mode, ELimitMode limits);

// The record's fields as a table row without Sr.No., in the layout's column order (the check mark
// as "1"/"0"). Numbers come back as the scale prints them (leading zeros and blanks removed; the
// limits as the record holds them); text fields are decoded in the code page (Goods Id in
// goodsIdCodePage).
QStringList DecodeRecord(const QByteArray& record, EPluMode mode, ELimitMode limits, int textCodePage,
                         int goodsIdCodePage);

} // namespace ScaleRecord
