#include "FrameInput.hpp"

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
