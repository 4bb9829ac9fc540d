// The frame the game draws against the same scene drawn the plain way (cleared to blue, then every
// sprite blended over the ones before in the game's order, then the HUD), every pixel, in each state
// of play, at the world's size, enlarged for high-density desktops and scaled down to small screens,
// the pictures smoothed where the window's scale is not whole.
#include "PixelRatio.hpp"
#include "support/GameDriver.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/View.hpp>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
void drawPlainly(sf::RenderTarget& target, const GameDriver& driver)
{
    const Flitmere& game = driver.game;
    const Scenery& scenery = driver.scene.scenery;
    target.clear(sf::Color::Blue);
    target.draw(game.getBackground());
    if (!game.getGameIsOver())
        for (const sf::Sprite* sprite : {&scenery.getMountain1(), &scenery.getMountain2(), &scenery.getCloud1(),
                                         &scenery.getCloud2(), &scenery.getCloud3(), &game.viewBird().getBird(),
                                         &game.getObstacle1().getObstacle(), &game.getObstacle2().getObstacle()})
            target.draw(*sprite);
    if (driver.scene.hudFontOpened)
        target.draw(driver.scene.hudText);
}

// Windows of the world's size, of a desktop at 150%, and of what smaller screens get, each showing the
// 1200x800 world.
class Windows
{
public:
    Windows()
    {
        for (const sf::Vector2u size :
             {sf::Vector2u{1200, 800}, sf::Vector2u{1800, 1200}, sf::Vector2u{1152, 768}, sf::Vector2u{591, 394}})
        {
            plain.emplace_back(size);
            game.emplace_back(size);
        }
    }

    // Every pixel of the game's frame is the plain frame's, whatever the window held before.
    void expectSameFrames(GameDriver& driver, const std::string& scene)
    {
        for (std::size_t i = 0; i < plain.size(); ++i)
        {
            SCOPED_TRACE(scene + " in a window of " + std::to_string(plain[i].getSize().x) + " px");
            const sf::View world(sf::FloatRect({0.f, 0.f}, {1200.f, 800.f}));
            plain[i].setView(world);
            game[i].setView(world);
            const bool smooth = smoothsPictures(pixelRatio(plain[i].getSize()));
            driver.game.setSmooth(smooth);
            driver.scene.scenery.setSmooth(smooth);
            drawPlainly(plain[i], driver);
            game[i].clear(sf::Color(255, 0, 255, 77));
            driver.game.draw(game[i], driver.scene);
            expectSame(image(plain[i]), image(game[i]));
        }
    }

private:
    static sf::Image image(sf::RenderTexture& target)
    {
        target.display();
        return target.getTexture().copyToImage();
    }

    static void expectSame(const sf::Image& expected, const sf::Image& actual)
    {
        const sf::Vector2u size = expected.getSize();
        ASSERT_EQ(actual.getSize(), size);
        int differing = 0;
        std::string first;
        for (unsigned y = 0; y < size.y; ++y)
            for (unsigned x = 0; x < size.x; ++x)
                if (expected.getPixel({x, y}) != actual.getPixel({x, y}) && differing++ == 0)
                    first = std::to_string(x) + "," + std::to_string(y);
        EXPECT_EQ(differing, 0) << "pixels differ, the first at " << first;
    }

    std::vector<sf::RenderTexture> plain;
    std::vector<sf::RenderTexture> game;
};
} // namespace

TEST(Painting, EveryFrameIsPixelForPixelThePlainOne)
{
    Windows windows;
    GameDriver driver;
    windows.expectSameFrames(driver, "the first frame");

    // Both obstacles on screen, the bird kept between them; four frames take the mountains through
    // each quarter pixel and the clouds through each half.
    for (int frame = 1; frame <= 350; ++frame)
        driver.frame(frame % 46 == 0 ? std::initializer_list<PlayerAction>{PlayerAction::Click}
                                     : std::initializer_list<PlayerAction>{});
    ASSERT_EQ(driver.obstacle1Position().x, 500.f) << "the bird was hit on the way";
    for (int frame = 0; frame < 4; ++frame)
    {
        driver.frame(frame == 0 ? std::initializer_list<PlayerAction>{PlayerAction::Click}
                                : std::initializer_list<PlayerAction>{});
        windows.expectSameFrames(driver, "play, frame " + std::to_string(frame));
    }
    driver.frame({PlayerAction::PauseKey});
    windows.expectSameFrames(driver, "paused");
    driver.frame({PlayerAction::PauseKey});

    driver.framesUntil([&] { return driver.game.viewBird().getIsDead(); });
    driver.frames(10);
    windows.expectSameFrames(driver, "dying");
    driver.framesUntil([&] { return driver.game.getGameIsOver(); });
    windows.expectSameFrames(driver, "game over");
}
