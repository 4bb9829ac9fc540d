#pragma once

#include "Flitmere.hpp"
#include "PlayScene.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// Runs the game frame by frame from values, without a window: the actions of each frame, the right
// button's state and the game clock's reading. Built in the working directory's asset folder, with
// play begun at time zero as the game does before its first frame.
class GameDriver
{
public:
    // A 60 Hz refresh as a microsecond clock reads it: the frames of one update each.
    static constexpr sf::Time frameTime = sf::microseconds(16'667);

    GameDriver();

    // One frame of `updates` updates, the first at the current clock reading; the clock then moves on
    // past them.
    Flitmere::FrameEnd frame(std::initializer_list<PlayerAction> actions = {}, bool rightButtonHeld = false,
                             int updates = 1);
    // Frames with no input.
    void frames(int count);
    // Frames with no input until the condition holds; fails the test past `limit` frames.
    template <typename Condition> int framesUntil(Condition condition, int limit = 10'000)
    {
        int count = 0;
        while (!condition())
        {
            if (count++ == limit)
            {
                ADD_FAILURE() << "condition not reached in " << limit << " frames";
                break;
            }
            frame();
        }
        return count;
    }

    [[nodiscard]] sf::Vector2f birdPosition() const { return game.viewBird().getBird().getPosition(); }
    [[nodiscard]] sf::Vector2f obstacle1Position() const { return game.getObstacle1().getObstacle().getPosition(); }
    [[nodiscard]] sf::Vector2f obstacle2Position() const { return game.getObstacle2().getObstacle().getPosition(); }
    [[nodiscard]] std::string hud() const { return scene.hudText.getString().toAnsiString(); }

    Flitmere game;
    PlayScene scene;
    sf::Time now;
};
