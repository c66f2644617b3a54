#include "download/TransferState.h"

#include "app/StringTable.h"

QString TransferStateText(ETransferState state)
{
    switch (state) {
    case ETransferState::Acknowledged: return LoadString(StringId::TransferAcknowledged);
    case ETransferState::Refused: return LoadString(StringId::TransferRefused);
    case ETransferState::NoAnswer: return LoadString(StringId::TransferNoAnswer);
    case ETransferState::NotSent: return LoadString(StringId::TransferNotSent);
    }
    Q_UNREACHABLE();
}
