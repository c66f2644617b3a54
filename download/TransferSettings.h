#pragma once

class CSettings;

// How the window's downloads treat a scale that does not answer, as the Transfer dialog sets it.
struct STransferSettings
{
    static constexpr int kMaxRetries = 9;
    static constexpr int kMinTimeoutMs = 100;
    static constexpr int kMaxTimeoutMs = 60000;

    int retries = 0;      // how often a record without an answer is sent again
    int ackTimeoutMs = 0; // how long each answer may take
};

// The stored values; one outside its range reads as the nearest value allowed.
STransferSettings ReadTransferSettings(const CSettings& settings);
void WriteTransferSettings(CSettings& settings, const STransferSettings& values);
