#include "support/HudText.hpp"

#include "support/AssetCopy.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cmath>
#include <stdexcept>

namespace
{
constexpr unsigned hudCharacterSize = 14;
const sf::Vector2f hudPosition{1000.f, 2.f};
constexpr Rgb hudRed{255, 0, 0};
constexpr std::uint8_t fullCoverage = 255;
// Below this coverage a pixel is taken as untouched by the text.
constexpr std::uint8_t untouched = 128;
} // namespace

const sf::Image& HudText::coverage(const std::string& text, double scale)
{
    const auto shownSize = static_cast<unsigned>(std::lround(hudCharacterSize * scale));
    if (const auto found = drawn.find({text, shownSize}); found != drawn.end())
        return found->second;
    if (!target && !font.openFromFile(builtAssets() / "Bicubik.OTF"))
        throw std::runtime_error("cannot open the HUD's font");
    const Box area = shownAt(hudArea, scale);
    const sf::Vector2u size{static_cast<unsigned>(area.right), static_cast<unsigned>(area.bottom)};
    if (!target || target->getSize() != size)
        target.emplace(size);
    // The world's pixels onto the target's as the game's view puts them onto its window.
    target->setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(size) / static_cast<float>(scale))));
    // Each texel of a glyph onto one pixel, from a whole pixel on.
    sf::Text hud(font, text, shownSize);
    const auto ratio = static_cast<float>(scale);
    hud.setScale({1.f / ratio, 1.f / ratio});
    hud.setFillColor(sf::Color::Red);
    hud.setPosition({std::round(hudPosition.x * ratio) / ratio, std::round(hudPosition.y * ratio) / ratio});
    // On a transparent target each pixel's alpha is how much of it the glyphs cover.
    target->clear(sf::Color::Transparent);
    target->draw(hud);
    target->display();
    return drawn.emplace(std::pair{text, shownSize}, target->getTexture().copyToImage()).first->second;
}

bool HudText::shows(const Picture& picture, int score, int lives)
{
    const double scale = worldScale(picture);
    const sf::Image& text = coverage("Score: " + std::to_string(score) + "\nLives: " + std::to_string(lives), scale);
    const Box area = shownAt(hudArea, scale);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
        {
            const std::uint8_t covered = text.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}).a;
            const bool red = picture.at(x, y) == hudRed;
            if ((covered == fullCoverage && !red) || (covered < untouched && red))
                return false;
        }
    return true;
}
