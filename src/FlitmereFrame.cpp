#include "Flitmere.hpp"

#include "PlayScene.hpp"
#include "UpdateRate.hpp"

Flitmere::FrameEnd Flitmere::frame(PlayScene& scene, const FrameInput& input)
{
    // The tune and the player's actions come at the frame's first update.
    now = input.now - updatePeriod * static_cast<std::int64_t>(input.updates - 1);

    keepTunePlaying(scene.music);
    for (const PlayerAction action : input.actions)
    {
        if (!handle(action))
            return FrameEnd::WindowClosed;
    }
    // Each update reads the clocks at its own moment, 1/60 s before the next, and is judged whole:
    // collisions, points and the death sequence as in a frame of its own.
    for (int toCome = input.updates - 1; toCome >= 0; --toCome)
    {
        now = input.now - updatePeriod * static_cast<std::int64_t>(toCome);
        // A world the player cannot see stands still: the window without the focus pauses it, as P does,
        // and so does a bird revived meanwhile. Judged once the frame's events are in, so that the focus
        // passing away and straight back within one frame pauses nothing.
        if (!windowFocused && !paused)
            pause();
        // Built before the last update, so a point or a lost life shows from the next frame on.
        if (toCome == 0)
            scene.showOnHud(score, lives);
        if (!paused)
            update(scene, input.rightButtonHeld);
        endOfFrame();
    }
    return FrameEnd::Continue;
}

// Paused with the game; started again from its beginning after 95 s and on every new start. Playing
// a paused tune resumes it, playing a playing one starts it over.
void Flitmere::keepTunePlaying(sf::Sound& music)
{
    if (paused)
        music.pause();
    if (music.getPlayingOffset() >= musicLength)
        playMusic = true;
    if (playMusic)
    {
        music.play();
        playMusic = false;
    }
}

bool Flitmere::handle(PlayerAction action)
{
    switch (action)
    {
    case PlayerAction::CloseWindow:
        return false;
    case PlayerAction::Click:
        if (!paused)
            startFlap();
        break;
    case PlayerAction::PauseKey:
        pause();
        break;
    case PlayerAction::RestartKey:
        restart();
        break;
    case PlayerAction::FocusLost:
        windowFocused = false;
        break;
    case PlayerAction::FocusGained:
        windowFocused = true;
        break;
    }
    return true;
}

// A click during a flap starts it over.
void Flitmere::startFlap()
{
    flapClock.restart(now);
    animationClock.restart(now);
    flapping = true;
    flapStarted = true;
    bird.playFlapSound();
}

void Flitmere::update(PlayScene& scene, bool rightButtonHeld)
{
    if (rightButtonHeld)
        bird.dive();
    else
        bird.stopDive();

    flapTime = flapClock.getElapsedTime(now);
    animationTime = animationClock.getElapsedTime(now);
    if (flapping)
        flap(flapTime);
    else
        dontFlap();

    scene.scenery.scroll();
    obstacle1.moveObstacle();
    obstacle2.moveObstacle();
    // Judged on the positions this frame then draws.
    collideAndScore(scene.scoreSound);
}

void Flitmere::draw(sf::RenderTarget& target, const PlayScene& scene) const
{
    // Opaque blue where no picture covers the window, then the pictures back to front.
    Painter& painter = scene.painter;
    painter.begin(sf::Color::Blue);
    painter.add(*background);
    if (!gameIsOver)
    {
        scene.scenery.addTo(painter);
        painter.add(bird.getBird());
        painter.add(obstacle1.getObstacle());
        painter.add(obstacle2.getObstacle());
    }
    painter.paint(target);
    if (scene.hudFontOpened)
        target.draw(scene.hudText);
}
