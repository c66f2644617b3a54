#include "serial/PromptWakeUps.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

int Niceness()
{
    return ::getpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)));
}

// On a thread of its own, so that the test's own thread keeps its scheduling. Two downloads may run on one thread:
// the first to end must not take the short slice from the other, and the last gives the thread's own slice back.
TEST(PromptWakeUps, KeepTheThreadsNicenessAndGiveItsSliceBackAfterTheLastRequest)
{
    std::thread thread([] {
        ASSERT_EQ(::setpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)), 5), 0);
        const std::optional<std::uint64_t> sliceBefore = PromptWakeUps::CurrentSliceNs();
        {
            const PromptWakeUps::CRequest first;
            // A niced program must not run its download threads un-niced, even where it could.
            EXPECT_EQ(Niceness(), 5);
            const std::optional<std::uint64_t> sliceAsked = PromptWakeUps::CurrentSliceNs();
            if (sliceBefore && sliceAsked && *sliceBefore > 100000) {
                EXPECT_LT(*sliceAsked, *sliceBefore);
            }
            {
                const PromptWakeUps::CRequest second;
            }
            EXPECT_EQ(PromptWakeUps::CurrentSliceNs(), sliceAsked);
        }
        EXPECT_EQ(Niceness(), 5);
        EXPECT_EQ(PromptWakeUps::CurrentSliceNs(), sliceBefore);
    });
    thread.join();
}

} // namespace
