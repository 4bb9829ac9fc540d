#include "support/GameDriver.hpp"

GameDriver::GameDriver()
{
    game.initialize();
}

Flitmere::FrameEnd GameDriver::frame(std::initializer_list<PlayerAction> actions, bool rightButtonHeld, int updates)
{
    FrameInput input;
    input.actions.assign(actions);
    input.rightButtonHeld = rightButtonHeld;
    input.updates = updates;
    now += frameTime * static_cast<std::int64_t>(updates - 1);
    input.now = now;
    now += frameTime;
    return game.frame(scene, input);
}

void GameDriver::frames(int count)
{
    for (int i = 0; i < count; ++i)
        frame();
}
