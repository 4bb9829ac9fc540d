#include "FrameInput.hpp"

#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>

std::optional<PlayerAction> toPlayerAction(const sf::Event& event)
{
    if (event.is<sf::Event::Closed>())
        return PlayerAction::CloseWindow;
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

void readFrameInput(sf::Window& window, const sf::Clock& gameClock, FrameInput& input)
{
    input.actions.clear();
    while (const std::optional event = window.pollEvent())
    {
        if (const std::optional action = toPlayerAction(*event))
            input.actions.push_back(*action);
    }
    input.rightButtonHeld = sf::Mouse::isButtonPressed(sf::Mouse::Button::Right);
    input.now = gameClock.getElapsedTime();
}
