#pragma once

#include <mutex>

namespace Portwire {

// Receives a burst of bytes on the receive thread. The bytes belong to the caller and are valid only during the
// call; count is at least 1.
using ReceiveCallback = void (*)(void* context, const char* bytes, int count);
// Told on the receive thread that the device went away (read error, end of file, hang-up of an unplugged adapter).
using ConnectionLostCallback = void (*)(void* context);

// The owner's two callbacks, shared between the owner's thread, which registers them, and the receive thread,
// which calls them. A call runs under the lock, so once a registration returns, the callback it replaced is
// neither running nor called again; registering from inside a callback is allowed (the lock is recursive).
// A callback must therefore not wait for a thread that is registering a callback at that moment.
class CReceiveCallbacks
{
public:
    void SetReceive(ReceiveCallback callback, void* context);
    void SetConnectionLost(ConnectionLostCallback callback, void* context);

    bool HasReceiver() const;
    // Calls the receive callback, if one is registered, and returns whether one was.
    bool Deliver(const char* bytes, int count) const;
    void ReportConnectionLost() const;

private:
    mutable std::recursive_mutex m_mutex;
    ReceiveCallback m_receive = nullptr;
    void* m_receiveContext = nullptr;
    ConnectionLostCallback m_lost = nullptr;
    void* m_lostContext = nullptr;
};

} // namespace Portwire
