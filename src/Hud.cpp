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
    // Each texel of a glyph onto one window pixel, from a whole pixel on: no glyph is stretched or
    // straddles pixels. Where 14 px times the ratio is no whole size, the text is a little off 14 px.
    text.setCharacterSize(
        static_cast<unsigned>(std::max(1L, std::lround(static_cast<float>(hudCharacterSize) * pixelRatio))));
    text.setScale({1.f / pixelRatio, 1.f / pixelRatio});
    text.setPosition(
        {std::round(hudPosition.x * pixelRatio) / pixelRatio, std::round(hudPosition.y * pixelRatio) / pixelRatio});
}
