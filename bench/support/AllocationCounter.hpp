#pragma once

#include <cstdint>

// Counts the heap allocations made through the global operator new (every form), per thread and in
// total. Linking AllocationCounter.cpp into a program replaces the global operators for the whole
// process, the SFML libraries and the C++ runtime included; allocations made with malloc directly
// (the C libraries, the OpenGL driver) are not seen.
namespace allocations
{
// Allocations and bytes asked for by the calling thread since it started.
[[nodiscard]] std::uint64_t countOnThisThread();
[[nodiscard]] std::uint64_t bytesOnThisThread();
// Allocations asked for by every thread since the process started.
[[nodiscard]] std::uint64_t countOnAllThreads();
} // namespace allocations
