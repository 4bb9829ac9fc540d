#include "platform/Desktop.hpp"

#include <windows.h>

namespace platform
{
// Windows always has a desktop, and asking about it needs no connection.
struct Desktop::Connection
{
};

Desktop::Desktop() = default;

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
} // namespace platform
