#include "download/TransferSettings.h"

#include "app/CSettings.h"

#include <algorithm>

STransferSettings ReadTransferSettings(const CSettings& settings)
{
    STransferSettings values;
    values.retries = std::clamp(settings.ReadInt(ESetting::Retries), 0, STransferSettings::kMaxRetries);
    values.ackTimeoutMs = std::clamp(settings.ReadInt(ESetting::AckTimeout), STransferSettings::kMinTimeoutMs,
                                     STransferSettings::kMaxTimeoutMs);
    return values;
}

void WriteTransferSettings(CSettings& settings, const STransferSettings& values)
{
    settings.WriteInt(ESetting::Retries, std::clamp(values.retries, 0, STransferSettings::kMaxRetries));
    settings.WriteInt(ESetting::AckTimeout, std::clamp(values.ackTimeoutMs, STransferSettings::kMinTimeoutMs,
                                                       STransferSettings::kMaxTimeoutMs));
}
