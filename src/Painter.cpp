#include "Painter.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/View.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace
{
// How far inside an edge a pixel's centre must lie to be counted as surely on that side of it: far
// more than the rasteriser's rounding of a corner (1/256 px at most), far less than a pixel.
constexpr double edgeMargin = 1.0 / 16.0;

// From the view's coordinates to the target's pixels, for a view that is neither turned nor given
// part of the target only: then a pixel column or row of the target is a straight line in the view.
struct Mapping
{
    sf::Vector2<double> origin;
    sf::Vector2<double> scale;
};

std::optional<Mapping> mappingOf(const sf::View& view, sf::Vector2u targetSize)
{
    const sf::FloatRect whole({0.f, 0.f}, {1.f, 1.f});
    if (view.getRotation() != sf::Angle::Zero || view.getViewport() != whole || view.getScissor() != whole ||
        view.getSize().x <= 0.f || view.getSize().y <= 0.f)
        return std::nullopt;
    const sf::Vector2f corner = view.getCenter() - view.getSize() / 2.f;
    return Mapping{{corner.x, corner.y},
                   {targetSize.x / double{view.getSize().x}, targetSize.y / double{view.getSize().y}}};
}

// The pixels whose centres lie within [from, to) of the view along one axis, with the margin to spare.
std::pair<int, int> pixelsInside(double from, double to, double origin, double scale)
{
    const int first = static_cast<int>(std::ceil((from - origin) * scale - 0.5 + edgeMargin));
    const int end = static_cast<int>(std::floor((to - origin) * scale - 0.5 - edgeMargin)) + 1;
    return {first, end};
}

// Every pixel a span [from, to) of the view may touch, with one to spare on each side.
std::pair<int, int> pixelsTouched(double from, double to, double origin, double scale)
{
    return {static_cast<int>(std::floor((from - origin) * scale)) - 1,
            static_cast<int>(std::ceil((to - origin) * scale)) + 1};
}

sf::IntRect rectangle(std::pair<int, int> columns, std::pair<int, int> rows)
{
    if (columns.second <= columns.first || rows.second <= rows.first)
        return {};
    return {{columns.first, rows.first}, {columns.second - columns.first, rows.second - rows.first}};
}

bool isEmpty(const sf::IntRect& rectangle)
{
    return rectangle.size.x <= 0 || rectangle.size.y <= 0;
}
} // namespace

void Painter::begin(sf::Color colour)
{
    clearColour = colour;
    sprites.clear();
}

void Painter::add(const sf::Sprite& sprite)
{
    sprites.push_back(&sprite);
}

// A texture is known by its address, its name in the graphics library and its size: a texture given
// new pixels (assigned, loaded again) gets a new name.
const Painter::Opacity& Painter::opacityOf(const sf::Texture& texture)
{
    Opacity* entry = nullptr;
    for (Opacity& known : opacities)
    {
        if (known.texture != &texture)
            continue;
        if (known.handle == texture.getNativeHandle() && known.size == texture.getSize())
            return known;
        entry = &known;
    }
    if (entry == nullptr)
        entry = &opacities.emplace_back();
    entry->texture = &texture;
    entry->handle = texture.getNativeHandle();
    entry->size = texture.getSize();
    entry->opaqueRows.clear();
    if (entry->size.x == 0 || entry->size.y == 0)
        return *entry;

    constexpr std::uint8_t opaqueAlpha = 255;
    const sf::Image image = texture.copyToImage();
    const std::uint8_t* pixels = image.getPixelsPtr();
    const auto rowIsOpaque = [&](unsigned row)
    {
        const std::uint8_t* rgba = pixels + std::size_t{row} * entry->size.x * 4;
        for (unsigned column = 0; column < entry->size.x; ++column)
            if (rgba[column * 4 + 3] != opaqueAlpha)
                return false;
        return true;
    };
    for (unsigned row = 0; row < entry->size.y; ++row)
    {
        if (!rowIsOpaque(row))
            continue;
        if (!entry->opaqueRows.empty() && entry->opaqueRows.back().second == static_cast<int>(row))
            ++entry->opaqueRows.back().second;
        else
            entry->opaqueRows.emplace_back(row, row + 1);
    }
    return *entry;
}

