#pragma once

#include <QString>

// What a download did with one row's record.
enum class ETransferState
{
    Acknowledged, // the scale answered "OK"
    Refused,      // the scale answered, but not "OK"
    NoAnswer,     // sent, and no answer came in time (or the device went away)
    NotSent,      // not sent: the download stopped before it, at it (a rejected row), or has not reached it yet
};

// The state as the row's tooltip tells it, in the language in force.
QString TransferStateText(ETransferState state);
