#pragma once

#include <cstdint>

// Measures a stretch of paced play by the clock: the first `warmupSeconds` settle the pacer, the cache
// and the driver, the next `measuredSeconds` are measured: the CPU time of the whole process (every
// thread, the renderer's included) per second of play, and the frames shown per second.
class PlayMeter
{
public:
    PlayMeter(double warmupSeconds, double measuredSeconds);

    [[nodiscard]] bool wantsMoreFrames() const { return !ended; }
    void frameDone();
    // Prints the figures as "result" lines for the runner.
    void report() const;

private:
    std::int64_t warmupEndsNs;
    std::int64_t measuredEndsNs;
    bool measuring = false;
    bool ended = false;
    std::int64_t frames = 0;
    std::int64_t cpuAtStart = 0;
    std::int64_t wallAtStart = 0;
    std::int64_t cpuAtEnd = 0;
    std::int64_t wallAtEnd = 0;
};
