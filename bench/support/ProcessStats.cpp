#include "ProcessStats.hpp"

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace
{
// A "Name:   1234 kB" line of /proc/self/status, in KiB; -1 if it is missing.
std::int64_t statusKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.compare(0, field.size(), field) == 0 && line.size() > field.size() && line[field.size()] == ':')
            return std::strtoll(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}
} // namespace

namespace process
{
std::int64_t cpuMicroseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& time)
    { return static_cast<std::int64_t>(time.tv_sec) * 1'000'000 + time.tv_usec; };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

std::int64_t residentKiB()
{
    return statusKiB("VmRSS");
}

std::int64_t peakResidentKiB()
{
    return statusKiB("VmHWM");
}

std::int64_t heapInUseKiB()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>((info.uordblks + info.hblkhd) / 1024);
}

std::int64_t monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double millisecondsSinceExec()
{
    const char* value = std::getenv(execTimeVariable);
    if (value == nullptr)
        return -1.0;
    return static_cast<double>(monotonicNanoseconds() - std::strtoll(value, nullptr, 10)) / 1e6;
}

void report(std::string_view name, double value)
{
    std::printf("result %.*s %.6g\n", static_cast<int>(name.size()), name.data(), value);
    std::fflush(stdout);
}
} // namespace process
