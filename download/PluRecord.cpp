#include "download/PluRecord.h"

#include "app/CodePage.h"
#include "app/Language.h"
#include "app/TextNumbers.h"
#include "download/RecordNumberFormat.h"
#include "download/TextCodePage.h"

#include <cstring>

namespace {

enum ECell
{
    kPluNumberCell = 1,
    kValueCell = 2,
    kGoodsIdCell = 3,
    kGoodsNameCell = 4,
    kSpecificationCell = 5,
    kRemarkCell = 6,    // pricing
    kShelfLifeCell = 7, // pricing
    kQuantityCell = 8,  // pricing
    kHiCell = 6,        // counting with limits
    kLoCell = 7         // counting with limits
};

// Where a text field sits in the record; the cell gives at most `units` UTF-16 code units to it.
struct STextField
{
    int cell;
    int offset;
    int units;
    int width;
};

constexpr int kValueOffset = 7;
constexpr int kGoodsIdOffset = 15;
constexpr STextField kGoodsIdField = {kGoodsIdCell, kGoodsIdOffset, 12, 12};
constexpr STextField kPricingTextFields[] = {
    {kGoodsNameCell, 27, 16, 16},
    {kSpecificationCell, 43, 16, 16},
    {kRemarkCell, 59, 12, 12},
};
constexpr STextField kCountingTextFields[] = {
    {kGoodsNameCell, 27, 32, 32},
    {kSpecificationCell, 59, 16, 16},
};
constexpr int kShelfLifeOffset = 71;
constexpr int kQuantityOffset = 75;
constexpr int kHiOffset = 75;
constexpr int kLoOffset = 83;
// Only the pricing record carries this fixed byte before its line end.
constexpr char kPricingTrailer = 'd';
// How much of a cell a rejection reason quotes; the reason is shown in a tooltip.
constexpr int kQuotedCellLength = 20;

QString Cell(const QVector<QString>& cells, int index)
{
    return index < cells.size() ? cells[index] : QString();
}

QString Quote(const QString& cell)
{
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return QStringLiteral("(blank)");
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
QString ReadingFault(TextNumbers::ECellReading reading, const QString& name, const QString& cell)
{
    switch (reading) {
    case TextNumbers::ECellReading::Number: return QString();
    case TextNumbers::ECellReading::NotANumber:
        return QStringLiteral("%1 %2 is not a number").arg(name, QuoteInMarks(cell));
    case TextNumbers::ECellReading::Ambiguous:
        return QStringLiteral("%1 %2 can be read two ways: write the decimals after a point, without thousands "
                              "separators")
            .arg(name, QuoteInMarks(cell));
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

QString TextFieldName(int cell)
{
    switch (cell) {
    case kGoodsIdCell: return QStringLiteral("Goods Id");
    case kGoodsNameCell: return QStringLiteral("Goods Name");
    case kSpecificationCell: return QStringLiteral("Specification");
    default: return QStringLiteral("Remark");
    }
}

void Put(QByteArray& record, int offset, const QByteArray& bytes)
{
    Q_ASSERT(offset + bytes.size() <= record.size());
    std::memcpy(record.data() + offset, bytes.constData(), size_t(bytes.size()));
}

// The field's bytes are left 0x00 after the text; a character that does not fit whole is left out,
// so the scale never receives half of one. What does not reach the scale as typed is a warning.
void PutText(QByteArray& record, const STextField& field, const QVector<QString>& cells, int codePage,
             SPluRecord& result)
{
    const QString cell = Cell(cells, field.cell);
    const STextFieldBytes text = EncodeTextField(cell, field.units, field.width, codePage);
    Put(record, field.offset, text.bytes);
    const QString name = TextFieldName(field.cell);
    if (text.cut) {
        result.warningColumns.append(field.cell);
        result.warnings.append(field.cell == kGoodsIdCell
                                   ? QStringLiteral("Goods Id %1 is cut to %2 bytes").arg(Quote(cell)).arg(field.width)
                                   : QStringLiteral("%1 is cut to %2 bytes").arg(name).arg(field.width));
    }
    if (text.lacking) {
        result.warningColumns.append(field.cell);
        result.warnings.append(
            QStringLiteral("%1 has a character that code page %2 lacks: it goes as ?").arg(name).arg(codePage));
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

// Fills the fields after the Goods Id of a pricing record; the reason when a cell cannot be sent.
SFieldFault PutPricingFields(QByteArray& record, const QVector<QString>& cells, int textCodePage, SPluRecord& result)
{
    for (const STextField& field : kPricingTextFields)
        PutText(record, field, cells, textCodePage, result);
    const QString daysCell = Cell(cells, kShelfLifeCell);
    qint64 days = -1;
    if (!daysCell.isEmpty()) {
        const TextNumbers::SIntegerCell reading = TextNumbers::ReadIntegerCell(daysCell);
        const QString fault = ReadingFault(reading.reading, QStringLiteral("Expiration(Days)"), daysCell);
        if (!fault.isEmpty())
            return {fault, kShelfLifeCell};
        days = reading.value;
    }
    // Cutting a longer number to four digits would print a wrong shelf life on the labels.
    if (days > kLongestShelfLifeDays)
        return {QStringLiteral("Expiration(Days) %1 is above %2").arg(Quote(daysCell)).arg(kLongestShelfLifeDays),
                kShelfLifeCell};
    // No shelf life leaves its bytes 0x00.
    if (days > 0)
        Put(record, kShelfLifeOffset, QByteArray::number(days).rightJustified(4, ' '));
    record[kQuantityOffset] = IsQuantityPricing(Cell(cells, kQuantityCell)) ? '1' : '0';
    record[kPricingRecordSize - 3] = kPricingTrailer;
    return {};
}

// Fills the fields after the Goods Id of a counting record; the reason when a cell cannot be sent.
SFieldFault PutCountingFields(QByteArray& record, const QVector<QString>& cells, int textCodePage, bool limits,
                              SPluRecord& result)
{
    for (const STextField& field : kCountingTextFields)
        PutText(record, field, cells, textCodePage, result);
    if (!limits)
        return {};
    const struct
    {
        int cell;
        int offset;
        double empty;
        const char* name;
    } limitFields[] = {{kHiCell, kHiOffset, -1.0, "Hi"}, {kLoCell, kLoOffset, 0.0, "Lo"}};
    for (const auto& field : limitFields) {
        const QString cell = Cell(cells, field.cell);
        const QString name = QLatin1String(field.name);
        double limit = field.empty;
        if (!cell.isEmpty()) {
            const TextNumbers::SDecimalCell reading = TextNumbers::ReadDecimalCell(cell);
            const QString fault = ReadingFault(reading.reading, name, cell);
            if (!fault.isEmpty())
                return {fault, field.cell};
            limit = reading.value;
        }
        const QByteArray text = RecordNumberFormat::LimitField(limit);
        if (text.isEmpty())
            return {QStringLiteral("%1 %2 does not fit in 8 characters").arg(name, Quote(cell)), field.cell};
        Put(record, field.offset, text);
    }
    return {};
}

} // namespace

int DefaultRecordCodePage()
{
    return Language::AnsiCodePage(Language::LanguageInForce());
}

SPluRecord BuildPluRecord(const QVector<QString>& cells, int pluMode, int limitMode, unsigned textCodePage,
                          int goodsIdCodePage)
{
    const bool pricing = pluMode == 0;
    const bool limits = !pricing && limitMode == 1;
    const QString pluCell = Cell(cells, kPluNumberCell);
    const QString valueCell = Cell(cells, kValueCell);
    if (pluCell.isEmpty() || valueCell.isEmpty())
        return SPluRecord();

    // A PLU No. without digits would go out as 0000 and overwrite PLU 0 in the scale.
    const TextNumbers::SIntegerCell pluReading = TextNumbers::ReadIntegerCell(pluCell);
    const QString pluFault = ReadingFault(pluReading.reading, QStringLiteral("PLU No."), pluCell);
    if (!pluFault.isEmpty())
        return Rejected(pluFault, kPluNumberCell);
    const qint64 plu = pluReading.value;
    if (plu > kHighestPluNumber)
        return Rejected(QStringLiteral("PLU No. %1 is above %2").arg(Quote(pluCell)).arg(kHighestPluNumber),
                        kPluNumberCell);
    // A negative number would print as ten digits and shift every field after it.
    if (plu < 0)
        return Rejected(QStringLiteral("PLU No. %1 is below 0").arg(Quote(pluCell)), kPluNumberCell);

    const QString valueName = pricing ? QStringLiteral("Unit price") : QStringLiteral("Unit weight");
    const TextNumbers::SDecimalCell valueReading = TextNumbers::ReadDecimalCell(valueCell);
    const QString valueFault = ReadingFault(valueReading.reading, valueName, valueCell);
    if (!valueFault.isEmpty())
        return Rejected(valueFault, kValueCell);
    const double value = valueReading.value;
    if (!(value > 0.0))
        return Rejected(QStringLiteral("%1 %2 is not above 0").arg(valueName, Quote(valueCell)), kValueCell);
    const QByteArray valueField = RecordNumberFormat::ValueField(value, pricing ? RecordNumberFormat::kPricingValue
                                                                                : RecordNumberFormat::kCountingValue);
    if (valueField.isEmpty())
        return Rejected(QStringLiteral("%1 %2 does not fit in 8 characters").arg(valueName, Quote(valueCell)),
                        kValueCell);
    // A value too small for the field's decimals would reach the scale as 0, the price of a gift.
    if (!(TextNumbers::ReadLeadingDecimal(QString::fromLatin1(valueField)) > 0.0))
        return Rejected(QStringLiteral("%1 %2 would be sent as %3")
                            .arg(valueName, Quote(valueCell), QString::fromLatin1(valueField.trimmed())),
                        kValueCell);

    const int size = pricing ? kPricingRecordSize : limits ? kCountingWithLimitsRecordSize : kCountingRecordSize;
    QByteArray record(size, '\0');
    Put(record, 0, QByteArrayLiteral("\x02SP"));
    Put(record, 3, QByteArray::number(plu).rightJustified(4, '0'));
    Put(record, kValueOffset, valueField);

    SPluRecord result;
    const int textPage = textCodePage == 0 ? goodsIdCodePage : int(textCodePage);
    PutText(record, kGoodsIdField, cells, goodsIdCodePage, result);
    const SFieldFault fault = pricing ? PutPricingFields(record, cells, textPage, result)
                                      : PutCountingFields(record, cells, textPage, limits, result);
    if (!fault.reason.isEmpty())
        return Rejected(fault.reason, fault.column);
    record[size - 2] = '\r';
    record[size - 1] = '\n';

    result.outcome = EPluRecordOutcome::Sendable;
    result.bytes = record;
    result.pluNumber = plu;
    return result;
}
