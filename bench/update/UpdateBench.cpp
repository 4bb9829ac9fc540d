// The frame's logic without drawing, in nanoseconds, beside SFML's own cost for the same changes.
// Run it in an asset folder. Besides Google Benchmark's table it prints one "result" line per
// repetition, which bench/runner reads.
#include "Pilot.hpp"
#include "ProcessStats.hpp"

#include "Flitmere.hpp"
#include "PlayScene.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>

namespace
{
constexpr sf::Time frameTime = sf::microseconds(16'667);

// One game in steady play, shared by the benchmarks so that its files are loaded once.
struct Play
{
    Flitmere game;
    PlayScene scene;
    Pilot pilot;
    FrameInput input;
    sf::Time now;

    Play() { game.initialize(); }

    void frame()
    {
        input.actions.clear();
        input.rightButtonHeld = false;
        input.now = now;
        now += frameTime;
        pilot.steer(game, input);
        game.frame(scene, input);
    }
};

Play& sharedPlay()
{
    static Play play;
    return play;
}

// The whole frame without drawing: the tune's check, the actions, the HUD string, the update step
// (flight, scenery, obstacles, collision and scoring) and the end-of-frame decision; the pilot that
// plays is included and costs a few comparisons.
void frameLogic(benchmark::State& state)
{
    Play& play = sharedPlay();
    for (auto _ : state)
        play.frame();
    benchmark::DoNotOptimize(play.game.getScore());
}
BENCHMARK(frameLogic);

// The HUD refresh alone, as every frame makes it while the score and lives stay the same.
void hudRefresh(benchmark::State& state)
{
    Play& play = sharedPlay();
    for (auto _ : state)
        play.scene.showOnHud(play.game.getScore(), play.game.getLives());
}
BENCHMARK(hudRefresh);

// The pilot's share of frameLogic, to be taken off it.
void pilotAlone(benchmark::State& state)
{
    Play& play = sharedPlay();
    for (auto _ : state)
    {
        play.input.actions.clear();
        play.pilot.steer(play.game, play.input);
        benchmark::DoNotOptimize(play.input);
    }
}
BENCHMARK(pilotAlone);

// The floor: SFML doing what one update asks of it and nothing else: the bird's picture and
// rotation set and its sprite moved, five scenery sprites and two obstacles moved.
void floorSpriteMoves(benchmark::State& state)
{
    const sf::Texture texture(sf::Vector2u{4, 4});
    std::array<sf::Sprite, 8> sprites{sf::Sprite(texture), sf::Sprite(texture), sf::Sprite(texture),
                                      sf::Sprite(texture), sf::Sprite(texture), sf::Sprite(texture),
                                      sf::Sprite(texture), sf::Sprite(texture)};
    float step = 1.f;
    for (auto _ : state)
    {
        sprites[0].setTexture(texture);
        sprites[0].setRotation(sf::degrees(0.f));
        for (sf::Sprite& sprite : sprites)
            sprite.move({-step, 0.f});
        benchmark::DoNotOptimize(sprites);
        step = -step;
    }
}
BENCHMARK(floorSpriteMoves);

// Prints Google Benchmark's table and, for each repetition, "result <name>_ns <cpu ns per iteration>".
class Reporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
        {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                process::report(run.benchmark_name() + "_ns", run.GetAdjustedCPUTime());
        }
    }
};
} // namespace

int main(int argc, char** argv)
{
    // Bench machines have no sound card: the null device plays in real time, as a card would.
    if (!sf::PlaybackDevice::setDeviceToNull())
        std::fputs("no null playback device: sounds go to the default one\n", stderr);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
