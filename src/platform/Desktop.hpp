#pragma once

#include <SFML/System/Vector2.hpp>

#include <memory>
#include <optional>
#include <string>

namespace platform
{
// What the window manager tells of the screen: where windows may lie and what their frame adds.
struct WindowRoom
{
    // The usable area's size (the screen less panels and docks); nothing where no window manager says.
    std::optional<sf::Vector2u> workArea;
    // What a frame adds to a window's client area: both sides, and the title bar with the bottom edge.
    sf::Vector2u frame;
};

// The desktop the game's window opens on, one connection to it for as long as the object lives.
// The game holds one from start to end: an X server started without `-noreset` resets once its last
// client leaves, and drops any client connecting at that moment, the game's window among them.
class Desktop
{
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // One line saying why no window can be opened, or nothing when one can.
    [[nodiscard]] const std::optional<std::string>& problem() const { return whyNoWindow; }
    // Asks the window manager; without a display, nothing is known.
    [[nodiscard]] WindowRoom room() const;
    // The desktop's scale (see DesktopScale.hpp): 2 where it enlarges everything to 200%; 1 where it
    // says nothing.
    [[nodiscard]] float scale() const;

private:
    struct Connection;
    std::unique_ptr<Connection> connection;
    std::optional<std::string> whyNoWindow;
};
} // namespace platform
