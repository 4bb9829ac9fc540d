// The floor the game is measured against: SFML alone, opening the game's window, loading the game's
// files once each and drawing the same pictures, sprites and text in the same order, moved the way
// the scene moves them, with no game behind them.
//
//   flitmere_floor_run first-frame     reports the milliseconds from the program's start to its first
//                                      displayed frame, and exits
//   flitmere_floor_run frames W N      W frames to settle, then N measured frames, back to back
//   flitmere_floor_run paced W S       the frames paced by the game's pacer: W seconds to settle, then S
//                                      measured seconds
//   flitmere_floor_run renderer        names the OpenGL renderer
//
// Run it in an asset folder, like the game.
#include "FrameMeter.hpp"
#include "FramePacer.hpp"
#include "PlayMeter.hpp"
#include "ProcessStats.hpp"
#include "SleepUntil.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Context.hpp>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// The same window as the game's.
constexpr unsigned windowWidth = 1200;
constexpr unsigned windowHeight = 800;
constexpr unsigned bitsPerPixel = 32;

// Where the scene's sprites start and how far they move per frame, as in the game's scenery,
// obstacles and bird; what wraps comes back in at the right edge.
struct Motion
{
    sf::Vector2f start;
    float step;
    float wrapBelowX;
};
constexpr float cloudWrap = -300.f;
constexpr float mountainWrap = -1200.f;
constexpr float obstacleWrap = -300.f;
constexpr float rightEdge = 1200.f;
constexpr std::array<Motion, 8> motions{{
    {{0.f, 380.f}, 0.75f, mountainWrap},
    {{1200.f, 380.f}, 0.75f, mountainWrap},
    {{1200.f, 73.f}, 0.5f, cloudWrap},
    {{1200.f, 79.f}, 1.f, cloudWrap},
    {{0.f, 75.f}, 1.5f, cloudWrap},
    {{400.f, 350.f}, 0.f, 0.f},
    {{1200.f, -400.f}, 2.f, obstacleWrap},
    {{1800.f, -400.f}, 2.f, obstacleWrap},
}};

sf::Texture loadTexture(const std::string& fileName)
{
    sf::Texture texture;
    if (!texture.loadFromFile(fileName))
        std::fprintf(stderr, "floor: cannot load %s\n", fileName.c_str());
    return texture;
}

sf::SoundBuffer loadSound(const std::string& fileName)
{
    sf::SoundBuffer buffer;
    if (!buffer.loadFromFile(fileName))
        std::fprintf(stderr, "floor: cannot load %s\n", fileName.c_str());
    return buffer;
}

// Every file the game reads, each loaded once, and the drawables made from them.
struct Scene
{
    sf::Texture background = loadTexture("background.bmp");
    sf::Texture gameOver = loadTexture("gameOver.bmp");
    sf::Texture wingUp = loadTexture("wingUp2.bmp");
    sf::Texture wingDown = loadTexture("wingDown3.bmp");
    sf::Texture obstacle = loadTexture("obstacle.bmp");
    sf::Texture obstacle2 = loadTexture("obstacle2.bmp");
    sf::Texture volcano = loadTexture("volcano.bmp");
    sf::Texture cloud1 = loadTexture("cloud1.bmp");
    sf::Texture cloud2 = loadTexture("cloud2.bmp");
    sf::Texture cloud3 = loadTexture("cloud3.bmp");
    sf::Texture mountains = loadTexture("mountains.bmp");
    std::array<sf::SoundBuffer, 5> sounds{loadSound("squawk.wav"), loadSound("flap.wav"), loadSound("death.wav"),
                                          loadSound("score.wav"), loadSound("background.wav")};
    sf::Font font;
    bool fontOpened = font.openFromFile("Bicubik.OTF");
    sf::Text hud{font, "Score: 0\nLives: 3", 14};
    sf::Sprite backgroundSprite{background};
    // In drawing order: mountains, clouds, bird, obstacles.
    std::array<sf::Sprite, 8> sprites{sf::Sprite(mountains), sf::Sprite(mountains), sf::Sprite(cloud1),
                                      sf::Sprite(cloud2),    sf::Sprite(cloud3),    sf::Sprite(wingUp),
                                      sf::Sprite(obstacle),  sf::Sprite(obstacle2)};