void Painter::drawWithin(sf::RenderTarget& target, const sf::View& view, const Layer& layer, const sf::IntRect& pixels,
                         bool opaque) const
{
    const sf::Vector2f size(target.getSize());
    sf::View limited = view;
    limited.setScissor(
        {{pixels.position.x / size.x, pixels.position.y / size.y}, {pixels.size.x / size.x, pixels.size.y / size.y}});
    target.setView(limited);
    // Over an opaque pixel, blending leaves exactly the picture's pixel: writing it is the same.
    target.draw(*layer.sprite, opaque ? sf::RenderStates(sf::BlendNone) : sf::RenderStates::Default);
}

void Painter::paint(sf::RenderTarget& target)
{
    const sf::View view = target.getView();
    const std::optional<Mapping> mapping = mappingOf(view, target.getSize());
    if (!mapping)
    {
        // A view this does not follow: the plain way.
        target.clear(clearColour);
        for (const sf::Sprite* sprite : sprites)
            target.draw(*sprite);
        return;
    }
    const sf::IntRect whole({0, 0}, sf::Vector2i(target.getSize()));

    // Where each sprite lands, and the pixels of it sure to come out opaque: pixels whose centres lie
    // inside rows of its picture that are opaque throughout, one row in from a neighbour that is not
    // (which a smoothed picture mixes in).
    layers.clear();
    opaqueParts.clear();
    for (const sf::Sprite* sprite : sprites)
    {
        Layer layer;
        layer.sprite = sprite;
        const sf::FloatRect bounds = sprite->getGlobalBounds();
        layer.reach = overlap(rectangle(pixelsTouched(bounds.position.x, bounds.position.x + bounds.size.x,
                                                      mapping->origin.x, mapping->scale.x),
                                        pixelsTouched(bounds.position.y, bounds.position.y + bounds.size.y,
                                                      mapping->origin.y, mapping->scale.y)),
                              whole);
        layer.opaqueBegin = opaqueParts.size();

        const float* matrix = sprite->getTransform().getMatrix();
        const bool onlyMoved = matrix[0] == 1.f && matrix[5] == 1.f && matrix[1] == 0.f && matrix[4] == 0.f;
        const sf::IntRect shown = sprite->getTextureRect();
        const sf::Vector2i textureSize(sprite->getTexture().getSize());
        const bool shownInside = shown.size.x > 0 && shown.size.y > 0 && shown.position.x >= 0 &&
                                 shown.position.y >= 0 && shown.position.x + shown.size.x <= textureSize.x &&
                                 shown.position.y + shown.size.y <= textureSize.y;
        if (onlyMoved && shownInside && sprite->getColor().a == 255 && !isEmpty(layer.reach))
        {
            const sf::Vector2<double> at{matrix[12], matrix[13]};
            for (const auto& [first, end] : opacityOf(sprite->getTexture()).opaqueRows)
            {
                const int top = std::max(first, shown.position.y);
                const int bottom = std::min(end, shown.position.y + shown.size.y);
                if (bottom <= top)
                    continue;
                const int topMargin = top == first && first != 0 ? 1 : 0;
                const int bottomMargin = bottom == end && end != textureSize.y ? 1 : 0;
                const sf::IntRect inside =
                    overlap(rectangle(pixelsInside(at.x, at.x + shown.size.x, mapping->origin.x, mapping->scale.x),
                                      pixelsInside(at.y + (top - shown.position.y) + topMargin,
                                                   at.y + (bottom - shown.position.y) - bottomMargin, mapping->origin.y,
                                                   mapping->scale.y)),
                            whole);
                if (!isEmpty(inside))
                    opaqueParts.push_back(inside);
            }
        }
        layer.opaqueEnd = opaqueParts.size();
        layers.push_back(layer);
    }

    // Cleared only where no opaque part covers the target.
    region.assign(1, whole);
    for (const sf::IntRect& part : opaqueParts)
        subtract(region, part, scratch);
    if (!region.empty())
        target.clear(clearColour);

    for (const Layer& layer : layers)
    {
        // What the opaque parts of the sprites drawn later leave of this one.
        if (isEmpty(layer.reach))
            continue;
        region.assign(1, layer.reach);
        for (std::size_t later = layer.opaqueEnd; later < opaqueParts.size(); ++later)
            subtract(region, opaqueParts[later], scratch);
        for (std::size_t own = layer.opaqueBegin; own < layer.opaqueEnd; ++own)
        {
            for (const sf::IntRect& part : region)
                if (const sf::IntRect common = overlap(part, opaqueParts[own]); !isEmpty(common))
                    drawWithin(target, view, layer, common, true);
            subtract(region, opaqueParts[own], scratch);
        }
        for (const sf::IntRect& part : region)
            drawWithin(target, view, layer, part, false);
    }
    target.setView(view);
}
