#pragma once

#include <cstdint>

// Measures a run of frames: the first `warmupFrames` settle caches, pools and the driver, the next
// `measuredFrames` (at least one of each) are timed (process CPU time over all threads, wall time)
// and their allocations on the frame's thread counted. The resident size and the heap in use are
// read after frame 1,000, after the middle frame of the run and after the last frame: growth after
// frame 1,000 that goes on into the second half is growth that does not settle.
class FrameMeter
{
public:
    static constexpr int residentCheckFrame = 1'000;

    FrameMeter(int warmupFrames, int measuredFrames);

    [[nodiscard]] bool wantsMoreFrames() const { return framesDone < warmupFrames + measuredFrames; }
    [[nodiscard]] bool measuring() const { return framesDone >= warmupFrames; }
    void frameDone();
    // Prints the figures as "result" lines for the runner.
    void report() const;

private:
    int warmupFrames;
    int measuredFrames;
    int framesDone = 0;
    std::int64_t cpuAtStart = 0;
    std::int64_t wallAtStart = 0;
    std::uint64_t allocationsAtStart = 0;
    std::uint64_t bytesAtStart = 0;
    std::int64_t cpuAtEnd = 0;
    std::int64_t wallAtEnd = 0;
    std::uint64_t allocationsAtEnd = 0;
    std::uint64_t bytesAtEnd = 0;
    struct Memory
    {
        std::int64_t residentKiB = -1;
        std::int64_t heapKiB = -1;
    };
    static Memory readMemory();
    Memory atCheck;
    Memory atHalf;
    Memory atEnd;
};
