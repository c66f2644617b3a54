#pragma once

#include <cstdint>
#include <optional>

// An answer of the scale is acted on only after two threads have woken in turn: the receive thread, then the
// download's own. On a busy machine the scheduler may let either wait for a whole time slice of another program.
// A thread that asks for a short time slice is woken ahead of threads that run long; this needs no privilege, keeps
// the thread's niceness and policy, and does nothing where the scheduler has no such notion.
namespace PromptWakeUps {

// Asks for prompt wake-ups for the calling thread. Returns the time slice it had (0: the system's default), or
// nothing when the system refused the call.
std::optional<std::uint64_t> Ask();

// Gives the calling thread back the time slice that Ask returned.
void Restore(std::uint64_t sliceNs);

} // namespace PromptWakeUps
