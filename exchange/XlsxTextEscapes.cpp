#include "exchange/XlsxTextEscapes.h"

namespace {

constexpr qsizetype kEscapeLength = 7; // "_xHHHH_"

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// The code unit of an escape at `at`, or -1 when none starts there.
int EscapeAt(QStringView text, qsizetype at)
{
    if (at + kEscapeLength > text.size() || text[at] != QLatin1Char('_') || text[at + 1] != QLatin1Char('x') ||
        text[at + 6] != QLatin1Char('_'))
        return -1;
    int value = 0;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool XmlCannotHold(QStringView text, qsizetype at)
{
    const char16_t u = text[at].unicode();
    if (u < 0x20)
        return u != '\t' && u != '\n' && u != '\r';
    if (u == 0xFFFE || u == 0xFFFF)
        return true;
    if (QChar::isHighSurrogate(u))
        return at + 1 >= text.size() || !text[at + 1].isLowSurrogate();
    if (QChar::isLowSurrogate(u))
        return at == 0 || !text[at - 1].isHighSurrogate();
    return false;
}

void AppendEscape(QString& out, char16_t unit)
{
    out += QLatin1String("_x") + QString::number(unit, 16).toUpper().rightJustified(4, QLatin1Char('0')) +
           QLatin1Char('_');
}

} // namespace

bool NeedsXlsxEscaping(QStringView text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t u = text[at].unicode();
        if ((u < 0x20 || u >= 0xD800 || u == '_') && (XmlCannotHold(text, at) || EscapeAt(text, at) >= 0))
            return true;
    }
    return false;
}

QString EscapeXlsxText(QStringView text)
{
    if (!NeedsXlsxEscaping(text))
        return text.toString();
    QString out;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (XmlCannotHold(text, at))
            AppendEscape(out, text[at].unicode());
        else if (EscapeAt(text, at) >= 0)
            AppendEscape(out, u'_'); // the rest follows as written
        else
            out += text[at];
    }
    return out;
}

bool HasXlsxEscape(QStringView text)
{
    for (qsizetype at = text.indexOf(u"_x"); at >= 0; at = text.indexOf(u"_x", at + 1)) {
        if (EscapeAt(text, at) >= 0)
            return true;
    }
    return false;
}

QString UnescapeXlsxText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        const int unit = EscapeAt(text, at);
        if (unit >= 0) {
            out += QChar(char16_t(unit));
            at += kEscapeLength;
        } else {
            out += text[at++];
        }
    }
    return out;
}
