#include "Hud.hpp"

namespace
{
constexpr unsigned hudCharacterSize = 14;
const sf::Vector2f hudPosition{1000.f, 2.f};
} // namespace

std::string hudString(int score, int lives)
{
    return "Score: " + std::to_string(score) + "\nLives: " + std::to_string(lives);
}

sf::Text makeHudText(const sf::Font& font, int score, int lives)
{
    sf::Text text(font, hudString(score, lives), hudCharacterSize);
    text.setPosition(hudPosition);
    text.setFillColor(sf::Color::Red);
    text.setStyle(sf::Text::Regular);
    return text;
}
