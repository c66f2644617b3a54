#include "tools/ScaleRecordDecoder.h"

#include "app/CodePage.h"

namespace ScaleRecord {
namespace {

QString TextField(const QByteArray& record, int offset, int width, int codePage)
{
    QByteArray bytes = record.mid(offset, width);
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    return CodePage::Decode(bytes, codePage);
}

QString NumberField(const QByteArray& record, int offset, int width)
{
    QString text = QString::fromLatin1(record.mid(offset, width)).trimmed();
    // "0012" -> "12": the scale keeps the number, not its padding.
    while (text.size() > 1 && text.startsWith(QLatin1Char('0')) && text[1].isDigit())
        text.remove(0, 1);
    return text;
}

} // namespace

int ExpectedLength(int pluMode, int limitMode)
{
    if (pluMode == 0)
        return kPricingLength;
    return limitMode ? kCountingWithLimitsLength : kCountingLength;
}

QString CheckRecord(const QByteArray& record, int pluMode, int limitMode)
{
    const int expected = ExpectedLength(pluMode, limitMode);
    if (record.size() != expected)
        return QStringLiteral("record of %1 bytes, expected %2").arg(record.size()).arg(expected);
    if (!record.startsWith("\x02SP"))
        return QStringLiteral("record does not start with STX \"SP\"");
    if (!record.endsWith("\r\n"))
        return QStringLiteral("record does not end with CR LF");
    for (int i = 3; i < 7; ++i) {
        if (record[i] < '0' || record[i] > '9')
            return QStringLiteral("PLU number is not four digits");
    }
    if (pluMode == 0 && record[76] != 'd')
        return QStringLiteral("pricing record lacks the byte \"d\" before CR LF");
    return QString();
}

QStringList DecodeRecord(const QByteArray& record, int pluMode, int limitMode, int textCodePage,
                         int goodsIdCodePage)
{
    QStringList row;
    row << NumberField(record, 3, 4) << NumberField(record, 7, 8) << TextField(record, 15, 12, goodsIdCodePage);
    if (pluMode == 0) {
        row << TextField(record, 27, 16, textCodePage) << TextField(record, 43, 16, textCodePage)
            << TextField(record, 59, 12, textCodePage);
        QString days = QString::fromLatin1(record.mid(71, 4));
        days.remove(QLatin1Char('\0'));
        row << days.trimmed() << QString(QLatin1Char(record[75]));
    } else {
        row << TextField(record, 27, 32, textCodePage) << TextField(record, 59, 16, textCodePage);
        if (limitMode)
            row << QString::fromLatin1(record.mid(75, 8)) << QString::fromLatin1(record.mid(83, 8));
    }
    return row;
}

} // namespace ScaleRecord
