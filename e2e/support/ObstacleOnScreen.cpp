#include "support/ObstacleOnScreen.hpp"

#include <SFML/Graphics/Image.hpp>

#include <unordered_set>
#include <vector>

namespace
{
std::uint64_t hashOf(const Rgb& colour, std::uint64_t hash)
{
    constexpr std::uint64_t prime = 1099511628211ull;
    for (const std::uint8_t channel : {colour.r, colour.g, colour.b})
        hash = (hash ^ channel) * prime;
    return hash;
}

constexpr std::uint64_t hashStart = 14695981039346656037ull;
} // namespace

std::optional<int> findObstacle(const Picture& rows, const sf::Image& obstacle)
{
    const auto width = static_cast<int>(obstacle.getSize().x);
    const auto height = static_cast<int>(obstacle.getSize().y);
    // Every wholly opaque row of the picture, by its pixels' hash.
    std::unordered_set<std::uint64_t> obstacleRows;
    for (int y = 0; y < height; ++y)
    {
        std::uint64_t hash = hashStart;
        bool opaque = true;
        for (int x = 0; x < width && opaque; ++x)
        {
            const sf::Color colour = obstacle.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)});
            opaque = colour.a == 255;
            hash = hashOf({colour.r, colour.g, colour.b}, hash);
        }
        if (opaque)
            obstacleRows.insert(hash);
    }

    std::optional<int> found;
    for (int row = 0; row < rows.height(); ++row)
        for (int left = 0; left + width <= rows.width(); ++left)
        {
            std::uint64_t hash = hashStart;
            for (int x = left; x < left + width; ++x)
                hash = hashOf(rows.at(x, row), hash);
            if (obstacleRows.count(hash) != 0 && (!found || left > *found))
                found = left;
        }
    return found;
}
