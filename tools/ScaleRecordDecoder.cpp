#include "tools/ScaleRecordDecoder.h"

#include "app/CodePage.h"

namespace ScaleRecord {
namespace {

QString TextField(const QByteArray& record, const SPluField& field, int codePage)
{
    QByteArray bytes = record.mid(field.recordOffset, field.recordWidth);
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    return CodePage::Decode(bytes, codePage);
}

QString NumberField(const QByteArray& record, const SPluField& field)
{
    QString text = QString::fromLatin1(record.mid(field.recordOffset, field.recordWidth));
    text.remove(QLatin1Char('\0')); // an empty shelf life is sent as 0x00 bytes
    text = text.trimmed();
    // "0012" -> "12": the scale keeps the number, not its padding.
    while (text.size() > 1 && text.startsWith(QLatin1Char('0')) && text[1].isDigit())
        text.remove(0, 1);
    return text;
}

} // namespace

int ExpectedLength(EPluMode mode, ELimitMode limits)
{
    return PluLayout::RecordSize(mode, limits);
}

QString CheckRecord(const QByteArray& record, EPluMode mode, ELimitMode limits)
{
    const int expected = ExpectedLength(mode, limits);
    if (record.size() != expected)
        return QStringLiteral("record of %1 bytes, expected %2").arg(record.size()).arg(expected);
    if (!record.startsWith("\x02SP"))
        return QStringLiteral("record does not start with STX \"SP\"");
    if (!record.endsWith("\r\n"))
        return QStringLiteral("record does not end with CR LF");
    const SPluField& plu = PluLayout::Fields(mode, limits)[std::size_t(PluLayout::kPluNoColumn)];
    for (int i = plu.recordOffset; i < plu.recordOffset + plu.recordWidth; ++i) {
        if (record[i] < '0' || record[i] > '9')
            return QStringLiteral("PLU number is not four digits");
    }
    if (mode == EPluMode::Pricing && record[record.size() - 3] != 'd')
        return QStringLiteral("pricing record lacks the byte \"d\" before CR LF");
    return QString();
}

QStringList DecodeRecord(const QByteArray& record, EPluMode mode, ELimitMode limits, int textCodePage,
                         int goodsIdCodePage)
{
    QStringList row;
    for (const SPluField& field : PluLayout::Fields(mode, limits)) {
        if (field.recordOffset < 0)
            continue;
        switch (field.kind) {
        case EFieldKind::Text:
            row << TextField(record, field, field.field == EPluField::GoodsId ? goodsIdCodePage : textCodePage);
            break;
        case EFieldKind::Check: row << QString(QLatin1Char(record[field.recordOffset])); break;
        case EFieldKind::Integer:
        case EFieldKind::Decimal:
            // The limits are compared as the scale stores them, blanks and all.
            if (field.field == EPluField::Hi || field.field == EPluField::Lo)
                row << QString::fromLatin1(record.mid(field.recordOffset, field.recordWidth));
            else
                row << NumberField(record, field);
            break;
        }
    }
    return row;
}

} // namespace ScaleRecord
