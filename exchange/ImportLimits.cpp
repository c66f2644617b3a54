#include "exchange/ImportLimits.h"

#include "app/Language.h"
#include "app/StringTable.h"

QString DescribeByteCount(qint64 bytes)
{
    constexpr qint64 kKilobyte = 1024;
    constexpr qint64 kMegabyte = kKilobyte * 1024;
    constexpr qint64 kGigabyte = kMegabyte * 1024;
    const QLocale locale = Language::MessageLocale();
    const auto scaled = [bytes, &locale](qint64 unit, unsigned pattern) {
        const double value = double(bytes) / double(unit);
        // Whole numbers print without decimals: "256 MB", not "256.0 MB".
        return MessageString(pattern).arg(bytes % unit == 0 ? locale.toString(bytes / unit)
                                                            : locale.toString(value, 'f', 1));
    };
    if (bytes >= kGigabyte)
        return scaled(kGigabyte, StringId::GigabyteCount);
    if (bytes >= kMegabyte)
        return scaled(kMegabyte, StringId::MegabyteCount);
    if (bytes >= kKilobyte)
        return scaled(kKilobyte, StringId::KilobyteCount);
    return MessageString(StringId::ByteCount).arg(locale.toString(bytes));
}
