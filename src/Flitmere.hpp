#pragma once

#include "Bird.hpp"
#include "FrameInput.hpp"
#include "Obstacle.hpp"
#include "Stopwatch.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Time.hpp>

#include <optional>
#include <string>

class AssetCache;
struct PlayScene;
namespace platform
{
class Desktop;
}
namespace sf
{
class Sound;
}

// The game: the bird, the obstacles, the game's state and the pictures that live as long as it does.
// `play` sets up what lives for one run (scenery, HUD, sounds, window) and runs the frames.
class Flitmere
{
public:
    enum class FrameEnd
    {
        Continue,
        WindowClosed,
    };

    Flitmere();
    // A copy shows its own background pictures, bird and obstacles, never those it was copied from.
    Flitmere(const Flitmere& other);
    Flitmere& operator=(const Flitmere& other);
    ~Flitmere() = default;

    // Plays on the desktop `main` checked, whose window manager tells where the window fits.
    void play(const platform::Desktop& desktop);

    // One frame without its drawing: the tune, the player's actions, then for each of the frame's updates
    // the update when not paused and the end-of-frame decision, with the HUD built before the last.
    // Stops at once, and says so, when the window is closed.
    FrameEnd frame(PlayScene& scene, const FrameInput& input);
    // The update step alone: flight, scenery, obstacles, collisions and scoring.
    void update(PlayScene& scene, bool rightButtonHeld);
    // The frame's picture, drawn in its fixed order (the caller displays it).
    void draw(sf::RenderTarget& target, const PlayScene& scene) const;
    // Whether the game's own pictures (background, bird, obstacles) are smoothed where they are shown enlarged.
    void setSmooth(bool smooth);

    // Game control.
    void initialize();
    void flap(sf::Time time);
    void dontFlap();
    void killBird();
    void revive();
    void pause();
    void restart();
    void gameOver();

    [[nodiscard]] int getLives() const { return lives; }
    [[nodiscard]] int getScore() const { return score; }
    [[nodiscard]] bool getFlapping() const { return flapping; }
    void setFlapping(bool value) { flapping = value; }
    [[nodiscard]] sf::Time getFlapTime() const { return flapTime; }
    void setFlapTime(sf::Time time) { flapTime = time; }
    [[nodiscard]] sf::Time getAnimationTime() const { return animationTime; }
    void setAnimationTime(sf::Time time) { animationTime = time; }
    [[nodiscard]] sf::Time getTotalFlapTime() const { return totalFlapTime; }
    [[nodiscard]] sf::Time getTotalAnimationTime() const { return totalAnimationTime; }
    [[nodiscard]] bool getPaused() const { return paused; }
    [[nodiscard]] bool getGameIsOver() const { return gameIsOver; }
    [[nodiscard]] bool getLifeLost() const { return lifeLost; }
    [[nodiscard]] bool getCanLoseLife() const { return canLoseLife; }
    [[nodiscard]] bool getPlayMusic() const { return playMusic; }
    [[nodiscard]] bool getFlapStarted() const { return flapStarted; }
    // Unseen and standing still (paused, or over, while the window has no focus): nothing changes until
    // the player comes back, so the frames may come slowly.
    [[nodiscard]] bool getWaitsForPlayer() const { return !windowFocused && paused && !bird.getIsDead(); }

    [[nodiscard]] std::string intToString(int value) const;
    [[nodiscard]] Bird getBird() const { return bird; }
    [[nodiscard]] const Bird& viewBird() const { return bird; }
    [[nodiscard]] const Obstacle& getObstacle1() const { return obstacle1; }
    [[nodiscard]] const Obstacle& getObstacle2() const { return obstacle2; }
    [[nodiscard]] const sf::Sprite& getBackground() const { return *background; }

private:
    // Builds the game while `loading` lives, so that a file loaded twice is read and decoded once.
    explicit Flitmere(const AssetCache& loading);

    void keepTunePlaying(sf::Sound& music);
    // False when the action closes the window.
    bool handle(PlayerAction action);
    void startFlap();
    void collideAndScore(sf::Sound& scoreSound);
    void endOfFrame();

    Bird bird;
    Obstacle obstacle1{"obstacle.bmp", obstacleStartX, 0.f};
    Obstacle obstacle2{"obstacle.bmp", obstacleStartX, 0.f};
    // Built and kept, never placed, moved, drawn or tested.
    Obstacle obstacle3{"obstacle.bmp", obstacleStartX, 0.f};
    bool flapping = false;
    bool flapStarted = true;
    bool lifeLost = false;
    bool canLoseLife = true;
    bool paused = false;
    bool gameIsOver = false;
    bool playMusic = true;
    // As the window's events last said; a window is taken to have the focus until told otherwise.
    bool windowFocused = true;
    Stopwatch flapClock;
    Stopwatch animationClock;
    sf::Time flapTime;
    sf::Time animationTime;
    sf::Time totalFlapTime = sf::microseconds(300'000);
    sf::Time totalAnimationTime = sf::microseconds(3'000);
    // The tune starts again from its beginning once it has played this long.
    sf::Time musicLength = sf::microseconds(95'000'000);
    sf::Texture backgroundTexture;
    sf::Texture gameOverTexture;
    std::optional<sf::Sprite> background;
    int score = 0;
    int lives = 3;
    // The game clock's reading for the frame being run; every stopwatch is read against it.
    sf::Time now;

    static constexpr float obstacleStartX = 1200.f;
};
