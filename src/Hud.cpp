#include "Hud.hpp"

#include "Assets.hpp"
#include "FontCheck.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace
{
constexpr unsigned hudCharacterSize = 14;
const sf::Vector2f hudPosition{1000.f, 2.f};
constexpr std::string_view fontFailure = "unable to load font";
// Every character the HUD draws.
constexpr std::string_view hudCharacters = "Score: 0123456789Lives";
} // namespace

bool openHudFont(sf::Font& font, const std::string& fileName)
{
    if (!openFont(font, fileName, fontFailure))
        return false;
    if (drawsInProportion(font, hudCharacters, hudCharacterSize))
        return true;
    std::cerr << "Flitmere: " << fileName << " draws its letters out of all proportion to their size\n";
    reportLoadFailure(fontFailure);
    return false;
}

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