    Scene()
    {
        hud.setPosition({1000.f, 2.f});
        hud.setFillColor(sf::Color::Red);
        for (std::size_t i = 0; i < sprites.size(); ++i)
            sprites[i].setPosition(motions[i].start);
    }

    void move()
    {
        for (std::size_t i = 0; i < sprites.size(); ++i)
        {
            if (sprites[i].getPosition().x > motions[i].wrapBelowX)
                sprites[i].move({-motions[i].step, 0.f});
            else
                sprites[i].setPosition({rightEdge, motions[i].start.y});
        }
    }

    void draw(sf::RenderTarget& target) const
    {
        target.clear(sf::Color::Blue);
        target.draw(backgroundSprite);
        for (const sf::Sprite& sprite : sprites)
            target.draw(sprite);
        if (fontOpened)
            target.draw(hud);
    }
};

sf::RenderWindow openWindow()
{
    return sf::RenderWindow(sf::VideoMode({windowWidth, windowHeight}, bitsPerPixel), "Flitmere!",
                            sf::Style::Titlebar | sf::Style::Close, sf::State::Windowed);
}

void drainEvents(sf::RenderWindow& window)
{
    while (const std::optional event = window.pollEvent())
    {
    }
}

int firstFrame()
{
    const Scene scene;
    sf::RenderWindow window = openWindow();
    window.setVerticalSyncEnabled(true);
    drainEvents(window);
    scene.draw(window);
    window.display();
    process::report("startup_ms", process::millisecondsSinceExec());
    return EXIT_SUCCESS;
}

// The OpenGL renderer the window draws with, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)".
int renderer()
{
    sf::RenderWindow window = openWindow();
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned glRenderer = 0x1F01;
    const auto getString = reinterpret_cast<GetString>(sf::Context::getFunction("glGetString"));
    const unsigned char* name = getString != nullptr ? getString(glRenderer) : nullptr;
    std::printf("info renderer %s\n", name != nullptr ? reinterpret_cast<const char*>(name) : "unknown");
    return EXIT_SUCCESS;
}

int frames(int warmupFrames, int measuredFrames)
{
    Scene scene;
    sf::RenderWindow window = openWindow();
    window.setVerticalSyncEnabled(true);
    FrameMeter meter(warmupFrames, measuredFrames);
    while (window.isOpen() && meter.wantsMoreFrames())
    {
        drainEvents(window);
        scene.move();
        scene.draw(window);
        window.display();
        meter.frameDone();
    }
    meter.report();
    return EXIT_SUCCESS;
}

int paced(double warmupSeconds, double measuredSeconds)
{
    Scene scene;
    sf::RenderWindow window = openWindow();
    const sf::Clock clock;
    FramePacer pacer(window);
    PlayMeter meter(warmupSeconds, measuredSeconds);
    while (window.isOpen() && meter.wantsMoreFrames())
    {
        sleepUntil(clock, pacer.nextFrameAt());
        drainEvents(window);
        scene.move();
        scene.draw(window);
        pacer.show(window, clock);
        meter.frameDone();
    }
    meter.report();
    return EXIT_SUCCESS;
}
} // namespace

int main(int argc, char** argv)
{
    // Bench machines have no sound card: the null device plays in real time, as a card would.
    if (!sf::PlaybackDevice::setDeviceToNull())
        std::fputs("no null playback device: sounds go to the default one\n", stderr);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "first-frame")
        return firstFrame();
    if (mode == "renderer")
        return renderer();
    if (mode == "frames" && argc == 4)
        return frames(std::atoi(argv[2]), std::atoi(argv[3]));
    if (mode == "paced" && argc == 4)
        return paced(std::atof(argv[2]), std::atof(argv[3]));
    std::fputs("usage: flitmere_floor_run first-frame | frames WARMUP MEASURED | paced WARMUP_S MEASURED_S\n", stderr);
    return 2;
}
