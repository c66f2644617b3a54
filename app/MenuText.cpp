#include "app/MenuText.h"

#include <QRegularExpression>

QString MenuItemText(const QString& text)
{
    static const QRegularExpression blankAfterMarker(QStringLiteral("(?<!&)&\\s+(?=[^\\s&])"));
    QString result = text;
    return result.replace(blankAfterMarker, QStringLiteral("&"));
}

QString TextWithoutMnemonic(const QString& text)
{
    static const QRegularExpression bracketedLetter(QStringLiteral("\\s*\\(\\s*&\\s*[^\\s)]\\s*\\)"));
    static const QRegularExpression trailingDots(QStringLiteral("\\s*(\\.\\.\\.|\\x{2026})\\s*$"));
    QString result = text;
    result.replace(bracketedLetter, QString());
    result.replace(trailingDots, QString());

    // "&x" shows x, so "&&" shows one "&"; a lone "&" at the end shows nothing.
    QString plain;
    plain.reserve(result.size());
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result.at(i) == QLatin1Char('&'))
            ++i;
        if (i < result.size())
            plain += result.at(i);
    }
    return plain.simplified();
}
