#include "exchange/ImportLimits.h"

QString DescribeByteCount(qint64 bytes)
{
    constexpr qint64 kKilobyte = 1024;
    constexpr qint64 kMegabyte = kKilobyte * 1024;
    constexpr qint64 kGigabyte = kMegabyte * 1024;
    const auto scaled = [bytes](qint64 unit, const char* name) {
        const double value = double(bytes) / double(unit);
        // Whole numbers print without decimals: "256 MB", not "256.0 MB".
        return (bytes % unit == 0 ? QString::number(bytes / unit) : QString::number(value, 'f', 1)) + QLatin1Char(' ') +
               QLatin1String(name);
    };
    if (bytes >= kGigabyte)
        return scaled(kGigabyte, "GB");
    if (bytes >= kMegabyte)
        return scaled(kMegabyte, "MB");
    if (bytes >= kKilobyte)
        return scaled(kKilobyte, "KB");
    return QStringLiteral("%1 bytes").arg(bytes);
}
