#include "Pilot.hpp"

#include "Flitmere.hpp"
#include "PlayScene.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace
{
constexpr sf::Time frameTime = sf::microseconds(16'667);

// A game in the asset folder (FLITMERE_BENCH_ASSETS, else the build's), run frame by frame from
// values at 60 frames a second.
class PilotTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* override = std::getenv("FLITMERE_BENCH_ASSETS");
        const std::filesystem::path assets = override != nullptr ? override : FLITMERE_BENCH_ASSET_DIR;
        if (!std::filesystem::exists(assets / "wingUp2.bmp"))
            GTEST_SKIP() << "no assets in " << assets;
        ASSERT_EQ(chdir(assets.c_str()), 0);
        game.emplace();
        scene.emplace();
        game->initialize();
    }

    void frame(Pilot* pilot)
    {
        FrameInput input;
        input.now = now;
        now += frameTime;
        if (pilot != nullptr)
            pilot->steer(*game, input);
        game->frame(*scene, input);
    }

    std::optional<Flitmere> game;
    std::optional<PlayScene> scene;
    sf::Time now;
};
} // namespace

// The gap heights come from rand(), which the game seeds from the calendar time: each start here
// reseeds it after the game is built, so that the heights are the same on every run. (A few starts
// in a hundred bring a gap too far above the last one to climb to in time, even for the pilot.)
TEST_F(PilotTest, FliesThroughEveryGapForFiveMinutesOfPlay)
{
    for (const unsigned start : {1u, 2u, 3u})
    {
        SCOPED_TRACE(start);
        game.emplace();
        std::srand(start);
        game->initialize();
        Pilot pilot;
        constexpr int fiveMinutes = 5 * 60 * 60;
        for (int i = 0; i < fiveMinutes; ++i)
            frame(&pilot);
        EXPECT_EQ(game->getLives(), 3);
        // An obstacle passes the bird every 375 frames or so: about 48 in five minutes.
        EXPECT_GE(game->getScore(), 40);
    }
}

TEST_F(PilotTest, StartsANewGameOnceTheLastLifeIsGone)
{
    // Left alone, the bird falls and loses its three lives.
    int frames = 0;
    while (!game->getGameIsOver() && frames++ < 20'000)
        frame(nullptr);
    ASSERT_TRUE(game->getGameIsOver());

    Pilot pilot;
    frame(&pilot);
    EXPECT_EQ(pilot.getRestarts(), 1);
    EXPECT_FALSE(game->getGameIsOver());
    EXPECT_EQ(game->getLives(), 3);
}
