#include "support/Picture.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr int birdX = 400;
// Share of the bird's visible pixels that must be on screen unchanged: obstacles are drawn over it.
constexpr double birdMatchNeeded = 0.9;
// At least this share of the bird must be inside the window to say where it is.
constexpr double birdVisibleNeeded = 0.25;
constexpr Rgb hudRed{255, 0, 0};

Rgb rgbOf(const sf::Color colour)
{
    return {colour.r, colour.g, colour.b};
}

// The opaque pixels of a sprite (within `size`): where they lie in it and their colour.
struct SpritePixel
{
    int x;
    int y;
    Rgb colour;
};

std::vector<SpritePixel> opaquePixels(const sf::Image& sprite, sf::Vector2u size)
{
    std::vector<SpritePixel> pixels;
    for (unsigned row = 0; row < size.y; ++row)
        for (unsigned column = 0; column < size.x; ++column)
        {
            const sf::Color colour = sprite.getPixel({column, row});
            if (colour.a == 255)
                pixels.push_back({static_cast<int>(column), static_cast<int>(row), rgbOf(colour)});
        }
    return pixels;
}

// The share of the sprite's pixels inside the window that the screen shows with the sprite's top-left
// corner at (x, y), or nothing if too little of it would be inside the window to tell.
std::optional<double> match(const Picture& screen, const std::vector<SpritePixel>& sprite, int x, int y,
                            std::size_t wholeSprite, double scale)
{
    // Each of the world's pixels is looked at in the middle of the square the window shows it in.
    const auto shown = [scale](int coordinate) { return static_cast<int>(std::floor((coordinate + 0.5) * scale)); };
    // Past this many differences the share cannot reach what is needed: no need to look further.
    const auto missesAllowed = static_cast<std::size_t>((1.0 - birdMatchNeeded) * static_cast<double>(wholeSprite));
    std::size_t matched = 0;
    std::size_t visible = 0;
    for (const SpritePixel& pixel : sprite)
    {
        const int screenX = shown(x + pixel.x);
        const int screenY = shown(y + pixel.y);
        if (screenX < 0 || screenX >= screen.width() || screenY < 0 || screenY >= screen.height())
            continue;
        ++visible;
        matched += screen.at(screenX, screenY) == pixel.colour ? 1 : 0;
        if (visible - matched > missesAllowed)
            return 0.0;
    }
    if (visible == 0 || static_cast<double>(visible) < birdVisibleNeeded * static_cast<double>(wholeSprite))
        return std::nullopt;
    return static_cast<double>(matched) / static_cast<double>(visible);
}
} // namespace

bool Picture::operator==(const Picture& other) const
{
    const std::size_t bytes = std::size_t{4} * getSize().x * getSize().y;
    return getSize() == other.getSize() &&
           (bytes == 0 || std::equal(getPixelsPtr(), getPixelsPtr() + bytes, other.getPixelsPtr()));
}

std::optional<int> findBird(const Picture& screen, const sf::Image& wingUp, const sf::Image& wingDown)
{
    // The sprite keeps the wing-up picture's size when it shows the wing-down picture.
    const sf::Vector2u size = wingUp.getSize();
    const sf::Vector2u downSize{std::min(size.x, wingDown.getSize().x), std::min(size.y, wingDown.getSize().y)};
    const std::vector<SpritePixel> up = opaquePixels(wingUp, size);
    const std::vector<SpritePixel> down = opaquePixels(wingDown, downSize);
    std::optional<int> found;
    double best = birdMatchNeeded;
    const double scale = worldScale(screen);
    for (int y = -static_cast<int>(size.y) + 1; y < static_cast<int>(screen.height() / scale); ++y)
    {
        for (const std::vector<SpritePixel>* sprite : {&up, &down})
        {
            const std::optional<double> share = match(screen, *sprite, birdX, y, up.size(), scale);
            if (share && *share >= best)
            {
                best = *share;
                found = y;
            }
        }
    }
    return found;
}

double worldScale(const Picture& screen)
{
    return screen.width() / 1200.0;
}

Box shownAt(const Box& world, double scale)
{
    const auto at = [scale](int coordinate) { return static_cast<int>(std::lround(coordinate * scale)); };
    return {at(world.left), at(world.top), at(world.right), at(world.bottom)};
}

std::optional<Box> redTextBounds(const Picture& screen)
{
    std::optional<Box> bounds;
    const Box area = shownAt(hudArea, worldScale(screen));
    for (int y = area.top; y < std::min(area.bottom, screen.height()); ++y)
        for (int x = area.left; x < std::min(area.right, screen.width()); ++x)
        {
            if (!(screen.at(x, y) == hudRed))
                continue;
            if (!bounds)
                bounds = Box{x, y, x + 1, y + 1};
            bounds = Box{std::min(bounds->left, x), std::min(bounds->top, y), std::max(bounds->right, x + 1),
                         std::max(bounds->bottom, y + 1)};
        }
    return bounds;
}

double shareShown(const Picture& screen, const sf::Image& picture, const Box& ignored)
{
    const int width = std::min(screen.width(), static_cast<int>(picture.getSize().x));
    const int height = std::min(screen.height(), static_cast<int>(picture.getSize().y));
    long compared = 0;
    long same = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            if (ignored.contains(x, y))
                continue;
            ++compared;
            const sf::Color colour = picture.getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)});
            same += screen.at(x, y) == rgbOf(colour) ? 1 : 0;
        }
    return compared == 0 ? 0.0 : static_cast<double>(same) / static_cast<double>(compared);
}
