#include "download/TextCodePage.h"

#include "app/CodePage.h"

#include <QString>

#include <algorithm>

int TextCodePageForEncoding(int encodingIndex, int languageLcid)
{
    switch (encodingIndex) {
    case 0:
        switch (languageLcid) {
        case 1028:
        case 3076:
        case 5124: return 950;
        case 2052:
        case 4100: return 936;
        default: return 65001;
        }
    case 1: return 936;
    case 2: return 950;
    case 3: return 65001;
    default: return 0;
    }
}

STextFieldBytes EncodeTextField(QStringView cell, int units, int width, int codePage)
{
    QStringView taken = cell.left(units);
    // Half of a surrogate pair is no character: it stays out with its other half.
    if (taken.size() < cell.size() && !taken.isEmpty() && taken.back().isHighSurrogate() &&
        cell[taken.size()].isLowSurrogate())
        taken.chop(1);
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; };
    // Most texts hold no control character and are converted without a copy.
    QString withSpaces;
    QStringView text = taken;
    if (std::any_of(taken.begin(), taken.end(), isControl)) {
        withSpaces = taken.toString();
        std::replace_if(withSpaces.begin(), withSpaces.end(), isControl, QLatin1Char(' '));
        text = withSpaces;
    }
    const CodePage::SEncoded encoded = CodePage::EncodeReported(text, codePage, width);
    STextFieldBytes field;
    field.bytes = encoded.bytes;
    field.cut = taken.size() < cell.size() || encoded.unitsEncoded < text.size();
    field.lacking = encoded.replaced;
    return field;
}
