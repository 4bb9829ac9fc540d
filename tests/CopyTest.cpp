// Copies and assignments of the game's objects must show their own pictures and play their own
// buffers: in each test the source is destroyed before the copy is drawn or played.
#include "Bird.hpp"
#include "Flitmere.hpp"
#include "Obstacle.hpp"
#include "PlayScene.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace
{
template <typename Owner, typename Part> bool ownedBy(const Owner& owner, const Part& part)
{
    const auto* begin = reinterpret_cast<const char*>(&owner);
    const auto* address = reinterpret_cast<const char*>(&part);
    return address >= begin && address < begin + sizeof(Owner);
}

sf::Image render(const sf::Sprite& sprite)
{
    sf::RenderTexture target({200, 200});
    target.clear(sf::Color::Transparent);
    sf::Sprite placed = sprite;
    placed.setPosition({0.f, 0.f});
    placed.setRotation(sf::Angle::Zero);
    target.draw(placed);
    target.display();
    return target.getTexture().copyToImage();
}

bool sameImage(const sf::Image& a, const sf::Image& b)
{
    return a.getSize() == b.getSize() &&
           std::equal(a.getPixelsPtr(), a.getPixelsPtr() + a.getSize().x * a.getSize().y * 4, b.getPixelsPtr());
}

bool anythingDrawn(const sf::Image& image)
{
    for (unsigned y = 0; y < image.getSize().y; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
            if (image.getPixel({x, y}).a != 0)
                return true;
    return false;
}

void expectOwnResources(const Bird& bird)
{
    EXPECT_TRUE(ownedBy(bird, bird.getBird().getTexture()));
    EXPECT_TRUE(ownedBy(bird, bird.getSquawkSound().getBuffer()));
    EXPECT_TRUE(ownedBy(bird, bird.getFlapSound().getBuffer()));
    EXPECT_TRUE(ownedBy(bird, bird.getDeathSound().getBuffer()));
}
} // namespace

TEST(CopiedBird, DrawsAndPlaysAfterItsSourceIsGone)
{
    std::optional<Bird> source(std::in_place);
    source->lowerWing();
    const sf::Image expected = render(source->getBird());
    ASSERT_TRUE(anythingDrawn(expected));

    Bird copy(*source);
    Bird assigned;
    assigned = *source;
    source.reset();

    for (const Bird* bird : {&copy, &assigned})
    {
        expectOwnResources(*bird);
        EXPECT_TRUE(bird->getWingIsDown());
        EXPECT_TRUE(sameImage(render(bird->getBird()), expected));
    }
    copy.playFlapSound();
    EXPECT_EQ(copy.getFlapSound().getStatus(), sf::Sound::Status::Playing);
    assigned.setJustDied(true);
    assigned.die(sf::Time::Zero);
    EXPECT_EQ(assigned.getSquawkSound().getStatus(), sf::Sound::Status::Playing);
}

TEST(CopiedObstacle, DrawsAfterItsSourceIsGone)
{
    std::optional<Obstacle> source(std::in_place, "obstacle.bmp", 1200.f, 0.f);
    const sf::Image expected = render(source->getObstacle());
    ASSERT_TRUE(anythingDrawn(expected));

    Obstacle copy(*source);
    Obstacle assigned("obstacle2.bmp", 0.f, 0.f);
    assigned = *source;
    source.reset();

    for (const Obstacle* obstacle : {&copy, &assigned})
    {
        EXPECT_TRUE(ownedBy(*obstacle, obstacle->getObstacle().getTexture()));
        EXPECT_EQ(obstacle->getObstacle().getPosition(), sf::Vector2f(1200.f, 0.f));
        EXPECT_TRUE(sameImage(render(obstacle->getObstacle()), expected));
    }
}

TEST(CopiedGame, ShowsItsOwnPicturesAfterItsSourceIsGone)
{
    std::optional<Flitmere> source(std::in_place);
    source->initialize();
    const PlayScene scene;

    Flitmere copy(*source);
    Flitmere assigned;
    assigned = *source;
    source->gameOver();
    Flitmere overCopy(*source);
    source.reset();

    for (const Flitmere* game : {&copy, &assigned, &overCopy})
    {
        EXPECT_TRUE(ownedBy(*game, game->getBackground().getTexture()));
        EXPECT_TRUE(ownedBy(*game, game->getObstacle1().getObstacle().getTexture()));
        EXPECT_TRUE(ownedBy(*game, game->getObstacle2().getObstacle().getTexture()));
        expectOwnResources(game->viewBird());
        sf::RenderTexture target({1200, 800});
        game->draw(target, scene);
        target.display();
    }
    EXPECT_TRUE(overCopy.getGameIsOver());
    EXPECT_FALSE(sameImage(render(copy.getBackground()), render(overCopy.getBackground())));
    EXPECT_TRUE(sameImage(render(copy.getBackground()), render(assigned.getBackground())));

    const Bird fromGetter = copy.getBird();
    expectOwnResources(fromGetter);
}
