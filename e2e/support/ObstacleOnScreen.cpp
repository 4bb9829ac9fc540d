#include "support/ObstacleOnScreen.hpp"

#include <SFML/Graphics/Image.hpp>

namespace
{
constexpr std::uint64_t hashStart = 14695981039346656037ull;

std::uint64_t hashOf(const Rgb& colour, std::uint64_t hash)
{
    constexpr std::uint64_t prime = 1099511628211ull;
    for (const std::uint8_t channel : {colour.r, colour.g, colour.b})
        hash = (hash ^ channel) * prime;
    return hash;
}
} // namespace

ObstacleOnScreen::ObstacleOnScreen(const sf::Image& obstacle) : width(static_cast<int>(obstacle.getSize().x))
{
    for (unsigned y = 0; y < obstacle.getSize().y; ++y)
    {
        std::uint64_t hash = hashStart;
        bool opaque = true;
        for (unsigned x = 0; x < obstacle.getSize().x && opaque; ++x)
        {
            const sf::Color colour = obstacle.getPixel({x, y});
            opaque = colour.a == 255;
            hash = hashOf({colour.r, colour.g, colour.b}, hash);
        }
        if (opaque)
            opaqueRows.insert(hash);
    }
}

std::optional<int> ObstacleOnScreen::find(const Picture& rows) const
{
    std::optional<int> found;
    for (int row = 0; row < rows.height(); ++row)
        for (int left = 0; left + width <= rows.width(); ++left)
        {
            std::uint64_t hash = hashStart;
            for (int x = left; x < left + width; ++x)
                hash = hashOf(rows.at(x, row), hash);
            if (opaqueRows.count(hash) != 0 && (!found || left > *found))
                found = left;
        }
    return found;
}
