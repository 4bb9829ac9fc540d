#include "FrameMeter.hpp"

#include "AllocationCounter.hpp"
#include "ProcessStats.hpp"

#include <string>

FrameMeter::FrameMeter(int warmupFrames, int measuredFrames)
    : warmupFrames(warmupFrames < 1 ? 1 : warmupFrames), measuredFrames(measuredFrames < 1 ? 1 : measuredFrames)
{
}

void FrameMeter::frameDone()
{
    // Readings are taken between frames, so they fall on the same boundary in every program.
    const auto take = [](std::int64_t& cpu, std::int64_t& wall, std::uint64_t& count, std::uint64_t& bytes)
    {
        cpu = process::cpuMicroseconds();
        wall = process::monotonicNanoseconds();
        count = allocations::countOnThisThread();
        bytes = allocations::bytesOnThisThread();
    };
    ++framesDone;
    if (framesDone == warmupFrames)
        take(cpuAtStart, wallAtStart, allocationsAtStart, bytesAtStart);
    if (framesDone == warmupFrames + measuredFrames)
    {
        take(cpuAtEnd, wallAtEnd, allocationsAtEnd, bytesAtEnd);
        // Read before the report prints, since the first print allocates the output buffer.
        atEnd = readMemory();
    }
    if (framesDone == residentCheckFrame)
        atCheck = readMemory();
    if (framesDone == (warmupFrames + measuredFrames) / 2)
        atHalf = readMemory();
}

FrameMeter::Memory FrameMeter::readMemory()
{
    return {process::residentKiB(), process::heapInUseKiB()};
}

void FrameMeter::report() const
{
    const double frames = measuredFrames;
    process::report("frames", framesDone);
    process::report("cpu_ms_per_frame", static_cast<double>(cpuAtEnd - cpuAtStart) / 1e3 / frames);
    process::report("wall_ms_per_frame", static_cast<double>(wallAtEnd - wallAtStart) / 1e6 / frames);
    process::report("allocations_per_frame", static_cast<double>(allocationsAtEnd - allocationsAtStart) / frames);
    process::report("allocated_bytes_per_frame", static_cast<double>(bytesAtEnd - bytesAtStart) / frames);
    const auto memory = [](const std::string& when, const Memory& reading)
    {
        if (reading.residentKiB < 0)
            return;
        process::report("resident_kib_at_" + when, static_cast<double>(reading.residentKiB));
        process::report("heap_kib_at_" + when, static_cast<double>(reading.heapKiB));
    };
    memory("1000", atCheck);
    memory("half", atHalf);
    memory("end", atEnd);
    process::report("peak_resident_kib", static_cast<double>(process::peakResidentKiB()));
}
