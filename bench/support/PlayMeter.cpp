#include "PlayMeter.hpp"

#include "ProcessStats.hpp"

PlayMeter::PlayMeter(double warmupSeconds, double measuredSeconds)
{
    const std::int64_t now = process::monotonicNanoseconds();
    warmupEndsNs = now + static_cast<std::int64_t>(warmupSeconds * 1e9);
    measuredEndsNs = warmupEndsNs + static_cast<std::int64_t>(measuredSeconds * 1e9);
}

void PlayMeter::frameDone()
{
    // Readings are taken between frames, as the frame meter takes them.
    const std::int64_t now = process::monotonicNanoseconds();
    if (!measuring && now >= warmupEndsNs)
    {
        measuring = true;
        cpuAtStart = process::cpuMicroseconds();
        wallAtStart = now;
        return;
    }
    if (!measuring)
        return;
    ++frames;
    if (now >= measuredEndsNs)
    {
        ended = true;
        cpuAtEnd = process::cpuMicroseconds();
        wallAtEnd = now;
    }
}

void PlayMeter::report() const
{
    const double seconds = static_cast<double>(wallAtEnd - wallAtStart) / 1e9;
    process::report("cpu_s_per_s", static_cast<double>(cpuAtEnd - cpuAtStart) / 1e6 / seconds);
    process::report("frames_per_s", static_cast<double>(frames) / seconds);
    // Where a loaded machine keeps one program further below 60 frames a second than the other, the CPU
    // time per frame shown still compares them.
    process::report("cpu_ms_per_frame_shown",
                    static_cast<double>(cpuAtEnd - cpuAtStart) / 1e3 / static_cast<double>(frames));
}
