#include "FrameInput.hpp"

#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>

std::optional<PlayerAction> toPlayerAction(const sf::Event& event)
{
    if (event.is<sf::Event::Closed>())
        return PlayerAction::CloseWindow;
    if (event.is<sf::Event::FocusLost>())
        return PlayerAction::FocusLost;
    if (event.is<sf::Event::FocusGained>())
        return PlayerAction::FocusGained;
    if (const auto* released = event.getIf<sf::Event::MouseButtonReleased>())
    {
        if (released->button == sf::Mouse::Button::Left)
            return PlayerAction::Click;
    }
    if (const auto* released = event.getIf<sf::Event::KeyReleased>())
    {
        if (released->code == sf::Keyboard::Key::P)
            return PlayerAction::PauseKey;
        if (released->code == sf::Keyboard::Key::R)
            return PlayerAction::RestartKey;
    }
    return std::nullopt;
}

void readFrameInput(sf::Window& window, const sf::Clock& gameClock, FrameInput& input, sf::Time waitAtMost)
{
    input.actions.clear();
    const auto take = [&input](const sf::Event& event)
    {
        if (const std::optional action = toPlayerAction(event))
            input.actions.push_back(*action);
    };
    if (waitAtMost > sf::Time::Zero)
        if (const std::optional event = window.waitEvent(waitAtMost))
            take(*event);
    while (const std::optional event = window.pollEvent())
        take(*event);
    input.rightButtonHeld = sf::Mouse::isButtonPressed(sf::Mouse::Button::Right);
    input.now = gameClock.getElapsedTime();
}
