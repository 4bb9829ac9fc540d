#include "FrameInput.hpp"

#include <gtest/gtest.h>

TEST(FrameInput, TheLeftButtonAndTheKeysCountWhenReleased)
{
    const sf::Vector2i at{600, 400};
    EXPECT_EQ(toPlayerAction(sf::Event::MouseButtonReleased{sf::Mouse::Button::Left, at}), PlayerAction::Click);
    EXPECT_EQ(toPlayerAction(sf::Event::KeyReleased{sf::Keyboard::Key::P}), PlayerAction::PauseKey);
    EXPECT_EQ(toPlayerAction(sf::Event::KeyReleased{sf::Keyboard::Key::R}), PlayerAction::RestartKey);
    EXPECT_EQ(toPlayerAction(sf::Event::Closed{}), PlayerAction::CloseWindow);
    EXPECT_EQ(toPlayerAction(sf::Event::FocusLost{}), PlayerAction::FocusLost);
    EXPECT_EQ(toPlayerAction(sf::Event::FocusGained{}), PlayerAction::FocusGained);

    // The right button dives while held; it is read from the mouse, never as an action.
    EXPECT_EQ(toPlayerAction(sf::Event::MouseButtonReleased{sf::Mouse::Button::Right, at}), std::nullopt);
    EXPECT_EQ(toPlayerAction(sf::Event::MouseButtonPressed{sf::Mouse::Button::Left, at}), std::nullopt);
    EXPECT_EQ(toPlayerAction(sf::Event::KeyPressed{sf::Keyboard::Key::P}), std::nullopt);
    EXPECT_EQ(toPlayerAction(sf::Event::KeyReleased{sf::Keyboard::Key::Space}), std::nullopt);
}
