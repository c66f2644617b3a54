// BuildPluRecord with random cells, layouts and code pages. Whatever the cells hold:
//   - a row without PLU No. or value is skipped, and only such a row;
//   - a sendable record has exactly the layout's length (pricing 79, counting 77, with limits 93),
//     starts with STX "SP", ends with CR LF, carries the PLU No. as four digits from 0000 to 1008 and
//     an 8-byte value field that reads back as a number above 0;
//   - with UTF-8 text fields no character is cut in half;
//   - a rejected row gives a reason and no bytes; the same cells always give the same result.

#include "app/CodePage.h"
#include "app/TextNumbers.h"
#include "download/PluRecord.h"
#include "fuzz/FuzzSupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QVector>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const char* const kTemplates[] = {"",
                                  " ",
                                  "0",
                                  "1",
                                  "12",
                                  "1008",
                                  "1009",
                                  "-1",
                                  "2.5",
                                  "0.0001",
                                  "999.99995",
                                  "1000",
                                  "99999.995",
                                  "100000",
                                  "1e3",
                                  "1e308",
                                  "nan",
                                  "inf",
                                  "-0",
                                  "99999999.5",
                                  "12345678901234567890",
                                  "\xe2\x88\x9a",
                                  "true",
                                  "TRUE",
                                  "\xe6\x98\xaf",
                                  "365",
                                  "12345",
                                  "1.2",
                                  "-12345678",
                                  "123456789"};

QString RandomCell(FuzzedDataProvider& provider)
{
    switch (provider.ConsumeIntegralInRange(0, 3)) {
    case 0: return QString();
    case 1: return QString::fromUtf8(provider.PickValueInArray(kTemplates));
    case 2: {
        // Any UTF-16 code units, lone surrogates and NUL included.
        const std::string bytes = provider.ConsumeRandomLengthString(80);
        QString text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(quint8(bytes[i]) | (quint16(quint8(bytes[i + 1])) << 8))));
        return text;
    }
    default:
        return QString::fromUtf8(provider.PickValueInArray(kTemplates)) +
               QString::fromUtf8(provider.ConsumeRandomLengthString(24).c_str());
    }
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes of a text field up to its trailing 0x00 padding.
QByteArray FieldText(const QByteArray& record, int offset, int width)
{
    QByteArray field = record.mid(offset, width);
    while (!field.isEmpty() && field.back() == '\0')
        field.chop(1);
    return field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const EPluMode pluMode = provider.ConsumeBool() ? EPluMode::Pricing : EPluMode::Counting;
    const ELimitMode limitMode = provider.ConsumeBool() ? ELimitMode::On : ELimitMode::Off;
    static const unsigned kTextPages[] = {0, 936, 950, 65001, 1252};
    static const int kGoodsIdPages[] = {936, 950, 1252, 65001};
    const unsigned textCodePage =
        provider.ConsumeBool() ? provider.PickValueInArray(kTextPages) : provider.ConsumeIntegral<unsigned>();
    const int goodsIdCodePage =
        provider.ConsumeBool() ? provider.PickValueInArray(kGoodsIdPages) : provider.ConsumeIntegral<int>();
    QVector<QString> cells(provider.ConsumeIntegralInRange(0, 12));
    for (QString& cell : cells)
        cell = RandomCell(provider);

    const SPluRecord record = BuildPluRecord(cells, pluMode, limitMode, textCodePage, goodsIdCodePage);
    const SPluRecord again = BuildPluRecord(cells, pluMode, limitMode, textCodePage, goodsIdCodePage);
    FUZZ_CHECK(record.outcome == again.outcome && record.bytes == again.bytes && record.reason == again.reason,
               "the same cells give the same result");

    const QString plu = cells.size() > 1 ? cells[1] : QString();
    const QString value = cells.size() > 2 ? cells[2] : QString();
    FUZZ_CHECK(record.IsSkipped() == (plu.isEmpty() || value.isEmpty()), "skipped exactly without PLU No. or value");
    if (record.IsSkipped()) {
        FUZZ_CHECK(record.bytes.isEmpty(), "a skipped row has no bytes");
        return 0;
    }
    if (record.IsRejected()) {
        FUZZ_CHECK(record.bytes.isEmpty(), "a rejected row has no bytes");
        FUZZ_CHECK(!record.reason.isEmpty(), "a rejected row says why");
        return 0;
    }

    const QByteArray& bytes = record.bytes;
    const bool pricing = pluMode == EPluMode::Pricing;
    const bool limits = !pricing && limitMode == ELimitMode::On;
    const int expectedSize = pricing ? 79 : limits ? 93 : 77;
    const std::string hex = bytes.toHex(' ').toStdString();
    FUZZ_CHECK(bytes.size() == expectedSize, std::to_string(bytes.size()) + " bytes: " + hex);
    FUZZ_CHECK(bytes.startsWith("\x02SP"), hex);
    FUZZ_CHECK(bytes.endsWith("\r\n"), hex);

    const QByteArray number = bytes.mid(3, 4);
    FUZZ_CHECK(IsDigit(number[0]) && IsDigit(number[1]) && IsDigit(number[2]) && IsDigit(number[3]), hex);
    FUZZ_CHECK(number.toInt() <= kHighestPluNumber, hex);
    FUZZ_CHECK(number.toInt() == TextNumbers::ReadLeadingInteger(plu), hex);

    const QByteArray valueField = bytes.mid(7, 8);
    const QByteArray valueText = valueField.trimmed();
    FUZZ_CHECK(!valueText.isEmpty() && valueField.endsWith(valueText), hex);
    for (const char c : valueText)
        FUZZ_CHECK(IsDigit(c) || c == '.', hex);
    FUZZ_CHECK(TextNumbers::ReadLeadingDecimal(QString::fromLatin1(valueText)) > 0, hex);

    if (pricing) {
        FUZZ_CHECK(bytes[75] == '0' || bytes[75] == '1', hex);
        FUZZ_CHECK(bytes[76] == 'd', hex);
        const QByteArray shelfLife = bytes.mid(71, 4);
        FUZZ_CHECK(shelfLife == QByteArray(4, '\0') || !shelfLife.trimmed().isEmpty(), hex);
    } else if (limits) {
        for (const int offset : {75, 83}) {
            const QByteArray limit = bytes.mid(offset, 8);
            for (const char c : limit)
                FUZZ_CHECK(IsDigit(c) || c == '.' || c == '-', hex);
        }
    }

    const int textPage = textCodePage == 0 ? goodsIdCodePage : int(textCodePage);
    if (textPage == 65001) {
        const int fields[][2] = {{27, pricing ? 16 : 32}, {pricing ? 43 : 59, 16}, {pricing ? 59 : 0, 12}};
        for (const auto& field : fields) {
            if (field[0] > 0)
                FUZZ_CHECK(CodePage::IsValidUtf8(FieldText(bytes, field[0], field[1])), hex);
        }
    }
    if (goodsIdCodePage == 65001)
        FUZZ_CHECK(CodePage::IsValidUtf8(FieldText(bytes, 15, 12)), hex);
    return 0;
}
