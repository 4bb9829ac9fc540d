#pragma once

#include "PixelRegion.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <utility>
#include <vector>

// Draws a frame's sprites back to front, giving the pixels that clearing the target and blending each
// sprite over the ones before would give, for less work where no graphics hardware does it: a part
// of a sprite whose pixels are all opaque is drawn without blending, what an opaque part of a later
// sprite covers is not drawn at all, and the target is cleared only where no opaque part covers it.
// Each sprite is still drawn whole, only kept to parts of the target (the view's scissor), so every
// pixel it leaves is the one the library gives it anyway.
class Painter
{
public:
    // Begins a frame, cleared to `clearColour` wherever nothing opaque covers it.
    void begin(sf::Color clearColour);
    // The next sprite, over those before it; it is read when the frame is painted.
    void add(const sf::Sprite& sprite);
    // Draws the frame's sprites in their order; the target keeps its view.
    void paint(sf::RenderTarget& target);

private:
    // The spans [first, end) of a texture's rows whose pixels are all opaque, read once from its pixels.
    struct Opacity
    {
        const sf::Texture* texture = nullptr;
        unsigned handle = 0;
        sf::Vector2u size;
        std::vector<std::pair<int, int>> opaqueRows;
    };
    struct Layer
    {
        const sf::Sprite* sprite = nullptr;
        sf::IntRect reach; // every pixel the sprite may change
        std::size_t opaqueBegin = 0;
        std::size_t opaqueEnd = 0;
    };

    const Opacity& opacityOf(const sf::Texture& texture);
    void drawWithin(sf::RenderTarget& target, const sf::View& view, const Layer& layer, const sf::IntRect& pixels,
                    bool opaque) const;

    sf::Color clearColour;
    std::vector<const sf::Sprite*> sprites;
    std::vector<Opacity> opacities;
    // Working space kept from frame to frame, so that a frame allocates nothing.
    std::vector<Layer> layers;
    std::vector<sf::IntRect> opaqueParts; // of all layers, in their order
    PixelRegion region;
    PixelRegion scratch;
};
