#pragma once

#include "Stopwatch.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <optional>

// The player's bird: two wing pictures, three sounds, the flight moves the frame applies once per
// update, and the timed death sequence. Building a bird loads its five files; a missing one ends
// the process with status 1.
class Bird
{
public:
    Bird();
    // A copy shows its own pictures and plays its own buffers, never those of the bird it came from.
    Bird(const Bird& other);
    Bird& operator=(const Bird& other);
    // Takes the pictures over instead of copying them, as the game's replacement of its bird does.
    Bird& operator=(Bird&& other);
    ~Bird() = default;

    [[nodiscard]] const sf::Sprite& getBird() const { return *birdSprite; }
    [[nodiscard]] bool getWingIsUp() const { return wingIsUp; }
    [[nodiscard]] bool getWingIsDown() const { return wingIsDown; }

    void raiseWing();
    void lowerWing();
    void dive();
    void stopDive();
    void toggleWingPosition();

    void squawk();
    void playFlapSound();
    // Whether the wing pictures are smoothed where they are shown enlarged.
    void setSmooth(bool smooth);

    // One step of the death sequence, chosen by the time since it began; `now` is the game's time.
    void die(sf::Time now);
    void reinitialize();

    void setJustDied(bool value) { justDied = value; }
    [[nodiscard]] bool getJustDied() const { return justDied; }
    void setIsDead(bool value) { isDead = value; }
    [[nodiscard]] bool getIsDead() const { return isDead; }

    [[nodiscard]] const sf::Sound& getSquawkSound() const { return *squawkSound; }
    [[nodiscard]] const sf::Sound& getFlapSound() const { return *flapSound; }
    [[nodiscard]] const sf::Sound& getDeathSound() const { return *deathSound; }

private:
    void showWing(bool up);
    void bindToOwnResources();

    sf::Texture wingUpTexture;
    sf::Texture wingDownTexture;
    std::optional<sf::Sprite> birdSprite;
    sf::SoundBuffer squawkBuffer;
    sf::SoundBuffer flapBuffer;
    sf::SoundBuffer deathBuffer;
    std::optional<sf::Sound> squawkSound;
    std::optional<sf::Sound> flapSound;
    std::optional<sf::Sound> deathSound;
    bool wingIsUp = true;
    bool wingIsDown = false;
    Stopwatch deathClock;
    bool justDied = false;
    bool isDead = false;
};
