#include "app/ForEachChunk.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

// Every index is visited exactly once, whether the count is done on one thread or split.
TEST(ForEachChunk, VisitsEveryIndexOnce)
{
    for (const int count : {0, 1, 8191, 8192, 16384, 16385, 100001}) {
        std::vector<int> visits(static_cast<size_t>(count), 0);
        ForEachChunk(count, [&](int first, int end) {
            for (int i = first; i < end; ++i)
                ++visits[static_cast<size_t>(i)];
        });
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(visits[static_cast<size_t>(i)], 1) << "count " << count << ", index " << i;
    }
}

// A failure in any chunk reaches the caller after every chunk has ended.
TEST(ForEachChunk, AFailureInAnyChunkIsThrownToTheCaller)
{
    EXPECT_THROW(ForEachChunk(100000,
                              [](int first, int end) {
                                  if (first <= 99999 && 99999 < end)
                                      throw std::runtime_error("last chunk");
                              }),
                 std::runtime_error);
}
