#include "Flitmere.hpp"

#include "FramePacer.hpp"
#include "Hud.hpp"
#include "PixelRatio.hpp"
#include "PlayScene.hpp"
#include "SleepUntil.hpp"
#include "SoundOutput.hpp"
#include "WindowSize.hpp"
#include "platform/Desktop.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Clock.hpp>

#include <cstdlib>

namespace
{
constexpr unsigned bitsPerPixel = 32;
} // namespace

void Flitmere::play(const platform::Desktop& desktop)
{
    PlayScene scene;
    const sf::Vector2u size = windowSize(sf::VideoMode::getDesktopMode().size, desktop.room(), desktop.scale());
    sf::RenderWindow window(sf::VideoMode(size, bitsPerPixel), "Flitmere!", sf::Style::Titlebar | sf::Style::Close,
                            sf::State::Windowed);
    // The world keeps its 1200x800 pixels whatever the window's size: the view enlarges it on a
    // high-density desktop and shrinks it where the screen has no room. Its text and pictures are
    // drawn as sharp as the window's pixels allow.
    window.setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(worldSize))));
    const float ratio = pixelRatio(size);
    sharpenHudText(scene.hudText, ratio);
    setSmooth(smoothsPictures(ratio));
    scene.scenery.setSmooth(smoothsPictures(ratio));
    // The world advances 60 times a second. The pacer asks for vertical sync, which shows each frame on a
    // refresh of its own, holds frames back where the display is faster than 60 Hz or has no sync, and
    // gives a frame that comes late the updates it owes.
    FramePacer pacer(window);
    // The bird, already loaded, is the window's icon in the task bar and the window switcher.
    if (const sf::Image icon = bird.getBird().getTexture().copyToImage(); icon.getSize() != sf::Vector2u{})
        window.setIcon(icon);

    const sf::Clock gameClock;
    now = gameClock.getElapsedTime();
    initialize();

    FrameInput input;
    SoundOutput soundOutput;
    while (window.isOpen())
    {
        sf::Time eventWait;
        if (getWaitsForPlayer())
            eventWait = pacer.waitForPlayer();
        else
            sleepUntil(gameClock, pacer.nextFrameAt());
        readFrameInput(window, gameClock, input, eventWait);
        input.updates = pacer.updatesDue(input.now);
        if (frame(scene, input) == FrameEnd::WindowClosed)
            soundOutput.exitProcess(EXIT_SUCCESS);
        soundOutput.keepGoing(input.now, scene.music);
        draw(window, scene);
        pacer.show(window, gameClock);
    }
}
