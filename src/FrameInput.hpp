#pragma once

#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>
#include <SFML/Window/Event.hpp>

#include <optional>
#include <vector>

// What the player did, as the game sees it: buttons and keys count when they are released.
enum class PlayerAction
{
    CloseWindow,
    Click,      // left button released
    PauseKey,   // P released
    RestartKey, // R released
    FocusLost,  // the window lost the keyboard focus: minimised, another window chosen
    FocusGained,
};

// Everything one frame reads from outside the game, so that a frame can be replayed from values.
struct FrameInput
{
    std::vector<PlayerAction> actions; // this frame's window events, in the order they came
    bool rightButtonHeld = false;
    sf::Time now; // the game's clock: every stopwatch of the game is read against it
    // The updates the frame runs, 1/60 s apart by the game's clock, the last of them at `now`.
    int updates = 1;
};

namespace sf
{
class Window;
}

// The action a window event stands for, if any.
[[nodiscard]] std::optional<PlayerAction> toPlayerAction(const sf::Event& event);

// Gathers what the player did since the last frame, the right button's state and the game clock.
// With `waitAtMost`, it first waits that long for the window's next event.
void readFrameInput(sf::Window& window, const sf::Clock& gameClock, FrameInput& input,
                    sf::Time waitAtMost = sf::Time::Zero);
