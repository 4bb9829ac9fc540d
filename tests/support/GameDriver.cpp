#include "support/GameDriver.hpp"

GameDriver::GameDriver()
{
    game.initialize();
}

Flitmere::FrameEnd GameDriver::frame(std::initializer_list<PlayerAction> actions, bool rightButtonHeld)
{
    FrameInput input;
    input.actions.assign(actions);
    input.rightButtonHeld = rightButtonHeld;
    input.now = now;
    now += frameTime;
    return game.frame(scene, input);
}

void GameDriver::frames(int count)
{
    for (int i = 0; i < count; ++i)
        frame();
}
