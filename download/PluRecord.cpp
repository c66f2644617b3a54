#include "download/PluRecord.h"

#include "app/CodePage.h"
#include "app/Language.h"
#include "app/StringTable.h"
#include "app/TextNumbers.h"
#include "download/RecordNumberFormat.h"
#include "download/TextCodePage.h"

#include <cstring>

namespace {

// The field of a layout, which every layout that uses it has.
const SPluField& FieldOf(EPluMode mode, ELimitMode limits, EPluField field, int* column)
{
    *column = PluLayout::ColumnOf(mode, limits, field);
    Q_ASSERT(*column >= 0);
    return PluLayout::Fields(mode, limits)[std::size_t(*column)];
}

// Only the pricing record carries this fixed byte before its line end.
constexpr char kPricingTrailer = 'd';
// How much of a cell a rejection reason quotes; the reason is shown in a tooltip.
constexpr int kQuotedCellLength = 20;

QString Cell(const QVector<QString>& cells, int index)
{
    return index >= 0 && index < cells.size() ? cells[index] : QString();
}

QString Quote(const QString& cell)
{
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return MessageString(StringId::CellBlank);
    if (text.size() > kQuotedCellLength)
        return text.left(kQuotedCellLength) + QChar(0x2026);
    return text;
}

// A cell text between marks, as the reasons for numbers that cannot be read quote it.
QString QuoteInMarks(const QString& cell)
{
    const QString text = Quote(cell);
    return cell.trimmed().isEmpty() ? text : QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The reason a number cell cannot be read, empty when it can.
QString ReadingFault(TextNumbers::ECellReading reading, unsigned titleId, const QString& cell)
{
    switch (reading) {
    case TextNumbers::ECellReading::Number: return QString();
    case TextNumbers::ECellReading::NotANumber:
        return MessageString(StringId::CellNotANumber).arg(MessageString(titleId), QuoteInMarks(cell));
    case TextNumbers::ECellReading::Ambiguous:
        return MessageString(StringId::CellAmbiguous).arg(MessageString(titleId), QuoteInMarks(cell));
    }
    return QString();
}

SPluRecord Rejected(const QString& reason, int column)
{
    SPluRecord record;
    record.outcome = EPluRecordOutcome::Rejected;
    record.reason = reason;
    record.column = column;
    return record;
}

// A rejection from a field after the head: the reason and the column of its cell.
struct SFieldFault
{
    QString reason;
    int column = -1;
};

void Put(QByteArray& record, int offset, const QByteArray& bytes)
{
    Q_ASSERT(offset + bytes.size() <= record.size());
    std::memcpy(record.data() + offset, bytes.constData(), size_t(bytes.size()));
}

// The field's bytes are left 0x00 after the text; a character that does not fit whole is left out,
// so the scale never receives half of one. What does not reach the scale as typed is a warning.
void PutText(QByteArray& record, const SPluField& field, int column, const QString& cell, int codePage,
             SPluRecord& result)
{
    const STextFieldBytes text = EncodeTextField(cell, field.codeUnits, field.recordWidth, codePage);
    Put(record, field.recordOffset, text.bytes);
    if (text.cut) {
        const QString name = MessageString(field.titleId);
        result.warningColumns.append(column);
        result.warnings.append(
            field.field == EPluField::GoodsId
                ? MessageString(StringId::CellTextCutQuoted).arg(name, Quote(cell), QString::number(field.recordWidth))
                : MessageString(StringId::CellTextCut).arg(name).arg(field.recordWidth));
    }
    if (text.lacking) {
        result.warningColumns.append(column);
        result.warnings.append(
            MessageString(StringId::CellCharacterLacking).arg(MessageString(field.titleId)).arg(codePage));
    }
}

bool IsQuantityPricing(const QString& cell)
{
    if (cell == QStringView(u"\u221A") || cell == QStringView(u"1") || cell == QStringView(u"\u662F"))
        return true;
    // Only ASCII letters are compared without case.
    static const char kTrue[] = "true";
    if (cell.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        char16_t c = cell[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (c != char16_t(kTrue[i]))
            return false;
    }
    return true;
}

// Fills the fields after the Goods Id; the reason and the column when a cell cannot be sent.
SFieldFault PutOtherFields(QByteArray& record, const QVector<QString>& cells, EPluMode mode, ELimitMode limits,
                           int textCodePage, SPluRecord& result)
{
    const std::vector<SPluField>& fields = PluLayout::Fields(mode, limits);
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const SPluField& field = fields[index];
        const int column = int(index);
        const QString cell = Cell(cells, column);
        switch (field.field) {
        case EPluField::SrNo:
        case EPluField::PluNo:
        case EPluField::UnitValue:
        case EPluField::GoodsId: break;
        case EPluField::GoodsName:
        case EPluField::Specification:
        case EPluField::Remark: PutText(record, field, column, cell, textCodePage, result); break;
        case EPluField::ExpirationDays: {
            qint64 days = -1;
            if (!cell.isEmpty()) {
                const TextNumbers::SIntegerCell reading = TextNumbers::ReadIntegerCell(cell);
                const QString fault = ReadingFault(reading.reading, field.titleId, cell);
                if (!fault.isEmpty())
                    return {fault, column};
                days = reading.value;
            }
            // Cutting a longer number to four digits would print a wrong shelf life on the labels.
            if (days > kLongestShelfLifeDays)
                return {MessageString(StringId::CellAbove)
                            .arg(MessageString(field.titleId), Quote(cell), QString::number(kLongestShelfLifeDays)),
                        column};
            // No shelf life leaves its bytes 0x00.
            if (days > 0)
                Put(record, field.recordOffset, QByteArray::number(days).rightJustified(field.recordWidth, ' '));
            break;
        }
        case EPluField::QuantityPricing: record[field.recordOffset] = IsQuantityPricing(cell) ? '1' : '0'; break;
        case EPluField::Hi:
        case EPluField::Lo: {
            // An empty Hi sends no upper limit; an empty Lo sends 0.
            double limit = field.field == EPluField::Hi ? -1.0 : 0.0;
            if (!cell.isEmpty()) {
                const TextNumbers::SDecimalCell reading = TextNumbers::ReadDecimalCell(cell);
                const QString fault = ReadingFault(reading.reading, field.titleId, cell);
                if (!fault.isEmpty())
                    return {fault, column};
                limit = reading.value;
            }
            const QByteArray text = RecordNumberFormat::LimitField(limit);
            if (text.isEmpty())
                return {MessageString(StringId::CellTooWide).arg(MessageString(field.titleId), Quote(cell)), column};
            Put(record, field.recordOffset, text);
            break;
        }
        }
    }
    if (mode == EPluMode::Pricing)
        record[record.size() - 3] = kPricingTrailer;
    return {};
}

} // namespace

int DefaultRecordCodePage()
{
    return Language::AnsiCodePage(Language::LanguageInForce());
}

SPluRecord BuildPluRecord(const QVector<QString>& cells, EPluMode mode, ELimitMode limits, unsigned textCodePage,
                          int goodsIdCodePage)
{
    const bool pricing = mode == EPluMode::Pricing;
    if (!pricing && limits != ELimitMode::On)
        limits = ELimitMode::Off;
    int pluColumn = 0;
    int valueColumn = 0;
    int goodsIdColumn = 0;
    const SPluField& pluField = FieldOf(mode, limits, EPluField::PluNo, &pluColumn);
    const SPluField& valueField = FieldOf(mode, limits, EPluField::UnitValue, &valueColumn);
    const SPluField& goodsIdField = FieldOf(mode, limits, EPluField::GoodsId, &goodsIdColumn);
    const QString pluCell = Cell(cells, pluColumn);
    const QString valueCell = Cell(cells, valueColumn);
    if (pluCell.isEmpty() || valueCell.isEmpty())
        return SPluRecord();

    // A PLU No. without digits would go out as 0000 and overwrite PLU 0 in the scale.
    const TextNumbers::SIntegerCell pluReading = TextNumbers::ReadIntegerCell(pluCell);
    const QString pluFault = ReadingFault(pluReading.reading, pluField.titleId, pluCell);
    if (!pluFault.isEmpty())
        return Rejected(pluFault, pluColumn);
    const qint64 plu = pluReading.value;
    if (plu > kHighestPluNumber)
        return Rejected(MessageString(StringId::CellAbove)
                            .arg(MessageString(pluField.titleId), Quote(pluCell), QString::number(kHighestPluNumber)),
                        pluColumn);
    // A negative number would print as ten digits and shift every field after it.
    if (plu < 0)
        return Rejected(MessageString(StringId::CellBelowZero).arg(MessageString(pluField.titleId), Quote(pluCell)),
                        pluColumn);

    const TextNumbers::SDecimalCell valueReading = TextNumbers::ReadDecimalCell(valueCell);
    const QString valueFault = ReadingFault(valueReading.reading, valueField.titleId, valueCell);
    if (!valueFault.isEmpty())
        return Rejected(valueFault, valueColumn);
    const double value = valueReading.value;
    if (!(value > 0.0))
        return Rejected(
            MessageString(StringId::CellNotAboveZero).arg(MessageString(valueField.titleId), Quote(valueCell)),
            valueColumn);
    const QByteArray valueText = RecordNumberFormat::ValueField(value, pricing ? RecordNumberFormat::kPricingValue
                                                                               : RecordNumberFormat::kCountingValue);
    if (valueText.isEmpty())
        return Rejected(MessageString(StringId::CellTooWide).arg(MessageString(valueField.titleId), Quote(valueCell)),
                        valueColumn);
    // A value too small for the field's decimals would reach the scale as 0, the price of a gift.
    if (!(TextNumbers::ReadLeadingDecimal(QString::fromLatin1(valueText)) > 0.0))
        return Rejected(
            MessageString(StringId::CellSentAs)
                .arg(MessageString(valueField.titleId), Quote(valueCell), QString::fromLatin1(valueText.trimmed())),
            valueColumn);

    const int size = PluLayout::RecordSize(mode, limits);
    QByteArray record(size, '\0');
    Put(record, 0, QByteArrayLiteral("\x02SP"));
    Put(record, pluField.recordOffset, QByteArray::number(plu).rightJustified(pluField.recordWidth, '0'));
    Put(record, valueField.recordOffset, valueText);

    SPluRecord result;
    const int textPage = textCodePage == 0 ? goodsIdCodePage : int(textCodePage);
    PutText(record, goodsIdField, goodsIdColumn, Cell(cells, goodsIdColumn), goodsIdCodePage, result);
    const SFieldFault fault = PutOtherFields(record, cells, mode, limits, textPage, result);
    if (!fault.reason.isEmpty())
        return Rejected(fault.reason, fault.column);
    record[size - 2] = '\r';
    record[size - 1] = '\n';

    result.outcome = EPluRecordOutcome::Sendable;
    result.bytes = record;
    result.pluNumber = plu;
    return result;
}
