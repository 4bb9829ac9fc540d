#pragma once

#include <cstdint>
#include <string_view>

// Readings of the running process, for the bench programs' reports.
namespace process
{
// CPU time used by every thread of the process (user and system), in microseconds.
[[nodiscard]] std::int64_t cpuMicroseconds();
// Resident set size now and at its peak, in KiB.
[[nodiscard]] std::int64_t residentKiB();
[[nodiscard]] std::int64_t peakResidentKiB();
// Bytes in use in the C library heap's main arena and its mapped blocks, in KiB: what the frame's thread
// allocates lands there (other threads may use arenas of their own).
[[nodiscard]] std::int64_t heapInUseKiB();
// The monotonic clock, in nanoseconds; comparable between processes on one machine.
[[nodiscard]] std::int64_t monotonicNanoseconds();

// The environment variable through which the runner hands a child the monotonic reading taken just
// before it executed the program.
inline constexpr const char* execTimeVariable = "FLITMERE_BENCH_EXEC_NS";
// Milliseconds since that reading, or a negative number when the variable is not set.
[[nodiscard]] double millisecondsSinceExec();

// One figure for the runner, on standard output as "result <name> <value>".
void report(std::string_view name, double value);
} // namespace process
