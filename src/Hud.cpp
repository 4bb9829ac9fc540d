#include "Hud.hpp"

#include <algorithm>
#include <cmath>

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

void sharpenHudText(sf::Text& text, float pixelRatio)
{
    const auto shownSize =
        static_cast<unsigned>(std::max(1L, std::lround(static_cast<float>(hudCharacterSize) * pixelRatio)));
    const float back = static_cast<float>(hudCharacterSize) / static_cast<float>(shownSize);
    text.setCharacterSize(shownSize);
    text.setScale({back, back});
}
