#include "download/TransferState.h"

#include "app/StringTable.h"

QString TransferStateText(ETransferState state)
{
    switch (state) {
    case ETransferState::Acknowledged: return MessageString(StringId::TransferAcknowledged);
    case ETransferState::Refused: return MessageString(StringId::TransferRefused);
    case ETransferState::NoAnswer: return MessageString(StringId::TransferNoAnswer);
    case ETransferState::NotSent: return MessageString(StringId::TransferNotSent);
    }
    Q_UNREACHABLE();
}
