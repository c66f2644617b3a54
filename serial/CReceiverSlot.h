#pragma once

#include "serial/IReceiver.h"

#include <mutex>

namespace Portwire {

// The owner's receiver, shared between the owner's thread, which registers it, and the receive thread, which calls
// it. A call runs under the lock, so once a registration returns, the receiver it replaced is neither running nor
// called again; registering from inside a call is allowed (the lock is recursive).
class CReceiverSlot
{
public:
    void Set(IReceiver* receiver);

    bool HasReceiver() const;
    // Hands the bytes to the receiver, if one is registered, and returns whether one was.
    bool Deliver(const char* bytes, int count) const;
    void ReportConnectionLost() const;

private:
    mutable std::recursive_mutex m_mutex;
    IReceiver* m_receiver = nullptr;
};

} // namespace Portwire
