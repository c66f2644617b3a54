#pragma once

#include "serial/CReceiverSlot.h"

#include <chrono>
#include <memory>
#include <thread>

class CSerialPort;

namespace Portwire {

// The receive thread of an open connection. It polls the device and a wake-up descriptor, gathers the bytes of a
// burst and hands each burst to the receiver in one call: a burst ends when kQuietInterval passes without a
// further byte, or when kBufferSize bytes have gathered. A burst that brings a line end (LF) is handed over up to
// there at once, so that an answer is acted on without waiting for the quiet interval; the rest of the burst
// follows. Bytes that arrive while no receiver is registered are
// dropped. A read error, end of file or hang-up ends the thread and is reported to the receiver, after the bytes
// gathered before it have been delivered.
class CReadComThread
{
public:
    static constexpr int kBufferSize = 2048;
    static constexpr std::chrono::milliseconds kQuietInterval{30};

    CReadComThread(std::shared_ptr<CSerialPort> port, std::shared_ptr<const CReceiverSlot> receiver);
    virtual ~CReadComThread();

    CReadComThread(const CReadComThread&) = delete;
    CReadComThread& operator=(const CReadComThread&) = delete;

    // Raises CSerialException when the wake-up descriptor or the thread cannot be created.
    void Start();

    // Asks the thread to stop, wakes it and joins it. The thread looks at the stop request before every call of the
    // receiver, so at most the call already running is waited for; a receiver only parses and queues, so that call
    // returns. Called on the receive thread itself, from inside the receiver, Stop cannot join: the thread ends as
    // soon as that call returns, without calling anything else.
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
