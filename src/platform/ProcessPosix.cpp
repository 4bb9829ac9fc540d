#include "platform/Process.hpp"

#include <cstdlib>

namespace platform
{
void prepareProcess() {}

void setEnvironmentDefault(const char* name, const char* value)
{
    constexpr int keepUsersValue = 0;
    setenv(name, value, keepUsersValue);
}

// Standard output is where a desktop's launcher or a terminal shows it.
void showFatalLine(std::string_view) {}
} // namespace platform
