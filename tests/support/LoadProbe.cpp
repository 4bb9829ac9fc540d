// Builds the object named on the command line in the current folder, the way the game does, and
// exits with status 0 if the process got through it. "started" builds the game and its scene as main
// does, the tune read ahead. "frames N" also builds the play scene and runs N
// frames with no input, drawing some of them off screen; "game-over" runs frames with no input until
// the game is over (status 3 if it never is) and draws a few more.
#include "Bird.hpp"
#include "Flitmere.hpp"
#include "PlayScene.hpp"
#include "SoundReadAhead.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cstdlib>
#include <string>

namespace
{
constexpr int drawEvery = 25;
constexpr int gameOverLimit = 10'000;

class Run
{
public:
    Run() { game.initialize(); }

    void frame()
    {
        input.now = sf::microseconds(16'667 * count);
        game.frame(scene, input);
        if (count++ % drawEvery == 0)
        {
            game.draw(target, scene);
            target.display();
        }
    }

    Flitmere game;
    PlayScene scene;

private:
    sf::RenderTexture target{{1200, 800}};
    FrameInput input;
    int count = 0;
};
} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "bird")
        const Bird bird;
    else if (what == "game")
        const Flitmere game;
    else if (what == "scene")
        const PlayScene scene;
    else if (what == "started")
    {
        const SoundReadAhead tune("background.wav");
        const Flitmere game;
        const PlayScene scene;
    }
    else if (what == "frames" && argc > 2)
    {
        Run run;
        for (int frame = std::atoi(argv[2]); frame > 0; --frame)
            run.frame();
    }
    else if (what == "game-over")
    {
        Run run;
        for (int frame = 0; !run.game.getGameIsOver(); ++frame)
        {
            if (frame == gameOverLimit)
                return 3;
            run.frame();
        }
        for (int frame = 0; frame < drawEvery * 2; ++frame)
            run.frame();
    }
    else
        return 2;
    return 0;
}
