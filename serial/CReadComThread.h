#pragma once

#include "serial/CReceiveCallbacks.h"

#include <chrono>
#include <memory>
#include <thread>

class CSerialPort;

namespace Portwire {

// The receive thread of an open connection. It polls the device and a wake-up descriptor, gathers the bytes of a
// burst and hands each burst to the receive callback in one call: a burst ends when kQuietInterval passes without
// a further byte, or when kBufferSize bytes have gathered. Bytes that arrive while no callback is registered are
// dropped. A read error, end of file or hang-up ends the thread and is reported through the connection-lost
// callback, after the bytes gathered before it have been delivered.
class CReadComThread
{
public:
    static constexpr int kBufferSize = 2048;
    static constexpr std::chrono::milliseconds kQuietInterval{30};
    // How long Stop waits for a callback that is still running before it lets the thread end on its own.
    static constexpr std::chrono::milliseconds kStopWait{1500};

    CReadComThread(std::shared_ptr<CSerialPort> port, std::shared_ptr<const CReceiveCallbacks> callbacks);
    virtual ~CReadComThread();

    CReadComThread(const CReadComThread&) = delete;
    CReadComThread& operator=(const CReadComThread&) = delete;

    // Raises CSerialException when the wake-up descriptor or the thread cannot be created.
    void Start();

    // Asks the thread to stop, wakes it and joins it. The thread looks at the stop request before every callback
    // call, so at most the call already running is waited for, and only up to kStopWait: a callback that does not
    // return by then is left to finish on its own (the thread keeps the device open until it returns, and then
    // ends without calling anything else). Called on the receive thread itself, from inside a callback, Stop
    // does not wait: the thread ends as soon as that callback returns.
    void Stop();

    // Whether the thread routine has returned (after Stop, or after losing the device).
    bool IsFinished() const;

private:
    struct SShared;
    static void Run(const std::shared_ptr<SShared>& shared);

    std::shared_ptr<SShared> m_shared;
    std::thread m_thread;
};

} // namespace Portwire
