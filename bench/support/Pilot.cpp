#include "Pilot.hpp"

namespace
{
// The rules' fixed sizes: the bird's left edge stays at x 400, an obstacle is 100 px wide and its
// opening lies 750 to 850 px below its top edge; the bird's test depth is 11.5 px, so its top edge
// must stay between 0 and 88.5 px below the opening's top.
constexpr float birdX = 400.f;
constexpr float obstacleWidth = 100.f;
constexpr float openingTop = 750.f;
// The bird sinks to this depth below the opening's top, then clicks and climbs 3 px per update. A
// flap lasts 0.3 s whatever the frame rate, so its climb is stopped by diving (3 px down, which
// cancels the flap's 3 px up) once the bird is `holdHeight` above its aim.
constexpr float aimBelowOpeningTop = 56.f;
constexpr float holdHeight = 20.f;
// Farther than this below its aim the bird clicks on every frame; farther than this above, it
// dives between flaps.
constexpr float climbDistance = 30.f;
constexpr float diveDistance = 40.f;
// With no obstacle ahead, the bird holds the middle of the window.
constexpr float restingAim = 400.f;
} // namespace

void Pilot::steer(const Flitmere& game, FrameInput& input)
{
    if (game.getGameIsOver())
    {
        input.actions.push_back(PlayerAction::RestartKey);
        ++restarts;
        return;
    }
    if (game.getPaused())
        return;

    // The next obstacle is the nearest one whose right edge has not yet passed the bird.
    float aim = restingAim;
    float nearestX = 0.f;
    bool found = false;
    for (const Obstacle* obstacle : {&game.getObstacle1(), &game.getObstacle2()})
    {
        const sf::Vector2f position = obstacle->getObstacle().getPosition();
        if (position.x + obstacleWidth >= birdX && (!found || position.x < nearestX))
        {
            found = true;
            nearestX = position.x;
            aim = position.y + openingTop + aimBelowOpeningTop;
        }
    }

    const float birdY = game.viewBird().getBird().getPosition().y;
    const bool flapping = game.getFlapping();
    if (birdY > aim + climbDistance || (birdY > aim && !flapping))
        input.actions.push_back(PlayerAction::Click);
    const bool holdFlap = flapping && birdY < aim - holdHeight;
    const bool sink = !flapping && birdY < aim - diveDistance;
    input.rightButtonHeld = input.rightButtonHeld || holdFlap || sink;
}
