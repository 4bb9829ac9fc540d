#include "Flitmere.hpp"

#include "FramePacer.hpp"
#include "PlayScene.hpp"
#include "SleepUntil.hpp"
#include "SoundOutput.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>

#include <cstdlib>

namespace
{
constexpr unsigned windowWidth = 1200;
constexpr unsigned windowHeight = 800;
constexpr unsigned bitsPerPixel = 32;
} // namespace

void Flitmere::play()
{
    PlayScene scene;
    sf::RenderWindow window(sf::VideoMode({windowWidth, windowHeight}, bitsPerPixel), "Flitmere!",
                            sf::Style::Titlebar | sf::Style::Close, sf::State::Windowed);
    // Every displayed frame runs one update. The pacer asks for vertical sync, which shows each frame on a
    // refresh of its own, and holds frames back where the display is faster than 60 Hz or has no sync.
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
        sleepUntil(gameClock, pacer.nextFrameAt());
        readFrameInput(window, gameClock, input);
        if (frame(scene, input) == FrameEnd::WindowClosed)
        {
            soundOutput.finish();
            std::exit(EXIT_SUCCESS);
        }
        soundOutput.keepGoing(input.now, scene.music);
        draw(window, scene);
        pacer.show(window, gameClock);
    }
}
