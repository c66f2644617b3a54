#include "serial/PromptWakeUps.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The shortest slice the scheduler grants on request; a wake-up's work takes microseconds.
constexpr std::uint64_t kShortSliceNs = 100000;

// The kernel's sched_attr, whose header cannot share a translation unit with the C library's <sched.h>.
struct SSchedulingAttributes
{
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime; // for ordinary threads, the requested time slice
    std::uint64_t deadline;
    std::uint64_t period;
    std::uint32_t utilizationMin;
    std::uint32_t utilizationMax;
};

bool ReadAttributes(SSchedulingAttributes& attributes)
{
    attributes = {};
    return ::syscall(SYS_sched_getattr, 0, &attributes, unsigned(sizeof attributes), 0U) == 0;
}

bool SetSlice(SSchedulingAttributes attributes, std::uint64_t sliceNs)
{
    attributes.size = sizeof attributes;
    attributes.runtime = sliceNs;
    return ::syscall(SYS_sched_setattr, 0, &attributes, 0U) == 0;
}

} // namespace

namespace PromptWakeUps {

std::optional<std::uint64_t> Ask()
{
    SSchedulingAttributes attributes;
    if (!ReadAttributes(attributes))
        return std::nullopt;
    const std::uint64_t previous = attributes.runtime;
    if (!SetSlice(attributes, kShortSliceNs))
        return std::nullopt;
    return previous;
}

void Restore(std::uint64_t sliceNs)
{
    SSchedulingAttributes attributes;
    if (ReadAttributes(attributes))
        SetSlice(attributes, sliceNs);
}

} // namespace PromptWakeUps
