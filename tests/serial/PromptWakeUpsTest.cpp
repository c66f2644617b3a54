#include "serial/PromptWakeUps.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

// The calling thread's time slice as the scheduler reports it, -1 where it does not.
qint64 CurrentSliceNs()
{
    QFile file(QStringLiteral("/proc/thread-self/sched"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("se\\.slice\\s*:\\s*(\\d+)")).match(QString::fromLatin1(file.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

int Niceness()
{
    return ::getpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)));
}

// On a thread of its own, so that the test's own thread keeps its scheduling.
TEST(PromptWakeUps, KeepTheThreadsNicenessAndGiveItsSliceBack)
{
    std::thread thread([] {
        const id_t self = id_t(::syscall(SYS_gettid));
        ASSERT_EQ(::setpriority(PRIO_PROCESS, self, 5), 0);
        const qint64 sliceBefore = CurrentSliceNs();
        const std::optional<std::uint64_t> previous = PromptWakeUps::Ask();
        // A niced program must not run its download threads un-niced, even where it could.
        EXPECT_EQ(Niceness(), 5);
        if (!previous)
            return; // the system refused: the thread runs as it was
        const qint64 sliceAsked = CurrentSliceNs();
        if (sliceBefore > 100000 && sliceAsked >= 0) {
            EXPECT_LT(sliceAsked, sliceBefore);
        }
        PromptWakeUps::Restore(*previous);
        EXPECT_EQ(Niceness(), 5);
        EXPECT_EQ(CurrentSliceNs(), sliceBefore);
    });
    thread.join();
}

} // namespace
