#pragma once

#include <cstdint>
#include <optional>

// An answer of the scale is acted on only after two threads have woken in turn: the receive thread, then the
// download's own. On a busy machine the scheduler may let either wait for a whole time slice of another program.
// A thread that asks for a short time slice is woken ahead of threads that run long; this needs no privilege, keeps
// the thread's niceness and policy, and does nothing where the scheduler has no such notion.
namespace PromptWakeUps {

// While a request lives, its thread asks for prompt wake-ups; when the last request of the thread ends, the thread
// gets its time slice back. Several downloads may share one thread. A request belongs to the thread that made it.
class CRequest
{
public:
    CRequest();
    ~CRequest();

    CRequest(const CRequest&) = delete;
    CRequest& operator=(const CRequest&) = delete;
};

// The calling thread's time slice in nanoseconds as the system reports it (0: the system's default), or nothing
// where it cannot tell.
std::optional<std::uint64_t> CurrentSliceNs();

} // namespace PromptWakeUps
