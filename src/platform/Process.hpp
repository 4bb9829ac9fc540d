#pragma once

#include <string_view>

// What the game's process needs of its system, beside the desktop (Desktop.hpp). Each system has
// its own source file (ProcessPosix.cpp, ProcessWin32.cpp) and the build takes the one for its
// target, so the rest of the game has no system-specific code.
namespace platform
{
// Called first thing in main: the process as the system's players expect it. On Windows the game
// is a windowed program: its lines go to the console it was started from, if any, and it reads its
// files from its own folder wherever it was started from. Elsewhere the launcher sees to both.
void prepareProcess();

// Gives an environment variable a value unless the user has set one.
void setEnvironmentDefault(const char* name, const char* value);

// A line the game ends on (it is also written to standard output): where nobody would read that,
// as when a Windows player double-clicked the game, it is shown in a message box, which waits.
void showFatalLine(std::string_view line);
} // namespace platform
