#include "platform/Desktop.hpp"

#include "DesktopScale.hpp"

#include <windows.h>

#include <shellscalingapi.h>

namespace platform
{
// Windows always has a desktop, and asking about it needs no connection.
struct Desktop::Connection
{
};

// Windows answers a process that has not said it knows of densities in pixels of 96 dpi, the work area
// and frame too. SFML says so for the process as it opens the window, which is too late for its size.
Desktop::Desktop()
{
    SetProcessDpiAwareness(PROCESS_PER_MONITOR_DPI_AWARE);
}

Desktop::~Desktop() = default;

WindowRoom Desktop::room() const
{
    WindowRoom room;
    RECT area{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) != 0)
        room.workArea =
            sf::Vector2u{static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top)};
    // The frame of a window with a title bar and a close button, as the game's window has.
    RECT client{0, 0, 0, 0};
    if (AdjustWindowRectEx(&client, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0) != 0)
        room.frame = {static_cast<unsigned>(client.right - client.left),
                      static_cast<unsigned>(client.bottom - client.top)};
    return room;
}

// The window opens centred on the primary monitor.
float Desktop::scale() const
{
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (GetDpiForMonitor(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), MDT_EFFECTIVE_DPI, &dpiX, &dpiY) != S_OK)
        return 1.f;
    return scaleOfDpi(dpiY);
}
} // namespace platform
