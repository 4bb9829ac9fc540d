#include "Scenery.hpp"

#include "Assets.hpp"

namespace
{
// How one sprite drifts: its start, its step left per update, and where it re-enters once its x is
// at or left of the threshold. A cloud goes 300 px past the left edge, a mountain strip 1200 px.
struct Drift
{
    sf::Vector2f start;
    float step;
    float threshold;
    sf::Vector2f wrap;
};

constexpr float cloudThreshold = -300.f;
constexpr float mountainThreshold = -1200.f;
constexpr float mountainY = 380.f;
constexpr float mountainStep = 0.75f;

const Drift cloud1Drift{{1200.f, 73.f}, 0.5f, cloudThreshold, {1200.f, 73.f}};
const Drift cloud2Drift{{1200.f, 79.f}, 1.f, cloudThreshold, {1200.f, 79.f}};
// The third cloud starts on screen and comes back lower.
const Drift cloud3Drift{{0.f, 75.f}, 1.5f, cloudThreshold, {1200.f, 150.f}};
const Drift mountain1Drift{{0.f, mountainY}, mountainStep, mountainThreshold, {1200.f, mountainY}};
const Drift mountain2Drift{{1200.f, mountainY}, mountainStep, mountainThreshold, {1200.f, mountainY}};

void drift(sf::Sprite& sprite, const Drift& rule)
{
    if (sprite.getPosition().x > rule.threshold)
        sprite.move({-rule.step, 0.f});
    else
        sprite.setPosition(rule.wrap);
}
} // namespace

Scenery::Scenery()
    : cloud1Texture(loadTexture("cloud1.bmp", "Error: unable to load cloud1Texture")),
      cloud2Texture(loadTexture("cloud2.bmp", "Error: unable to load cloud2Texture")),
      cloud3Texture(loadTexture("cloud3.bmp", "Error: unable to load cloud3Texture")),
      mountainTexture(loadTexture("mountains.bmp", "Error: unable to load mountainTexture"))
{
    cloud1Sprite.setPosition(cloud1Drift.start);
    cloud2Sprite.setPosition(cloud2Drift.start);
    cloud3Sprite.setPosition(cloud3Drift.start);
    mountainSprite1.setPosition(mountain1Drift.start);
    mountainSprite2.setPosition(mountain2Drift.start);
}

void Scenery::scroll()
{
    drift(cloud1Sprite, cloud1Drift);
    drift(cloud2Sprite, cloud2Drift);
    drift(cloud3Sprite, cloud3Drift);
    drift(mountainSprite1, mountain1Drift);
    drift(mountainSprite2, mountain2Drift);
}

void Scenery::addTo(Painter& painter) const
{
    painter.add(mountainSprite1);
    painter.add(mountainSprite2);
    painter.add(cloud1Sprite);
    painter.add(cloud2Sprite);
    painter.add(cloud3Sprite);
}

void Scenery::setSmooth(bool smooth)
{
    for (sf::Texture* texture : {&cloud1Texture, &cloud2Texture, &cloud3Texture, &mountainTexture})
        texture->setSmooth(smooth);
}
