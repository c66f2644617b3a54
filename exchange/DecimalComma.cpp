#include "exchange/DecimalComma.h"

namespace {

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString WithDecimalPoint(const QString& field)
{
    const qsizetype comma = field.indexOf(QLatin1Char(','));
    if (comma < 0 || field.indexOf(QLatin1Char(','), comma + 1) >= 0)
        return field;
    qsizetype start = 0;
    if (start < comma && (field[start] == QLatin1Char('-') || field[start] == QLatin1Char('+')))
        ++start;
    // The whole part: digits, in groups of three after the first when points separate them.
    QString whole;
    int groupLength = 0;
    bool grouped = false;
    for (qsizetype at = start; at < comma; ++at) {
        const QChar c = field[at];
        if (IsDigit(c)) {
            whole.append(c);
            ++groupLength;
        } else if (c == QLatin1Char('.') && groupLength > 0 && (!grouped || groupLength == 3)) {
            grouped = true;
            groupLength = 0;
        } else {
            return field;
        }
    }
    if (whole.isEmpty() || (grouped && groupLength != 3))
        return field;
    const qsizetype fractionLength = field.size() - comma - 1;
    if (fractionLength == 0)
        return field;
    for (qsizetype at = comma + 1; at < field.size(); ++at) {
        if (!IsDigit(field[at]))
            return field;
    }
    return field.left(start) + whole + QLatin1Char('.') + field.mid(comma + 1);
}
