// The drawn frame compared with the pictures it must show, pixel by pixel where a picture is opaque.
#include "support/GameDriver.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

#include <string>

namespace
{
struct Comparison
{
    int compared = 0;
    int differing = 0;
};

// The opaque pixels of `picture` that the sprite shows inside the frame, against the frame's pixels.
Comparison compare(const sf::Image& frame, const sf::Sprite& sprite, const std::string& picture)
{
    const sf::Image expected(picture);
    const sf::Vector2i at(sprite.getPosition());
    const sf::IntRect shown = sprite.getTextureRect();
    Comparison result;
    for (int y = 0; y < shown.size.y; ++y)
        for (int x = 0; x < shown.size.x; ++x)
        {
            const sf::Vector2i onScreen = at + sf::Vector2i{x, y};
            if (onScreen.x < 0 || onScreen.y < 0 || onScreen.x >= static_cast<int>(frame.getSize().x) ||
                onScreen.y >= static_cast<int>(frame.getSize().y))
                continue;
            const sf::Color colour = expected.getPixel(sf::Vector2u(shown.position + sf::Vector2i{x, y}));
            if (colour.a != 255)
                continue;
            ++result.compared;
            if (frame.getPixel(sf::Vector2u(onScreen)) != colour)
                ++result.differing;
        }
    return result;
}

void expectShown(const sf::Image& frame, const sf::Sprite& sprite, const std::string& picture)
{
    SCOPED_TRACE(picture);
    const Comparison comparison = compare(frame, sprite, picture);
    EXPECT_GT(comparison.compared, 100); // the bird alone shows a few hundred
    EXPECT_EQ(comparison.differing, 0) << "of " << comparison.compared << " opaque pixels";
}
} // namespace

TEST(DrawnFrame, ShowsTheBirdAndEachObstacleOnItsOwnPictureOverTheBackground)
{
    GameDriver driver;
    // A click every 46 frames keeps the bird in the window until both obstacles are on screen.
    constexpr int framesUntilBothObstaclesShow = 350;
    for (int frame = 1; frame <= framesUntilBothObstaclesShow; ++frame)
    {
        if (frame % 46 == 0)
            driver.frame({PlayerAction::Click});
        else
            driver.frame();
    }
    ASSERT_EQ(driver.obstacle1Position().x, 500.f) << "the bird was hit on the way";
    ASSERT_EQ(driver.obstacle2Position().x, 1100.f);

    sf::RenderTexture target({1200, 800});
    driver.game.draw(target, driver.scene);
    target.display();
    const sf::Image frame = target.getTexture().copyToImage();

    const Bird& bird = driver.game.viewBird();
    expectShown(frame, bird.getBird(), bird.getWingIsUp() ? "wingUp2.bmp" : "wingDown3.bmp");
    expectShown(frame, driver.game.getObstacle1().getObstacle(), "obstacle.bmp");
    expectShown(frame, driver.game.getObstacle2().getObstacle(), "obstacle2.bmp");
}
