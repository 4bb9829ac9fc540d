#include "platform/Process.hpp"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// Whether the game's lines reach a console: set by prepareProcess.
bool hasConsole = false;

// A handle standard output already has, such as a file or a pipe it was redirected to.
bool isOpen(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

std::wstring widen(std::string_view text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// The folder the program lies in, by its full name in UTF-16: any letters, any length.
std::wstring programFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
        {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}
} // namespace

namespace platform
{
void prepareProcess()
{
    // A windowed program gets no console of its own. Started from one, it writes there, unless its
    // output was redirected (to a file, a pipe), which it keeps.
    const bool outputRedirected = isOpen(STD_OUTPUT_HANDLE);
    const bool errorsRedirected = isOpen(STD_ERROR_HANDLE);
    // Access is denied to a process already attached to a console, as Wine attaches one started from
    // a console's program.
    hasConsole = AttachConsole(ATTACH_PARENT_PROCESS) != 0 || GetLastError() == ERROR_ACCESS_DENIED;
    if (hasConsole && !outputRedirected)
        (void)std::freopen("CONOUT$", "w", stdout);
    if (hasConsole && !errorsRedirected)
        (void)std::freopen("CONOUT$", "w", stderr);

    // The assets lie beside the program, which a shortcut, a console or another program may start in
    // any folder.
    const std::wstring folder = programFolder();
    if (!folder.empty())
        SetCurrentDirectoryW(folder.c_str());
}

void setEnvironmentDefault(const char* name, const char* value)
{
    if (std::getenv(name) == nullptr)
        _putenv_s(name, value);
}

void showFatalLine(std::string_view line)
{
    if (!hasConsole)
        MessageBoxW(nullptr, widen(line).c_str(), L"Flitmere", MB_OK | MB_ICONERROR);
}
} // namespace platform
