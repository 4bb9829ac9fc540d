#include "support/HudText.hpp"

#include "support/AssetCopy.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>

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

const sf::Image& HudText::coverage(const std::string& text)
{
    if (const auto found = drawn.find(text); found != drawn.end())
        return found->second;
    if (!target)
    {
        if (!font.openFromFile(builtAssets() / "Bicubik.OTF"))
            throw std::runtime_error("cannot open the HUD's font");
        target.emplace(sf::Vector2u{static_cast<unsigned>(hudArea.right), static_cast<unsigned>(hudArea.bottom)});
    }
    sf::Text hud(font, text, hudCharacterSize);
    hud.setFillColor(sf::Color::Red);
    hud.setPosition(hudPosition);
    // On a transparent target each pixel's alpha is how much of it the glyphs cover.
    target->clear(sf::Color::Transparent);
    target->draw(hud);
    target->display();
    return drawn.emplace(text, target->getTexture().copyToImage()).first->second;
}

bool HudText::shows(const Picture& picture, int score, int lives)
{
    const sf::Image& text = coverage("Score: " + std::to_string(score) + "\nLives: " + std::to_string(lives));
    for (int y = hudArea.top; y < hudArea.bottom; ++y)
        for (int x = hudArea.left; x < hudArea.right; ++x)
        {
            const std::uint8_t covered = text.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}).a;
            const bool red = picture.at(x, y) == hudRed;
            if ((covered == fullCoverage && !red) || (covered < untouched && red))
                return false;
        }
    return true;
}
