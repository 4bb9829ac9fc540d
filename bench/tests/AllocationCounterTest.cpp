#include "AllocationCounter.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace
{
struct alignas(64) Wide
{
    char bytes[64];
};

// Keeps the compiler from leaving out an allocation whose memory is never used.
void* volatile escape = nullptr;
} // namespace

TEST(AllocationCounter, CountsEveryFormOfNewOnTheCallingThread)
{
    const std::uint64_t before = allocations::countOnThisThread();
    const std::uint64_t bytesBefore = allocations::bytesOnThisThread();
    {
        const auto single = std::make_unique<int>(1);
        escape = single.get();
        const auto array = std::make_unique<int[]>(10);
        escape = array.get();
        const auto aligned = std::make_unique<Wide>();
        escape = aligned.get();
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned.get()) % 64, 0u);
    }
    EXPECT_EQ(allocations::countOnThisThread() - before, 3u);
    EXPECT_GE(allocations::bytesOnThisThread() - bytesBefore, sizeof(int) * 11 + sizeof(Wide));
}

TEST(AllocationCounter, AShortStringStaysInPlaceAndALongOneIsCounted)
{
    const std::uint64_t before = allocations::countOnThisThread();
    std::string text = "Score: 12";
    EXPECT_EQ(allocations::countOnThisThread() - before, 0u);
    text += "\nLives: 3 and then some";
    EXPECT_EQ(allocations::countOnThisThread() - before, 1u);
}

TEST(AllocationCounter, AnotherThreadsAllocationsCountInTheTotalOnly)
{
    const std::uint64_t mine = allocations::countOnThisThread();
    const std::uint64_t total = allocations::countOnAllThreads();
    std::uint64_t theirs = 0;
    // The thread's own state is allocated by this thread before it starts.
    std::thread worker(
        [&theirs]
        {
            const std::uint64_t before = allocations::countOnThisThread();
            const auto value = std::make_unique<long>(7);
            escape = value.get();
            theirs = allocations::countOnThisThread() - before;
        });
    const std::uint64_t mineAfterStart = allocations::countOnThisThread();
    worker.join();
    const std::uint64_t mineAfterJoin = allocations::countOnThisThread();
    EXPECT_EQ(theirs, 1u);
    EXPECT_EQ(mineAfterJoin, mineAfterStart);
    EXPECT_GE(allocations::countOnAllThreads() - total, (mineAfterStart - mine) + 1);
}
