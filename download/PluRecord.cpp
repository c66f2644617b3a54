#include "download/PluRecord.h"

#include "app/CodePage.h"
#include "app/Language.h"
#include "app/TextNumbers.h"
#include "download/RecordNumberFormat.h"

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
        return QStringLiteral("(blank)");
    if (text.size() > kQuotedCellLength)
        return text.left(kQuotedCellLength) + QChar(0x2026);
    return text;
}

SPluRecord Rejected(const QString& reason)
{
    SPluRecord record;
    record.outcome = EPluRecordOutcome::Rejected;
    record.reason = reason;
    return record;
}

void Put(QByteArray& record, int offset, const QByteArray& bytes)
{
    Q_ASSERT(offset + bytes.size() <= record.size());
    std::memcpy(record.data() + offset, bytes.constData(), size_t(bytes.size()));
}

// The field's bytes are left 0x00 after the text; a character that does not fit whole is left out,
// so the scale never receives half of one.
void PutText(QByteArray& record, const SPluField& field, const QString& cell, int codePage)
{
    QStringView taken = QStringView(cell).left(field.codeUnits);
    if (taken.size() < cell.size() && taken.back().isHighSurrogate() && cell[taken.size()].isLowSurrogate())
        taken.chop(1);
    Put(record, field.recordOffset, CodePage::EncodeLimited(taken, codePage, field.recordWidth));
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

// Fills the fields after the Goods Id; the reason when a cell cannot be sent.
QString PutOtherFields(QByteArray& record, const QVector<QString>& cells, EPluMode mode, ELimitMode limits,
                       int textCodePage)
{
    const std::vector<SPluField>& fields = PluLayout::Fields(mode, limits);
    for (std::size_t column = 0; column < fields.size(); ++column) {
        const SPluField& field = fields[column];
        const QString cell = Cell(cells, int(column));
        switch (field.field) {
        case EPluField::SrNo:
        case EPluField::PluNo:
        case EPluField::UnitValue:
        case EPluField::GoodsId: break;
        case EPluField::GoodsName:
        case EPluField::Specification:
        case EPluField::Remark: PutText(record, field, cell, textCodePage); break;
        case EPluField::ExpirationDays: {
            const qint64 days = cell.isEmpty() ? -1 : TextNumbers::ReadLeadingInteger(cell);
            // Cutting a longer number to four digits would print a wrong shelf life on the labels.
            if (days > kLongestShelfLifeDays)
                return QStringLiteral("Expiration(Days) %1 is above %2").arg(Quote(cell)).arg(kLongestShelfLifeDays);
            // No shelf life leaves its bytes 0x00.
            if (days > 0)
                Put(record, field.recordOffset, QByteArray::number(days).rightJustified(field.recordWidth, ' '));
            break;
        }
        case EPluField::QuantityPricing: record[field.recordOffset] = IsQuantityPricing(cell) ? '1' : '0'; break;
        case EPluField::Hi:
        case EPluField::Lo: {
            const bool hi = field.field == EPluField::Hi;
            // An empty Hi sends no upper limit; an empty Lo sends 0.
            const double limit = cell.isEmpty() ? (hi ? -1.0 : 0.0) : TextNumbers::ReadLeadingDecimal(cell);
            const QByteArray text = RecordNumberFormat::LimitField(limit);
            if (text.isEmpty())
                return QStringLiteral("%1 %2 does not fit in 8 characters")
                    .arg(hi ? QStringLiteral("Hi") : QStringLiteral("Lo"), Quote(cell));
            Put(record, field.recordOffset, text);
            break;
        }
        }
    }
    if (mode == EPluMode::Pricing)
        record[record.size() - 3] = kPricingTrailer;
    return QString();
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

    const qint64 plu = TextNumbers::ReadLeadingInteger(pluCell);
    if (plu > kHighestPluNumber)
        return Rejected(QStringLiteral("PLU No. %1 is above %2").arg(Quote(pluCell)).arg(kHighestPluNumber));
    // A negative number would print as ten digits and shift every field after it.
    if (plu < 0)
        return Rejected(QStringLiteral("PLU No. %1 is below 0").arg(Quote(pluCell)));

    const QString valueName = pricing ? QStringLiteral("Unit price") : QStringLiteral("Unit weight");
    const double value = TextNumbers::ReadLeadingDecimal(valueCell);
    if (!(value > 0.0))
        return Rejected(QStringLiteral("%1 %2 is not above 0").arg(valueName, Quote(valueCell)));
    const QByteArray valueText = RecordNumberFormat::ValueField(value, pricing ? RecordNumberFormat::kPricingValue
                                                                                : RecordNumberFormat::kCountingValue);
    if (valueText.isEmpty())
        return Rejected(QStringLiteral("%1 %2 does not fit in 8 characters").arg(valueName, Quote(valueCell)));
    // A value too small for the field's decimals would reach the scale as 0, the price of a gift.
    if (!(TextNumbers::ReadLeadingDecimal(QString::fromLatin1(valueText)) > 0.0))
        return Rejected(QStringLiteral("%1 %2 would be sent as %3")
                            .arg(valueName, Quote(valueCell), QString::fromLatin1(valueText.trimmed())));

    const int size = PluLayout::RecordSize(mode, limits);
    QByteArray record(size, '\0');
    Put(record, 0, QByteArrayLiteral("\x02SP"));
    Put(record, pluField.recordOffset, QByteArray::number(plu).rightJustified(pluField.recordWidth, '0'));
    Put(record, valueField.recordOffset, valueText);

    const int textPage = textCodePage == 0 ? goodsIdCodePage : int(textCodePage);
    PutText(record, goodsIdField, Cell(cells, goodsIdColumn), goodsIdCodePage);
    const QString reason = PutOtherFields(record, cells, mode, limits, textPage);
    if (!reason.isEmpty())
        return Rejected(reason);
    record[size - 2] = '\r';
    record[size - 1] = '\n';

    SPluRecord result;
    result.outcome = EPluRecordOutcome::Sendable;
    result.bytes = record;
    return result;
}
