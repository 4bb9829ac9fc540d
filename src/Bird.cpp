#include "Bird.hpp"

#include "Assets.hpp"

#include <SFML/System/Angle.hpp>

#include <array>
#include <cstdint>
#include <utility>

namespace
{
const sf::Vector2f startPosition{400.f, 350.f};

// The bird may leave the window: it sinks to y 900 and rises to y -100, both off screen.
constexpr float sinkLimitY = 900.f;
constexpr float riseLimitY = -100.f;
constexpr float diveLimitY = 800.f;
constexpr float sinkStep = 2.f;
constexpr float riseStep = 3.f;
constexpr float diveStep = 3.f;
constexpr float diveAngleDegrees = 45.f;

// The tumble: each row holds from its start time until the next row's, in microseconds since the hit.
struct Keyframe
{
    std::int64_t fromMicroseconds;
    float angleDegrees;
    sf::Vector2f step;
};
constexpr std::array<Keyframe, 7> deathKeyframes{{
    {0, -135.f, {-6.f, -2.f}},
    {62'000, -157.5f, {-4.f, 2.f}},
    {125'000, 180.f, {-4.f, 4.f}},
    {187'000, 157.5f, {-2.f, 4.f}},
    {250'000, 135.f, {-2.f, 6.f}},
    {312'000, 112.5f, {-2.f, 6.f}},
    {375'000, 90.f, {0.f, 7.f}},
}};
constexpr std::int64_t deathSequenceMicroseconds = 3'500'000;
// The death sound starts as the straight fall begins, recognised by the angle the row before it sets.
constexpr float angleBeforeFallDegrees = 112.5f;

const Keyframe& keyframeAt(std::int64_t microseconds)
{
    std::size_t row = 0;
    while (row + 1 < deathKeyframes.size() && microseconds >= deathKeyframes[row + 1].fromMicroseconds)
        ++row;
    return deathKeyframes[row];
}
} // namespace

Bird::Bird()
    : wingUpTexture(requireTexture("wingUp2.bmp", "Error: unable to load wingUpTexture from file")),
      wingDownTexture(requireTexture("wingDown3.bmp", "Error: unable to load wingDownTexture from file")),
      squawkBuffer(requireSoundBuffer("squawk.wav", "unable to open squawk.wav file")),
      flapBuffer(requireSoundBuffer("flap.wav", "unable to open flap.wav file")),
      deathBuffer(requireSoundBuffer("death.wav", "unable to open death.wav file"))
{
    birdSprite.emplace(wingUpTexture);
    birdSprite->setPosition(startPosition);
    squawkSound.emplace(squawkBuffer);
    flapSound.emplace(flapBuffer);
    deathSound.emplace(deathBuffer);
}

Bird::Bird(const Bird& other)
    : wingUpTexture(other.wingUpTexture), wingDownTexture(other.wingDownTexture), birdSprite(other.birdSprite),
      squawkBuffer(other.squawkBuffer), flapBuffer(other.flapBuffer), deathBuffer(other.deathBuffer),
      squawkSound(other.squawkSound), flapSound(other.flapSound), deathSound(other.deathSound),
      wingIsUp(other.wingIsUp), wingIsDown(other.wingIsDown), deathClock(other.deathClock), justDied(other.justDied),
      isDead(other.isDead)
{
    bindToOwnResources();
}

Bird& Bird::operator=(const Bird& other)
{
    if (this != &other)
        *this = Bird(other);
    return *this;
}

// Sound buffers have no move of their own: they are copied.
Bird& Bird::operator=(Bird&& other)
{
    if (this == &other)
        return *this;
    wingUpTexture = std::move(other.wingUpTexture);
    wingDownTexture = std::move(other.wingDownTexture);
    birdSprite = other.birdSprite;
    squawkBuffer = other.squawkBuffer;
    flapBuffer = other.flapBuffer;
    deathBuffer = other.deathBuffer;
    squawkSound = other.squawkSound;
    flapSound = other.flapSound;
    deathSound = other.deathSound;
    wingIsUp = other.wingIsUp;
    wingIsDown = other.wingIsDown;
    deathClock = other.deathClock;
    justDied = other.justDied;
    isDead = other.isDead;
    bindToOwnResources();
    return *this;
}

void Bird::bindToOwnResources()
{
    birdSprite->setTexture(wingIsUp ? wingUpTexture : wingDownTexture);
    squawkSound->setBuffer(squawkBuffer);
    flapSound->setBuffer(flapBuffer);
    deathSound->setBuffer(deathBuffer);
}

// The texture rectangle stays the one taken from the wing-up picture.
void Bird::showWing(bool up)
{
    wingIsUp = up;
    wingIsDown = !up;
    birdSprite->setTexture(up ? wingUpTexture : wingDownTexture);
}

void Bird::toggleWingPosition()
{
    showWing(!wingIsUp);
}

void Bird::raiseWing()
{
    if (wingIsDown)
        toggleWingPosition();
    if (birdSprite->getPosition().y < sinkLimitY)
        birdSprite->move({0.f, sinkStep});
}

void Bird::lowerWing()
{
    if (wingIsUp)
        toggleWingPosition();
    if (birdSprite->getPosition().y > riseLimitY)
        birdSprite->move({0.f, -riseStep});
}

void Bird::dive()
{
    if (wingIsDown)
        toggleWingPosition();
    if (birdSprite->getPosition().y < diveLimitY)
    {
        birdSprite->setRotation(sf::degrees(diveAngleDegrees));
        birdSprite->move({0.f, diveStep});
    }
}

void Bird::stopDive()
{
    birdSprite->setRotation(sf::Angle::Zero);
}

void Bird::squawk()
{
    squawkSound->play();
}

void Bird::playFlapSound()
{
    flapSound->play();
}

void Bird::die(sf::Time now)
{
    if (justDied)
    {
        justDied = false;
        isDead = true;
        deathClock.restart(now);
        squawk();
    }

    const std::int64_t elapsed = deathClock.getElapsedTime(now).asMicroseconds();
    if (elapsed >= deathSequenceMicroseconds)
    {
        birdSprite->setRotation(sf::Angle::Zero);
        isDead = false;
        return;
    }

    const Keyframe& keyframe = keyframeAt(elapsed);
    if (keyframe.fromMicroseconds == deathKeyframes.back().fromMicroseconds &&
        birdSprite->getRotation() == sf::degrees(angleBeforeFallDegrees))
        deathSound->play();
    birdSprite->setRotation(sf::degrees(keyframe.angleDegrees));
    birdSprite->move(keyframe.step);
}

void Bird::reinitialize()
{
    showWing(true);
    birdSprite->setPosition(startPosition);
    birdSprite->setRotation(sf::Angle::Zero);
    justDied = false;
    isDead = false;
}

void Bird::setSmooth(bool smooth)
{
    wingUpTexture.setSmooth(smooth);
    wingDownTexture.setSmooth(smooth);
}
