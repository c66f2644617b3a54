#pragma once

#include "plu/PluLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// What a download does with one row of the PLU table.
enum class EPluRecordOutcome
{
    Skipped,  // no PLU No. or no value: passed over without a word
    Rejected, // a cell holds something the scale must not receive: the download stops here
    Sendable  // the record is ready to be written
};

// One row turned into the scale's record, or the reason it is not sent.
struct SPluRecord
{
    EPluRecordOutcome outcome = EPluRecordOutcome::Skipped;
    QString reason;   // Rejected only: names the cell and its text, e.g. "PLU No. 2000 is above 1008"
    int column = -1;  // Rejected only: the column of the cell the reason names
    QByteArray bytes; // Sendable only: the whole record, PluLayout::RecordSize bytes
    // Sendable only: what reaches the scale other than typed (a text cut at its field's width, a
    // character the code page lacks), by the column of the cell.
    QVector<int> warningColumns;
    QStringList warnings;
    qint64 pluNumber = -1; // Sendable only

    bool IsSkipped() const { return outcome == EPluRecordOutcome::Skipped; }
    bool IsRejected() const { return outcome == EPluRecordOutcome::Rejected; }
    bool IsSendable() const { return outcome == EPluRecordOutcome::Sendable; }
};

constexpr int kHighestPluNumber = 1008;
constexpr int kLongestShelfLifeDays = 9999;

// The code page of the Goods Id field and of the text fields when the download's text code page
// is 0: the 8-bit code page of the language in force (936, 950 or 1252). It is fixed at start-up,
// so every record of a download uses the same one.
int DefaultRecordCodePage();

// Builds the record of one row. cells are the row's texts by column index of the layout (a missing
// cell reads as empty); the counting layout sends its Hi and Lo fields when the limits are on. textCodePage (936, 950,
// 65001, or 0 for goodsIdCodePage) converts Goods Name, Specification and Remark; goodsIdCodePage converts Goods Id.
SPluRecord BuildPluRecord(const QVector<QString>& cells, EPluMode mode, ELimitMode limits, unsigned textCodePage,
                          int goodsIdCodePage = DefaultRecordCodePage());
