#include "download/PluRecord.h"

#include "app/CodePage.h"
#include "app/Language.h"
#include "app/TextNumbers.h"
#include "download/RecordNumberFormat.h"

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
void PutText(QByteArray& record, const STextField& field, const QVector<QString>& cells, int codePage)
{
    const QString cell = Cell(cells, field.cell);
    QStringView taken = QStringView(cell).left(field.units);
    if (taken.size() < cell.size() && taken.back().isHighSurrogate() && cell[taken.size()].isLowSurrogate())
        taken.chop(1);
    Put(record, field.offset, CodePage::EncodeLimited(taken, codePage, field.width));
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
QString PutPricingFields(QByteArray& record, const QVector<QString>& cells, int textCodePage)
{
    for (const STextField& field : kPricingTextFields)
        PutText(record, field, cells, textCodePage);
    const QString daysCell = Cell(cells, kShelfLifeCell);
    const qint64 days = daysCell.isEmpty() ? -1 : TextNumbers::ReadLeadingInteger(daysCell);
    // Cutting a longer number to four digits would print a wrong shelf life on the labels.
    if (days > kLongestShelfLifeDays)
        return QStringLiteral("Expiration(Days) %1 is above %2").arg(Quote(daysCell)).arg(kLongestShelfLifeDays);
    // No shelf life leaves its bytes 0x00.
    if (days > 0)
        Put(record, kShelfLifeOffset, QByteArray::number(days).rightJustified(4, ' '));
    record[kQuantityOffset] = IsQuantityPricing(Cell(cells, kQuantityCell)) ? '1' : '0';
    record[kPricingRecordSize - 3] = kPricingTrailer;
    return QString();
}

// Fills the fields after the Goods Id of a counting record; the reason when a cell cannot be sent.
QString PutCountingFields(QByteArray& record, const QVector<QString>& cells, int textCodePage, bool limits)
{
    for (const STextField& field : kCountingTextFields)
        PutText(record, field, cells, textCodePage);
    if (!limits)
        return QString();
    const struct
    {
        int cell;
        int offset;
        double empty;
        const char* name;
    } limitFields[] = {{kHiCell, kHiOffset, -1.0, "Hi"}, {kLoCell, kLoOffset, 0.0, "Lo"}};
    for (const auto& field : limitFields) {
        const QString cell = Cell(cells, field.cell);
        const double limit = cell.isEmpty() ? field.empty : TextNumbers::ReadLeadingDecimal(cell);
        const QByteArray text = RecordNumberFormat::LimitField(limit);
        if (text.isEmpty())
            return QStringLiteral("%1 %2 does not fit in 8 characters").arg(QLatin1String(field.name), Quote(cell));
        Put(record, field.offset, text);
    }
    return QString();
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
    const QByteArray valueField = RecordNumberFormat::ValueField(value, pricing ? RecordNumberFormat::kPricingValue
                                                                                : RecordNumberFormat::kCountingValue);
    if (valueField.isEmpty())
        return Rejected(QStringLiteral("%1 %2 does not fit in 8 characters").arg(valueName, Quote(valueCell)));
    // A value too small for the field's decimals would reach the scale as 0, the price of a gift.
    if (!(TextNumbers::ReadLeadingDecimal(QString::fromLatin1(valueField)) > 0.0))
        return Rejected(QStringLiteral("%1 %2 would be sent as %3")
                            .arg(valueName, Quote(valueCell), QString::fromLatin1(valueField.trimmed())));

    const int size = pricing ? kPricingRecordSize : limits ? kCountingWithLimitsRecordSize : kCountingRecordSize;
    QByteArray record(size, '\0');
    Put(record, 0, QByteArrayLiteral("\x02SP"));
    Put(record, 3, QByteArray::number(plu).rightJustified(4, '0'));
    Put(record, kValueOffset, valueField);

    const int textPage = textCodePage == 0 ? goodsIdCodePage : int(textCodePage);
    PutText(record, kGoodsIdField, cells, goodsIdCodePage);
    const QString reason =
        pricing ? PutPricingFields(record, cells, textPage) : PutCountingFields(record, cells, textPage, limits);
    if (!reason.isEmpty())
        return Rejected(reason);
    record[size - 2] = '\r';
    record[size - 1] = '\n';

    SPluRecord result;
    result.outcome = EPluRecordOutcome::Sendable;
    result.bytes = record;
    return result;
}
