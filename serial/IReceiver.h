#pragma once

namespace Portwire {

// What a connection tells its owner, on the receive thread. A receiver only parses and queues: it never waits for
// the owner's thread, so that closing the connection can always join the receive thread.
class IReceiver
{
public:
    virtual ~IReceiver() = default;

    // A burst of received bytes, or the part of a burst up to a line end (LF) when the burst may go on: a line is
    // handed over as soon as it ends. The bytes belong to the connection and are valid only during the call; count
    // is at least 1.
    virtual void OnReceive(const char* bytes, int count) = 0;
    // The device went away (read error, end of file, hang-up of an unplugged adapter).
    virtual void OnConnectionLost() = 0;
};

} // namespace Portwire
