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

// Everything else of the thread's scheduling is written back as it was read.
bool SetSlice(SSchedulingAttributes attributes, std::uint64_t sliceNs)
{
    attributes.size = sizeof attributes;
    attributes.runtime = sliceNs;
    return ::syscall(SYS_sched_setattr, 0, &attributes, 0U) == 0;
}

thread_local int t_requests = 0;
thread_local std::optional<std::uint64_t> t_sliceBefore; // empty when the system refused the request

} // namespace

namespace PromptWakeUps {

CRequest::CRequest()
{
    if (t_requests++ > 0)
        return;
    t_sliceBefore = CurrentSliceNs();
    if (t_sliceBefore) {
        SSchedulingAttributes attributes;
        if (!ReadAttributes(attributes) || !SetSlice(attributes, kShortSliceNs))
            t_sliceBefore.reset();
    }
}

CRequest::~CRequest()
{
    if (--t_requests > 0 || !t_sliceBefore)
        return;
    SSchedulingAttributes attributes;
    if (ReadAttributes(attributes))
        SetSlice(attributes, *t_sliceBefore);
    t_sliceBefore.reset();
}

std::optional<std::uint64_t> CurrentSliceNs()
{
    SSchedulingAttributes attributes;
    if (!ReadAttributes(attributes))
        return std::nullopt;
    return attributes.runtime;
}

} // namespace PromptWakeUps
